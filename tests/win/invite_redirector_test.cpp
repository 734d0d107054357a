#include "invite/console_redirector.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string HelperCommand(const char *mode)
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string command = path;
    command.resize(command.find_last_of('\\') + 1);
    return "\"" + command + "invite_child.exe\" " + mode;
}

std::string Pattern(std::size_t size)
{
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>('A' + i % 26);
    return text;
}

// Records every callback, and what DrainOutput and the reader do.
class RecordingRedirector : public ConsoleRedirector {
public:
    ~RecordingRedirector() override { ConsoleRedirector::Stop(); }

    std::vector<std::string> Chunks()
    {
        std::lock_guard lock(mutex);
        return chunks;
    }
    std::vector<std::string> Errors()
    {
        std::lock_guard lock(mutex);
        return errors;
    }
    std::string Output()
    {
        std::string all;
        for (const std::string &chunk : Chunks())
            all += chunk;
        return all;
    }
    bool WaitUntilDone(DWORD timeoutMs = 10000)
    {
        const DWORD start = ::GetTickCount();
        while (IsReading()) {
            if (::GetTickCount() - start > timeoutMs)
                return false;
            ::Sleep(5);
        }
        return true;
    }

protected:
    void OnOutput(const char *text) override
    {
        std::lock_guard lock(mutex);
        chunks.emplace_back(text);
    }
    void OnError(const char *text) override
    {
        std::lock_guard lock(mutex);
        errors.emplace_back(text);
    }

private:
    std::mutex mutex;
    std::vector<std::string> chunks;
    std::vector<std::string> errors;
};

TEST(ConsoleRedirector, ChildThatPrintsNothingEndsWithoutCallbacks)
{
    RecordingRedirector redirector;
    ASSERT_TRUE(redirector.Start(HelperCommand("silent").c_str()));
    ASSERT_TRUE(redirector.WaitUntilDone());
    EXPECT_TRUE(redirector.Chunks().empty());
    EXPECT_TRUE(redirector.Errors().empty());
    // The reader has ended with the child: its input takes nothing more.
    EXPECT_FALSE(redirector.WriteInput("late"));
}

TEST(ConsoleRedirector, OutputArrivesInOrderInChunksOfAtMost255Bytes)
{
    RecordingRedirector redirector;
    ASSERT_TRUE(redirector.Start(HelperCommand("print600").c_str()));
    ASSERT_TRUE(redirector.WaitUntilDone());
    std::vector<std::size_t> sizes;
    for (const std::string &chunk : redirector.Chunks())
        sizes.push_back(chunk.size());
    EXPECT_EQ(sizes, (std::vector<std::size_t>{255, 255, 90}));
    EXPECT_EQ(redirector.Output(), Pattern(600));

    // Far more than a pipe holds: the reader keeps the child writing, nothing is lost.
    ASSERT_TRUE(redirector.Start(HelperCommand("print64k").c_str()));
    ASSERT_TRUE(redirector.WaitUntilDone());
    EXPECT_EQ(redirector.Output().size(), 600u + 65536u);
    EXPECT_EQ(redirector.Output(), Pattern(600) + Pattern(65536));
    for (const std::string &chunk : redirector.Chunks())
        EXPECT_LE(chunk.size(), 255u);
    EXPECT_TRUE(redirector.Errors().empty());
}

TEST(ConsoleRedirector, InputReachesTheChildAndStopGivesItEndOfFile)
{
    RecordingRedirector redirector;
    EXPECT_FALSE(redirector.WriteInput("before %d", 1)) << "nothing started";
    ASSERT_TRUE(redirector.Start(HelperCommand("echo").c_str()));
    EXPECT_TRUE(redirector.WriteInput("Tee %d %s\n", 42, "fertig"));
    const DWORD start = ::GetTickCount();
    while (redirector.Output() != "Tee 42 fertig\n" && ::GetTickCount() - start < 5000)
        ::Sleep(5);
    EXPECT_EQ(redirector.Output(), "Tee 42 fertig\n");
    EXPECT_TRUE(redirector.IsReading()) << "the echo child waits for more";
    redirector.Stop();
    EXPECT_FALSE(redirector.IsReading());
    EXPECT_FALSE(redirector.WriteInput("after"));
    redirector.Stop();
    EXPECT_TRUE(redirector.Errors().empty());
}

