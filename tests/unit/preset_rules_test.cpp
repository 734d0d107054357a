#include "dialogs/preset_rules.h"

#include <gtest/gtest.h>

#include <string>

using presets::ChangeStep;
using presets::PresetEditor;

namespace {

presets::Rows StoredRows()
{
    presets::Rows rows = defaultTeas();
    rows[1] = {"Darjeeling", "03", "30"};
    rows[6] = {"Outside edit", "75", "7"};
    return rows;
}

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
        {"07", "07", 7, nullptr},
        {"59", "59", 59, nullptr},
        {"60", "60", 60, "59"},
        {"75", "75", 75, "59"},
        {"x", "0x", 0, nullptr},
        {"5x", "5x", 5, nullptr},
        {" 9", " 9", 0, nullptr},
        {"-5", "-5", 0, nullptr},
        {"123", "123", 123, "59"},
        {std::string(255, '9'), std::string(255, '9'), 2147483647, "59"},
        {"2147483648", "2147483648", 2147483647, "59"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        EXPECT_EQ(presets::PadTwoDigits(c.text), c.padded);
        EXPECT_EQ(presets::LeadingNumber(c.text), c.number);
        const auto corrected = presets::CorrectTypedTime(c.text);
        if (c.corrected)
            EXPECT_EQ(corrected, std::string(c.corrected));
        else
            EXPECT_FALSE(corrected.has_value());
    }
}

TEST(PresetRules, ChangeTakesThenAppliesWithDefaultNameAndPadding)
{
    PresetEditor editor(StoredRows());
    EXPECT_EQ(editor.change(-1, {}), ChangeStep::None) << "nothing selected, nothing edited";
    EXPECT_EQ(editor.editIndex(), -1);
    EXPECT_FALSE(editor.modified());

    EXPECT_EQ(editor.change(3, {}), ChangeStep::Took);
    EXPECT_EQ(editor.editIndex(), 3);
    EXPECT_FALSE(editor.modified()) << "taking a row changes nothing yet";
    EXPECT_FALSE(editor.cancelNeedsQuestion());

    // The row selected now is 5, but row 3 is the one being edited.
    EXPECT_EQ(editor.change(5, {"", "6", ""}), ChangeStep::Applied);
    EXPECT_EQ(editor.row(3).name, "Teesorte 3");
    EXPECT_EQ(editor.row(3).minutes, "06");
    EXPECT_EQ(editor.row(3).seconds, "00");
    EXPECT_EQ(editor.row(5).name, "Teesorte 5");
    EXPECT_EQ(editor.editIndex(), -1);
    EXPECT_TRUE(editor.cancelNeedsQuestion());

    ASSERT_TRUE(editor.take(1));
    EXPECT_EQ(editor.apply({"  ", "12", "5"}), 1);
    EXPECT_EQ(editor.row(1).name, "  ") << "blanks are not trimmed";
    EXPECT_EQ(editor.row(1).seconds, "05");
    EXPECT_EQ(editor.apply({"late", "1", "1"}), -1) << "no row being edited";
    EXPECT_EQ(editor.row(1).name, "  ");
}

TEST(PresetRules, OutsideValuesAreKeptUntilEditedAndLongTextsPassUnchanged)
{
    presets::Rows stored = StoredRows();
    stored[9] = {std::string(255, 'N'), std::string(255, '8'), ""};
    PresetEditor editor(stored);
    ASSERT_TRUE(editor.take(6));
    EXPECT_EQ(editor.row(6).minutes, "75");
    editor.apply(editor.row(6));
    EXPECT_EQ(editor.row(6).minutes, "75") << "only typing corrects a stored 75";
    EXPECT_EQ(editor.row(6).seconds, "07");

    ASSERT_TRUE(editor.take(9));
    editor.apply(editor.row(9));
    EXPECT_EQ(editor.row(9).name, std::string(255, 'N'));
    EXPECT_EQ(editor.row(9).minutes, std::string(255, '8'));
    EXPECT_EQ(editor.row(9).seconds, "00");
}

TEST(PresetRules, ResetDiscardAndSaveWalkThroughADialogSession)
{
    PresetEditor editor(StoredRows());
    EXPECT_FALSE(editor.reset(-1));
    EXPECT_FALSE(editor.reset(10));
    EXPECT_FALSE(editor.modified());

    // A pending edit of row 2 is dropped by resetting row 1.
    ASSERT_TRUE(editor.take(2));
    ASSERT_TRUE(editor.reset(1));
    EXPECT_EQ(editor.editIndex(), -1);
    EXPECT_EQ(editor.row(1).name, "Teesorte 1");
    EXPECT_EQ(editor.row(1).minutes, "00");
    EXPECT_EQ(editor.row(1).seconds, "00");
    EXPECT_TRUE(editor.cancelNeedsQuestion());

    // Discard leaves the rows and the modified state as they are.
    ASSERT_TRUE(editor.take(4));
    editor.discard();
    EXPECT_EQ(editor.editIndex(), -1);
    EXPECT_TRUE(editor.modified());
    EXPECT_EQ(editor.change(-1, {"ignored", "1", "1"}), ChangeStep::None);

    // Saving while a row is being edited stores the edited values.
    ASSERT_TRUE(editor.take(0));
    const presets::Rows &saved = editor.save({"Sencha", "2", "45"});
    EXPECT_EQ(saved[0].name, "Sencha");
    EXPECT_EQ(saved[0].minutes, "02");
    EXPECT_EQ(saved[0].seconds, "45");
    EXPECT_EQ(saved[6].minutes, "75") << "rows not touched are saved as loaded";
    EXPECT_EQ(editor.save({"again", "", ""})[0].name, "Sencha") << "nothing pending, nothing applied";
}

TEST(PresetRules, SaveWithoutChangesReturnsTheLoadedRows)
{
    const presets::Rows stored = StoredRows();
    PresetEditor editor(stored);
    const presets::Rows &saved = editor.save({"x", "1", "1"});
    for (std::size_t i = 0; i < kPresetCount; ++i) {
        EXPECT_EQ(saved[i].name, stored[i].name);
        EXPECT_EQ(saved[i].minutes, stored[i].minutes);
        EXPECT_EQ(saved[i].seconds, stored[i].seconds);
    }
    EXPECT_FALSE(editor.modified());
}

} // namespace
