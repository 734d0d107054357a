#include "app/main_dialog.h"
#include "app/process_objects.h"
#include "tests/support/box_answerer.h"
#include "tests/support/dialog_run.h"
#include "res/resource.h"
#include "main_window_run.h"
#include "test_dialog.h"
#include "test_support.h"
#include "tests/support/registry_tree.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace {

std::string MenuText(HMENU menu, UINT item, UINT flags)
{
    char text[128] = "";
    ::GetMenuStringA(menu, item, text, sizeof text, flags);
    return text;
}

UINT MenuState(HMENU menu, UINT command) { return ::GetMenuState(menu, command, MF_BYCOMMAND); }

CDigistatic &Display(HWND window, int id)
{
    return *static_cast<CDigistatic *>(Control::FromHandle(::GetDlgItem(window, id)));
}

// Starts the main window on a fresh registry and runs the body inside its message loop; the
// program then ends as the tray menu's "Programm beenden" would end it.
void WithMainWindow(const std::function<void(MainDialog &, HWND)> &prepare,
                    const std::function<void(MainDialog &, HWND)> &body)
{
    ClearRegistry();
    TheSettingsStore().loadAll();
    RunMainWindow([&](MainDialog &dialog, HWND window) {
        prepare(dialog, window);
        body(dialog, window);
    });
}

void WithMainWindow(const std::function<void(MainDialog &, HWND)> &body)
{
    WithMainWindow([](MainDialog &, HWND) {}, body);
}

// Runs the body inside the modal loop of the box or dialog that the message opens on the window;
// what the body leaves open is closed after it.
void OnTopOf(HWND window, UINT message, WPARAM wParam, const std::function<void(HWND)> &body)
{
    RunLater([window, &body] {
        HWND onTop = ::GetLastActivePopup(window);
        body(onTop);
        if (onTop != window && ::IsWindowVisible(onTop))
            for (WPARAM answer : {IDOK, IDNO, IDCANCEL})
                ::PostMessageA(onTop, WM_COMMAND, answer, 0);
    });
    if (message == WM_REMINDER_DUE)
        AnnouncementOf(message).Raise();
    ::SendMessageA(window, message, wParam, 0);
}

// A left click on the icon while the window hides in the notification area: true when the window
// came back. It is shown again in any case.
bool IconClickRestores(HWND window)
{
    ::ShowWindow(window, SW_HIDE);
    ::SendMessageA(window, WM_TRAY_CALLBACK, 1, WM_LBUTTONDOWN);
    const bool restored = ::IsWindowVisible(window) != FALSE;
    ::ShowWindow(window, SW_SHOWNA);
    return restored;
}

TEST(MainWindow, StartsAtTheStoredTimeWithMenusDisplaysAndTitleSetUp)
{
    WithMainWindow([](MainDialog &dialog, HWND window) {
        EXPECT_EQ(Text(window), "Brewbell - 00:00");
        EXPECT_EQ(Display(window, IDC_TIME_DISPLAY).GetText(), "00:00");
        EXPECT_EQ(Display(window, IDC_HOUR_DISPLAY).GetText(), "00");
        EXPECT_TRUE(Display(window, IDC_HOUR_DISPLAY).IsTransparent());
        EXPECT_FALSE(Display(window, IDC_TIME_DISPLAY).IsTransparent());

        HMENU menu = ::GetMenu(window);
        HMENU teas = ::GetSubMenu(menu, 0);
        EXPECT_EQ(MenuText(teas, 0, MF_BYPOSITION), "Teesorte 0\t(00:00)");
        EXPECT_EQ(MenuText(teas, 9, MF_BYPOSITION), "Teesorte 9\t(00:00)");
        EXPECT_EQ(::GetMenuItemID(teas, 9), static_cast<UINT>(ID_PRESET_LAST));
        EXPECT_TRUE(MenuState(menu, ID_OPT_SOUND) & MF_CHECKED);
        EXPECT_TRUE(MenuState(menu, ID_OPT_REMIND) & MF_CHECKED);
        EXPECT_TRUE(MenuState(menu, ID_OPT_SUSPEND) & MF_CHECKED);
        EXPECT_FALSE(MenuState(menu, ID_OPT_SUSPEND) & MF_GRAYED);
        EXPECT_FALSE(MenuState(menu, ID_OPT_TOPMOST) & MF_CHECKED);
        EXPECT_TRUE(MenuState(menu, ID_LAYOUT_AUTO) & MF_CHECKED);

        HMENU tray = ::GetSubMenu(dialog.TrayMenu(), 0);
        ASSERT_NE(tray, nullptr);
        EXPECT_EQ(MenuText(tray, 4, MF_BYPOSITION), "Start     (00:00)");
        EXPECT_EQ(::GetMenuItemID(tray, 4), static_cast<UINT>(ID_TRAY_STARTSTOP));

        RECT r;
        ::GetWindowRect(window, &r);
        EXPECT_NEAR((r.left + r.right) / 2, ::GetSystemMetrics(SM_CXSCREEN) / 2, 2) << "centred";
        EXPECT_NEAR((r.top + r.bottom) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 2);
    });
}

