// Runs a test body inside a modal dialog's own message loop, and a settings store of the tests'
// own below HKEY_CURRENT_USER.
#pragma once

#include "framework/dialog.h"
#include "settings/registry_key.h"
#include "settings/settings_store.h"
#include "tests/support/registry_tree.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace modal_body {
inline std::function<void()> &Pending()
{
    static std::function<void()> body;
    return body;
}
inline void CALLBACK RunPending(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(nullptr, timer);
    std::function<void()> body = std::exchange(Pending(), nullptr);
    if (body)
        body();
}
} // namespace modal_body

// The body gets the dialog's window once it is shown; a dialog the body leaves open is ended
// with IDABORT.
inline INT_PTR RunModalWith(Dialog &dialog, const std::function<void(HWND)> &body)
{
    modal_body::Pending() = [&] {
        body(dialog.GetSafeHwnd());
        if (!dialog.IsEnded())
            dialog.EndDialog(IDABORT);
    };
    ::SetTimer(nullptr, 0, 1, modal_body::RunPending);
    return dialog.DoModal();
}

inline constexpr char kTestSettingsPath[] = "Software\\BrewbellDialogTests";

// A store of its own, emptied when made and when gone.
struct TestSettingsStore {
    TestSettingsStore() { DeleteRegistryTree(HKEY_CURRENT_USER, kTestSettingsPath); }
    ~TestSettingsStore() { DeleteRegistryTree(HKEY_CURRENT_USER, kTestSettingsPath); }
    RegistryKey registry{HKEY_CURRENT_USER, kTestSettingsPath};
    SettingsStore store{registry};
    Settings &settings = store.settings;

    // What the registry holds; the markers stand for a missing value.
    std::uint32_t Dword(const char *group, const char *name) { return registry.readDword(group, name, kMissing); }
    std::string Text(const char *group, const char *name) { return registry.readString(group, name, "<missing>"); }
    static constexpr std::uint32_t kMissing = 0xDEADBEEF;
};
