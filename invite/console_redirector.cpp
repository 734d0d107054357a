#include "invite/console_redirector.h"

#include "invite/invitation_rules.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace {

constexpr DWORD kChunkBytes = 255;

} // namespace

ConsoleRedirector::~ConsoleRedirector() { ConsoleRedirector::Stop(); }

BOOL ConsoleRedirector::Start(const char *commandLine, const char *program)
{
    Stop();

    // The child's output pipe (with a second write end for its errors) and its input pipe.
    UniqueKernelHandle outputRead, outputWrite, errorWrite, inputRead, inputWrite;
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const HANDLE self = ::GetCurrentProcess();
    bool ok = true;
    DWORD error = 0;
    // Keeps the reason of the first step that failed.
    const auto step = [&](bool done) {
        if (ok && !done) {
            error = ::GetLastError();
            ok = false;
        }
        return ok;
    };

    if (step(::CreatePipe(outputRead.put(), outputWrite.put(), &inheritable, 0)) &&
        step(::DuplicateHandle(self, outputWrite.get(), self, errorWrite.put(), 0, TRUE, DUPLICATE_SAME_ACCESS)) &&
        step(::CreatePipe(inputRead.put(), inputWrite.put(), &inheritable, 0))) {
        // Our own ends must not be inherited, or the child would keep its own pipes open.
        if (step(::DuplicateHandle(self, outputRead.get(), self, childStdoutRead.put(), 0, FALSE, DUPLICATE_SAME_ACCESS)))
            step(::DuplicateHandle(self, inputWrite.get(), self, childStdinWrite.put(), 0, FALSE, DUPLICATE_SAME_ACCESS));
    }
    outputRead.reset();
    inputWrite.reset();

    if (ok)
        step(SpawnChild(program, commandLine, outputWrite.get(), inputRead.get(), errorWrite.get()));
    // The child holds its own copies of these now (or nobody needs them after a failure).
    outputWrite.reset();
    inputRead.reset();
    errorWrite.reset();

    if (ok && step(reader.Start([this] { RunReader(); }, readerStopTimeoutMs)))
        return TRUE;

    char text[64];
    std::snprintf(text, sizeof text, "Redirect console error: %lx\r\n", static_cast<unsigned long>(error));
    OnError(text);
    Stop();
    ::SetLastError(error);
    return FALSE;
}

void ConsoleRedirector::Stop()
{
    if (reader.IsCurrent()) {
        // The reader neither waits for itself nor touches the handles the owner may be using.
        reader.RequestStop();
        return;
    }
    if (!reader.Stop(readerStopTimeoutMs))
        OnError("The redir thread is dead\r\n");
    CloseChildHandles();
}

bool ConsoleRedirector::IsReading() const { return reader.IsRunning(); }

void ConsoleRedirector::CloseChildHandles()
{
    childProcess.reset();
    childStdinWrite.reset();
    childStdoutRead.reset();
}

BOOL ConsoleRedirector::WriteInput(const char *format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    std::va_list copy;
    va_copy(copy, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), text.size() + 1, format, arguments);
    va_end(arguments);
    if (length < 0)
        return FALSE;

    // Only a child that is still read takes input.
    if (!childStdinWrite || !reader.IsRunning())
        return FALSE;
    DWORD written = 0;
    return ::WriteFile(childStdinWrite.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void ConsoleRedirector::OnOutput(const char *) {}

void ConsoleRedirector::OnError(const char *) {}

BOOL ConsoleRedirector::SpawnChild(const char *program, const char *commandLine, HANDLE stdOutput, HANDLE stdInput,
                                   HANDLE stdError)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = stdInput;
    startup.hStdOutput = stdOutput;
    startup.hStdError = stdError;
    PROCESS_INFORMATION process{};
    // CreateProcessA may write into the command line.
    std::string line = commandLine ? commandLine : "";
    if (!::CreateProcessA(program, line.data(), nullptr, nullptr, TRUE, CREATE_NEW_CONSOLE, nullptr, nullptr, &startup,
                          &process))
        return FALSE;
    const UniqueKernelHandle childThread(process.hThread); // not needed: closed at once
    childProcess.reset(process.hProcess);
    return TRUE;
}

int ConsoleRedirector::DrainOutput()
{
    char buffer[kChunkBytes + 1];
    for (;;) {
        DWORD waiting = 0;
        if (!::PeekNamedPipe(childStdoutRead.get(), nullptr, 0, nullptr, &waiting, nullptr))
            break;
        if (waiting == 0)
            return 1;
        DWORD got = 0;
        if (!::ReadFile(childStdoutRead.get(), buffer, waiting < kChunkBytes ? waiting : kChunkBytes, &got, nullptr) ||
            got == 0)
            break;
        buffer[got] = '\0';
        OnOutput(buffer);
        // A child that writes without pause would otherwise keep the reader here for good.
        if (reader.StopEvent().IsSet())
            return 0;
    }
    const DWORD error = ::GetLastError();
    if (error == ERROR_BROKEN_PIPE || error == ERROR_NO_DATA)
        return 0;
    OnError("Read stdout pipe error\r\n");
    return -1;
}

void ConsoleRedirector::RunReader()
{
    const HANDLE waits[2] = {childProcess.get(), reader.StopEvent().get()};
    for (int result = DrainOutput(); result > 0; result = DrainOutput()) {
        const DWORD woken = ::WaitForMultipleObjects(2, waits, FALSE, pollIntervalMs);
        if (woken == WAIT_OBJECT_0) {
            // The child is gone: what it wrote last is still in the pipe.
            DrainOutput();
            break;
        }
        if (woken == WAIT_OBJECT_0 + 1)
            break;
    }
}

CapturingRedirector::~CapturingRedirector()
{
    // The reader calls our OnOutput: it must be gone before this part of the object is.
    ConsoleRedirector::Stop();
}

void CapturingRedirector::SetCaptureBuffer(char *buffer, std::size_t capacity)
{
    captureBuffer = buffer;
    captureCapacity = buffer ? capacity : 0;
    if (captureBuffer && captureCapacity)
        captureBuffer[0] = '\0';
    capturedLength.store(0, std::memory_order_release);
}

void CapturingRedirector::OnOutput(const char *text)
{
    if (!captureBuffer || !text)
        return;
    const std::int32_t length =
        invite::AppendCapped(captureBuffer, captureCapacity, capturedLength.load(std::memory_order_relaxed), text);
    capturedLength.store(length, std::memory_order_release);
}

void CapturingRedirector::OnError(const char *text)
{
    OnOutput("\r\nError message: ");
    OnOutput(text);
}
