// The process-wide objects of the timer: they exist before the application starts and live
// until the process ends.
#pragma once

#include "settings/settings_store.h"

#include <atomic>
#include <cstdint>

// Hours of a count-up run, 0..99; never persisted.
extern std::atomic<std::int32_t> hourCount;

// The settings record and its registry store (HKEY_LOCAL_MACHINE\Software\Brewbell).
SettingsStore &TheSettingsStore();
inline Settings &TheSettings() { return TheSettingsStore().settings; }
