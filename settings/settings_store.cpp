#include "settings/settings_store.h"

#include <string_view>

namespace {

constexpr char kTimeGroup[] = "Time";
constexpr char kMenuGroup[] = "Menu";
constexpr char kUserGroup[] = "User";
constexpr char kTeasGroup[] = "Teas";
constexpr char kTeatimeGroup[] = "Teatime";
constexpr char kNetsendGroup[] = "Netsend";

constexpr std::int32_t kLargestTimePart = 59;

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

// Negative values count as large, as they would in the registry's unsigned DWORD.
void clampTimePart(std::atomic<std::int32_t> &part)
{
    if (static_cast<std::uint32_t>(part.load()) > kLargestTimePart)
        part = 0;
}

// What an outside edit of the registry left is taken as loaded, but written back only in the
// schema's ranges, and memory keeps what was written. Every flag but 0 already means on.
void keepFlag(std::atomic<std::int32_t> &flag)
{
    if (flag.load() != 0)
        flag = 1;
}

void keepWithin(std::atomic<std::int32_t> &value, std::int32_t lowest, std::int32_t highest)
{
    if (value.load() < lowest)
        value = lowest;
    else if (value.load() > highest)
        value = highest;
}

} // namespace

SettingsStore::SettingsStore(ValueStore &values) : values(values) {}

std::int32_t SettingsStore::readNumber(const char *group, const char *name, std::int32_t defaultValue)
{
    return static_cast<std::int32_t>(values.readDword(group, name, static_cast<std::uint32_t>(defaultValue)));
}

void SettingsStore::writeNumber(const char *group, const char *name, std::int32_t value)
{
    values.writeDword(group, name, static_cast<std::uint32_t>(value));
}

void SettingsStore::loadAll()
{
    // loadOptions corrects the countdown values, so Time has to be in memory first.
    loadTime();
    loadOptions();
    loadUser();
    loadTeas();
    loadTeatime();
    loadNetsend();
}

void SettingsStore::loadTime()
{
    settings.min = readNumber(kTimeGroup, "Min", 0);
    settings.sec = readNumber(kTimeGroup, "Sec", 0);
    settings.lastMin = readNumber(kTimeGroup, "LastMin", 0);
    settings.lastSec = readNumber(kTimeGroup, "LastSec", 0);
}

void SettingsStore::saveTime()
{
    writeNumber(kTimeGroup, "Min", settings.min);
    writeNumber(kTimeGroup, "Sec", settings.sec);
    writeNumber(kTimeGroup, "LastMin", settings.lastMin);
    writeNumber(kTimeGroup, "LastSec", settings.lastSec);
}

void SettingsStore::loadOptions()
{
    settings.sound = readNumber(kMenuGroup, "Sound", 1);
    settings.minStart = readNumber(kMenuGroup, "MinStart", 0);
    settings.minimize = readNumber(kMenuGroup, "Minimize", 0);
    settings.noClose = readNumber(kMenuGroup, "NoClose", 0);
    settings.tray = readNumber(kMenuGroup, "Tray", 0);
    settings.topMost = readNumber(kMenuGroup, "TopMost", 0);
    settings.remind = readNumber(kMenuGroup, "Remind", 1);
    settings.suspend = readNumber(kMenuGroup, "Suspend", 1);
    settings.autoReset = readNumber(kMenuGroup, "AutoReset", 0);
    settings.layout = readNumber(kMenuGroup, "Layout", Automatic);

    if (settings.layout < Winter || settings.layout > Plain)
        settings.layout = Automatic;
    clampTimePart(settings.min);
    clampTimePart(settings.sec);
    clampTimePart(settings.lastMin);
    clampTimePart(settings.lastSec);
}

