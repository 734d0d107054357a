// Ending the main window while a box or a dialog of the program sits on top of it, and the
// count of threads ended by force that the program reports as its exit code.
#include "main_window_run.h"
#include "res/resource.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// A visible window of this thread other than the main window: the box or dialog on top.
HWND WindowOnTop(HWND main) { return OtherVisibleWindow(::GetCurrentThreadId(), main); }

// Should the exit not end what is open, the test fails instead of waiting for a user.
void CALLBACK CloseWhatIsOnTop(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(nullptr, timer);
    if (HWND onTop = WindowOnTop(Dialog::MainDialog() ? Dialog::MainDialog()->GetSafeHwnd() : nullptr))
        for (WPARAM answer : {IDOK, IDNO, IDCANCEL})
            ::PostMessageA(onTop, WM_COMMAND, answer, 0);
}

struct OnTop {
    const char *name;
    bool running;
    // Opens the box or dialog on top; returns when its modal loop has ended.
    std::function<void(HWND)> open;
    // The seconds saved at the exit (the set time is 00:30): the range of a running countdown.
    DWORD secLow, secHigh;
};

TEST(MainWindowExit, AnExitWhileABoxOrDialogIsOpenEndsItAndNothingQueuedActsAfterIt)
{
    const OnTop cases[] = {
        {"finish box", true, [](HWND w) { SendAlert(w, WM_COUNTDOWN_FINISHED); }, 30, 30},
        {"reminder question while idle", false, [](HWND w) { SendAlert(w, WM_REMINDER_DUE); }, 30, 30},
        {"reminder box while counting", true, [](HWND w) { SendAlert(w, WM_REMINDER_DUE); }, 27, 30},
        // Without the messenger service its error box opens while the dialog is being made.
        {"invitation with its error box", false, [](HWND w) { ::SendMessageA(w, WM_COMMAND, ID_INVITATION, 0); }, 30,
         30},
    };
    for (const OnTop &c : cases) {
        SCOPED_TRACE(c.name);
        ClearRegistry();
        TheSettingsStore().loadAll();
        TheSettings().sound = 0;
        TheSettings().sec = 30;
        HWND onTop = nullptr;
        bool openReturned = false;
        UINT_PTR rescue = 0;
        bool running = true;
        const DWORD started = ::GetTickCount();
        RunMainWindow([&](MainDialog &dialog, HWND window) {
            if (c.running)
                ::SendMessageA(window, WM_COMMAND, IDC_BUTTON_START, 0);
            // Fires inside the modal loop of whatever was opened on top.
            RunLater(
                [&] {
                    onTop = WindowOnTop(window);
                    dialog.ExitProgram();
                    // Already queued when the exit came: neither starts nor saves anything.
                    ::PostMessageA(window, WM_COMMAND, IDC_BUTTON_START, 0);
                    PostAlert(window, WM_COUNTDOWN_FINISHED);
                    PostAlert(window, WM_REMINDER_DUE);
                },
                300);
            rescue = ::SetTimer(nullptr, 0, 3000, CloseWhatIsOnTop);
            c.open(window);
            openReturned = true;
            EXPECT_TRUE(dialog.IsEnded());
            EXPECT_EQ(WindowOnTop(window), nullptr) << "still open after the exit";
        }, [&](MainDialog &dialog) { running = dialog.IsCountdownRunning(); });
        const DWORD took = ::GetTickCount() - started;
        ::KillTimer(nullptr, rescue);
        // The quit message that ended the inner loops is meant for this program's end only.
        MSG quit;
        EXPECT_TRUE(::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));

        EXPECT_NE(onTop, nullptr) << "nothing was open when the exit came";
        EXPECT_TRUE(openReturned);
        EXPECT_LT(took, 2000u);
        EXPECT_FALSE(running);
        EXPECT_EQ(StoredTime("Min"), 0u);
        EXPECT_GE(StoredTime("Sec"), c.secLow);
        EXPECT_LE(StoredTime("Sec"), c.secHigh);
        EXPECT_EQ(StoredTime("LastSec"), c.running ? 30u : 0u);
    }
    ClearRegistry();
}

// The Time group as a session end finds it when it is answered: Windows may end the process then.
HWND sessionEndWindow = nullptr;
DWORD secondsAtSessionEnd = 0xDEAD;