TEST(MainWindow, StoredOptionsSetTheirCheckMarks)
{
    WithMainWindow([](MainDialog &, HWND) {}, [](MainDialog &, HWND) {});
    // Options are read at start-up: store some and start again.
    ClearRegistry();
    HKEY key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Brewbell\\Menu", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &key, nullptr),
              ERROR_SUCCESS);
    const DWORD zero = 0, one = 1, night = 1;
    ::RegSetValueExA(key, "Remind", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&zero), 4);
    ::RegSetValueExA(key, "Sound", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&zero), 4);
    ::RegSetValueExA(key, "TopMost", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&one), 4);
    ::RegSetValueExA(key, "Layout", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&night), 4);
    ::RegCloseKey(key);
    TheSettingsStore().loadAll();
    RunMainWindow([](MainDialog &dialog, HWND window) {
        HMENU menu = ::GetMenu(window);
        EXPECT_FALSE(MenuState(menu, ID_OPT_SOUND) & MF_CHECKED);
        EXPECT_FALSE(MenuState(menu, ID_OPT_REMIND) & MF_CHECKED);
        EXPECT_TRUE(MenuState(menu, ID_OPT_SUSPEND) & MF_GRAYED) << "greyed while the reminder is off";
        EXPECT_TRUE(MenuState(menu, ID_OPT_TOPMOST) & MF_CHECKED);
        EXPECT_TRUE(::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_TRUE(MenuState(menu, ID_LAYOUT_NIGHT) & MF_CHECKED);
        EXPECT_FALSE(MenuState(menu, ID_LAYOUT_AUTO) & MF_CHECKED);
        dialog.ExitProgram();
    });
    ClearRegistry();
}

TEST(MainWindow, MinAndSekWrapAtFiftyNineAndSaveNothing)
{
    WithMainWindow([](MainDialog &dialog, HWND window) {
        TheSettings().min = 59;
        ::SendMessageA(::GetDlgItem(window, IDC_BUTTON_MIN), BM_CLICK, 0, 0);
        for (int i = 0; i < 3; ++i)
            ::SendMessageA(::GetDlgItem(window, IDC_BUTTON_SEC), BM_CLICK, 0, 0);
        EXPECT_EQ(Text(window), "Brewbell - 00:03");
        EXPECT_EQ(Display(window, IDC_TIME_DISPLAY).GetText(), "00:03");
        EXPECT_EQ(MenuText(::GetSubMenu(dialog.TrayMenu(), 0), 4, MF_BYPOSITION), "Start     (00:03)");
        TheSettings().sec = 59;
        ::SendMessageA(::GetDlgItem(window, IDC_BUTTON_SEC), BM_CLICK, 0, 0);
        EXPECT_EQ(Text(window), "Brewbell - 00:00") << "no carry into the minutes";
        EXPECT_FALSE(TimeGroupExists()) << "the buttons save nothing";
    });
}

