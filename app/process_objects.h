// The process-wide objects of the timer: they exist before the application starts and live
// until the process ends.
#pragma once

#include "settings/settings_store.h"

#include <atomic>
#include <cstdint>

// The settings record and its registry store (HKEY_LOCAL_MACHINE\Software\Brewbell).
SettingsStore &TheSettingsStore();
inline Settings &TheSettings() { return TheSettingsStore().settings; }