TEST(ConsoleRedirector, MissingCommandReportsFileNotFound)
{
    RecordingRedirector redirector;
    ::SetLastError(0);
    EXPECT_FALSE(redirector.Start("brewbell_no_such_command_here argument"));
    EXPECT_EQ(::GetLastError(), 2u);
    EXPECT_EQ(redirector.Errors(), (std::vector<std::string>{"Redirect console error: 2\r\n"}));
    EXPECT_FALSE(redirector.IsReading());
    EXPECT_FALSE(redirector.WriteInput("x"));
    // Usable again afterwards.
    ASSERT_TRUE(redirector.Start(HelperCommand("print600").c_str()));
    ASSERT_TRUE(redirector.WaitUntilDone());
    EXPECT_EQ(redirector.Output(), Pattern(600));
}

TEST(ConsoleRedirector, StopIsHarmlessWhenIdleAndTwice)
{
    RecordingRedirector never;
    never.Stop();
    never.Stop();
    RecordingRedirector twice;
    ASSERT_TRUE(twice.Start(HelperCommand("echo").c_str()));
    twice.Stop();
    twice.Stop();
    EXPECT_TRUE(twice.Errors().empty());
    // Stop from the owner racing the reader's own Stop at the child's end.
    for (int round = 0; round < 6; ++round) {
        RecordingRedirector racing;
        ASSERT_TRUE(racing.Start(HelperCommand("silent").c_str()));
        ::Sleep(static_cast<DWORD>(round) * 15);
        racing.Stop();
        EXPECT_FALSE(racing.IsReading());
    }
}

TEST(CapturingRedirector, CapturesUpToItsBufferAndNoFurther)
{
    // 256 characters as the dialog gives, and a guard zone behind them.
    char memory[256 + 64];
    std::memset(memory, '#', sizeof memory);
    CapturingRedirector redirector;
    redirector.SetCaptureBuffer(memory, 256);
    EXPECT_EQ(redirector.CapturedLength(), 0);

    // A second thread watches the length grow: the text up to it is always complete.
    std::atomic<bool> done{false};
    std::atomic<int> torn{0};
    std::thread watcher([&] {
        const std::string expected = Pattern(255);
        while (!done) {
            const std::int32_t length = redirector.CapturedLength();
            if (length < 0 || length > 255 ||
                std::string(memory, static_cast<std::size_t>(length)) !=
                    expected.substr(0, static_cast<std::size_t>(length)))
                ++torn;
        }
    });
    ASSERT_TRUE(redirector.Start(HelperCommand("print64k").c_str()));
    const DWORD start = ::GetTickCount();
    while (redirector.IsReading() && ::GetTickCount() - start < 10000)
        ::Sleep(5);
    redirector.Stop();
    done = true;
    watcher.join();

    EXPECT_EQ(torn, 0);
    EXPECT_EQ(redirector.CapturedLength(), 255);
    EXPECT_EQ(std::string(memory), Pattern(255));
    for (std::size_t i = 256; i < sizeof memory; ++i)
        ASSERT_EQ(memory[i], '#') << i;
}

TEST(CapturingRedirector, StartFailureLandsInTheBuffer)
{
    char buffer[256];
    CapturingRedirector redirector;
    redirector.SetCaptureBuffer(buffer, sizeof buffer);
    EXPECT_FALSE(redirector.Start("brewbell_no_such_command_here"));
    EXPECT_STREQ(buffer, "\r\nError message: Redirect console error: 2\r\n");
    EXPECT_EQ(redirector.CapturedLength(), static_cast<std::int32_t>(std::strlen(buffer)));
}

} // namespace