TEST(MainWindow, StartAndStopSwitchButtonsMenusAndTrayItems)
{
    WithMainWindow([](MainDialog &dialog, HWND window) {
        TheSettings().min = 2;
        TheSettings().sec = 5;
        ::SendMessageA(::GetDlgItem(window, IDC_BUTTON_START), BM_CLICK, 0, 0);

        EXPECT_EQ(ItemText(window, IDC_BUTTON_START), "&Stop");
        EXPECT_TRUE(dialog.IsCountdownRunning());
        for (int id : {IDC_BUTTON_MIN, IDC_BUTTON_SEC, IDC_BUTTON_RESET})
            EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(window, id))) << id;
        HMENU menu = ::GetMenu(window);
        EXPECT_TRUE(MenuState(menu, ID_PRESET_FIRST) & MF_GRAYED);
        EXPECT_TRUE(MenuState(menu, ID_PRESET_LAST) & MF_GRAYED);
        EXPECT_TRUE(MenuState(menu, ID_QUICKSET) & MF_GRAYED);
        HMENU tray = ::GetSubMenu(dialog.TrayMenu(), 0);
        EXPECT_EQ(MenuText(tray, 4, MF_BYPOSITION), "Stop");
        dialog.BuildPresetMenu();
        EXPECT_TRUE(MenuState(menu, ID_PRESET_FIRST + 3) & MF_GRAYED) << "a rebuilt menu keeps the presets greyed";
        EXPECT_TRUE(MenuState(tray, ID_TRAY_QUICKSET) & MF_GRAYED);
        EXPECT_TRUE(MenuState(tray, ID_TRAY_RESET) & MF_GRAYED);
        EXPECT_EQ(StoredTime("LastMin"), 2u);
        EXPECT_EQ(StoredTime("LastSec"), 5u);

        ::SendMessageA(::GetDlgItem(window, IDC_BUTTON_START), BM_CLICK, 0, 0);
        EXPECT_EQ(ItemText(window, IDC_BUTTON_START), "&Start");
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(window, IDC_BUTTON_MIN)));
        EXPECT_FALSE(MenuState(menu, ID_PRESET_FIRST) & MF_GRAYED);
        EXPECT_FALSE(MenuState(tray, ID_TRAY_RESET) & MF_GRAYED);
        EXPECT_EQ(MenuText(tray, 4, MF_BYPOSITION).substr(0, 6), "Start ");
        EXPECT_TRUE(PumpUntil([&] { return !dialog.IsCountdownRunning(); }, 1000)) << "Stop ends the worker";
    });
}

TEST(MainWindow, StopWithAutoResetReturnsToTheLastStart)
{
    WithMainWindow([](MainDialog &, HWND window) {
        TheSettings().autoReset = 1;
        TheSettings().sec = 30;
        HWND start = ::GetDlgItem(window, IDC_BUTTON_START);
        ::SendMessageA(start, BM_CLICK, 0, 0);
        ::SendMessageA(start, BM_CLICK, 0, 0);
        EXPECT_EQ(Text(window), "Brewbell - 00:30") << "a Stop before the first second keeps the time set";
        EXPECT_EQ(StoredTime("Sec"), 30u);
        ::SendMessageA(start, BM_CLICK, 0, 0);
        ASSERT_TRUE(PumpUntil([&] { return Text(window) == "Brewbell - 00:29"; }, 3000));
        ::SendMessageA(start, BM_CLICK, 0, 0);
        EXPECT_EQ(Text(window), "Brewbell - 00:30");
        PumpUntil([] { return false; }, 1200);
        EXPECT_EQ(Text(window), "Brewbell - 00:30") << "no tick after Stop";
    });
}

TEST(MainWindow, PresetCommandsSetTheTimeFromLeadingDigitsAndKeepTheLastStart)
{
    WithMainWindow([](MainDialog &dialog, HWND window) {
        TheSettings().teas[2] = {"Sencha", "03", "30"};
        TheSettings().teas[4] = {"Rooibos", "7 min", "x"};
        TheSettings().lastMin = 1;
        dialog.BuildPresetMenu();
        HMENU teas = ::GetSubMenu(::GetMenu(window), 0);
        EXPECT_EQ(MenuText(teas, 2, MF_BYPOSITION), "Sencha\t(03:30)");

        ::SetActiveWindow(window);
        ::SendMessageA(window, WM_COMMAND, ID_PRESET_FIRST + 2, 0);
        EXPECT_EQ(Text(window), "Brewbell - 03:30");
        EXPECT_EQ(StoredTime("Min"), 3u);
        EXPECT_EQ(StoredTime("LastMin"), 1u);
        ::SendMessageA(window, WM_COMMAND, ID_PRESET_FIRST + 4, 0);
        EXPECT_EQ(Text(window), "Brewbell - 07:00");
        TheSettings().teas[5] = {"Edited outside", "75", "9999"};
        ::SendMessageA(window, WM_COMMAND, ID_PRESET_FIRST + 5, 0);
        EXPECT_EQ(Text(window), "Brewbell - 59:59") << "a preset sets no time beyond the clock";
        ::SendMessageA(window, WM_COMMAND, ID_PRESET_FIRST + 0, 0);
        EXPECT_EQ(Text(window), "Brewbell - 00:00");

        // A chosen 00:00 prepares a count up: the exit brings back the last start's time.
        dialog.ExitProgram();
        EXPECT_EQ(StoredTime("Min"), 1u);
    });
}

