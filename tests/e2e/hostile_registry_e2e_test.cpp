// brewbell.exe started on a registry that outside edits have wrecked: every value of every group
// holds something the schema does not allow (the wrong type, binary data, numbers out of range,
// texts too long to read, a key instead of a value). The program must start, show a sane time,
// count, open and close every dialog, end, and leave behind only what the schema allows.
//
// One start carries every kind of damage at once, each in different values; the kinds move on
// by one value per round, so after as many rounds as there are kinds every value has seen every
// kind.
#include "tests/support/running_program.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace registry = brewbell_registry;

namespace {

const char *const kBase = settings_schema::kBasePath;

enum class Damage { WrongType, Binary2, Binary1000, Negative, Largest, Text255, Text256, Text10000, SubKey };
constexpr Damage kDamages[] = {Damage::WrongType, Damage::Binary2,  Damage::Binary1000,
                               Damage::Negative,  Damage::Largest,  Damage::Text255,
                               Damage::Text256,   Damage::Text10000, Damage::SubKey};
constexpr std::size_t kDamageCount = std::size(kDamages);

const char *DamageName(Damage damage)
{
    constexpr const char *names[] = {"wrong type", "2 bytes binary", "1000 bytes binary",
                                     "negative",   "2^31-1",         "255 characters",
                                     "256 characters", "10000 characters", "sub-key"};
    return names[static_cast<int>(damage)];
}

// What a value may hold afterwards.
struct Rule {
    bool text;
    std::int64_t lowest = 0;  // numbers: range; texts: the longest length in `highest`
    std::int64_t highest = 0;
    bool nonEmpty = false;
};

struct SchemaValue {
    std::string group;
    std::string name;
    Rule rule;
};

std::vector<SchemaValue> Schema()
{
    std::vector<SchemaValue> values;
    for (const settings_schema::Value &value : settings_schema::Values()) {
        Rule rule{!value.IsNumber(), value.lowest, value.highest, value.filledWhenEmpty};
        if (!value.IsNumber()) {
            // Texts: the longest length; the invitation dialog keeps its message to 250.
            rule.lowest = 0;
            rule.highest = value.name == "NSMessage" ? 250 : 255;
        }
        values.push_back({value.group, value.name, rule});
    }
    return values;
}

// Windows-1252 letters and the highest byte, led by a digit so that a preset time reads a number.
std::string HostileText(std::size_t length)
{
    const std::string letters = "\xE4\xF6\xFC\xDF\x80\xFF\xC4 ";
    std::string text = "7";
    while (text.size() < length)
        text += letters[text.size() % letters.size()];
    return text;
}

std::string GroupPath(const std::string &group) { return std::string(kBase) + "\\" + group; }

void SetRaw(const std::string &group, const std::string &name, DWORD type, const void *data, DWORD size)
{
    HKEY key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, GroupPath(group).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(::RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE *>(data), size), ERROR_SUCCESS);
    ::RegCloseKey(key);
}

