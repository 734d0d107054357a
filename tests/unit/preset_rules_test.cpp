#include "core/countdown.h"
#include "dialogs/preset_rules.h"

#include <gtest/gtest.h>

#include <string>

using presets::ChangeStep;
using presets::PresetEditor;

namespace {

TEST(PresetRules, TimeTextsArePaddedAndTypedValuesHeldToFiftyNine)
{
    struct Case {
        std::string text;
        std::string padded;
        std::int32_t number;
        const char *corrected; // null: the typed text stays
    };
    const Case cases[] = {
        {"", "00", 0, nullptr},
        {"7", "07", 7, nullptr},
        {"59", "59", 59, nullptr},
        {"60", "60", 60, "59"},
        {"5x", "5x", 5, "5"},
        {" 9", " 9", 0, "9"},
        {"-5", "-5", 0, "5"},
        {"123", "123", 123, "59"},
        {"007", "007", 7, "7"},
        {"2147483648", "2147483648", 2147483647, "59"},
        {std::string(255, '9'), std::string(255, '9'), 2147483647, "59"},
        // Pasted or set from outside: anything but digits goes, Windows-1252 letters too.
        {"\xE4\xF6\xFC\xDF", "\xE4\xF6\xFC\xDF", 0, ""},
        {"\x80" "5", "\x80" "5", 0, "5"},
        {"1\xFF", "1\xFF", 1, "1"},
        {"\xDF" "7" "\xDF" "3", "\xDF" "7" "\xDF" "3", 0, "59"},
        {std::string(10000, '\xE4'), std::string(10000, '\xE4'), 0, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        EXPECT_EQ(presets::PadTwoDigits(c.text), c.padded);
        EXPECT_EQ(countdown::LeadingNumber(c.text), c.number);
        EXPECT_EQ(presets::CorrectTypedTime(c.text),
                  c.corrected ? std::optional<std::string>(c.corrected) : std::nullopt);
    }
}

// The menu shows every "&" of a name as it is typed, never as an access key; a long name is cut
// before that, so the cut never splits a doubled "&".
TEST(PresetRules, MenuTextKeepsTheTimeInViewOfALongNameAndShowsItsAmpersands)
{
    const std::string longest(presets::kMenuNameLength, 'x');
    const std::string cutAtAmpersand = std::string(presets::kMenuNameLength - 4, 'x') + "&yyyy";
    const struct {
        std::string name;
        std::string shown;
    } cases[] = {
        {"Grüner &Tee", "Grüner &&Tee\t(03:00)"},
        {"Earl Grey & Milch", "Earl Grey && Milch\t(03:00)"},
        {"&&", "&&&&\t(03:00)"},
        {"Tee&", "Tee&&\t(03:00)"},
        {"", "\t(03:00)"},
        {longest, longest + "\t(03:00)"},
        {std::string(presets::kMenuNameLength, '&'), std::string(2 * presets::kMenuNameLength, '&') + "\t(03:00)"},
        {cutAtAmpersand, std::string(presets::kMenuNameLength - 4, 'x') + "&&...\t(03:00)"},
        {longest + "y", std::string(presets::kMenuNameLength - 3, 'x') + "...\t(03:00)"},
        {std::string(255, 'z'), std::string(presets::kMenuNameLength - 3, 'z') + "...\t(03:00)"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(presets::MenuText(TeaPreset{c.name, "03", "00"}), c.shown) << c.name;
}

// One dialog session: take, apply to the row taken, reset, discard, save with a pending edit.
TEST(PresetRules, EditingSessionChangesOnlyTheRowTakenAndSavesPendingEdits)
{
    presets::Rows stored = defaultTeas();
    stored[6] = {"Outside edit", "75", "7"};
    PresetEditor resetOnly(stored);
    EXPECT_TRUE(resetOnly.reset(6) && resetOnly.cancelNeedsQuestion()) << "a reset alone is a change";

    PresetEditor editor(stored);
    EXPECT_EQ(editor.change(-1, {}), ChangeStep::None) << "nothing selected, nothing edited";

    EXPECT_EQ(editor.change(3, {}), ChangeStep::Took);
    EXPECT_FALSE(editor.cancelNeedsQuestion()) << "taking a row changes nothing yet";
    EXPECT_EQ(editor.change(5, {"", "6", ""}), ChangeStep::Applied) << "row 5 is selected now, row 3 was taken";
    EXPECT_EQ(editor.Row(3).name, "Teesorte 3");
    EXPECT_EQ(editor.Row(3).minutes, "06");
    EXPECT_EQ(editor.Row(3).seconds, "00");
    EXPECT_EQ(editor.Row(5).minutes, "00");
    EXPECT_EQ(editor.EditIndex(), -1);
    EXPECT_TRUE(editor.cancelNeedsQuestion());

    ASSERT_TRUE(editor.take(1));
    editor.apply({"  ", "12", "5"});
    EXPECT_EQ(editor.Row(1).name, "  ") << "blanks are not trimmed";
    EXPECT_EQ(editor.apply({"late", "1", "1"}), -1) << "no row being edited";

    ASSERT_TRUE(editor.take(6));
    editor.apply(editor.Row(6));
    EXPECT_EQ(editor.Row(6).minutes, "75") << "only typing corrects a stored 75";

    ASSERT_TRUE(editor.take(2));
    EXPECT_FALSE(editor.reset(10));
    ASSERT_TRUE(editor.reset(6));
    EXPECT_EQ(editor.EditIndex(), -1) << "a reset drops the pending edit";
    EXPECT_EQ(editor.Row(6).name, "Teesorte 6");
    EXPECT_EQ(editor.Row(6).minutes, "00");

    ASSERT_TRUE(editor.take(4));
    editor.discard();
    EXPECT_EQ(editor.change(-1, {"ignored", "1", "1"}), ChangeStep::None);

    EXPECT_EQ(editor.change(0, {}), ChangeStep::Took);
    EXPECT_EQ(editor.change(0, {"Sencha", "2", "45"}), ChangeStep::Applied) << "row 0 is edited like any other";
    ASSERT_TRUE(editor.take(8));
    const presets::Rows &saved = editor.save({"Gyokuro", "1", ""});
    EXPECT_EQ(saved[0].minutes, "02");
    EXPECT_EQ(saved[8].name, "Gyokuro") << "a pending edit is applied";
    EXPECT_EQ(saved[4].name, "Teesorte 4");
    EXPECT_EQ(editor.save({"again", "", ""})[8].name, "Gyokuro") << "nothing pending, nothing applied";
}

} // namespace