TEST(MainWindow, TitleAndHourDisplayShowTheHoursOfALongCountUpUntilATimeIsSet)
{
    WithMainWindow([](MainDialog &dialog, HWND window) {
        dialog.Timer().Tick({+1, 1, 5, 9}, true); // a count up at 1:05:09
        dialog.RefreshTime();
        EXPECT_EQ(Text(window), "Brewbell - 01:05:09");
        EXPECT_EQ(Display(window, IDC_HOUR_DISPLAY).GetText(), "01");
        dialog.Timer().Tick({+1, 0, 5, 9}, true);
        dialog.RefreshTime();
        EXPECT_EQ(Text(window), "Brewbell - 05:09");

        // A time set after a stopwatch stopped at 1:07:59 is what the next Start runs: no hours.
        TheSettings().teas[1] = {"Assam", "07", "59"};
        const struct {
            std::function<void()> set;
            const char *shown;
        } settings[] = {
            {[&] { ::SendMessageA(::GetDlgItem(window, IDC_BUTTON_MIN), BM_CLICK, 0, 0); }, "08:59"},
            {[&] { ::SendMessageA(::GetDlgItem(window, IDC_BUTTON_SEC), BM_CLICK, 0, 0); }, "07:00"},
            {[&] { ::SendMessageA(window, WM_COMMAND, ID_PRESET_FIRST + 1, 0); }, "07:59"},
            {[&] { OnTopOf(window, WM_COMMAND, ID_QUICKSET, [](HWND) {}); }, "07:59"},
        };
        for (const auto &setting : settings) {
            dialog.Timer().Tick({+1, 1, 7, 59}, true);
            ::SetActiveWindow(window);
            setting.set();
            EXPECT_EQ(Text(window), std::string("Brewbell - ") + setting.shown);
            EXPECT_EQ(Display(window, IDC_HOUR_DISPLAY).GetText(), "00");
        }
    });
}

TEST(MainWindow, FinishedCountdownShowsTheMessageOnceAndReturnsToTheStartedTime)
{
    WithMainWindow([](MainDialog &, HWND window) {
        TheSettings().sound = 0;
        TheSettings().sec = 2;
        ::SendMessageA(::GetDlgItem(window, IDC_BUTTON_START), BM_CLICK, 0, 0);
        BoxAnswerer answerer({IDOK});
        ASSERT_TRUE(PumpUntil([&] { return answerer.Count() == 1; }, 5000));
        EXPECT_EQ(answerer.Texts().at(0), "Ihr Tee ist jetzt fertig!");
        EXPECT_EQ(answerer.Captions().at(0), "Brewbell");
        PumpUntil([&] { return ItemText(window, IDC_BUTTON_START) == "&Start"; }, 1000);
        EXPECT_EQ(Text(window), "Brewbell - 00:02");
        // A stale finish (posted just before a Stop) changes nothing and shows nothing.
        SendAlert(window, WM_COUNTDOWN_FINISHED);
        EXPECT_EQ(ItemText(window, IDC_BUTTON_START), "&Start");
    });
}

TEST(MainWindow, ReminderYesStartsTheCountdownAndAFinishDuringItsBoxFollowsIt)
{
    WithMainWindow([](MainDialog &dialog, HWND window) {
        TheSettings().sound = 0;
        TheSettings().min = 4;
        BoxAnswerer answerer({IDYES});
        PostAlert(window, WM_REMINDER_DUE);
        ASSERT_TRUE(PumpUntil([&] { return dialog.IsCountdownRunning(); }, 5000));
        EXPECT_EQ(answerer.Texts().at(0), "Wie wäre es mit einer Tasse Tee?");

        // While the next reminder box is open, the countdown finishes: it stops and returns to
        // its start time at once, and its box follows the reminder's.
        BoxAnswerer second;
        PostAlert(window, WM_REMINDER_DUE);
        PostAlert(window, WM_COUNTDOWN_FINISHED);
        ASSERT_TRUE(PumpUntil([&] { return second.Count() == 2; }, 5000));
        PumpUntil([] { return false; }, 300);
        EXPECT_EQ(second.Texts().at(1), "Ihr Tee ist jetzt fertig!");
        EXPECT_EQ(ItemText(window, IDC_BUTTON_START), "&Start");
        EXPECT_EQ(Text(window), "Brewbell - 04:00");
    });
}