void SetText(const std::string &group, const std::string &name, const std::string &text)
{
    SetRaw(group, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void SetNumber(const std::string &group, const std::string &name, std::uint32_t number)
{
    SetRaw(group, name, REG_DWORD, &number, sizeof number);
}

// `odd` picks the second flavour of a kind, so that both turn up in every round.
void Plant(const SchemaValue &value, Damage damage, bool odd)
{
    switch (damage) {
    case Damage::WrongType:
        if (value.rule.text)
            SetNumber(value.group, value.name, odd ? 0x00FCF6E4u : 1u); // "äöü" or a control character
        else
            SetText(value.group, value.name, odd ? "123" : "1"); // 4 bytes fit a number
        break;
    case Damage::Binary2: {
        const BYTE two[] = {0xFF, static_cast<BYTE>(odd ? 0x00 : 0x7F)};
        SetRaw(value.group, value.name, REG_BINARY, two, sizeof two);
        break;
    }
    case Damage::Binary1000: {
        const std::vector<BYTE> bytes(1000, odd ? 0x39 : 0xFF);
        SetRaw(value.group, value.name, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
        break;
    }
    case Damage::Negative:
        SetNumber(value.group, value.name, odd ? 0x80000000u : 0xFFFFFFFFu);
        break;
    case Damage::Largest:
        SetNumber(value.group, value.name, 0x7FFFFFFFu);
        break;
    case Damage::Text255:
        SetText(value.group, value.name, HostileText(255));
        break;
    case Damage::Text256:
        SetText(value.group, value.name, HostileText(256));
        break;
    case Damage::Text10000:
        SetText(value.group, value.name, HostileText(10000));
        break;
    case Damage::SubKey: {
        HKEY key;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, (GroupPath(value.group) + "\\" + value.name).c_str(), 0,
                                    nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
        break;
    }
    }
}

struct Stored {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

// Every value and every sub-key below a group, as the registry holds them.
void ReadGroup(const std::string &group, std::map<std::string, Stored> &values, std::set<std::string> &subKeys)
{
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, GroupPath(group).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameLength = sizeof name, type = 0, size = 0;
        if (::RegEnumValueA(key, i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        Stored stored{type, std::vector<BYTE>(size)};
        DWORD got = size;
        ::RegQueryValueExA(key, name, nullptr, nullptr, stored.data.data(), &got);
        stored.data.resize(got);
        values[name] = stored;
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameLength = sizeof name;
        if (::RegEnumKeyExA(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        subKeys.insert(name);
    }
    ::RegCloseKey(key);
}

// Empty when the stored value keeps to its rule, else what is wrong with it.
std::string Breach(const Rule &rule, const Stored &stored)
{
    if (rule.text) {
        if (stored.type != REG_SZ)
            return "type " + std::to_string(stored.type);
        if (stored.data.empty() || stored.data.back() != 0)
            return "no terminating NUL";
        const std::string text(stored.data.begin(), stored.data.end() - 1);
        if (text.find('\0') != std::string::npos)
            return "a NUL inside";
        if (static_cast<std::int64_t>(text.size()) > rule.highest)
            return std::to_string(text.size()) + " characters";
        if (rule.nonEmpty && text.empty())
            return "empty";
        return {};
    }
    if (stored.type != REG_DWORD || stored.data.size() != 4)
        return "type " + std::to_string(stored.type) + ", " + std::to_string(stored.data.size()) + " bytes";
    std::int32_t number;
    std::memcpy(&number, stored.data.data(), sizeof number);
    if (number < rule.lowest || number > rule.highest)
        return "number " + std::to_string(number);
    return {};
}

// The main window, also while it hides in the notification area.
HWND FindMainWindowAnyState(const Program &program)
{
    for (HWND window : program.TopLevelWindows()) {
        if (ClassName(window) == "#32770" && !::GetDlgItem(window, 0xFFFF) &&
            Text(window).rfind("Brewbell - ", 0) == 0 && ::GetDlgItem(window, IDC_TIME_DISPLAY))
            return window;
    }
    return nullptr;
}

bool IsTwoDigits(const std::string &text, std::size_t at, int highest)
{
    if (text.size() < at + 2 || !isdigit(static_cast<unsigned char>(text[at])) ||
        !isdigit(static_cast<unsigned char>(text[at + 1])))
        return false;
    return (text[at] - '0') * 10 + (text[at + 1] - '0') <= highest;
}

// "MM:SS" with both parts 00..59.
bool IsSaneTime(const std::string &text) { return text.size() == 5 && text[2] == ':' && IsTwoDigits(text, 0, 59) &&
                                                  IsTwoDigits(text, 3, 59); }

// Opens a dialog from the menu and closes it with the button that stores its values. Message
// boxes that come first (the invitation's, when Wine has no messenger service) are answered.
void OpenAndClose(const Program &program, HWND main, UINT command, const std::string &title, int closeWith)
{
    SCOPED_TRACE(title);
    PostCommand(main, command);
    HWND dialog = nullptr;
    const bool opened = WaitUntil([&] {
        if (HWND box = program.FindMessageBox()) {
            const std::string text = MessageBoxText(box);
            EXPECT_EQ(text.rfind("Zugriff nicht m\xF6glich", 0), 0u) << "an unexpected box: " << text;
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            WaitUntil([&] { return !::IsWindow(box); }, 2000);
            return false;
        }
        return (dialog = program.WaitForWindowTitled(title, 0)) != nullptr;
    });
    ASSERT_TRUE(opened) << "the dialog did not open";
    ::PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(closeWith), 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }, 5000)) << "the dialog did not close";
}

class HostileRegistry : public RunningProgramTest {};

TEST_F(HostileRegistry, EveryKindOfDamageInEveryValueStartsCountsOpensEveryDialogAndLeavesOnlyTheSchema)
{
    const std::vector<SchemaValue> schema = Schema();
    const std::set<std::string> groups = {"Menu", "Netsend", "Teas", "Teatime", "Time", "User"};

    for (std::size_t round = 0; round < kDamageCount; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        registry::Clear();
        std::map<std::string, std::set<std::string>> plantedKeys;
        for (std::size_t i = 0; i < schema.size(); ++i) {
            const Damage damage = kDamages[(i + round) % kDamageCount];
            Plant(schema[i], damage, (i / kDamageCount) % 2 == 1);
            if (damage == Damage::SubKey)
                plantedKeys[schema[i].group].insert(schema[i].name);
        }

        program.emplace();
        ASSERT_TRUE(program->Start());
        ASSERT_TRUE(WaitUntil([&] { return (window = FindMainWindowAnyState(*program)) != nullptr; }))
            << "no main window";
        const std::string shown = ItemText(window, IDC_TIME_DISPLAY);
        EXPECT_TRUE(IsSaneTime(shown)) << shown;
        EXPECT_TRUE(IsTwoDigits(ItemText(window, IDC_HOUR_DISPLAY), 0, 99)) << ItemText(window, IDC_HOUR_DISPLAY);
        EXPECT_EQ(Text(window), "Brewbell - " + shown);

        // Back from wherever the options put it; a preset of wrecked texts sets a sane time, and
        // the Time group it saves replaces whatever was planted there.
        PostCommand(window, ID_TRAY_RESTORE);
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) && !::IsIconic(window); })) << "not restored";
        PostCommand(window, ID_PRESET_FIRST + static_cast<UINT>(round % 10));
        EXPECT_TRUE(WaitUntil([] {
            DWORD minutes = 60;
            return registry::ReadDword("Time", "Min", minutes) && minutes <= 59;
        })) << "the preset was not taken";
        EXPECT_TRUE(IsSaneTime(ItemText(window, IDC_TIME_DISPLAY))) << ItemText(window, IDC_TIME_DISPLAY);

        // A countdown of a minute that is seen to run.
        PostClick(window, IDC_BUTTON_RESET);
        ASSERT_TRUE(WaitForTitle(window, "Brewbell - 00:00"));
        PostClick(window, IDC_BUTTON_MIN);
        ASSERT_TRUE(WaitForTitle(window, "Brewbell - 01:00"));
        PostClick(window, IDC_BUTTON_START);
        EXPECT_TRUE(WaitForTitle(window, "Brewbell - 00:59", 4000)) << Text(window);
        EXPECT_TRUE(IsSaneTime(ItemText(window, IDC_TIME_DISPLAY))) << ItemText(window, IDC_TIME_DISPLAY);
        // The Start option may have hidden the window: stop from the notification area's menu.
        PostCommand(window, ID_TRAY_STARTSTOP);
        ASSERT_TRUE(WaitUntil([&] { return ItemText(window, IDC_BUTTON_START) == "&Start"; }));

        OpenAndClose(*program, window, ID_TEALIST, "Teesorten bearbeiten", IDC_TEA_SAVE);
        OpenAndClose(*program, window, ID_QUICKSET, "Schnelleinstellung", IDOK);
        OpenAndClose(*program, window, ID_MESSAGES, "Benutzerdefinierte Angaben", IDOK);
        OpenAndClose(*program, window, ID_REMINDER, "An Teezeit erinnern", IDC_REM_APPLY);
        OpenAndClose(*program, window, ID_ABOUT, "Info \xFC" "ber Brewbell", IDOK);
        OpenAndClose(*program, window, ID_INVITATION, "Einladung versenden per Windows Nachrichtendienst", IDCANCEL);
        // An option turned off and on again writes the whole Menu group.
        PostCommand(window, ID_OPT_SOUND);
        PostCommand(window, ID_OPT_SOUND);

        ASSERT_NO_FATAL_FAILURE(ExitProgram(10000));

        // Every group was saved: each value is there with its type and range, nothing else is,
        // and the planted keys are left alone.
        const std::vector<std::string> written = registry::Groups();
        EXPECT_EQ(std::set<std::string>(written.begin(), written.end()), groups);
        std::map<std::string, std::map<std::string, Stored>> values;
        for (const std::string &group : groups) {
            std::set<std::string> subKeys;
            ReadGroup(group, values[group], subKeys);
            EXPECT_EQ(subKeys, plantedKeys[group]) << group;
        }
        for (std::size_t i = 0; i < schema.size(); ++i) {
            const SchemaValue &value = schema[i];
            const auto found = values[value.group].find(value.name);
            const std::string what = value.group + "\\" + value.name + " planted with " +
                                     DamageName(kDamages[(i + round) % kDamageCount]);
            if (found == values[value.group].end()) {
                ADD_FAILURE() << what << ": not written";
                continue;
            }
            EXPECT_EQ(Breach(value.rule, found->second), "") << what;
            values[value.group].erase(found);
        }
        for (const auto &[group, rest] : values)
            for (const auto &[name, stored] : rest)
                ADD_FAILURE() << group << "\\" << name << " is no value of the schema";

        // Invitation texts are kept only when asked to.
        DWORD keep = 1;
        std::string recipient = "?", text = "?";
        if (registry::ReadDword("Netsend", "SaveSettings", keep) && keep == 0) {
            EXPECT_TRUE(registry::ReadString("Netsend", "Recipient", recipient) && recipient.empty());
            EXPECT_TRUE(registry::ReadString("Netsend", "NSMessage", text) && text.empty());
        }
    }
}

} // namespace
