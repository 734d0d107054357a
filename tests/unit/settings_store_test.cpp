#include "settings/settings_store.h"
#include "tests/support/memory_value_store.h"
#include "tests/support/settings_schema.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

Lines teaValueNames() { return settings_schema::Names("Teas"); }

class SettingsStoreTest : public ::testing::Test {
protected:
    MemoryValueStore registry;
    SettingsStore store{registry};
    Settings &settings = store.settings;
};

TEST_F(SettingsStoreTest, EmptyStoreLoadsTheDefaultsWithoutWriting)
{
    store.loadAll();

    EXPECT_EQ(0, settings.min);
    EXPECT_EQ(0, settings.sec);
    EXPECT_EQ(0, settings.lastMin);
    EXPECT_EQ(0, settings.lastSec);
    EXPECT_EQ(1, settings.sound);
    EXPECT_EQ(0, settings.minStart);
    EXPECT_EQ(0, settings.minimize);
    EXPECT_EQ(0, settings.noClose);
    EXPECT_EQ(0, settings.tray);
    EXPECT_EQ(0, settings.topMost);
    EXPECT_EQ(1, settings.remind);
    EXPECT_EQ(1, settings.suspend);
    EXPECT_EQ(0, settings.autoReset);
    EXPECT_EQ(4, settings.layout);
    EXPECT_EQ("", settings.alarmSound);
    EXPECT_EQ("Ihr Tee ist jetzt fertig!", settings.message);
    EXPECT_EQ("", settings.remindSound);
    EXPECT_EQ("Wie w\xE4re es mit einer Tasse Tee?", settings.reminder); // Windows-1252
    for (std::size_t slot = 0; slot < settings.teas.size(); ++slot) {
        EXPECT_EQ("Teesorte " + std::to_string(slot), settings.teas[slot].name);
        EXPECT_EQ("00", settings.teas[slot].minutes);
        EXPECT_EQ("00", settings.teas[slot].seconds);
    }
    EXPECT_EQ(0, settings.interval);
    EXPECT_EQ(127, settings.weekdays);
    EXPECT_EQ(2, settings.hours);
    EXPECT_EQ(140400, settings.daily);
    EXPECT_EQ(111600, settings.from);
    EXPECT_EQ(144000, settings.to);
    EXPECT_EQ("", settings.recipient);
    EXPECT_EQ("", settings.nsMessage);
    EXPECT_EQ(0, settings.saveSettings);

    EXPECT_TRUE(registry.writes.empty());
}

TEST_F(SettingsStoreTest, LoadAllReadsGroupsAndValuesInOrder)
{
    store.loadAll();

    // The schema lists every value in load order.
    EXPECT_EQ(settings_schema::Names(), registry.reads);
}

TEST_F(SettingsStoreTest, LoadAllKeepsInRangeValuesAndTimesAsStored)
{
    registry.putDword("Time", "Min", 59);
    registry.putDword("Time", "LastSec", 0);
    registry.putDword("Menu", "Sound", 0);
    registry.putDword("Menu", "Layout", 5);
    registry.putDword("Teatime", "Hours", 6);
    registry.putDword("Teatime", "Interval", 1);
    registry.putDword("Teatime", "Weekdays", 0);
    registry.putDword("Teatime", "From", 0xFFFFFFFFu);
    registry.putDword("Teatime", "Daily", 0x80000000u);
    registry.putDword("Teatime", "To", 0x7FFFFFFFu);
    store.loadAll();

    EXPECT_EQ(59, settings.min);
    EXPECT_EQ(0, settings.lastSec);
    EXPECT_EQ(0, settings.sound);
    EXPECT_EQ(Plain, settings.layout);
    EXPECT_EQ(6, settings.hours);
    EXPECT_EQ(1, settings.interval);
    EXPECT_EQ(0, settings.weekdays);
    EXPECT_EQ(-1, settings.from);
    EXPECT_EQ(INT32_MIN, settings.daily);
    EXPECT_EQ(INT32_MAX, settings.to);
}

