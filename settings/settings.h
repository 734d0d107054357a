#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

// Values of Settings::layout.
enum LayoutKind : std::int32_t {
    Winter = 0,
    Night = 1,
    Day = 2,
    Summer = 3,
    Automatic = 4,
    Plain = 5,
};

inline constexpr char kDefaultMessage[] = "Ihr Tee ist jetzt fertig!";
inline constexpr char kDefaultReminder[] = "Wie wäre es mit einer Tasse Tee?";
inline constexpr char kDefaultPresetPrefix[] = "Teesorte ";
inline constexpr char kDefaultPresetTime[] = "00";
inline constexpr std::size_t kPresetCount = 10;
inline constexpr std::int32_t kDefaultWeekdays = 127; // bit 0 Monday ... bit 6 Sunday
inline constexpr std::int32_t kDefaultHours = 2;
inline constexpr std::int32_t kFewestHours = 1;
inline constexpr std::int32_t kMostHours = 6;
// 1970-01-02 15:00, 07:00 and 16:00 UTC; only the local time of day counts.
inline constexpr std::int32_t kDefaultDaily = 140400;
inline constexpr std::int32_t kDefaultFrom = 111600;
inline constexpr std::int32_t kDefaultTo = 144000;
// The longest text the registry gives back: longer ones read as their default, so no field that
// is stored takes more.
inline constexpr std::size_t kMaxTextLength = 255;

// Minutes and seconds stay texts: loading takes whatever the registry holds.
struct TeaPreset {
    std::string name;
    std::string minutes;
    std::string seconds;
};

inline std::string defaultPresetName(std::size_t slot) { return kDefaultPresetPrefix + std::to_string(slot); }

inline std::array<TeaPreset, kPresetCount> defaultTeas()
{
    std::array<TeaPreset, kPresetCount> teas;
    for (std::size_t slot = 0; slot < teas.size(); ++slot)
        teas[slot] = {defaultPresetName(slot), kDefaultPresetTime, kDefaultPresetTime};
    return teas;
}

// The one record of everything that persists. The numbers are shared with the countdown and
// clock workers, hence atomic; texts and presets belong to the UI thread.
struct Settings {
    // Time
    std::atomic<std::int32_t> min{0};
    std::atomic<std::int32_t> sec{0};
    std::atomic<std::int32_t> lastMin{0};
    std::atomic<std::int32_t> lastSec{0};

    // Menu
    std::atomic<std::int32_t> sound{1};
    std::atomic<std::int32_t> minStart{0};
    std::atomic<std::int32_t> minimize{0};
    std::atomic<std::int32_t> noClose{0};
    std::atomic<std::int32_t> tray{0};
    std::atomic<std::int32_t> topMost{0};
    std::atomic<std::int32_t> remind{1};
    std::atomic<std::int32_t> suspend{1};
    std::atomic<std::int32_t> autoReset{0};
    std::atomic<std::int32_t> layout{Automatic};

    // User
    std::string alarmSound;
    std::string message{kDefaultMessage};
    std::string remindSound;
    std::string reminder{kDefaultReminder};

    // Teas
    std::array<TeaPreset, kPresetCount> teas{defaultTeas()};

    // Teatime: the three times are seconds since 1970 UTC.
    std::atomic<std::int32_t> interval{0};
    std::atomic<std::int32_t> weekdays{kDefaultWeekdays};
    std::atomic<std::int32_t> hours{kDefaultHours};
    std::atomic<std::int32_t> daily{kDefaultDaily};
    std::atomic<std::int32_t> from{kDefaultFrom};
    std::atomic<std::int32_t> to{kDefaultTo};

    // Netsend
    std::string recipient;
    std::string nsMessage;
    std::atomic<std::int32_t> saveSettings{0};
};

// The groups the messages and reminder dialogs edit, as plain values: a dialog edits a copy of
// its own, and the running program sees it only once it is stored (SettingsStore::apply...).
struct UserTexts {
    std::string alarmSound;
    std::string message;
    std::string remindSound;
    std::string reminder;
};

struct TeatimeValues {
    std::int32_t interval;
    std::int32_t weekdays;
    std::int32_t hours;
    std::int32_t daily;
    std::int32_t from;
    std::int32_t to;
};