void SettingsStore::saveOptions()
{
    for (auto *flag : {&settings.sound, &settings.minStart, &settings.minimize, &settings.noClose, &settings.tray,
                       &settings.topMost, &settings.remind, &settings.suspend, &settings.autoReset})
        keepFlag(*flag);
    writeNumber(kMenuGroup, "Sound", settings.sound);
    writeNumber(kMenuGroup, "MinStart", settings.minStart);
    writeNumber(kMenuGroup, "Minimize", settings.minimize);
    writeNumber(kMenuGroup, "NoClose", settings.noClose);
    writeNumber(kMenuGroup, "Tray", settings.tray);
    writeNumber(kMenuGroup, "TopMost", settings.topMost);
    writeNumber(kMenuGroup, "Remind", settings.remind);
    writeNumber(kMenuGroup, "Suspend", settings.suspend);
    writeNumber(kMenuGroup, "AutoReset", settings.autoReset);
    writeNumber(kMenuGroup, "Layout", settings.layout);
}

void SettingsStore::loadUser()
{
    settings.alarmSound = values.readString(kUserGroup, "AlarmSound", "");
    settings.message = values.readString(kUserGroup, "Message", kDefaultMessage);
    settings.remindSound = values.readString(kUserGroup, "RemindSound", "");
    settings.reminder = values.readString(kUserGroup, "Reminder", kDefaultReminder);
}

void SettingsStore::saveUser()
{
    trimWhiteSpace(settings.message);
    trimWhiteSpace(settings.reminder);
    trimWhiteSpace(settings.alarmSound);
    trimWhiteSpace(settings.remindSound);
    fillIfEmpty(settings.message, kDefaultMessage);
    fillIfEmpty(settings.reminder, kDefaultReminder);

    values.writeString(kUserGroup, "AlarmSound", settings.alarmSound);
    values.writeString(kUserGroup, "Message", settings.message);
    values.writeString(kUserGroup, "RemindSound", settings.remindSound);
    values.writeString(kUserGroup, "Reminder", settings.reminder);
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

void SettingsStore::saveTeas()
{
    for (std::size_t slot = 0; slot < settings.teas.size(); ++slot) {
        const PresetValueNames names = presetValueNames(slot);
        const TeaPreset &tea = settings.teas[slot];
        values.writeString(kTeasGroup, names.name.c_str(), tea.name);
        values.writeString(kTeasGroup, names.minutes.c_str(), tea.minutes);
        values.writeString(kTeasGroup, names.seconds.c_str(), tea.seconds);
    }
}

// No range checks here: the reminder dialog and the scheduler guard their own values.
void SettingsStore::loadTeatime()
{
    settings.interval = readNumber(kTeatimeGroup, "Interval", 0);
    settings.weekdays = readNumber(kTeatimeGroup, "Weekdays", kDefaultWeekdays);
    settings.hours = readNumber(kTeatimeGroup, "Hours", kDefaultHours);
    settings.daily = readNumber(kTeatimeGroup, "Daily", kDefaultDaily);
    settings.from = readNumber(kTeatimeGroup, "From", kDefaultFrom);
    settings.to = readNumber(kTeatimeGroup, "To", kDefaultTo);
}

void SettingsStore::saveTeatime()
{
    // Any interval but 0 is the interval rule, and only the seven day bits are days.
    keepFlag(settings.interval);
    settings.weekdays = settings.weekdays.load() & kDefaultWeekdays;
    keepWithin(settings.hours, kFewestHours, kMostHours);
    writeNumber(kTeatimeGroup, "Interval", settings.interval);
    writeNumber(kTeatimeGroup, "Weekdays", settings.weekdays);
    writeNumber(kTeatimeGroup, "Hours", settings.hours);
    writeNumber(kTeatimeGroup, "Daily", settings.daily);
    writeNumber(kTeatimeGroup, "From", settings.from);
    writeNumber(kTeatimeGroup, "To", settings.to);
}

void SettingsStore::loadNetsend()
{
    settings.recipient = values.readString(kNetsendGroup, "Recipient", "");
    settings.nsMessage = values.readString(kNetsendGroup, "NSMessage", "");
    settings.saveSettings = readNumber(kNetsendGroup, "SaveSettings", 0);
}

void SettingsStore::saveNetsend()
{
    values.writeString(kNetsendGroup, "Recipient", settings.recipient);
    values.writeString(kNetsendGroup, "NSMessage", settings.nsMessage);
    writeNumber(kNetsendGroup, "SaveSettings", settings.saveSettings);
}
