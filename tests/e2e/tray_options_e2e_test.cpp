// The notification icon, the options and the second start, driven from outside.
#include "tests/support/running_program.h"
#include "tests/invite_helpers/stand_ins.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <utility>
#include <vector>

namespace registry = brewbell_registry;

namespace {

// The tray option on, then the minimise box: the window goes into the notification area.
bool HideInTheTray(HWND window)
{
    PostCommand(window, ID_OPT_TRAY);
    ::PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    return WaitUntil([&] { return !::IsWindowVisible(window); });
}

bool IsTopMost(HWND window) { return (::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// Tells the shell of the window's icon (id 1), as any program may; the shell itself forgets it
// when it restarts. A change of nothing (NIM_MODIFY) succeeds only for an icon that is there.
bool TellShell(DWORD message, HWND window)
{
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = window;
    icon.uID = 1;
    return ::Shell_NotifyIconA(message, &icon) != FALSE;
}

// The shell, started again, announces its notification area to every window.
void AnnounceNewTaskbar(HWND window) { ::SendMessageA(window, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0); }

// The right end of the task bar, where the area's last icon sits, once the shell has drawn it
// (the same twice in a row).
std::vector<COLORREF> TrayPicture()
{
    std::vector<COLORREF> last, now;
    WaitUntil([&] {
        last = std::exchange(now, {});
        RECT bar{};
        ::GetWindowRect(::FindWindowA("Shell_TrayWnd", nullptr), &bar);
        HDC screen = ::GetDC(nullptr);
        for (LONG y = bar.top; y < bar.bottom; ++y)
            for (LONG x = bar.right - (bar.bottom - bar.top); x < bar.right; ++x)
                now.push_back(::GetPixel(screen, x, y));
        ::ReleaseDC(nullptr, screen);
        ::Sleep(100);
        return !now.empty() && now == last;
    }, 3000);
    return now;
}

class TrayOptionsTest : public RunningProgramTest {};

TEST_F(TrayOptionsTest, HiddenInTheTrayTheTimerStillRunsAndEndsFromItsMenu)
{
    StartProgram();
    // The shell refuses the icon (here: one of its id is there already): the window is only
    // minimised and says why. Once the shell is back with room for it, the window hides there.
    ASSERT_TRUE(TellShell(NIM_ADD, window));
    PostCommand(window, ID_OPT_TRAY);
    ::PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    HWND box = program->WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no word of the missing icon";
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(window) && ::IsWindowVisible(window); }));
    TellShell(NIM_DELETE, window);
    AnnounceNewTaskbar(window);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(window); })) << "the window did not hide";
    const std::vector<COLORREF> idle = TrayPicture();

    // Started from the tray menu, it counts up while hidden.
    PostCommand(window, ID_TRAY_STARTSTOP);
    ASSERT_TRUE(WaitForTitle(window, "Brewbell - 00:01", 3000));
    EXPECT_FALSE(::IsWindowVisible(window));

    // The shell restarts and its icons go; stopped meanwhile, the timer's comes back idle.
    TellShell(NIM_DELETE, window);
    ::SendMessageA(window, WM_COMMAND, ID_TRAY_STARTSTOP, 0);
    AnnounceNewTaskbar(window);
    EXPECT_TRUE(TellShell(NIM_MODIFY, window));
    EXPECT_TRUE(WaitUntil([&] { return TrayPicture() == idle; }, 3000)) << "not the timer's current picture";

    // A click on the icon brings it back; the icon stays, so a second hide works at once.
    ::PostMessageA(window, WM_TRAY_CALLBACK, 1, WM_LBUTTONDOWN);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) && !::IsIconic(window); }));
    ::PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(window); }));

    // "Programm beenden" ends it from there and drops the stopwatch reading.
    ExitProgram();
    DWORD sec = 0xDEAD;
    EXPECT_TRUE(registry::ReadDword("Time", "Sec", sec));
    EXPECT_EQ(sec, 0u);
}

TEST_F(TrayOptionsTest, HideOnCloseKeepsTheProgramAndTopMostSurvivesARestart)
{
    StartProgram();
    EXPECT_FALSE(IsTopMost(window));
    PostCommand(window, ID_OPT_TOPMOST);
    ASSERT_TRUE(WaitUntil([&] { return IsTopMost(window); })) << "top-most at once";

    PostCommand(window, ID_OPT_NOCLOSE);
    ::PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(window); }));
    EXPECT_FALSE(program->HasExited(300)) << "the close box only hides the timer";
    PostCommand(window, ID_TRAY_RESTORE);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }));
    ExitProgram();

    StartProgram();
    EXPECT_TRUE(IsTopMost(window)) << "top-most again after a restart";
    ExitProgram();
}

TEST_F(TrayOptionsTest, ASecondStartSaysSoAndBringsTheHiddenFirstBack)
{
    StartProgram();
    ASSERT_TRUE(HideInTheTray(window));

    Program second;
    ASSERT_TRUE(second.Start());
    HWND box = second.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Brewbell wurde bereits gestartet!");
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(second.HasExited(5000));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) && !::IsIconic(window); }))
        << "the running timer comes back from the tray";
    ExitProgram();
}

TEST_F(TrayOptionsTest, ReadMeOpensTheUsersFileInTheEditorAndMinimises)
{
    // A notepad.exe beside the program, as in a downloads folder, must not be the editor: the
    // stand-in for NET records its command line if it runs.
    const std::string folder = stand_ins::ProgramFolder();
    const std::string standIn = folder + "notepad.exe", log = folder + "notepad_command_line.txt";
    ::DeleteFileA(log.c_str());
    ASSERT_TRUE(::CopyFileA((folder + "fake_net.exe").c_str(), standIn.c_str(), FALSE));
    ::SetEnvironmentVariableA("BREWBELL_NET_LOG", log.c_str());
    // Started in the system folder (an autostart entry, a shortcut without a start folder), it
    // still opens the README.txt beside it, not a new one there.
    char systemFolder[MAX_PATH] = "";
    ::GetSystemDirectoryA(systemFolder, MAX_PATH);
    StartProgram(systemFolder);
    PostCommand(window, ID_README);
    EXPECT_TRUE(WaitUntil([&] { return ::IsIconic(window) != FALSE; }));
    HWND editor = nullptr;
    EXPECT_TRUE(WaitUntil([&] {
        editor = ::FindWindowA("Notepad", nullptr);
        return editor && Text(editor).find("README") != std::string::npos;
    })) << "notepad shows README.txt";
    if (editor)
        ::PostMessageA(editor, WM_CLOSE, 0, 0);
    EXPECT_EQ(stand_ins::ReadFileText(log), "") << "the notepad.exe beside the program ran";
    ExitProgram();
    ::SetEnvironmentVariableA("BREWBELL_NET_LOG", nullptr);
    ::DeleteFileA(standIn.c_str());
    ::DeleteFileA(log.c_str());
}

} // namespace
