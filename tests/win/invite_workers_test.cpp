// The invitation's workers: each ends on a stop signal of its own, the console redirector's
// reader is a framework worker whose end by force is counted, and results reach the dialog
// whole through the record.
#include "box_answerer.h"
#include "dialog_driver.h"
#include "invite/console_redirector.h"
#include "invite/invitation_dialog.h"
#include "invite/invitation_results.h"
#include "res/resource.h"
#include "test_settings_store.h"
#include "test_support.h"
#include "tests/invite_helpers/stand_ins.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::string ItemText(HWND dialog, int id) { return dialog_driver::Text(::GetDlgItem(dialog, id)); }
void Command(HWND dialog, int id) { ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
void Click(HWND dialog, int id) { ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

TEST(InvitationWorkers, WorkersStoppedTogetherEachEndOnTheirOwnSignal)
{
    // As the poller and an action worker wait: a signal one of them swallowed would leave the
    // other waiting for its full time, and then end it by force.
    StoppableWorker workers[2];
    std::atomic<int> knewItself{0};
    for (StoppableWorker &worker : workers) {
        ASSERT_TRUE(worker.Start(
            [&worker, &knewItself] {
                knewItself += worker.IsCurrent();
                while (!worker.StopEvent().Wait(200)) {
                }
            },
            0));
    }
    EXPECT_FALSE(workers[0].IsCurrent() || workers[1].IsCurrent());
    const int forcedBefore = ForcedThreadEnds();
    const DWORD start = ::GetTickCount();
    for (StoppableWorker &worker : workers)
        worker.RequestStop();
    for (StoppableWorker &worker : workers)
        EXPECT_TRUE(worker.Stop(InvitationDialog::kWorkerStopTimeoutMs));
    EXPECT_LT(::GetTickCount() - start, 100u);
    EXPECT_EQ(ForcedThreadEnds(), forcedBefore);
    EXPECT_EQ(knewItself, 2);
}

// A reader that blocks in OnOutput (it never sees its stop), or stops the redirector from there.
class StubbornRedirector : public ConsoleRedirector {
public:
    enum class OnFirstOutput { Block, StopItself };
    explicit StubbornRedirector(OnFirstOutput what) : what_(what) { readerStopTimeoutMs = 150; }
    ~StubbornRedirector() override { ConsoleRedirector::Stop(); }

    Event outputSeen{true, false};
    std::vector<std::string> errors; // written on the owner's thread only in these cases

protected:
    void OnOutput(const char *) override
    {
        outputSeen.Set();
        if (what_ == OnFirstOutput::StopItself)
            Stop();
        else
            never_.Wait(INFINITE);
    }
    void OnError(const char *text) override
    {
        if (::GetCurrentThreadId() == owner_)
            errors.emplace_back(text);
    }

private:
    OnFirstOutput what_;
    Event never_{true, false};
    DWORD owner_ = ::GetCurrentThreadId();
};

TEST(ConsoleRedirector, OnlyAReaderEndedByForceIsCountedAndItsHandlesAreReleased)
{
    const struct {
        const char *name;
        StubbornRedirector::OnFirstOutput what;
        int forced;
        std::vector<std::string> ownerErrors;
    } cases[] = {
        {"blocks", StubbornRedirector::OnFirstOutput::Block, 1, {"The redir thread is dead\r\n"}},
        {"stops itself", StubbornRedirector::OnFirstOutput::StopItself, 0, {}},
    };
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string command = path;
    command = "\"" + command.substr(0, command.find_last_of('\\') + 1) + "invite_child.exe\" echo";
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        StubbornRedirector redirector(c.what);
        ASSERT_TRUE(redirector.Start(command.c_str()));
        ASSERT_TRUE(redirector.WriteInput("Tee\n"));
        ASSERT_TRUE(redirector.outputSeen.Wait(5000));
        const int forcedBefore = ForcedThreadEnds();
        const DWORD start = ::GetTickCount();
        redirector.Stop();
        EXPECT_LT(::GetTickCount() - start, 1000u);
        EXPECT_EQ(ForcedThreadEnds() - forcedBefore, c.forced);
        EXPECT_EQ(redirector.errors, c.ownerErrors);
        EXPECT_FALSE(redirector.IsReading());
        EXPECT_FALSE(redirector.WriteInput("late")) << "the child's input is closed";
    }
}

TEST(InvitationResults, EveryReportArrivesOnceAndWholeInItsWritersOrder)
{
    InvitationResults results;
    constexpr int kWriters = 3, kReports = 200;
    const auto answer = [](int writer, int report) {
        return std::to_string(writer) + ":" + std::to_string(report) + ":" + std::string(250, static_cast<char>('a' + writer));
    };
    std::unique_ptr<WorkerThread> writers[kWriters];
    for (int w = 0; w < kWriters; ++w) {
        writers[w] = std::make_unique<WorkerThread>();
        ASSERT_TRUE(writers[w]->Start([&results, &answer, w] {
            for (int r = 0; r < kReports; ++r) {
                results.ReportState(w);
                results.ReportAnswer(answer(w, r));
                results.ReportError(InvitationResults::Action::Stop, static_cast<std::uint32_t>(w * kReports + r));
            }
        }));
    }
    std::vector<int> nextAnswer(kWriters, 0), nextError(kWriters, 0);
    const auto takeAll = [&] {
        const InvitationResults::News news = results.Take();
        EXPECT_TRUE(!news.state || (*news.state >= 0 && *news.state < kWriters));
        for (const std::string &text : news.answers) {
            const int w = text[0] - '0';
            ASSERT_EQ(text, answer(w, nextAnswer[w]++));
        }
        for (const InvitationResults::SystemError &error : news.errors) {
            const int w = static_cast<int>(error.code) / kReports;
            ASSERT_EQ(error.code, static_cast<std::uint32_t>(w * kReports + nextError[w]++));
        }
    };
    for (bool running = true; running;) {
        running = false;
        for (const auto &writer : writers)
            running = running || writer->IsRunning();
        takeAll();
    }
    takeAll();
    EXPECT_EQ(nextAnswer, std::vector<int>(kWriters, kReports));
    EXPECT_EQ(nextError, std::vector<int>(kWriters, kReports));

    results.ReportSendBegun();
    results.ReportState(4);
    results.ReportState(1);
    const InvitationResults::News news = results.Take();
    EXPECT_TRUE(news.sendBegun);
    EXPECT_EQ(news.state, 1) << "the newest state";
    const InvitationResults::News again = results.Take();
    EXPECT_FALSE(again.sendBegun || again.state || !again.answers.empty() || !again.errors.empty());
}

TEST(InvitationWorkers, ClosingWithPollerSendAndStopAllBusyForcesNone)
{
    stand_ins::MessengerService service;
    ASSERT_TRUE(service.Installed());
    ASSERT_TRUE(service.StartAndWait());
    stand_ins::Net net("hang");
    static std::string netPath;
    netPath = net.Path();
    const auto savedNetPath = netProgramPath;
    netProgramPath = [] { return netPath; };
    BoxAnswerer boxes({}, "Brewbell");
    TestSettingsStore settings;
    InvitationDialog dialog(settings.settings, settings.store);
    const int forcedBefore = ForcedThreadEnds();
    DWORD closeMs = 0;
    dialog_driver::RunModal(dialog, [&](HWND window) {
        ASSERT_TRUE(PumpUntil([&] { return ItemText(window, IDC_INV_STATUS) == "Nachrichtendienst läuft."; }, 8000));
        Click(window, IDC_INV_MODE_OWN);
        ::SetDlgItemTextA(window, IDC_INV_MESSAGE, "Tee?");
        Click(window, IDC_INV_SEND);
        ASSERT_TRUE(PumpUntil([&] { return !net.RecordedCommandLine().empty(); }, 5000)) << "NET runs and hangs";
        Command(window, IDC_INV_STOP); // the button is off while sending
        ASSERT_TRUE(PumpUntil(
            [&] { return ItemText(window, IDC_INV_STATUS) == "Nachrichtendienst wird beendet. Bitte warten..."; },
            3000));
        const DWORD start = ::GetTickCount();
        Command(window, IDCANCEL);
        closeMs = ::GetTickCount() - start;
    });
    netProgramPath = savedNetPath;
    EXPECT_LT(closeMs, InvitationDialog::kWorkerStopTimeoutMs) << "every worker ended on its own signal";
    EXPECT_EQ(ForcedThreadEnds(), forcedBefore);
    EXPECT_FALSE(dialog.AnyWorkerRunning());
    EXPECT_EQ(boxes.Count(), 0u);
}

} // namespace
