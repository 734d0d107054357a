#include "dialog_driver.h"
#include "dialogs/tea_list_dialog.h"
#include "res/resource.h"
#include "settings/registry_key.h"
#include "test_support.h"
#include "tests/support/registry_tree.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace dialog_driver;
using Texts = std::vector<std::string>;

namespace {

constexpr char kBase[] = "Software\\BrewbellTeaListTest";
constexpr char kTeas[] = "Software\\BrewbellTeaListTest\\Teas";
const std::string kLong(255, 'L');

void StoreText(const char *name, const std::string &text)
{
    HKEY key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kTeas, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), 0);
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()), DWORD(text.size() + 1));
    ::RegCloseKey(key);
}

std::string StoredText(const std::string &name)
{
    char text[300] = "<none>";
    DWORD size = sizeof text;
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTeas, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        ::RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE *>(text), &size);
        ::RegCloseKey(key);
    }
    return text;
}

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
    return {Text(::GetDlgItem(dialog, IDC_TEA_NAME)), Text(::GetDlgItem(dialog, IDC_TEA_MIN)),
            Text(::GetDlgItem(dialog, IDC_TEA_SEC))};
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

void Click(HWND dialog, int id) { ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

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
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kBase);
        // Odd texts only an outside edit of the registry can leave.
        StoreText("Desc2", "");
        StoreText("Min2", "abc");
        StoreText("Desc3", "Assam");
        StoreText("Min3", "4");
        StoreText("Min6", "75");
        StoreText("Desc9", kLong);
        store.loadTeas();
    }
    void TearDown() override { DeleteRegistryTree(HKEY_LOCAL_MACHINE, kBase); }

    INT_PTR Run(const std::function<void(HWND)> &body)
    {
        TeaListDialog dialog(store.settings, store);
        return RunModal(dialog, body);
    }

    RegistryKey registry{HKEY_LOCAL_MACHINE, kBase};
    SettingsStore store{registry};
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
        EXPECT_EQ(Text(::GetDlgItem(dialog, IDC_TEA_MIN)), "59");
        EXPECT_TRUE(AllSelected(::GetDlgItem(dialog, IDC_TEA_MIN)));
        Retype(dialog, IDC_TEA_SEC, "6");
        EXPECT_EQ(Text(::GetDlgItem(dialog, IDC_TEA_SEC)), "6");

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
        EXPECT_EQ(Text(::GetDlgItem(dialog, IDC_TEA_MIN)), "12");
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
    EXPECT_TRUE(answerer.texts.empty()) << "values only taken into the edits are no change";

    result = Run([&](HWND dialog) {
        Select(dialog, 4);
        Click(dialog, IDC_TEA_DELETE);
        Select(dialog, 3);
        Click(dialog, IDC_TEA_CHANGE);
        PressKey(dialog, VK_ESCAPE);
        ASSERT_EQ(answerer.texts, (Texts{"Alle Änderungen werden verworfen.\nTrotzdem abbrechen?"}));
        EXPECT_EQ(answerer.captions[0], "Brewbell");
        EXPECT_EQ(Edits(dialog), (Texts{"Assam", "4", "00"})) << "No keeps the dialog as it was";

        // The close box asks the same; Yes closes.
        ::PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        PumpUntil([&] { return answerer.texts.size() == 2; });
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(answerer.texts.size(), 2u);
    EXPECT_EQ(store.settings.teas[3].name, "Assam");
    EXPECT_EQ(StoredText("Desc4"), "<none>") << "nothing stored";
}

} // namespace
