// Drives brewbell.exe from outside, as a user would: start it, find its windows, read texts,
// click, and look into the registry. Every wait is for a condition, with a time-out.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// With BREWBELL_E2E_ATTACH set, the test drives a brewbell.exe that its caller started: the
// 32-bit program under an emulator, beside this 64-bit driver (scripts/lib.sh). Its settings then
// live in the registry's 32-bit view.
bool AttachesToRunningProgram();

// Waits until the condition holds; false on time-out.
bool WaitUntil(const std::function<bool()> &condition, DWORD timeoutMs = 10000);

std::string WindowText(HWND window);
// The text of a dialog item, asked with WM_GETTEXT: GetWindowText does not ask an edit field of
// another process for it.
std::string ItemText(HWND dialog, int id);
std::string ClassName(HWND window);

class Program {
public:
    Program() = default;
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;
    // A program still running at the end of a test is ended by force.
    ~Program();

    // Starts brewbell.exe from the folder of this test program, or, where the program is started
    // by someone else (see AttachesToRunningProgram), waits for its window and takes it.
    bool Start();
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

// The text of a message box, and how much of its icon is red (the stop icon is a red disc) or
// blue (the information icon), as shares of the icon's pixels seen on the screen.
std::string MessageBoxText(HWND box);
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

// Chooses a menu command of the window, as a click on the item does (posted).
void Command(HWND window, UINT id);
// Clicks a button of a window as the mouse would (posted, so a box it opens does not block us).
void Click(HWND window, int id);
bool IsItemEnabled(HWND window, int id);
// Waits until the window's title is the text; false on time-out.
bool WaitForTitle(HWND window, const std::string &title, DWORD timeoutMs = 10000);

namespace brewbell_registry {
void WriteString(const char *group, const char *name, const char *text);
bool ReadString(const char *group, const char *name, std::string &text);
} // namespace brewbell_registry