TEST(MainWindow, AlertBoxesPutTheWindowBackWhereTheOptionsSay)
{
    WithMainWindow([](MainDialog &dialog, HWND window) {
        TheSettings().sound = 0;
        TheSettings().minimize = 1;
        {
            BoxAnswerer no({IDNO});
            PostAlert(window, WM_REMINDER_DUE);
            ASSERT_TRUE(PumpUntil([&] { return ::IsIconic(window) != FALSE; }));
            EXPECT_FALSE(dialog.IsCountdownRunning()) << "No starts nothing";
        }

        // A reminder while counting only informs, brings the window back and leaves the run alone.
        TheSettings().sec = 30;
        ::SendMessageA(::GetDlgItem(window, IDC_BUTTON_START), BM_CLICK, 0, 0);
        {
            BoxAnswerer ok({IDOK});
            PostAlert(window, WM_REMINDER_DUE);
            ASSERT_TRUE(PumpUntil([&] { return ok.Count() == 1; }));
            EXPECT_FALSE(::IsIconic(window));
            PumpUntil([] { return false; }, 100);
        }
        EXPECT_TRUE(dialog.IsCountdownRunning());

        // With "minimise on Start", the finish box restores the window and OK minimises it again.
        TheSettings().minStart = 1;
        BoxAnswerer finish({IDOK});
        PostAlert(window, WM_COUNTDOWN_FINISHED);
        ASSERT_TRUE(PumpUntil([&] { return finish.Count() == 1; }));
        ASSERT_TRUE(PumpUntil([&] { return ::IsIconic(window) != FALSE; }));
    });
}

TEST(MainWindow, MinimisedWindowDragsItsIconAndRestoresToTheCentre)
{
    WithMainWindow([](MainDialog &, HWND window) {
        HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_BREWBELL));
        EXPECT_EQ(::SendMessageA(window, WM_QUERYDRAGICON, 0, 0), reinterpret_cast<LRESULT>(icon));
        // The title bar and the task bar show the window's icon at the sizes the system asks for.
        EXPECT_EQ(::SendMessageA(window, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(icon));
        HICON small = static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_BREWBELL),
                                                      IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                      ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
        EXPECT_EQ(::SendMessageA(window, WM_GETICON, ICON_SMALL, 0), reinterpret_cast<LRESULT>(small));
        ::ShowWindow(window, SW_MINIMIZE);
        ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ::ShowWindow(window, SW_RESTORE);
        RECT r;
        ::GetWindowRect(window, &r);
        EXPECT_NEAR((r.left + r.right) / 2, ::GetSystemMetrics(SM_CXSCREEN) / 2, 2);
    });
}

// ---- notification icon, options, commands that come at the wrong time ----

DWORD StoredOption(const char *name) { return StoredValue("Menu", name); }

HICON SmallIcon(UINT id)
{
    return static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON,
                                           ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                           LR_SHARED));
}

