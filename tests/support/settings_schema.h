// The settings as the registry keeps them below Software\Brewbell, written down once for the
// tests, apart from the store's own tables: every group and value name in load (and save) order,
// its kind, its default and what a loaded value may be (the two default messages are the
// program's, in the character set each build compiles them to). Plain C++, for the unit tests, the fuzz
// target and the Windows tests alike.
#pragma once

#include "settings/settings.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace settings_schema {

inline constexpr char kBasePath[] = "Software\\Brewbell";
inline constexpr const char *kGroups[] = {"Time", "Menu", "User", "Teas", "Teatime", "Netsend"};

enum class Kind { Number, Text };

inline constexpr std::int32_t kAnyNumber = std::numeric_limits<std::int32_t>::min();
inline constexpr std::int32_t kAnyNumberLast = std::numeric_limits<std::int32_t>::max();

struct Value {
    std::string group;
    std::string name;
    Kind kind;
    // Numbers: a loaded value outside lowest..highest gives the default; where anyButZeroIsOne,
    // every stored number but 0 loads as 1.
    std::int32_t defaultNumber = 0;
    std::int32_t lowest = 0;
    std::int32_t highest = 0;
    bool anyButZeroIsOne = false;
    std::atomic<std::int32_t> Settings::*number = nullptr;
    // Texts: at most kMaxTextLength characters; a save puts the default in place of an empty one
    // where filledWhenEmpty.
    std::string defaultText;
    bool filledWhenEmpty = false;
    std::string &(*text)(Settings &, std::size_t slot) = nullptr;
    std::size_t slot = 0;

    bool IsNumber() const { return kind == Kind::Number; }
    // A number with a range narrower than every 32-bit value, which a load enforces.
    bool IsRanged() const { return IsNumber() && !anyButZeroIsOne && (lowest != kAnyNumber || highest != kAnyNumberLast); }
    std::string Where() const { return group + "\\" + name; }
};

namespace detail {
inline Value Number(const char *group, const char *name, std::atomic<std::int32_t> Settings::*field,
                    std::int32_t defaultValue, std::int32_t lowest, std::int32_t highest, bool anyButZeroIsOne = false)
{
    Value value{};
    value.group = group;
    value.name = name;
    value.kind = Kind::Number;
    value.defaultNumber = defaultValue;
    value.lowest = lowest;
    value.highest = highest;
    value.anyButZeroIsOne = anyButZeroIsOne;
    value.number = field;
    return value;
}
inline Value Text(const char *group, std::string name, std::string defaultText,
                  std::string &(*field)(Settings &, std::size_t), std::size_t slot = 0, bool filledWhenEmpty = false)
{
    Value value{};
    value.group = group;
    value.name = std::move(name);
    value.kind = Kind::Text;
    value.defaultText = std::move(defaultText);
    value.filledWhenEmpty = filledWhenEmpty;
    value.text = field;
    value.slot = slot;
    return value;
}

inline std::vector<Value> MakeValues()
{
    using S = Settings;
    std::vector<Value> values = {
        Number("Time", "Min", &S::min, 0, 0, 59),
        Number("Time", "Sec", &S::sec, 0, 0, 59),
        Number("Time", "LastMin", &S::lastMin, 0, 0, 59),
        Number("Time", "LastSec", &S::lastSec, 0, 0, 59),
        Number("Menu", "Sound", &S::sound, 1, 0, 1),
        Number("Menu", "MinStart", &S::minStart, 0, 0, 1),
        Number("Menu", "Minimize", &S::minimize, 0, 0, 1),
        Number("Menu", "NoClose", &S::noClose, 0, 0, 1),
        Number("Menu", "Tray", &S::tray, 0, 0, 1),
        Number("Menu", "TopMost", &S::topMost, 0, 0, 1),
        Number("Menu", "Remind", &S::remind, 1, 0, 1),
        Number("Menu", "Suspend", &S::suspend, 1, 0, 1),
        Number("Menu", "AutoReset", &S::autoReset, 0, 0, 1),
        Number("Menu", "Layout", &S::layout, 4, 0, 5),
        Text("User", "AlarmSound", "", [](S &s, std::size_t) -> std::string & { return s.alarmSound; }),
        Text("User", "Message", kDefaultMessage, [](S &s, std::size_t) -> std::string & { return s.message; },
             0, true),
        Text("User", "RemindSound", "", [](S &s, std::size_t) -> std::string & { return s.remindSound; }),
        Text("User", "Reminder", kDefaultReminder,
             [](S &s, std::size_t) -> std::string & { return s.reminder; }, 0, true),
    };
    for (std::size_t slot = 0; slot < 10; ++slot) {
        const std::string number = std::to_string(slot);
        values.push_back(Text("Teas", "Desc" + number, "Teesorte " + number,
                              [](S &s, std::size_t i) -> std::string & { return s.teas[i].name; }, slot));
        values.push_back(Text("Teas", "Min" + number, "00",
                              [](S &s, std::size_t i) -> std::string & { return s.teas[i].minutes; }, slot));
        values.push_back(Text("Teas", "Sec" + number, "00",
                              [](S &s, std::size_t i) -> std::string & { return s.teas[i].seconds; }, slot));
    }
    const std::vector<Value> rest = {
        // Any interval but 0 is the interval rule.
        Number("Teatime", "Interval", &S::interval, 0, 0, 1, true),
        Number("Teatime", "Weekdays", &S::weekdays, 127, 0, 127),
        Number("Teatime", "Hours", &S::hours, 2, 1, 6),
        // Any point in time; only its time of day counts.
        Number("Teatime", "Daily", &S::daily, 140400, kAnyNumber, kAnyNumberLast),
        Number("Teatime", "From", &S::from, 111600, kAnyNumber, kAnyNumberLast),
        Number("Teatime", "To", &S::to, 144000, kAnyNumber, kAnyNumberLast),
        Text("Netsend", "Recipient", "", [](S &s, std::size_t) -> std::string & { return s.recipient; }),
        Text("Netsend", "NSMessage", "", [](S &s, std::size_t) -> std::string & { return s.nsMessage; }),
        Number("Netsend", "SaveSettings", &S::saveSettings, 0, 0, 1),
    };
    values.insert(values.end(), rest.begin(), rest.end());
    return values;
}
} // namespace detail

// Every value, in the order a full load reads them.
inline const std::vector<Value> &Values()
{
    static const std::vector<Value> values = detail::MakeValues();
    return values;
}

// The values of one group, in order.
inline std::vector<Value> GroupValues(const std::string &group)
{
    std::vector<Value> found;
    for (const Value &value : Values())
        if (value.group == group)
            found.push_back(value);
    return found;
}

// "Group\Name" of every value, in load order; of one group where given.
inline std::vector<std::string> Names(const std::string &group = {})
{
    std::vector<std::string> names;
    for (const Value &value : Values())
        if (group.empty() || value.group == group)
            names.push_back(value.Where());
    return names;
}

} // namespace settings_schema
