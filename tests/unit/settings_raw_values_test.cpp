// The settings store against raw registry values (type and bytes) as an outside edit can leave
// them, read with the same rules as the registry access. The cases the settings fuzzer found
// live here as well.

#include "settings/settings_store.h"
#include "settings/value_codec.h"
#include "tests/support/memory_value_store.h"
#include "tests/support/settings_schema.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes textBytes(const std::string &text, bool withNul = true)
{
    Bytes bytes(text.begin(), text.end());
    if (withNul)
        bytes.push_back(0);
    return bytes;
}

Bytes dword(std::uint32_t value)
{
    const auto bytes = value_codec::dwordBytes(value);
    return {bytes.begin(), bytes.end()};
}

TEST(ValueCodecTest, BytesBecomeNumbersAndTextsAsARegistryReadGivesThem)
{
    struct Case {
        const char *what;
        Bytes bytes;
        std::optional<std::uint32_t> number;
        std::optional<std::string> text;
    };
    const std::string longest(255, 'x');
    const Case cases[] = {
        {"DWORD", dword(0x12345678), 0x12345678u, std::string("\x78\x56\x34\x12")},
        {"DWORD of 2 bytes", {0x01, 0x02}, std::nullopt, std::string("\x01\x02")},
        {"empty", {}, std::nullopt, std::string()},
        {"lone NUL", {0}, std::nullopt, std::string()},
        {"text of 3 and NUL", textBytes("abc"), 0x00636261u, std::string("abc")},
        {"text, NUL, more", textBytes(std::string("tea\0cup", 7)), std::nullopt, std::string("tea")},
        {"255 without NUL", textBytes(longest, false), std::nullopt, longest},
        {"255 and NUL", textBytes(longest), std::nullopt, longest},
        {"256 without NUL", textBytes(longest + "x", false), std::nullopt, std::nullopt},
        {"256 and NUL", textBytes(longest + "x"), std::nullopt, std::nullopt},
        {"1000 bytes of binary", Bytes(1000, 0), std::nullopt, std::nullopt},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.number, value_codec::dwordFrom(c.bytes)) << c.what;
        EXPECT_EQ(c.text, value_codec::textFrom(c.bytes)) << c.what;
    }
}

TEST(ValueCodecTest, StorableTextIsWhatReadsBack)
{
    const std::string longest(255, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {longest, longest},
        {longest + "yz", longest},
        {std::string(10000, '\xE4'), std::string(255, '\xE4')},
        {std::string("Tee\0Kanne", 9), "Tee"},
    };
    for (const auto &[text, stored] : cases) {
        EXPECT_EQ(stored, value_codec::storableText(text)) << text.size();
        EXPECT_EQ(stored, value_codec::textFrom(textBytes(value_codec::storableText(text))));
    }
}

// The loaded number of the schema value of that group and name (in any case).
std::int32_t numberField(const Settings &settings, const std::string &group, const std::string &name)
{
    for (const settings_schema::Value &value : settings_schema::Values())
        if (value.IsNumber() && MemoryValueStore::sameName(group, value.group) && MemoryValueStore::sameName(name, value.name))
            return settings.*value.number;
    ADD_FAILURE() << "no number " << group << "\\" << name;
    return 0;
}

TEST(SettingsRawValuesTest, NumbersOutOfRangeOrUnreadableLoadTheirDefault)
{
    struct Case {
        const char *group;
        const char *name;
        std::uint32_t type;
        Bytes bytes;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"Time", "Min", kRegDword, dword(75), 0},
        {"Time", "Sec", kRegDword, dword(0xFFFFFFFF), 0},
        {"Time", "LastMin", kRegDword, dword(60), 0},
        {"Time", "LastSec", kRegBinary, {59, 0, 0, 0}, 59}, // the type plays no part
        {"time", "MIN", kRegDword, dword(7), 7},            // names are not case-sensitive
        {"Time", "Min", kRegDword, {7, 0}, 0},              // a DWORD of 2 bytes
        {"Time", "Min", kRegSz, textBytes("7"), 0},
        {"Time", "Min", kRegBinary, Bytes(1000, 7), 0},
        {"Menu", "Layout", kRegDword, dword(6), Automatic},
        {"Menu", "Layout", kRegDword, dword(0xFFFFFFFF), Automatic},
        {"Menu", "Layout", kRegDword, dword(0x80000000), Automatic},
        {"Menu", "Layout", kRegDword, dword(5), Plain},
        // Found by the fuzzer: options, interval, weekdays, hours and the save box kept any
        // stored number and wrote it back.
        {"Menu", "Sound", kRegDword, dword(5), 1},
        {"Menu", "Tray", kRegDword, dword(2), 0},
        {"Menu", "Remind", kRegDword, dword(0xFFFFFFFF), 1},
        // Any interval but 0 is the interval rule, whatever number says so.
        {"Teatime", "Interval", kRegDword, dword(2), 1},
        {"Teatime", "Interval", kRegDword, dword(0xFFFFFFFF), 1},
        {"Teatime", "Interval", kRegDword, dword(0x80000000), 1},
        {"Teatime", "Interval", kRegDword, dword(0), 0},
        {"Teatime", "Interval", kRegSz, textBytes("1"), 0}, // 2 bytes: no number
        {"Teatime", "Weekdays", kRegDword, dword(128), 127},
        {"Teatime", "Weekdays", kRegDword, dword(0xFFFFFFFF), 127},
        {"Teatime", "Weekdays", kRegDword, dword(0), 0},
        {"Teatime", "Hours", kRegDword, dword(0), 2},
        {"Teatime", "Hours", kRegDword, dword(7), 2},
        {"Teatime", "Hours", kRegDword, dword(9), 2},
        {"Teatime", "Hours", kRegDword, dword(6), 6},
        {"Teatime", "Daily", kRegDword, dword(0x80000000), INT32_MIN},
        {"Netsend", "SaveSettings", kRegDword, dword(2), 0},
    };
    for (const Case &c : cases) {
        MemoryValueStore registry;
        registry.put(c.group, c.name, c.type, c.bytes);
        SettingsStore store(registry);
        store.loadAll();
        EXPECT_EQ(c.expected, numberField(store.settings, c.group, c.name)) << c.group << "\\" << c.name;
    }

    // A sub-key where a value belongs is not a value.
    MemoryValueStore registry;
    registry.groups["Teatime"].subKeys.insert("Hours");
    SettingsStore store(registry);
    store.loadAll();
    EXPECT_EQ(kDefaultHours, store.settings.hours);
}

