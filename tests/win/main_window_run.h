// The program's main window on the test's thread, and what it leaves in the registry.
#pragma once

#include "app/main_dialog.h"
#include "app/process_objects.h"
#include "tests/support/dialog_run.h"
#include "tests/support/registry_tree.h"
#include "tests/support/settings_schema.h"

#include <functional>
#include <string>

// Runs the main window with the settings as they stand and the body inside its message loop; the
// program then ends as the tray menu's "Programm beenden" would end it, unless the body ended it.
// Returns what the window's loop returned; `after` sees the dialog once its loop has ended.
inline INT_PTR RunMainWindow(const std::function<void(MainDialog &, HWND)> &body,
                             const std::function<void(MainDialog &)> &after = {})
{
    SingleInstance instance;
    MainDialog dialog(instance);
    Dialog::SetMainDialog(&dialog);
    RunOptions options;
    options.endLeftOpen = [&](Dialog &) { dialog.ExitProgram(); };
    const INT_PTR result = RunModal(dialog, [&](HWND window) { body(dialog, window); }, options);
    Dialog::SetMainDialog(nullptr);
    if (after)
        after(dialog);
    return result;
}

// A finish or a reminder as the countdown and clock workers deliver it: the window acts on the
// message only with its flag raised.
inline Announcement &AnnouncementOf(UINT message)
{
    return message == WM_COUNTDOWN_FINISHED ? TheFinishAnnouncement() : TheReminderAnnouncement();
}
inline void PostAlert(HWND window, UINT message)
{
    AnnouncementOf(message).Post(window, message);
}
inline void SendAlert(HWND window, UINT message)
{
    AnnouncementOf(message).Raise();
    ::SendMessageA(window, message, 0, 0);
}

inline void ClearRegistry() { DeleteRegistryTree(HKEY_LOCAL_MACHINE, settings_schema::kBasePath); }

inline bool TimeGroupExists()
{
    return RegistryKeyExists(HKEY_LOCAL_MACHINE, (std::string(settings_schema::kBasePath) + "\\Time").c_str());
}

// A number the program stored, or 0xDEAD where there is none; with the type and size it has.
inline DWORD StoredValue(const char *group, const char *name, DWORD *type = nullptr, DWORD *size = nullptr)
{
    DWORD value = 0xDEAD, length = sizeof value, kind = REG_NONE;
    HKEY key;
    const std::string path = std::string(settings_schema::kBasePath) + "\\" + group;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        ::RegQueryValueExA(key, name, nullptr, &kind, reinterpret_cast<BYTE *>(&value), &length);
        ::RegCloseKey(key);
    }
    if (type)
        *type = kind;
    if (size)
        *size = length;
    return value;
}

inline DWORD StoredTime(const char *name) { return StoredValue("Time", name); }