TEST(MainWindow, TrayHidesShowsAndRestoresWithTheRunningStateInItsIcon)
{
    WithMainWindow([](MainDialog &dialog, HWND window) {
        const NOTIFYICONDATAA &data = dialog.TrayIconData();
        EXPECT_EQ(data.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
        if (sizeof(void *) == 4) {
            EXPECT_EQ(data.cbSize, 88u) << "the first shell version's record";
        }
        EXPECT_EQ(data.hWnd, window);
        EXPECT_EQ(data.uID, 1u);
        EXPECT_EQ(data.uCallbackMessage, static_cast<UINT>(WM_TRAY_CALLBACK));
        EXPECT_EQ(data.hIcon, SmallIcon(IDI_TRAY_IDLE));
        EXPECT_STREQ(data.szTip, "Brewbell - 00:00");
        EXPECT_FALSE(dialog.IsTrayIconShown()) << "no icon before the first hide";

        // The tray option is off: minimising goes to the task bar. Turned on, to the tray.
        ::SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        EXPECT_TRUE(::IsWindowVisible(window));
        EXPECT_FALSE(dialog.IsTrayIconShown());
        ::ShowWindow(window, SW_RESTORE);
        ::SendMessageA(window, WM_COMMAND, ID_OPT_TRAY, 0);
        ::SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        EXPECT_FALSE(::IsWindowVisible(window));
        EXPECT_TRUE(dialog.IsTrayIconShown());

        // Clicks with another icon id, button-up messages and unknown ones change nothing.
        for (LPARAM mouse : {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONDOWN, 0x7FFF})
            ::SendMessageA(window, WM_TRAY_CALLBACK, 1, mouse);
        ::SendMessageA(window, WM_TRAY_CALLBACK, 2, WM_LBUTTONDOWN);
        EXPECT_FALSE(::IsWindowVisible(window));
        ::SendMessageA(window, WM_TRAY_CALLBACK, 1, WM_LBUTTONDOWN);
        EXPECT_TRUE(::IsWindowVisible(window));
        EXPECT_FALSE(::IsIconic(window));
        EXPECT_TRUE(dialog.IsTrayIconShown()) << "the icon stays after a restore";

        // The icon shows the running state and the tooltip follows the title.
        TheSettings().sec = 30;
        ::SendMessageA(window, WM_COMMAND, ID_TRAY_STARTSTOP, 0);
        EXPECT_EQ(data.hIcon, SmallIcon(IDI_BREWBELL));
        EXPECT_STREQ(data.szTip, "Brewbell - 00:30");
        ASSERT_TRUE(PumpUntil([&] { return std::string(data.szTip) == "Brewbell - 00:29"; }, 3000));
        ::SendMessageA(window, WM_COMMAND, ID_TRAY_STARTSTOP, 0);
        EXPECT_EQ(data.hIcon, SmallIcon(IDI_TRAY_IDLE));

        // Closing hides too once hide-on-close is on; the program keeps running.
        ::SendMessageA(window, WM_COMMAND, ID_OPT_NOCLOSE, 0);
        ::SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_FALSE(::IsWindowVisible(window));
        EXPECT_FALSE(dialog.IsEnded());
        ::SendMessageA(window, WM_COMMAND, ID_TRAY_RESTORE, 0);
        EXPECT_TRUE(::IsWindowVisible(window));
    });
}

TEST(MainWindow, WithoutTheNotificationAreaMinimisingKeepsTheWindowAndADialogThatCannotOpenSaysSo)
{
    WithMainWindow([](MainDialog &dialog, HWND window) {
        BoxAnswerer boxes({IDOK, IDOK, IDOK});
        const UINT taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
        {
            RefusedLibrary refused("shell32.dll");
            ::SendMessageA(window, WM_COMMAND, ID_OPT_TRAY, 0);
            // At logon the shell may not have started yet: the window waits for it, minimised,
            // without a word.
            const TrayDialog::AreaQuery areaQuery = TrayDialog::SetNotificationAreaQuery([] { return false; });
            ::SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            TrayDialog::SetNotificationAreaQuery(areaQuery);
            EXPECT_EQ(boxes.Count(), 0u);
            // The shell has come, but gives no icon: that is said, once.
            ::SendMessageA(window, taskbarCreated, 0, 0);
            for (int i = 0; i < 2; ++i) {
                EXPECT_TRUE(::IsWindowVisible(window)) << "a hidden window without an icon is lost";
                EXPECT_TRUE(::IsIconic(window));
                ::ShowWindow(window, SW_RESTORE);
                ::SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            }
        }
        EXPECT_FALSE(dialog.IsTrayIconShown());
        // Once the shell gives the icon, the window that waited for it hides there.
        ::SendMessageA(window, taskbarCreated, 0, 0);
        EXPECT_TRUE(dialog.IsTrayIconShown());
        EXPECT_FALSE(::IsWindowVisible(window));
        ::SendMessageA(window, WM_TRAY_CALLBACK, 1, WM_LBUTTONDOWN);

        Dialog missing(0x7FFF); // no such template
        dialog.RunChildDialog(missing);
        EXPECT_EQ(boxes.Texts(),
                  (std::vector<std::string>{"Das Symbol im Infobereich kann nicht angezeigt werden. Brewbell wird "
                                            "deshalb nur minimiert.",
                                            "Das Fenster kann nicht geöffnet werden."}));
        EXPECT_TRUE(::IsWindowEnabled(window));
    });
}

TEST(MainWindow, EveryOptionTogglesItsCheckMarkSettingAndStoredValue)
{
    const struct {
        UINT command;
        const char *name;
        std::atomic<std::int32_t> Settings::*field;
    } options[] = {
        {ID_OPT_MINIMIZE, "Minimize", &Settings::minimize}, {ID_OPT_TRAY, "Tray", &Settings::tray},
        {ID_OPT_TOPMOST, "TopMost", &Settings::topMost},    {ID_OPT_MINSTART, "MinStart", &Settings::minStart},
        {ID_OPT_AUTORESET, "AutoReset", &Settings::autoReset}, {ID_OPT_NOCLOSE, "NoClose", &Settings::noClose},
        {ID_OPT_SOUND, "Sound", &Settings::sound},          {ID_OPT_REMIND, "Remind", &Settings::remind},
        {ID_OPT_SUSPEND, "Suspend", &Settings::suspend},
    };
    WithMainWindow([&](MainDialog &, HWND window) {
        HMENU menu = ::GetMenu(window);
        for (const auto &option : options) {
            for (int round = 0; round < 2; ++round) {
                const bool wasOn = (MenuState(menu, option.command) & MF_CHECKED) != 0;
                ::SendMessageA(window, WM_COMMAND, option.command, 0);
                const bool isOn = (MenuState(menu, option.command) & MF_CHECKED) != 0;
                EXPECT_NE(isOn, wasOn) << option.name;
                EXPECT_EQ(TheSettings().*option.field, isOn ? 1 : 0) << option.name;
                EXPECT_EQ(StoredOption(option.name), isOn ? 1u : 0u) << option.name;
                if (option.command == ID_OPT_TOPMOST) {
                    EXPECT_EQ((::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, isOn);
                }
            }
        }
        // The reminder off greys "not while running"; on again, it comes back with its mark.
        ::SendMessageA(window, WM_COMMAND, ID_OPT_REMIND, 0);
        EXPECT_TRUE(MenuState(menu, ID_OPT_SUSPEND) & MF_GRAYED);
        ::SendMessageA(window, WM_COMMAND, ID_OPT_REMIND, 0);
        EXPECT_EQ(MenuState(menu, ID_OPT_SUSPEND), static_cast<UINT>(MF_CHECKED));
    });
}

TEST(MainWindow, CommandsThatComeWhileRunningOrLateChangeNothing)
{
    WithMainWindow([](MainDialog &dialog, HWND window) {
        TheSettings().min = 3;
        ::SendMessageA(window, WM_COMMAND, IDC_BUTTON_START, 0);
        for (UINT command : {UINT{IDC_BUTTON_MIN}, UINT{IDC_BUTTON_SEC}, UINT{IDC_BUTTON_RESET}, UINT{ID_TRAY_RESET},
                             UINT{ID_PRESET_FIRST + 1}})
            ::SendMessageA(window, WM_COMMAND, command, 0);
        EXPECT_EQ(Text(window), "Brewbell - 03:00");
        EXPECT_EQ(TheSettings().min, 3);

        // A finish the stopped worker left in the queue must not end the next run.
        ::SendMessageA(window, WM_COMMAND, IDC_BUTTON_START, 0);
        PostAlert(window, WM_COUNTDOWN_FINISHED);
        ::SendMessageA(window, WM_COMMAND, IDC_BUTTON_START, 0);
        PumpUntil([] { return false; }, 200);
        EXPECT_TRUE(dialog.IsCountdownRunning());
        EXPECT_EQ(ItemText(window, IDC_BUTTON_START), "&Stop");
    });
}

// A countdown started while a dialog or box was open runs on with its own time when that closes:
// the quick setting accepted after the reminder's "Ja" started one under it, and "Ja" after a
// Start that the tray's menu sent just before the box came. The icon ignores the mouse while the
// box is open, and a second start brings the box forward.
TEST(MainWindow, ACountdownStartedUnderADialogOrBoxRunsOnWhenItCloses)
{
    const auto answerYes = [](HWND box) { ::PostMessageA(box, WM_COMMAND, IDYES, 0); };
    for (const int closer : {IDOK, IDC_QUICK_START, IDYES}) {
        SCOPED_TRACE(closer);
        WithMainWindow([&](MainDialog &, HWND window) {
            TheSettings().sound = 0;
            TheSettings().min = 4;
            if (closer == IDYES) {
                OnTopOf(window, WM_REMINDER_DUE, 0, [&](HWND box) {
                    EXPECT_FALSE(IconClickRestores(window));
                    ::SendMessageA(window, SingleInstance::ShowWindowMessage(), 0, 0);
                    EXPECT_EQ(::GetForegroundWindow(), box);
                    ::SendMessageA(window, WM_COMMAND, ID_TRAY_STARTSTOP, 0);
                    answerYes(box);
                });
            } else {
                OnTopOf(window, WM_COMMAND, ID_QUICKSET, [&](HWND quickSet) {
                    OnTopOf(window, WM_REMINDER_DUE, 0, answerYes);
                    ::SendDlgItemMessageA(quickSet, IDC_QUICK_MIN_SLIDER, TBM_SETPOS, TRUE, 7);
                    ::SendMessageA(::GetDlgItem(quickSet, closer), BM_CLICK, 0, 0);
                });
            }
            EXPECT_EQ(ItemText(window, IDC_BUTTON_START), "&Stop");
            EXPECT_LE(TheSettings().min, 4) << "the minutes of the countdown, not of the dialog";
            EXPECT_EQ(StoredTime("Min"), 4u) << "saved by the Start alone";
        });
    }
}

// However dialogs and boxes open and close on top of one another, while a child dialog is open
// the window stays disabled, the icon ignores the mouse and a second start brings the dialog
// forward.
TEST(MainWindow, TheWindowStaysDisabledUntilTheLastDialogOnItEnds)
{
    WithMainWindow([](MainDialog &dialog, HWND window) {
        TheSettings().sound = 0;
        const auto expectHeld = [window](HWND open) {
            EXPECT_FALSE(::IsWindowEnabled(window));
            EXPECT_FALSE(IconClickRestores(window));
            ::SendMessageA(window, SingleInstance::ShowWindowMessage(), 0, 0);
            EXPECT_EQ(::GetForegroundWindow(), open);
        };
        const auto answerNo = [](HWND box) { ::PostMessageA(box, WM_COMMAND, IDNO, 0); };
        TestDialog outer([&](TestDialog &self) {
            TestDialog inner([](TestDialog &) {});
            dialog.RunChildDialog(inner);
            expectHeld(self.Hwnd());
            OnTopOf(window, WM_REMINDER_DUE, 0, answerNo);
            expectHeld(self.Hwnd());
        });
        dialog.RunChildDialog(outer);
        // A dialog opened over a box (by a command queued when the box came); the box closes first.
        OnTopOf(window, WM_REMINDER_DUE, 0, [&](HWND box) {
            TestDialog over([&](TestDialog &self) {
                answerNo(box);
                PumpUntil([&] { return !::IsWindowVisible(box); });
                expectHeld(self.Hwnd());
            });
            dialog.RunChildDialog(over);
        });
        EXPECT_TRUE(::IsWindowEnabled(window));
        EXPECT_TRUE(IconClickRestores(window));
    });
}

TEST(MainWindow, WindowsEndingTheSessionMidRunSavesTheTimeLeft)
{
    WithMainWindow([](MainDialog &dialog, HWND window) {
        TheSettings().sec = 30;
        ::SendMessageA(window, WM_COMMAND, IDC_BUTTON_START, 0);
        ASSERT_TRUE(PumpUntil([&] { return Text(window) == "Brewbell - 00:29"; }, 3000));
        ::SendMessageA(window, WM_QUERYENDSESSION, 0, 0);
        ::SendMessageA(window, WM_ENDSESSION, TRUE, 0);
        EXPECT_TRUE(dialog.IsEnded());
        EXPECT_FALSE(dialog.IsCountdownRunning());
    });
    EXPECT_LE(StoredTime("Sec"), 29u) << "the time left, not the time of the Start";
    EXPECT_EQ(StoredTime("LastSec"), 30u);
}

TEST(MainWindow, ATimeSetAfterACountUpSurvivesTheExitButAReadingDoesNot)
{
    WithMainWindow([](MainDialog &, HWND window) {
        ::SendMessageA(window, WM_COMMAND, IDC_BUTTON_START, 0);
        ASSERT_TRUE(PumpUntil([&] { return Text(window) == "Brewbell - 00:01"; }, 3000));
        ::SendMessageA(window, WM_COMMAND, IDC_BUTTON_START, 0);
        ::SendMessageA(window, WM_COMMAND, IDC_BUTTON_MIN, 0);
        EXPECT_EQ(Text(window), "Brewbell - 01:01");
    });
    EXPECT_EQ(StoredTime("Min"), 1u) << "the minute set after the stopwatch is kept";
    EXPECT_EQ(StoredTime("Sec"), 1u);

    WithMainWindow([](MainDialog &, HWND window) {
        TheSettings().min = 0;
        TheSettings().sec = 0;
        ::SendMessageA(window, WM_COMMAND, IDC_BUTTON_START, 0);
        ASSERT_TRUE(PumpUntil([&] { return Text(window) == "Brewbell - 00:01"; }, 3000));
        ::SendMessageA(window, WM_COMMAND, IDC_BUTTON_START, 0);
    });
    EXPECT_EQ(StoredTime("Sec"), 0u) << "a stopwatch reading is dropped";
}

} // namespace
