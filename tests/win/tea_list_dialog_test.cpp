#include "tests/support/box_answerer.h"
#include "tests/support/dialog_run.h"
#include "dialogs/tea_list_dialog.h"
#include "res/resource.h"
#include "test_support.h"
#include "tests/support/memory_value_store.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Texts = std::vector<std::string>;

namespace {

const std::string kLong(255, 'L');

Texts Row(HWND dialog, int row)
{
    Texts texts;
    for (int column = 0; column < 3; ++column) {
        char text[300] = "";
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(::GetDlgItem(dialog, IDC_TEA_LIST), LVM_GETITEMTEXTA, WPARAM(row), LPARAM(&item));
        texts.push_back(text);
    }
    return texts;
}

Texts Edits(HWND dialog)
{
    return {ItemText(dialog, IDC_TEA_NAME), ItemText(dialog, IDC_TEA_MIN), ItemText(dialog, IDC_TEA_SEC)};
}

void Select(HWND dialog, int row)
{
    LVITEMA state{};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(::GetDlgItem(dialog, IDC_TEA_LIST), LVM_SETITEMSTATE, WPARAM(row), LPARAM(&state));
}

// Clicks a row with the mouse and double-clicks it.
void DoubleClick(HWND dialog, int row)
{
    HWND list = ::GetDlgItem(dialog, IDC_TEA_LIST);
    RECT rect{LVIR_LABEL, 0, 0, 0};
    ::SendMessageA(list, LVM_GETITEMRECT, WPARAM(row), LPARAM(&rect));
    const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        ::SendMessageA(list, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, point);
}


// The user replaces a field's text by typing.
void Retype(HWND dialog, int id, const char *text)
{
    ::SetWindowTextA(::GetDlgItem(dialog, id), "");
    Type(::GetDlgItem(dialog, id), text);
}

bool AllSelected(HWND edit)
{
    DWORD start = 1, end = 0;
    ::SendMessageA(edit, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    return start == 0 && end == DWORD(::GetWindowTextLengthA(edit));
}

class TeaListDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&controls);
        // Odd texts only an outside edit of the registry can leave.
        values.putString("Teas", "Desc2", "");
        values.putString("Teas", "Min2", "abc");
        values.putString("Teas", "Desc3", "Assam");
        values.putString("Teas", "Min3", "4");
        values.putString("Teas", "Min6", "75");
        values.putString("Teas", "Desc9", kLong);
        store.loadTeas();
    }

    INT_PTR Run(const std::function<void(HWND)> &body)
    {
        TeaListDialog dialog(store.settings, store);
        return RunModal(dialog, body);
    }

    std::string StoredText(const std::string &name) const
    {
        return values.has("Teas", name) ? values.text("Teas", name) : "<none>";
    }

    MemoryValueStore values;
    SettingsStore store{values};
};

TEST_F(TeaListDialogTest, OpensWithItsColumnsAndAllTenRowsAsStored)
{
    Run([&](HWND dialog) {
        HWND list = ::GetDlgItem(dialog, IDC_TEA_LIST);
        EXPECT_EQ(::SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
        const std::pair<const char *, int> columns[] = {{"Teesorte", 194}, {"Minuten", 70}, {"Sekunden", 70}};
        for (int i = 0; i < 3; ++i) {
            char title[32] = "";
            LVCOLUMNA column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            column.pszText = title;
            column.cchTextMax = sizeof title;
            ASSERT_TRUE(::SendMessageA(list, LVM_GETCOLUMNA, WPARAM(i), LPARAM(&column)));
            EXPECT_STREQ(title, columns[i].first);
            EXPECT_EQ(column.cx, columns[i].second);
            EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_CENTER) << title;
        }
        EXPECT_GE(::SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0), 10) << "all rows visible at once";
        EXPECT_EQ(::SendMessageA(::GetDlgItem(dialog, IDC_TEA_MIN), EM_GETLIMITTEXT, 0, 0), 2);
        EXPECT_EQ(::SendMessageA(::GetDlgItem(dialog, IDC_TEA_SEC), EM_GETLIMITTEXT, 0, 0), 2);
        EXPECT_EQ(Edits(dialog), (Texts{"", "", ""}));

        EXPECT_EQ(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 10);
        EXPECT_EQ(Row(dialog, 0), (Texts{"Teesorte 0", "00", "00"}));
        EXPECT_EQ(Row(dialog, 2), (Texts{"", "abc", "00"}));
        EXPECT_EQ(Row(dialog, 3), (Texts{"Assam", "4", "00"}));
        EXPECT_EQ(Row(dialog, 6), (Texts{"Teesorte 6", "75", "00"}));
        EXPECT_EQ(Row(dialog, 9), (Texts{kLong, "00", "00"}));
    });
}

