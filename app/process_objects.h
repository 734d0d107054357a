// The process-wide objects of the timer: they exist before the application starts and live
// until the process ends.
#pragma once

#include "framework/announcement.h"
#include "settings/settings_store.h"

#include <atomic>
#include <cstdint>

// The settings record and its registry store (HKEY_LOCAL_MACHINE\Software\Brewbell).
SettingsStore &TheSettingsStore();
inline Settings &TheSettings() { return TheSettingsStore().settings; }

// Raised by the countdown worker with WM_COUNTDOWN_FINISHED and by the clock worker with
// WM_REMINDER_DUE: the main window acts on those messages only when they came from there.
Announcement &TheFinishAnnouncement();
Announcement &TheReminderAnnouncement();