// Each ranged number at both ends of its range and one past each: the ends load as stored, one
// past falls back to the default (a range one too wide passes any test that stores far outside).
TEST(SettingsRawValuesTest, RangedNumbersAcceptTheirEndsAndNotOnePast)
{
    for (const settings_schema::Value &value : settings_schema::Values()) {
        if (!value.IsRanged())
            continue;
        struct Case {
            std::int64_t stored;
            std::int32_t loaded;
        };
        std::vector<Case> cases = {{value.highest, value.highest},
                                   {std::int64_t{value.highest} + 1, value.defaultNumber},
                                   {value.lowest, value.lowest}};
        if (value.lowest != settings_schema::kAnyNumber)
            cases.push_back({std::int64_t{value.lowest} - 1, value.defaultNumber});
        for (const Case &c : cases) {
            MemoryValueStore registry;
            registry.putDword(value.group, value.name, static_cast<std::uint32_t>(c.stored));
            SettingsStore store(registry);
            store.loadAll();
            EXPECT_EQ(c.loaded, store.settings.*value.number) << value.Where() << " stored as " << c.stored;
        }
    }
}

const std::string &textField(const Settings &settings, const std::string &name)
{
    if (name == "Desc3")
        return settings.teas[3].name;
    if (name == "Min3")
        return settings.teas[3].minutes;
    return settings.message;
}

TEST(SettingsRawValuesTest, TextsLoadUpTo255CharactersElseTheirDefault)
{
    struct Case {
        const char *group;
        const char *name;
        std::uint32_t type;
        Bytes bytes;
        std::string expected;
    };
    const std::string longest(255, 'T');
    const Case cases[] = {
        {"User", "Message", kRegSz, textBytes(longest, false), longest},
        {"User", "Message", kRegSz, textBytes(longest + "T", false), kDefaultMessage},
        {"User", "Message", kRegSz, textBytes(longest + "T"), kDefaultMessage},
        {"User", "Message", kRegSz, {0}, ""},
        {"User", "Message", kRegBinary, textBytes(std::string("Tee\0fertig", 10)), "Tee"},
        {"Teas", "Desc3", kRegDword, dword(0x61737341), "Assa"},
        {"Teas", "Min3", kRegSz, textBytes("7"), "7"},
        {"Teas", "Min3", kRegBinary, Bytes(10000, 'x'), "00"},
    };
    for (const Case &c : cases) {
        MemoryValueStore registry;
        registry.put(c.group, c.name, c.type, c.bytes);
        SettingsStore store(registry);
        store.loadAll();
        EXPECT_EQ(c.expected, textField(store.settings, c.name)) << c.name << " of " << c.bytes.size() << " bytes";
    }
}

// Found by the fuzzer: a text longer than 255 characters, or with a NUL inside, was saved as it
// stood, and the next start read the default (or the part before the NUL) in its place.
TEST(SettingsRawValuesTest, SavedTextsLoadBackAsTheRecordHoldsThem)
{
    const std::string longest(255, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {longest + "yz", longest},
        {std::string(10000, 'a'), std::string(255, 'a')},
        {std::string("Tee\0Kanne", 9), "Tee"},
        {longest, longest},
    };
    for (const auto &[typed, kept] : cases) {
        MemoryValueStore registry;
        SettingsStore store(registry);
        store.settings.message = typed;
        store.settings.teas[9].name = typed;
        store.settings.nsMessage = typed;
        store.saveUser();
        store.saveTeas();
        store.saveNetsend();
        EXPECT_EQ(kept, store.settings.message);
        EXPECT_EQ(kept, store.settings.teas[9].name);
        EXPECT_EQ(kept, store.settings.nsMessage);

        SettingsStore next(registry);
        next.loadAll();
        EXPECT_EQ(kept, next.settings.message) << typed.size();
        EXPECT_EQ(kept, next.settings.teas[9].name) << typed.size();
        EXPECT_EQ(kept, next.settings.nsMessage) << typed.size();
    }

    // Cut first, then trimmed: a blank at the cut does not stay.
    MemoryValueStore registry;
    SettingsStore store(registry);
    store.settings.reminder = std::string(254, 'r') + "  tail";
    store.saveUser();
    EXPECT_EQ(std::string(254, 'r'), store.settings.reminder);
}

} // namespace