// One editing session as a user works through it, ending with "&Speichern".
TEST_F(TeaListDialogTest, TakeTypeApplyResetAndSave)
{
    const INT_PTR result = Run([&](HWND dialog) {
        Click(dialog, IDC_TEA_CHANGE);
        EXPECT_EQ(Edits(dialog), (Texts{"", "", ""})) << "nothing selected: nothing taken";

        DoubleClick(dialog, 3);
        EXPECT_EQ(Edits(dialog), (Texts{"Assam", "4", "00"}));
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, IDC_TEA_NAME));
        EXPECT_TRUE(AllSelected(::GetFocus()));

        // Typed 75 shows 59, all selected; a third digit does not fit.
        ::SetWindowTextA(::GetDlgItem(dialog, IDC_TEA_NAME), "");
        Retype(dialog, IDC_TEA_MIN, "75");
        EXPECT_EQ(ItemText(dialog, IDC_TEA_MIN), "59");
        EXPECT_TRUE(AllSelected(::GetDlgItem(dialog, IDC_TEA_MIN)));
        Retype(dialog, IDC_TEA_SEC, "6");
        EXPECT_EQ(ItemText(dialog, IDC_TEA_SEC), "6");

        // Enter applies to the row taken, not to the row selected since.
        Select(dialog, 5);
        ::SetFocus(::GetDlgItem(dialog, IDC_TEA_NAME));
        PressKey(dialog, VK_RETURN);
        EXPECT_EQ(Row(dialog, 3), (Texts{"Teesorte 3", "59", "06"}));
        EXPECT_EQ(Row(dialog, 5), (Texts{"Teesorte 5", "00", "00"}));
        EXPECT_EQ(Edits(dialog), (Texts{"", "", ""}));
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, IDC_TEA_LIST));

        // Stored texts are taken whole and not corrected: only typing corrects.
        for (int row : {9, 6}) {
            Select(dialog, row);
            Click(dialog, IDC_TEA_CHANGE);
            Click(dialog, IDC_TEA_CHANGE);
        }
        EXPECT_EQ(Row(dialog, 9)[0], kLong) << "wider than the name field, still whole";
        EXPECT_EQ(Row(dialog, 6)[1], "75");
        Retype(dialog, IDC_TEA_MIN, "123");
        EXPECT_EQ(ItemText(dialog, IDC_TEA_MIN), "12");
        Click(dialog, IDC_TEA_DISCARD);
        EXPECT_EQ(Edits(dialog), (Texts{"", "", ""}));

        Select(dialog, 6);
        Click(dialog, IDC_TEA_DELETE);
        EXPECT_EQ(Row(dialog, 6), (Texts{"Teesorte 6", "00", "00"}));

        // A double-click replaces pending edits; "&Speichern" applies them.
        Select(dialog, 1);
        Click(dialog, IDC_TEA_CHANGE);
        ::SetWindowTextA(::GetDlgItem(dialog, IDC_TEA_NAME), "dropped");
        DoubleClick(dialog, 2);
        EXPECT_EQ(Edits(dialog), (Texts{"", "abc", "00"}));
        Retype(dialog, IDC_TEA_MIN, "2");
        Click(dialog, IDC_TEA_SAVE);
    });
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(store.settings.teas[2].name, "Teesorte 2");
    for (int slot = 0; slot < 10; ++slot) {
        const std::string i = std::to_string(slot);
        const Texts expected = slot == 2   ? Texts{"Teesorte 2", "02", "00"}
                               : slot == 3 ? Texts{"Teesorte 3", "59", "06"}
                               : slot == 9 ? Texts{kLong, "00", "00"}
                                           : Texts{"Teesorte " + i, "00", "00"};
        EXPECT_EQ((Texts{StoredText("Desc" + i), StoredText("Min" + i), StoredText("Sec" + i)}), expected) << slot;
    }
}

TEST_F(TeaListDialogTest, CancelAsksOnlyAfterChangesAndNoKeepsEverything)
{
    BoxAnswerer answerer({IDNO, IDYES});
    INT_PTR result = Run([&](HWND dialog) {
        Select(dialog, 0);
        Click(dialog, IDC_TEA_CHANGE);
        ::SetWindowTextA(::GetDlgItem(dialog, IDC_TEA_NAME), "not applied");
        Click(dialog, IDC_TEA_CANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(answerer.Texts().empty()) << "values only taken into the edits are no change";

    result = Run([&](HWND dialog) {
        Select(dialog, 4);
        Click(dialog, IDC_TEA_DELETE);
        Select(dialog, 3);
        Click(dialog, IDC_TEA_CHANGE);
        PressKey(dialog, VK_ESCAPE);
        ASSERT_EQ(answerer.Texts(), (Texts{"Alle Änderungen werden verworfen.\nTrotzdem abbrechen?"}));
        EXPECT_EQ(answerer.Captions().at(0), "Brewbell");
        EXPECT_EQ(Edits(dialog), (Texts{"Assam", "4", "00"})) << "No keeps the dialog as it was";

        // The close box asks the same; Yes closes.
        ::PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        PumpUntil([&] { return answerer.Count() == 2; });
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(answerer.Count(), 2u);
    EXPECT_EQ(store.settings.teas[3].name, "Assam");
    EXPECT_EQ(StoredText("Desc4"), "<none>") << "nothing stored";
}

} // namespace
