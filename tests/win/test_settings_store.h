// A settings store of the dialog tests' own below HKEY_CURRENT_USER, emptied when made and when
// gone.
#pragma once

#include "settings/registry_key.h"
#include "settings/settings_store.h"
#include "tests/support/registry_tree.h"

#include <cstdint>
#include <string>

struct TestSettingsStore {
    static constexpr char kPath[] = "Software\\BrewbellDialogTests";
    static constexpr std::uint32_t kMissing = 0xDEADBEEF;

    TestSettingsStore() { DeleteRegistryTree(HKEY_CURRENT_USER, kPath); }
    ~TestSettingsStore() { DeleteRegistryTree(HKEY_CURRENT_USER, kPath); }
    TestSettingsStore(const TestSettingsStore &) = delete;
    TestSettingsStore &operator=(const TestSettingsStore &) = delete;

    // What the registry holds; the markers stand for a missing value.
    std::uint32_t Dword(const char *group, const char *name) { return registry.readDword(group, name, kMissing); }
    std::string Text(const char *group, const char *name) { return registry.readString(group, name, "<missing>"); }

    RegistryKey registry{HKEY_CURRENT_USER, kPath};
    SettingsStore store{registry};
    Settings &settings = store.settings;
};
