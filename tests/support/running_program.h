// Drives brewbell.exe from outside, as a user would: start it, find its windows, read texts,
// click (tests/support/controls.h), and look into the registry. Every wait is for a condition,
// with a time-out. RunningProgramTest is the end-to-end tests' fixture.
#pragma once

#include "res/resource.h"
#include "tests/support/controls.h"
#include "tests/support/settings_schema.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

// With BREWBELL_E2E_ATTACH set, the test drives a brewbell.exe that its caller started: the
// 32-bit program under an emulator, beside this 64-bit driver (scripts/lib.sh). Its settings then
// live in the registry's 32-bit view.
bool AttachesToRunningProgram();

class Program {
public:
    Program() = default;
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;
    // A program still running at the end of a test is ended by force.
    ~Program();

    // Starts brewbell.exe from the folder of this test program, or, where the program is started
    // by someone else (see AttachesToRunningProgram), waits for its window and takes it.
    bool Start(const char *startFolder = nullptr);
    DWORD Id() const { return info_.dwProcessId; }
    bool HasExited(DWORD timeoutMs = 0) const;
    DWORD ExitCode() const;

    // The program's visible main window: a dialog titled "Brewbell" or "Brewbell - <time>".
    HWND FindMainWindow() const;
    HWND WaitForMainWindow(DWORD timeoutMs = 10000) const;
    // A message box of the program (dialog class, with the message text item), or null.
    HWND FindMessageBox() const;
    HWND WaitForMessageBox(DWORD timeoutMs = 10000) const;
    std::vector<HWND> TopLevelWindows() const;
    // A visible window of the program with the title, such as one of its dialogs.
    HWND WaitForWindowTitled(const std::string &title, DWORD timeoutMs = 10000) const;

private:
    bool Attach();

    PROCESS_INFORMATION info_{};
};

// How much of a message box's icon is red (the stop icon is a red disc) or blue (the information
// icon), as shares of the icon's pixels seen on the screen.
struct IconColours {
    double red = 0;
    double blue = 0;
};
IconColours MessageBoxIconColours(HWND box);

// HKEY_LOCAL_MACHINE\Software\Brewbell, read and written with the API.
namespace brewbell_registry {
void Clear();
std::vector<std::string> Groups();
std::vector<std::string> ValueNames(const char *group);
bool ReadDword(const char *group, const char *name, DWORD &value);
void WriteDword(const char *group, const char *name, DWORD value);
} // namespace brewbell_registry

// Waits until the window's title is the text; false on time-out.
bool WaitForTitle(HWND window, const std::string &title, DWORD timeoutMs = 10000);

namespace brewbell_registry {
void WriteString(const char *group, const char *name, const char *text);
bool ReadString(const char *group, const char *name, std::string &text);
} // namespace brewbell_registry

// A test with brewbell.exe: the settings cleared before and after, the program started and its
// main window found on request. A program still running at the end is closed with its window and
// must end.
class RunningProgramTest : public ::testing::Test {
protected:
    void SetUp() override { brewbell_registry::Clear(); }
    void TearDown() override
    {
        if (program) {
            if (::IsWindow(window))
                ::PostMessageA(window, WM_CLOSE, 0, 0);
            EXPECT_TRUE(program->HasExited(10000)) << "the program did not end";
        }
        brewbell_registry::Clear();
    }

    // Starts the program (a new one each time) and waits for its main window.
    void StartProgram(const char *startFolder = nullptr)
    {
        program.emplace();
        ASSERT_TRUE(program->Start(startFolder));
        window = program->WaitForMainWindow();
        ASSERT_NE(window, nullptr) << "no Brewbell window appeared";
    }
    // Closes the main window as its close box does; the program ends with code 0.
    void CloseProgram(DWORD timeoutMs = 10000)
    {
        ::PostMessageA(window, WM_CLOSE, 0, 0);
        ExpectEnd(timeoutMs, "the close request");
    }
    // Ends the program with "Programm beenden" of its tray menu; it ends with code 0.
    void ExitProgram(DWORD timeoutMs = 5000)
    {
        PostCommand(window, ID_TRAY_EXIT);
        ExpectEnd(timeoutMs, "the exit command");
    }
    void ExpectEnd(DWORD timeoutMs, const char *request)
    {
        ASSERT_TRUE(program->HasExited(timeoutMs)) << request << " did not end the program";
        EXPECT_EQ(program->ExitCode(), 0u);
    }
    void RestartProgram()
    {
        CloseProgram();
        StartProgram();
    }
    std::string StartCaption() const { return Text(::GetDlgItem(window, IDC_BUTTON_START)); }

    std::optional<Program> program;
    HWND window = nullptr;
};
