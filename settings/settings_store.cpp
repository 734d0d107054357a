#include "settings/settings_store.h"

#include "settings/value_codec.h"

#include <limits>
#include <string_view>

namespace {

constexpr char kTimeGroup[] = "Time";
constexpr char kMenuGroup[] = "Menu";
constexpr char kUserGroup[] = "User";
constexpr char kTeasGroup[] = "Teas";
constexpr char kTeatimeGroup[] = "Teatime";
constexpr char kNetsendGroup[] = "Netsend";

constexpr std::int32_t kEarliestTime = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kLatestTime = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kAllWeekdays = 127;

// Value names, fields, defaults and the range a loaded value must lie in (else the default
// stands), in load and save order. Only an outside edit of the registry puts anything else
// there, and the rest of the program then never sees it: the countdown never exceeds 59:59, an
// option is on or off, and the reminder dialog can keep its hours field in 1..6.
constexpr NumberValue kTimeValues[] = {
    {"Min", &Settings::min, 0, 0, 59},
    {"Sec", &Settings::sec, 0, 0, 59},
    {"LastMin", &Settings::lastMin, 0, 0, 59},
    {"LastSec", &Settings::lastSec, 0, 0, 59},
};

constexpr NumberValue kMenuValues[] = {
    {"Sound", &Settings::sound, 1, 0, 1},         {"MinStart", &Settings::minStart, 0, 0, 1},
    {"Minimize", &Settings::minimize, 0, 0, 1},   {"NoClose", &Settings::noClose, 0, 0, 1},
    {"Tray", &Settings::tray, 0, 0, 1},           {"TopMost", &Settings::topMost, 0, 0, 1},
    {"Remind", &Settings::remind, 1, 0, 1},       {"Suspend", &Settings::suspend, 1, 0, 1},
    {"AutoReset", &Settings::autoReset, 0, 0, 1}, {"Layout", &Settings::layout, Automatic, Winter, Plain},
};

// The three times are any point in time; only their time of day counts.
constexpr NumberValue kTeatimeValues[] = {
    // The clock takes any interval but 0 for the interval rule; loaded as 1, it stays that rule.
    {"Interval", &Settings::interval, 0, 0, 1, true},
    {"Weekdays", &Settings::weekdays, kDefaultWeekdays, 0, kAllWeekdays},
    {"Hours", &Settings::hours, kDefaultHours, kFewestHours, kMostHours},
    {"Daily", &Settings::daily, kDefaultDaily, kEarliestTime, kLatestTime},
    {"From", &Settings::from, kDefaultFrom, kEarliestTime, kLatestTime},
    {"To", &Settings::to, kDefaultTo, kEarliestTime, kLatestTime},
};

constexpr NumberValue kNetsendNumbers[] = {
    {"SaveSettings", &Settings::saveSettings, 0, 0, 1},
};

struct PresetValueNames {
    std::string name;
    std::string minutes;
    std::string seconds;
};

PresetValueNames presetValueNames(std::size_t slot)
{
    const std::string number = std::to_string(slot);
    return {"Desc" + number, "Min" + number, "Sec" + number};
}

void trimWhiteSpace(std::string &text)
{
    constexpr std::string_view whiteSpace = " \t\r\n\v\f";
    const auto last = text.find_last_not_of(whiteSpace);
    if (last == std::string::npos) {
        text.clear();
        return;
    }
    text.erase(last + 1);
    text.erase(0, text.find_first_not_of(whiteSpace));
}

void fillIfEmpty(std::string &text, const char *fallback)
{
    if (text.empty())
        text = fallback;
}

} // namespace

SettingsStore::SettingsStore(ValueStore &values) : values(values) {}

void SettingsStore::loadNumbers(const char *group, std::span<const NumberValue> table)
{
    for (const NumberValue &value : table) {
        // Compared as signed: a DWORD above 2^31 - 1 is a negative number here.
        const auto stored = static_cast<std::int32_t>(
            values.readDword(group, value.name, static_cast<std::uint32_t>(value.defaultValue)));
        if (value.anyButZeroIsOne && stored != 0)
            settings.*value.field = 1;
        else
            settings.*value.field = stored < value.lowest || stored > value.highest ? value.defaultValue : stored;
    }
}

// Every value is written even after one was refused: as much as the registry takes is kept.
bool SettingsStore::saveNumbers(const char *group, std::span<const NumberValue> table)
{
    bool stored = true;
    for (const NumberValue &value : table)
        stored &= values.writeDword(group, value.name, static_cast<std::uint32_t>((settings.*value.field).load()));
    return stored;
}

// A text the registry could not give back whole is cut to what it can, here and in memory
// alike, so that the next start sees what this run sees.
bool SettingsStore::writeText(const char *group, const char *name, std::string &text)
{
    text = value_codec::storableText(text);
    return values.writeString(group, name, text);
}

void SettingsStore::loadAll()
{
    loadTime();
    loadOptions();
    loadUser();
    loadTeas();
    loadTeatime();
    loadNetsend();
}