TEST_F(SettingsStoreTest, TeasAreTakenAsStored)
{
    registry.putString("Teas", "Desc3", "Assam");
    registry.putString("Teas", "Min3", "7");
    registry.putString("Teas", "Sec9", "");
    store.loadTeas();

    EXPECT_EQ("Assam", settings.teas[3].name);
    EXPECT_EQ("7", settings.teas[3].minutes);
    EXPECT_EQ("00", settings.teas[3].seconds);
    EXPECT_EQ("", settings.teas[9].seconds);
    EXPECT_EQ("Teesorte 9", settings.teas[9].name);
}

TEST_F(SettingsStoreTest, SaveUserTrimsAndRestoresTheDefaultMessages)
{
    settings.alarmSound = " \t\r\n\v\fC:\\Sounds\\gong.wav \t\r\n\v\f";
    settings.message = "\v Fertig,  bitte abgiessen\f";
    settings.remindSound = "   ";
    settings.reminder = " \t\r\n\v\f";
    store.saveUser();

    const Lines expected = {"User\\AlarmSound='C:\\Sounds\\gong.wav'", "User\\Message='Fertig,  bitte abgiessen'",
                            "User\\RemindSound=''", "User\\Reminder='Wie w\xE4re es mit einer Tasse Tee?'"};
    EXPECT_EQ(expected, registry.writes);
    EXPECT_EQ("C:\\Sounds\\gong.wav", settings.alarmSound);
    EXPECT_EQ("Fertig,  bitte abgiessen", settings.message);
    EXPECT_EQ("", settings.remindSound);
    EXPECT_EQ(kDefaultReminder, settings.reminder);

    settings.message.clear();
    store.saveUser();
    EXPECT_EQ("Ihr Tee ist jetzt fertig!", settings.message);
    EXPECT_EQ("User\\Message='Ihr Tee ist jetzt fertig!'", registry.writes[5]);
}

TEST_F(SettingsStoreTest, SavesWriteTheirGroupInOrderAsTheyStand)
{
    settings.min = 5;
    settings.sec = 30;
    settings.lastMin = 4;
    settings.lastSec = 15;
    store.saveTime();
    EXPECT_EQ((Lines{"Time\\Min=5", "Time\\Sec=30", "Time\\LastMin=4", "Time\\LastSec=15"}), registry.writes);

    registry.writes.clear();
    settings.sound = 0;
    settings.minStart = 1;
    settings.tray = 1;
    settings.layout = Plain;
    store.saveOptions();
    EXPECT_EQ((Lines{"Menu\\Sound=0", "Menu\\MinStart=1", "Menu\\Minimize=0", "Menu\\NoClose=0", "Menu\\Tray=1",
                     "Menu\\TopMost=0", "Menu\\Remind=1", "Menu\\Suspend=1", "Menu\\AutoReset=0", "Menu\\Layout=5"}),
              registry.writes);

    registry.writes.clear();
    settings.interval = 1;
    settings.hours = 3;
    settings.from = -1;
    store.saveTeatime();
    EXPECT_EQ((Lines{"Teatime\\Interval=1", "Teatime\\Weekdays=127", "Teatime\\Hours=3", "Teatime\\Daily=140400",
                     "Teatime\\From=4294967295", "Teatime\\To=144000"}),
              registry.writes);

    registry.writes.clear();
    settings.recipient = " pc1 ";
    settings.nsMessage = "Tee!";
    settings.saveSettings = 1;
    store.saveNetsend();
    EXPECT_EQ((Lines{"Netsend\\Recipient=' pc1 '", "Netsend\\NSMessage='Tee!'", "Netsend\\SaveSettings=1"}),
              registry.writes);

    registry.writes.clear();
    settings.teas[0].minutes = "3";
    store.saveTeas();
    ASSERT_EQ(30u, registry.writes.size());
    EXPECT_EQ("Teas\\Desc0='Teesorte 0'", registry.writes[0]);
    EXPECT_EQ("Teas\\Min0='3'", registry.writes[1]);
    EXPECT_EQ("Teas\\Sec9='00'", registry.writes[29]);
    Lines writtenNames;
    for (const std::string &write : registry.writes)
        writtenNames.push_back(write.substr(0, write.find('=')));
    EXPECT_EQ(teaValueNames(), writtenNames);
}

