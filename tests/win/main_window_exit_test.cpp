// Ending the main window while a box or a dialog of the program sits on top of it, and the
// count of threads ended by force that the program reports as its exit code.
#include "app/main_dialog.h"
#include "app/process_objects.h"
#include "res/resource.h"
#include "test_support.h"
#include "tests/support/registry_tree.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

DWORD StoredTime(const char *name)
{
    DWORD value = 0xDEAD, size = sizeof value;
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Brewbell\\Time", 0, KEY_READ, &key) == ERROR_SUCCESS) {
        ::RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE *>(&value), &size);
        ::RegCloseKey(key);
    }
    return value;
}

std::string Text(HWND window)
{
    char text[256] = "";
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

// A visible window of this thread other than the main window: the box or dialog on top.
HWND WindowOnTop(HWND main) { return OtherVisibleWindow(::GetCurrentThreadId(), main); }

std::function<void()> pendingBody;
std::function<void()> pendingExit;

void CALLBACK RunPendingBody(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(nullptr, timer);
    pendingBody();
}

// Fires inside the modal loop of whatever was opened on top.
void CALLBACK RunPendingExit(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(nullptr, timer);
    pendingExit();
}

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
        {"finish box", true, [](HWND w) { ::SendMessageA(w, WM_COUNTDOWN_FINISHED, 0, 0); }, 30, 30},
        {"reminder question while idle", false, [](HWND w) { ::SendMessageA(w, WM_REMINDER_DUE, 0, 0); }, 30, 30},
        {"reminder box while counting", true, [](HWND w) { ::SendMessageA(w, WM_REMINDER_DUE, 0, 0); }, 27, 30},
        // Without the messenger service its error box opens while the dialog is being made.
        {"invitation with its error box", false, [](HWND w) { ::SendMessageA(w, WM_COMMAND, ID_INVITATION, 0); }, 30,
         30},
    };
    for (const OnTop &c : cases) {
        SCOPED_TRACE(c.name);
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, "Software\\Brewbell");
        TheSettingsStore().loadAll();
        TheSettings().sound = 0;
        TheSettings().sec = 30;
        SingleInstance instance;
        MainDialog dialog(instance);
        Dialog::SetMainDialog(&dialog);
        HWND onTop = nullptr;
        bool openReturned = false;
        UINT_PTR rescue = 0;
        pendingExit = [&] {
            HWND window = dialog.GetSafeHwnd();
            onTop = WindowOnTop(window);
            dialog.ExitProgram();
            // Already queued when the exit came: neither starts nor saves anything.
            ::PostMessageA(window, WM_COMMAND, IDC_BUTTON_START, 0);
            ::PostMessageA(window, WM_COUNTDOWN_FINISHED, 0, 0);
            ::PostMessageA(window, WM_REMINDER_DUE, 0, 0);
        };
        pendingBody = [&] {
            HWND window = dialog.GetSafeHwnd();
            if (c.running)
                ::SendMessageA(window, WM_COMMAND, IDC_BUTTON_START, 0);
            ::SetTimer(nullptr, 0, 300, RunPendingExit);
            rescue = ::SetTimer(nullptr, 0, 3000, CloseWhatIsOnTop);
            c.open(window);
            openReturned = true;
            EXPECT_TRUE(dialog.IsEnded());
            EXPECT_EQ(WindowOnTop(window), nullptr) << "still open after the exit";
        };
        ::SetTimer(nullptr, 0, 1, RunPendingBody);
        const DWORD started = ::GetTickCount();
        dialog.DoModal();
        const DWORD took = ::GetTickCount() - started;
        ::KillTimer(nullptr, rescue);
        Dialog::SetMainDialog(nullptr);
        // The quit message that ended the inner loops is meant for this program's end only.
        MSG quit;
        EXPECT_TRUE(::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));

        EXPECT_NE(onTop, nullptr) << "nothing was open when the exit came";
        EXPECT_TRUE(openReturned);
        EXPECT_LT(took, 2000u);
        EXPECT_FALSE(dialog.IsCountdownRunning());
        EXPECT_EQ(StoredTime("Min"), 0u);
        EXPECT_GE(StoredTime("Sec"), c.secLow);
        EXPECT_LE(StoredTime("Sec"), c.secHigh);
        EXPECT_EQ(StoredTime("LastSec"), c.running ? 30u : 0u);
    }
    pendingBody = nullptr;
    pendingExit = nullptr;
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, "Software\\Brewbell");
}

TEST(MainWindowExit, TheSessionQueryLetsItEndAndOnlyARealEndEndsTheProgram)
{
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, "Software\\Brewbell");
    TheSettingsStore().loadAll();
    TheSettings().sec = 30;
    SingleInstance instance;
    MainDialog dialog(instance);
    Dialog::SetMainDialog(&dialog);
    pendingBody = [&] {
        HWND window = dialog.GetSafeHwnd();
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
        if (!dialog.IsEnded())
            dialog.ExitProgram();
    };
    ::SetTimer(nullptr, 0, 1, RunPendingBody);
    dialog.DoModal();
    Dialog::SetMainDialog(nullptr);
    pendingBody = nullptr;
    EXPECT_LE(StoredTime("Sec"), 29u) << "the time left";
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, "Software\\Brewbell");
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