void SettingsStore::loadTime() { loadNumbers(kTimeGroup, kTimeValues); }

bool SettingsStore::saveTime() { return saveNumbers(kTimeGroup, kTimeValues); }

void SettingsStore::loadOptions() { loadNumbers(kMenuGroup, kMenuValues); }

bool SettingsStore::saveOptions() { return saveNumbers(kMenuGroup, kMenuValues); }

void SettingsStore::loadUser()
{
    settings.alarmSound = values.readString(kUserGroup, "AlarmSound", "");
    settings.message = values.readString(kUserGroup, "Message", kDefaultMessage);
    settings.remindSound = values.readString(kUserGroup, "RemindSound", "");
    settings.reminder = values.readString(kUserGroup, "Reminder", kDefaultReminder);
}

bool SettingsStore::saveUser()
{
    for (std::string *text : {&settings.message, &settings.reminder, &settings.alarmSound, &settings.remindSound}) {
        *text = value_codec::storableText(*text);
        trimWhiteSpace(*text);
    }
    fillIfEmpty(settings.message, kDefaultMessage);
    fillIfEmpty(settings.reminder, kDefaultReminder);

    bool stored = writeText(kUserGroup, "AlarmSound", settings.alarmSound);
    stored &= writeText(kUserGroup, "Message", settings.message);
    stored &= writeText(kUserGroup, "RemindSound", settings.remindSound);
    stored &= writeText(kUserGroup, "Reminder", settings.reminder);
    return stored;
}

void SettingsStore::loadTeas()
{
    for (std::size_t slot = 0; slot < settings.teas.size(); ++slot) {
        const PresetValueNames names = presetValueNames(slot);
        TeaPreset &tea = settings.teas[slot];
        tea.name = values.readString(kTeasGroup, names.name.c_str(), defaultPresetName(slot));
        tea.minutes = values.readString(kTeasGroup, names.minutes.c_str(), kDefaultPresetTime);
        tea.seconds = values.readString(kTeasGroup, names.seconds.c_str(), kDefaultPresetTime);
    }
}

bool SettingsStore::saveTeas()
{
    bool stored = true;
    for (std::size_t slot = 0; slot < settings.teas.size(); ++slot) {
        const PresetValueNames names = presetValueNames(slot);
        TeaPreset &tea = settings.teas[slot];
        stored &= writeText(kTeasGroup, names.name.c_str(), tea.name);
        stored &= writeText(kTeasGroup, names.minutes.c_str(), tea.minutes);
        stored &= writeText(kTeasGroup, names.seconds.c_str(), tea.seconds);
    }
    return stored;
}

void SettingsStore::loadTeatime() { loadNumbers(kTeatimeGroup, kTeatimeValues); }

bool SettingsStore::saveTeatime() { return saveNumbers(kTeatimeGroup, kTeatimeValues); }

void SettingsStore::loadNetsend()
{
    settings.recipient = values.readString(kNetsendGroup, "Recipient", "");
    settings.nsMessage = values.readString(kNetsendGroup, "NSMessage", "");
    loadNumbers(kNetsendGroup, kNetsendNumbers);
}

bool SettingsStore::saveNetsend()
{
    bool stored = writeText(kNetsendGroup, "Recipient", settings.recipient);
    stored &= writeText(kNetsendGroup, "NSMessage", settings.nsMessage);
    stored &= saveNumbers(kNetsendGroup, kNetsendNumbers);
    return stored;
}

UserTexts SettingsStore::userTexts() const
{
    return {settings.alarmSound, settings.message, settings.remindSound, settings.reminder};
}

void SettingsStore::putUser(const UserTexts &texts)
{
    settings.alarmSound = texts.alarmSound;
    settings.message = texts.message;
    settings.remindSound = texts.remindSound;
    settings.reminder = texts.reminder;
}

bool SettingsStore::applyUser(const UserTexts &texts)
{
    const UserTexts before = userTexts();
    putUser(texts);
    if (saveUser())
        return true;
    putUser(before);
    saveUser();
    return false;
}

TeatimeValues SettingsStore::teatime() const
{
    return {settings.interval, settings.weekdays, settings.hours, settings.daily, settings.from, settings.to};
}

void SettingsStore::putTeatime(const TeatimeValues &chosen)
{
    settings.interval = chosen.interval;
    settings.weekdays = chosen.weekdays;
    settings.hours = chosen.hours;
    settings.daily = chosen.daily;
    settings.from = chosen.from;
    settings.to = chosen.to;
}

bool SettingsStore::applyTeatime(const TeatimeValues &chosen)
{
    const TeatimeValues before = teatime();
    putTeatime(chosen);
    if (saveTeatime())
        return true;
    putTeatime(before);
    saveTeatime();
    return false;
}

bool SettingsStore::applyTeas(const std::array<TeaPreset, kPresetCount> &teas)
{
    const std::array<TeaPreset, kPresetCount> before = settings.teas;
    settings.teas = teas;
    if (saveTeas())
        return true;
    settings.teas = before;
    saveTeas();
    return false;
}
