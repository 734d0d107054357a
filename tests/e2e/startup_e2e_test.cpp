#include "tests/support/running_program.h"

#include <gtest/gtest.h>

#include <cstring>

namespace registry = brewbell_registry;

namespace {

// Whether the running program finds a library by its bare name, as any of its code that asks by
// name would: a thread started in it loads the library (kernel32 lies at the same address in
// every process of the session).
bool ProgramLoadsByBareName(DWORD id, const char *name)
{
    const HANDLE process = ::OpenProcess(PROCESS_ALL_ACCESS, FALSE, id);
    void *remoteName = ::VirtualAllocEx(process, nullptr, 64, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ::WriteProcessMemory(process, remoteName, name, std::strlen(name) + 1, nullptr);
    const auto loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void *>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
    const HANDLE thread = ::CreateRemoteThread(process, nullptr, 0, loadLibrary, remoteName, 0, nullptr);
    EXPECT_NE(thread, nullptr) << "no thread could be started in the program";
    DWORD module = 0;
    ::WaitForSingleObject(thread, 10000);
    ::GetExitCodeThread(thread, &module);
    ::CloseHandle(thread);
    ::CloseHandle(process);
    return module != 0;
}

class StartupTest : public RunningProgramTest {};

TEST_F(StartupTest, FreshRegistryShowsTheWindowAndExitWritesOnlyTheTimeGroup)
{
    StartProgram();
    EXPECT_EQ(Text(window), "Brewbell - 00:00");
    EXPECT_EQ(registry::Groups(), std::vector<std::string>{}) << "nothing is written at start-up";
    // A library beside the program (tests/e2e/dll), which a search that starts there finds (this
    // test program's does), is out of its reach: its search keeps to the system folder. A 64-bit
    // driver cannot start a thread in the 32-bit program.
    if (!AttachesToRunningProgram()) {
        EXPECT_NE(::LoadLibraryA("beside_program.dll"), nullptr);
        EXPECT_FALSE(ProgramLoadsByBareName(program->Id(), "beside_program.dll"));
    }

    CloseProgram();
    EXPECT_EQ(registry::Groups(), std::vector<std::string>{"Time"});
    EXPECT_EQ(registry::ValueNames("Time"), (std::vector<std::string>{"LastMin", "LastSec", "Min", "Sec"}));
    DWORD min = 1;
    ASSERT_TRUE(registry::ReadDword("Time", "Min", min));
    EXPECT_EQ(min, 0u);
}

TEST_F(StartupTest, SecondStartTellsTheUserAndEndsWhileTheFirstRunsOn)
{
    StartProgram();
    Program second;
    ASSERT_TRUE(second.Start());
    HWND box = second.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "the second start showed no message";
    EXPECT_EQ(Text(box), "Brewbell");
    EXPECT_EQ(MessageBoxText(box), "Brewbell wurde bereits gestartet!");
    const IconColours icon = MessageBoxIconColours(box);
    EXPECT_GT(icon.red, 0.2) << "the stop icon is a red disc; blue share " << icon.blue;
    EXPECT_LT(icon.blue, 0.05);
    EXPECT_EQ(second.FindMainWindow(), nullptr) << "the second main window never shows";

    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(second.HasExited(10000));
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_FALSE(program->HasExited());
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(registry::Groups(), std::vector<std::string>{}) << "the second start saved nothing";

    CloseProgram();
}

TEST_F(StartupTest, OutOfRangeStoredTimeComesBackAsZero)
{
    registry::WriteDword("Time", "Min", 75);
    registry::WriteDword("Time", "Sec", 0xFFFFFFFF);
    registry::WriteDword("Time", "LastSec", 12);
    StartProgram();
    CloseProgram();

    DWORD min = 1, sec = 1, lastSec = 0;
    ASSERT_TRUE(registry::ReadDword("Time", "Min", min));
    ASSERT_TRUE(registry::ReadDword("Time", "Sec", sec));
    ASSERT_TRUE(registry::ReadDword("Time", "LastSec", lastSec));
    EXPECT_EQ(min, 0u);
    EXPECT_EQ(sec, 0u);
    EXPECT_EQ(lastSec, 12u) << "values in range stay";
}

TEST_F(StartupTest, MinimiseAfterStartOptionStartsMinimised)
{
    registry::WriteDword("Menu", "Minimize", 1);
    StartProgram();
    EXPECT_TRUE(WaitUntil([&] { return ::IsIconic(window) != FALSE; })) << "the window did not start minimised";
    CloseProgram();
}

TEST_F(StartupTest, EscapeLeavesTheWindowOpen)
{
    StartProgram();

    // Escape to the window and to the control that has the focus, then a minimise request as a
    // marker: once the window is minimised, the Escapes before it have been handled.
    ::PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    ::PostMessageA(::GetDlgItem(window, IDC_BUTTON_START), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    ::PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(window) || !::IsWindow(window); }));
    EXPECT_TRUE(::IsWindow(window)) << "Escape closed the window";
    EXPECT_FALSE(program->HasExited());

    CloseProgram();
}

} // namespace
