// The invitation's workers: they end together on stop signals of their own, the console
// redirector's reader is a framework worker whose end by force is counted, and results reach the
// dialog whole through the record.
#include "invite/console_redirector.h"
#include "invite/invitation_dialog.h"
#include "invite/invitation_results.h"
#include "res/resource.h"
#include "test_settings_store.h"
#include "test_support.h"
#include "tests/invite_helpers/stand_ins.h"
#include "tests/support/box_answerer.h"
#include "tests/support/dialog_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A reader that blocks in OnOutput (it never sees its stop), or stops the redirector from there.
class StubbornRedirector : public ConsoleRedirector {
public:
    enum class OnFirstOutput { Block, StopItself };
    explicit StubbornRedirector(OnFirstOutput what) : what_(what) { readerStopTimeoutMs = 150; }
    ~StubbornRedirector() override { ConsoleRedirector::Stop(); }

    Event outputSeen{true, false};
    std::vector<std::string> errors; // written on the owner's thread only in these cases
    void SetReaderStopTimeout(DWORD ms) { readerStopTimeoutMs = ms; }

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
        // Another thread stopped it first and was ended by force in its wait for the reader.
        bool earlierOwnerForced;
        int forced;
        std::vector<std::string> ownerErrors;
    } cases[] = {
        {"blocks", StubbornRedirector::OnFirstOutput::Block, false, 1, {"The redir thread is dead\r\n"}},
        {"stops itself", StubbornRedirector::OnFirstOutput::StopItself, false, 0, {}},
        {"blocks, its first owner forced", StubbornRedirector::OnFirstOutput::Block, true, 1,
         {"The redir thread is dead\r\n"}},
    };
    const std::string command = "\"" + stand_ins::ProgramFolder() + "invite_child.exe\" echo";
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        StubbornRedirector redirector(c.what);
        ASSERT_TRUE(redirector.Start(command.c_str()));
        ASSERT_TRUE(redirector.WriteInput("Tee\n"));
        ASSERT_TRUE(redirector.outputSeen.Wait(5000));
        if (c.earlierOwnerForced) {
            redirector.SetReaderStopTimeout(5000);
            WorkerThread owner;
            ASSERT_TRUE(owner.Start([&] { redirector.Stop(); }));
            ::Sleep(200); // well inside its wait
            ASSERT_TRUE(owner.Terminate());
            ASSERT_TRUE(owner.Wait(1000));
            redirector.SetReaderStopTimeout(150);
        }
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

TEST(InvitationResults, EveryReportArrivesOnceWholeAndInOrderWhileAWorkerWrites)
{
    InvitationResults results;
    constexpr int kReports = 300;
    const auto answer = [](int report) { return std::to_string(report) + std::string(250, 'a'); };
    WorkerThread writer;
    ASSERT_TRUE(writer.Start([&] {
        for (int r = 0; r < kReports; ++r) {
            results.ReportState(r);
            results.ReportAnswer(answer(r));
            results.ReportError(InvitationResults::Action::Stop, static_cast<std::uint32_t>(r));
        }
    }));
    int state = -1, answers = 0, errors = 0;
    for (bool more = true; more;) {
        more = writer.IsRunning();
        const InvitationResults::News news = results.Take();
        if (news.state) {
            EXPECT_GT(*news.state, state) << "never an older state after a newer one";
            state = *news.state;
        }
        for (const std::string &text : news.answers)
            ASSERT_EQ(text, answer(answers++));
        for (const InvitationResults::SystemError &error : news.errors)
            ASSERT_EQ(error.code, static_cast<std::uint32_t>(errors++));
    }
    EXPECT_EQ(state, kReports - 1);
    EXPECT_EQ(answers, kReports);
    EXPECT_EQ(errors, kReports);
    results.ReportSendBegun();
    EXPECT_TRUE(results.Take().sendBegun);
    EXPECT_FALSE(results.Take().sendBegun) << "taken once";
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
    RunModal(dialog, [&](HWND window) {
        ASSERT_TRUE(PumpUntil([&] { return ItemText(window, IDC_INV_STATUS) == "Nachrichtendienst läuft."; }, 8000));
        Click(window, IDC_INV_MODE_OWN);
        ::SetDlgItemTextA(window, IDC_INV_MESSAGE, "Tee?");
        Click(window, IDC_INV_SEND);
        ASSERT_TRUE(PumpUntil([&] { return !net.RecordedCommandLine().empty(); }, 5000)) << "NET runs and hangs";
        Command(window, IDC_INV_STOP); // the button is off while sending
        ASSERT_TRUE(PumpUntil(
            [&] { return ItemText(window, IDC_INV_STATUS) == "Nachrichtendienst wird beendet. Bitte warten..."; },
            3000));
        // The session ends too, during closing's first wait (the poller's).
        QueueSessionEnd(window);
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