TEST_F(SettingsStoreTest, EverySavedGroupLoadsBackUnchanged)
{
    settings.min = 12;
    settings.lastSec = 59;
    settings.topMost = 1;
    settings.layout = Night;
    settings.alarmSound = "a.wav";
    settings.reminder = "Teezeit";
    settings.teas[7] = {"Darjeeling", "03", "30"};
    settings.weekdays = 0x1F;
    settings.to = -7200;
    settings.nsMessage = "Hallo";
    store.saveTime();
    store.saveOptions();
    store.saveUser();
    store.saveTeas();
    store.saveTeatime();
    store.saveNetsend();

    SettingsStore reloaded{registry};
    reloaded.loadAll();
    const Settings &loaded = reloaded.settings;
    EXPECT_EQ(12, loaded.min);
    EXPECT_EQ(59, loaded.lastSec);
    EXPECT_EQ(1, loaded.topMost);
    EXPECT_EQ(Night, loaded.layout);
    EXPECT_EQ("a.wav", loaded.alarmSound);
    EXPECT_EQ("Teezeit", loaded.reminder);
    EXPECT_EQ("Darjeeling", loaded.teas[7].name);
    EXPECT_EQ("30", loaded.teas[7].seconds);
    EXPECT_EQ(0x1F, loaded.weekdays);
    EXPECT_EQ(-7200, loaded.to);
    EXPECT_EQ("Hallo", loaded.nsMessage);
}

// A key the user may only read: each save says so, and still writes what the registry takes.
TEST_F(SettingsStoreTest, ASaveReportsARefusedValueAndStillWritesTheRestOfItsGroup)
{
    const struct {
        const char *group; // and the first value the group writes
        const char *refused;
        bool (SettingsStore::*save)();
    } cases[] = {
        {"Time", "Min", &SettingsStore::saveTime},
        {"Menu", "Sound", &SettingsStore::saveOptions},
        {"User", "AlarmSound", &SettingsStore::saveUser},
        {"Teas", "Desc0", &SettingsStore::saveTeas},
        {"Teatime", "Interval", &SettingsStore::saveTeatime},
        {"Netsend", "Recipient", &SettingsStore::saveNetsend},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(MemoryValueStore::key(c.group, c.refused));
        registry.refused.clear();
        registry.clear();
        EXPECT_TRUE((store.*c.save)());
        const std::size_t count = registry.count();

        registry.refused = {MemoryValueStore::key(c.group, c.refused)};
        registry.clear();
        EXPECT_FALSE((store.*c.save)());
        EXPECT_EQ(count - 1, registry.count());
        EXPECT_FALSE(registry.has(c.group, c.refused));
    }
}

// What a dialog put in force, refused by the registry halfway through its group: this run and
// the next start both see the group as it was.
TEST_F(SettingsStoreTest, AnApplyRefusedHalfwayLeavesRecordAndRegistryAsTheyWere)
{
    const auto groups = [](const Settings &s) {
        std::string all = s.alarmSound + s.message + s.remindSound + s.reminder;
        for (const TeaPreset &tea : s.teas)
            all += '|' + tea.name + tea.minutes + tea.seconds;
        for (const std::int32_t value : {s.interval.load(), s.weekdays.load(), s.hours.load(), s.daily.load()})
            all += '|' + std::to_string(value);
        return all;
    };
    auto teas = defaultTeas();
    teas[4] = {"Assam", "03", "30"};
    const struct {
        const char *refused; // written after others of its group
        std::function<bool()> apply;
    } cases[] = {
        {"User\\Reminder", [&] { return store.applyUser({"a.wav", "Fertig!", "b.wav", "Tee?"}); }},
        {"Teas\\Min4", [&] { return store.applyTeas(teas); }},
        {"Teatime\\Daily", [&] { return store.applyTeatime({1, 31, 3, 1000, 2000, 3000}); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.refused);
        registry.clear();
        registry.refused = {c.refused};
        store.loadAll();
        const std::string before = groups(settings);
        EXPECT_FALSE(c.apply());
        EXPECT_EQ(groups(settings), before) << "this run";
        SettingsStore nextStart{registry};
        nextStart.loadAll();
        EXPECT_EQ(groups(nextStart.settings), before) << "the next start";
    }
}

} // namespace