LRESULT CALLBACK NoteTimeAtSessionEnd(int code, WPARAM wParam, LPARAM lParam)
{
    const auto *answered = reinterpret_cast<const CWPRETSTRUCT *>(lParam);
    if (code == HC_ACTION && answered->hwnd == sessionEndWindow && answered->message == WM_ENDSESSION)
        secondsAtSessionEnd = StoredTime("Sec");
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(MainWindowExit, TheSessionQueryLetsItEndAndOnlyARealEndEndsTheProgram)
{
    ClearRegistry();
    TheSettingsStore().loadAll();
    TheSettings().sec = 30;
    RunMainWindow([](MainDialog &dialog, HWND window) {
        ::SendMessageA(window, WM_COMMAND, IDC_BUTTON_START, 0);
        ASSERT_TRUE(PumpUntil([&] { return Text(window) == "Brewbell - 00:29"; }, 3000));
        const struct {
            UINT message;
            WPARAM wParam;
            LRESULT answer;
            bool ends;
        } steps[] = {
            {WM_QUERYENDSESSION, 0, TRUE, false},
            {WM_ENDSESSION, FALSE, 0, false}, // another program refused: the session goes on
            {WM_QUERYENDSESSION, 0, TRUE, false},
            {WM_ENDSESSION, TRUE, 0, true},
        };
        for (const auto &step : steps) {
            SCOPED_TRACE(step.message);
            EXPECT_EQ(::SendMessageA(window, step.message, step.wParam, 0), step.answer);
            EXPECT_EQ(dialog.IsEnded(), step.ends);
            EXPECT_EQ(dialog.IsCountdownRunning(), !step.ends);
        }
    });
    EXPECT_LE(StoredTime("Sec"), 29u) << "the time left";

    // Unanswered for a while, the countdown's next tick waits to be shown, so the next wait for
    // its worker answers the session end: the exit's, or a restart's after Stop.
    for (const bool restart : {false, true}) {
        SCOPED_TRACE(restart ? "restart" : "exit");
        ClearRegistry();
        TheSettingsStore().loadAll();
        TheSettings().sec = 30;
        secondsAtSessionEnd = 0xDEAD;
        bool running = true;
        RunMainWindow([&](MainDialog &dialog, HWND window) {
            ::SendMessageA(window, WM_COMMAND, IDC_BUTTON_START, 0);
            ASSERT_TRUE(PumpUntil([&] { return Text(window) == "Brewbell - 00:29"; }, 3000));
            sessionEndWindow = window;
            const HHOOK hook =
                ::SetWindowsHookExA(WH_CALLWNDPROCRET, NoteTimeAtSessionEnd, nullptr, ::GetCurrentThreadId());
            ::Sleep(1100);
            if (restart)
                ::SendMessageA(window, WM_COMMAND, IDC_BUTTON_START, 0);
            QueueSessionEnd(window);
            if (restart)
                ::SendMessageA(window, WM_COMMAND, IDC_BUTTON_START, 0);
            else
                dialog.ExitProgram();
            ::UnhookWindowsHookEx(hook);
            EXPECT_TRUE(dialog.IsEnded());
        }, [&](MainDialog &dialog) { running = dialog.IsCountdownRunning(); });
        EXPECT_LE(secondsAtSessionEnd, 29u) << "saved by the answer";
        EXPECT_FALSE(running);
    }
    ClearRegistry();
}

TEST(ForcedThreadEnds, OnlyAWorkerThatIgnoresItsStopIsCounted)
{
    const struct {
        const char *name;
        bool watchesStop;
        int forced;
    } cases[] = {{"watches its stop", true, 0}, {"ignores its stop", false, 1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        StoppableWorker worker;
        Event never(true, false);
        const Event &stop = worker.StopEvent();
        ASSERT_TRUE(worker.Start([&] { (c.watchesStop ? stop : never).Wait(5000); }, 0));
        const int before = ForcedThreadEnds();
        worker.Stop(100);
        EXPECT_TRUE(PumpUntil([&] { return !worker.IsRunning(); }, 1000));
        EXPECT_EQ(ForcedThreadEnds() - before, c.forced);
    }
}

} // namespace
