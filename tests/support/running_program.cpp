#include "tests/support/running_program.h"

#include "tests/support/registry_tree.h"

#include <algorithm>
#include <cstring>

namespace {
const char *const kBasePath = settings_schema::kBasePath;

std::string GroupPath(const char *group) { return std::string(kBasePath) + "\\" + group; }

// A 32-bit program run beside this 64-bit driver keeps its settings in the registry's 32-bit view.
REGSAM RegistryView() { return AttachesToRunningProgram() ? KEY_WOW64_32KEY : 0; }

} // namespace

Program::~Program()
{
    if (info_.hProcess) {
        if (!HasExited())
            ::TerminateProcess(info_.hProcess, 99);
        ::WaitForSingleObject(info_.hProcess, 5000);
        if (info_.hThread)
            ::CloseHandle(info_.hThread);
        ::CloseHandle(info_.hProcess);
    }
}

bool AttachesToRunningProgram() { return ::GetEnvironmentVariableA("BREWBELL_E2E_ATTACH", nullptr, 0) != 0; }

bool Program::Start(const char *startFolder)
{
    if (AttachesToRunningProgram())
        return Attach();
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string program(path, length);
    program = program.substr(0, program.find_last_of('\\') + 1) + "brewbell.exe";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + program + "\"";
    // Started from its own folder, as a double click in the file manager does.
    const std::string folder = program.substr(0, program.find_last_of('\\'));
    return ::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            startFolder ? startFolder : folder.c_str(), &startup, &info_) != FALSE;
}

namespace {
// The program's main window: a dialog titled "Brewbell" or "Brewbell - <time>", no message box.
bool IsMainWindow(HWND window)
{
    const std::string title = Text(window);
    return ClassName(window) == "#32770" && !::GetDlgItem(window, 0xFFFF) &&
           (title == "Brewbell" || title.rfind("Brewbell - ", 0) == 0);
}

BOOL CALLBACK FindProgramWindow(HWND window, LPARAM parameter)
{
    if (!IsMainWindow(window))
        return TRUE;
    ::GetWindowThreadProcessId(window, reinterpret_cast<DWORD *>(parameter));
    return FALSE;
}
} // namespace

bool Program::Attach()
{
    // An emulated start takes a minute or more before the window shows.
    DWORD process = 0;
    if (!WaitUntil([&] { return ::EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&process)), process != 0; },
                   600000))
        return false;
    info_.dwProcessId = process;
    info_.hProcess = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, process);
    return info_.hProcess != nullptr;
}

bool Program::HasExited(DWORD timeoutMs) const
{
    return ::WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

DWORD Program::ExitCode() const
{
    DWORD code = 0;
    ::GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

namespace {
struct WindowSearch {
    DWORD process;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowOfProcess(HWND window, LPARAM parameter)
{
    auto *search = reinterpret_cast<WindowSearch *>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->process)
        search->found.push_back(window);
    return TRUE;
}
} // namespace

std::vector<HWND> Program::TopLevelWindows() const
{
    WindowSearch search{info_.dwProcessId, {}};
    ::EnumWindows(CollectWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Program::FindMainWindow() const
{
    for (HWND window : TopLevelWindows())
        if (::IsWindowVisible(window) && IsMainWindow(window))
            return window;
    return nullptr;
}

HWND Program::WaitForMainWindow(DWORD timeoutMs) const
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindMainWindow()) != nullptr; }, timeoutMs);
    return found;
}

HWND Program::FindMessageBox() const
{
    for (HWND window : TopLevelWindows())
        if (::IsWindowVisible(window) && IsMessageBox(window))
            return window;
    return nullptr;
}

HWND Program::WaitForMessageBox(DWORD timeoutMs) const
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindMessageBox()) != nullptr; }, timeoutMs);
    return found;
}

IconColours MessageBoxIconColours(HWND box)
{
    IconColours colours;
    HWND icon = nullptr;
    for (HWND child = ::GetWindow(box, GW_CHILD); child && !icon; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (ClassName(child) == "Static" && (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            icon = child;
    }
    if (!icon)
        return colours;
    // Another process's window DC cannot be read here; the screen's can.
    ::UpdateWindow(box);
    RECT area;
    ::GetWindowRect(icon, &area);
    HDC dc = ::GetDC(nullptr);
    int red = 0, blue = 0, all = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x, ++all) {
            const COLORREF c = ::GetPixel(dc, x, y);
            const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
            red += r > 150 && g < 110 && b < 110;
            blue += b > 150 && r < 110;
        }
    }
    ::ReleaseDC(nullptr, dc);
    if (all > 0) {
        colours.red = static_cast<double>(red) / all;
        colours.blue = static_cast<double>(blue) / all;
    }
    return colours;
}

namespace brewbell_registry {

// An attached program runs already: whoever started it cleared its settings.
void Clear()
{
    if (!AttachesToRunningProgram())
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kBasePath);
}

namespace {
// The sorted names of a key's sub-keys or values, as the enumeration function gives them.
template <class Enumerate>
std::vector<std::string> SortedNames(const std::string &path, Enumerate enumerate)
{
    std::vector<std::string> names;
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | RegistryView(), &key) != ERROR_SUCCESS)
        return names;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        if (enumerate(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    ::RegCloseKey(key);
    std::sort(names.begin(), names.end());
    return names;
}
} // namespace

std::vector<std::string> Groups() { return SortedNames(kBasePath, ::RegEnumKeyExA); }

std::vector<std::string> ValueNames(const char *group) { return SortedNames(GroupPath(group), ::RegEnumValueA); }

bool ReadDword(const char *group, const char *name, DWORD &value)
{
    DWORD size = sizeof value;
    DWORD type = 0;
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, GroupPath(group).c_str(), 0, KEY_READ | RegistryView(), &key) != ERROR_SUCCESS)
        return false;
    const bool ok =
        ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(&value), &size) == ERROR_SUCCESS &&
        type == REG_DWORD;
    ::RegCloseKey(key);
    return ok;
}

void WriteDword(const char *group, const char *name, DWORD value)
{
    HKEY key;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, GroupPath(group).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | RegistryView(), nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof value);
    ::RegCloseKey(key);
}

} // namespace brewbell_registry

bool WaitForTitle(HWND window, const std::string &title, DWORD timeoutMs)
{
    return WaitUntil([&] { return Text(window) == title; }, timeoutMs);
}

namespace brewbell_registry {
void WriteString(const char *group, const char *name, const char *text)
{
    HKEY key;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, GroupPath(group).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | RegistryView(), nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text), static_cast<DWORD>(strlen(text) + 1));
    ::RegCloseKey(key);
}

bool ReadString(const char *group, const char *name, std::string &text)
{
    char buffer[1024] = "";
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, GroupPath(group).c_str(), 0, KEY_READ | RegistryView(), &key) != ERROR_SUCCESS)
        return false;
    const bool ok = ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(buffer), &size) ==
                        ERROR_SUCCESS &&
                    type == REG_SZ;
    ::RegCloseKey(key);
    text = ok ? buffer : "";
    return ok;
}
} // namespace brewbell_registry

HWND Program::WaitForWindowTitled(const std::string &title, DWORD timeoutMs) const
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows())
                if (::IsWindowVisible(window) && Text(window) == title)
                    return (found = window) != nullptr;
            return false;
        },
        timeoutMs);
    return found;
}
