// Numbers an outside edit of the registry left out of range load as they are, but every save
// writes them back only in the schema's ranges, and memory keeps what was written.
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>

namespace {

class NumberValues : public ValueStore {
public:
    void writeString(const char *, const char *, const std::string &) override {}
    void writeDword(const char *group, const char *name, std::uint32_t value) override
    {
        numbers[std::string(group) + "\\" + name] = value;
    }
    std::uint32_t readDword(const char *group, const char *name, std::uint32_t defaultValue) override
    {
        const auto found = numbers.find(std::string(group) + "\\" + name);
        return found == numbers.end() ? defaultValue : found->second;
    }
    std::string readString(const char *, const char *, const std::string &defaultText) override
    {
        return defaultText;
    }

    std::map<std::string, std::uint32_t> numbers;
};

const char *const kFlags[] = {"Sound", "MinStart", "Minimize", "NoClose", "Tray", "TopMost", "Remind", "Suspend",
                              "AutoReset"};

TEST(SettingsSaveRanges, FlagsDaysIntervalAndHoursAreWrittenInRange)
{
    struct Case {
        std::int32_t stored;
        std::int32_t flag;     // flags and interval
        std::int32_t weekdays; // the seven day bits
        std::int32_t hours;    // 1..6, the nearest end
    };
    const Case cases[] = {
        {0, 0, 0, 1},
        {1, 1, 1, 1},
        {2, 1, 2, 2},
        {6, 1, 6, 6},
        {7, 1, 7, 6},
        {127, 1, 127, 6},
        {128, 1, 0, 6},
        {0x333231, 1, 0x31, 6}, // the text "123" read as a number
        {-1, 1, 127, 1},
        {INT_MIN, 1, 0, 1},
        {INT_MAX, 1, 127, 6},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stored);
        NumberValues values;
        for (const char *flag : kFlags)
            values.numbers[std::string("Menu\\") + flag] = static_cast<std::uint32_t>(c.stored);
        for (const char *name : {"Interval", "Weekdays", "Hours"})
            values.numbers[std::string("Teatime\\") + name] = static_cast<std::uint32_t>(c.stored);
        SettingsStore store(values);
        store.loadAll();
        EXPECT_EQ(store.settings.hours, c.stored) << "loading takes what is stored";

        store.saveOptions();
        store.saveTeatime();
        for (const char *flag : kFlags)
            EXPECT_EQ(values.numbers[std::string("Menu\\") + flag], static_cast<std::uint32_t>(c.flag)) << flag;
        EXPECT_EQ(values.numbers["Teatime\\Interval"], static_cast<std::uint32_t>(c.flag));
        EXPECT_EQ(values.numbers["Teatime\\Weekdays"], static_cast<std::uint32_t>(c.weekdays));
        EXPECT_EQ(values.numbers["Teatime\\Hours"], static_cast<std::uint32_t>(c.hours));
        EXPECT_EQ(store.settings.sound, c.flag);
        EXPECT_EQ(store.settings.autoReset, c.flag);
        EXPECT_EQ(store.settings.interval, c.flag);
        EXPECT_EQ(store.settings.weekdays, c.weekdays);
        EXPECT_EQ(store.settings.hours, c.hours);
    }
}

} // namespace
