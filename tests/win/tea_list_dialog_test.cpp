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

namespace {

constexpr char kBase[] = "Software\\BrewbellTeaListTest";
constexpr char kTeas[] = "Software\\BrewbellTeaListTest\\Teas";

void StoreText(const char *name, const std::string &text)
{
    HKEY key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kTeas, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                     static_cast<DWORD>(text.size() + 1));
    ::RegCloseKey(key);
}

// The stored text, or "<none>" when the value is missing.
std::string StoredText(const char *name)
{
    char text[300] = "";
    DWORD size = sizeof text;
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTeas, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "<none>";
    const LONG result = ::RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE *>(text), &size);
    ::RegCloseKey(key);
    return result == ERROR_SUCCESS ? text : "<none>";
}

std::string Cell(HWND dialog, int row, int column)
{
    char text[300] = "";
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ::SendMessageA(::GetDlgItem(dialog, IDC_TEA_LIST), LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
    return text;
}

std::vector<std::string> Row(HWND dialog, int row)
{
    return {Cell(dialog, row, 0), Cell(dialog, row, 1), Cell(dialog, row, 2)};
}

std::vector<std::string> Edits(HWND dialog)
{
    return {Text(::GetDlgItem(dialog, IDC_TEA_NAME)), Text(::GetDlgItem(dialog, IDC_TEA_MIN)),
            Text(::GetDlgItem(dialog, IDC_TEA_SEC))};
}

void Select(HWND dialog, int row)
{
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = row >= 0 ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    ::SendMessageA(::GetDlgItem(dialog, IDC_TEA_LIST), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&state));
}

// A double-click with the mouse on the row's name.
void DoubleClick(HWND dialog, int row)
{
    HWND list = ::GetDlgItem(dialog, IDC_TEA_LIST);
    RECT rect{};
    rect.left = LVIR_LABEL;
    ::SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ::SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageA(list, WM_LBUTTONUP, 0, point);
    ::SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    ::SendMessageA(list, WM_LBUTTONUP, 0, point);
}

void Click(HWND dialog, int id) { ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

std::pair<DWORD, DWORD> Selection(HWND edit)
{
    DWORD start = 0, end = 0;
    ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

class TeaListDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&controls);
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kBase);
    }
    void TearDown() override { DeleteRegistryTree(HKEY_LOCAL_MACHINE, kBase); }

    INT_PTR Run(const std::function<void(HWND)> &body)
    {
        store.loadTeas();
        TeaListDialog dialog(store.settings, store);
        return RunModal(dialog, body);
    }

    RegistryKey registry{HKEY_LOCAL_MACHINE, kBase};
    SettingsStore store{registry};
};

TEST_F(TeaListDialogTest, OpensWithItsControlsColumnsAndTheStoredRowsAsTheyAre)
{
    const std::string longName(255, 'L');
    StoreText("Desc1", "Darjeeling");
    StoreText("Min1", "3");
    StoreText("Sec1", "30");
    StoreText("Desc2", "");
    StoreText("Min2", "abc");
    StoreText("Min6", "75");
    StoreText("Desc9", longName);
    StoreText("Sec9", std::string(255, '9'));

    const INT_PTR result = Run([&](HWND dialog) {
        EXPECT_EQ(Text(dialog), "Teesorten bearbeiten");
        const std::pair<int, const char *> buttons[] = {{IDC_TEA_CHANGE, "&Ändern"},
                                                        {IDC_TEA_DISCARD, "&Verwerfen"},
                                                        {IDC_TEA_DELETE, "&Löschen"},
                                                        {IDC_TEA_SAVE, "&Speichern"},
                                                        {IDC_TEA_CANCEL, "&Abbrechen"}};
        for (const auto &[id, caption] : buttons)
            EXPECT_EQ(Text(::GetDlgItem(dialog, id)), caption);
        EXPECT_TRUE(::GetWindowLongA(::GetDlgItem(dialog, IDC_TEA_CHANGE), GWL_STYLE) & BS_DEFPUSHBUTTON);
        EXPECT_EQ(::GetDlgItem(dialog, IDOK), nullptr);
        EXPECT_EQ(::GetDlgItem(dialog, IDCANCEL), nullptr);

        // Edits: the name stops at its visible width, the times take two digits only.
        EXPECT_FALSE(::GetWindowLongA(::GetDlgItem(dialog, IDC_TEA_NAME), GWL_STYLE) & ES_AUTOHSCROLL);
        for (int id : {IDC_TEA_MIN, IDC_TEA_SEC}) {
            HWND edit = ::GetDlgItem(dialog, id);
            EXPECT_EQ(::GetWindowLongA(edit, GWL_STYLE) & (ES_NUMBER | ES_RIGHT), ES_NUMBER | ES_RIGHT);
            EXPECT_EQ(::SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 2);
        }
        EXPECT_EQ(Edits(dialog), (std::vector<std::string>{"", "", ""}));

        HWND list = ::GetDlgItem(dialog, IDC_TEA_LIST);
        const LONG style = ::GetWindowLongA(list, GWL_STYLE);
        EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
        EXPECT_TRUE(style & LVS_SINGLESEL);
        EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
        EXPECT_TRUE(style & LVS_NOLABELWRAP);
        EXPECT_EQ(::SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT),
                  LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
        const std::pair<const char *, int> columns[] = {{"Teesorte", 194}, {"Minuten", 70}, {"Sekunden", 70}};
        for (int i = 0; i < 3; ++i) {
            char title[32] = "";
            LVCOLUMNA column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            column.pszText = title;
            column.cchTextMax = sizeof title;
            ASSERT_TRUE(
                ::SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column)));
            EXPECT_STREQ(title, columns[i].first);
            EXPECT_EQ(column.cx, columns[i].second);
            if (i > 0) {
                EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_CENTER) << title;
            }
        }
        // All ten rows are visible without scrolling, and the three columns fit.
        EXPECT_EQ(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 10);
        EXPECT_GE(::SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0), 10);
        RECT client;
        ::GetClientRect(list, &client);
        EXPECT_GE(client.right, 194 + 70 + 70);

        EXPECT_EQ(Row(dialog, 0), (std::vector<std::string>{"Teesorte 0", "00", "00"}));
        EXPECT_EQ(Row(dialog, 1), (std::vector<std::string>{"Darjeeling", "3", "30"}));
        EXPECT_EQ(Row(dialog, 2), (std::vector<std::string>{"", "abc", "00"}));
        EXPECT_EQ(Row(dialog, 6), (std::vector<std::string>{"Teesorte 6", "75", "00"}));
        EXPECT_EQ(Row(dialog, 9), (std::vector<std::string>{longName, "00", std::string(255, '9')}));
    });
    EXPECT_EQ(result, kLeftOpen);
}

// One editing session as a user works through it, ending with "&Speichern".
TEST_F(TeaListDialogTest, TakeTypeApplyResetAndSaveStoreAllTenSlots)
{
    StoreText("Desc3", "Assam");
    StoreText("Min3", "04");
    StoreText("Sec3", "15");
    StoreText("Desc4", "Gunpowder");
    StoreText("Min4", "02");
    const INT_PTR result = Run([&](HWND dialog) {
        HWND name = ::GetDlgItem(dialog, IDC_TEA_NAME);
        HWND minutes = ::GetDlgItem(dialog, IDC_TEA_MIN);
        HWND seconds = ::GetDlgItem(dialog, IDC_TEA_SEC);

        Click(dialog, IDC_TEA_CHANGE);
        EXPECT_EQ(Edits(dialog), (std::vector<std::string>{"", "", ""})) << "nothing selected: nothing taken";

        Select(dialog, 3);
        DoubleClick(dialog, 3);
        EXPECT_EQ(Edits(dialog), (std::vector<std::string>{"Assam", "04", "15"}));
        EXPECT_EQ(::GetFocus(), name);
        EXPECT_EQ(Selection(name), std::make_pair(DWORD{0}, DWORD{5}));

        // Typed 75 becomes 59, selected, so the next digit replaces it; 6 stays 6.
        ::SetWindowTextA(name, "");
        ::SetWindowTextA(minutes, "");
        Type(minutes, "75");
        EXPECT_EQ(Text(minutes), "59");
        EXPECT_EQ(Selection(minutes), std::make_pair(DWORD{0}, DWORD{2}));
        ::SetWindowTextA(seconds, "");
        Type(seconds, "6");
        EXPECT_EQ(Text(seconds), "6");

        // Enter applies to the row taken, not to the row selected since.
        Select(dialog, 5);
        ::SetFocus(name);
        PressKey(dialog, VK_RETURN);
        EXPECT_EQ(Row(dialog, 3), (std::vector<std::string>{"Teesorte 3", "59", "06"}));
        EXPECT_EQ(Row(dialog, 5), (std::vector<std::string>{"Teesorte 5", "00", "00"}));
        EXPECT_EQ(Edits(dialog), (std::vector<std::string>{"", "", ""}));
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, IDC_TEA_LIST));

        Select(dialog, 4);
        Click(dialog, IDC_TEA_DELETE);
        EXPECT_EQ(Row(dialog, 4), (std::vector<std::string>{"Teesorte 4", "00", "00"}));

        // A double-click replaces pending edits with the clicked row's texts.
        Select(dialog, 1);
        Click(dialog, IDC_TEA_CHANGE);
        ::SetWindowTextA(name, "dropped");
        Select(dialog, 2);
        DoubleClick(dialog, 2);
        EXPECT_EQ(Edits(dialog), (std::vector<std::string>{"Teesorte 2", "00", "00"}));
        ::SetWindowTextA(name, "Sencha");
        ::SetWindowTextA(minutes, "");
        Type(minutes, "2");
        ::SetWindowTextA(seconds, "");
        Click(dialog, IDC_TEA_SAVE);
    });
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(store.settings.teas[2].name, "Sencha");
    EXPECT_EQ(store.settings.teas[3].minutes, "59");
    const std::vector<std::vector<std::string>> expected = {
        {"Teesorte 0", "00", "00"}, {"Teesorte 1", "00", "00"}, {"Sencha", "02", "00"},     {"Teesorte 3", "59", "06"},
        {"Teesorte 4", "00", "00"}, {"Teesorte 5", "00", "00"}, {"Teesorte 6", "00", "00"}, {"Teesorte 7", "00", "00"},
        {"Teesorte 8", "00", "00"}, {"Teesorte 9", "00", "00"}};
    for (int slot = 0; slot < 10; ++slot) {
        const std::string i = std::to_string(slot);
        EXPECT_EQ((std::vector<std::string>{StoredText(("Desc" + i).c_str()), StoredText(("Min" + i).c_str()),
                                            StoredText(("Sec" + i).c_str())}),
                  expected[static_cast<size_t>(slot)])
            << "slot " << slot;
    }
}

TEST_F(TeaListDialogTest, CancelAsksOnlyAfterChangesAndNoKeepsEverything)
{
    {
        BoxAnswerer answerer({IDYES});
        const INT_PTR result = Run([&](HWND dialog) {
            Select(dialog, 0);
            Click(dialog, IDC_TEA_CHANGE);
            ::SetWindowTextA(::GetDlgItem(dialog, IDC_TEA_NAME), "not applied");
            Click(dialog, IDC_TEA_CANCEL);
        });
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_TRUE(answerer.texts.empty()) << "values only taken into the edits are no change";
    }

    BoxAnswerer answerer({IDNO, IDYES});
    const INT_PTR result = Run([&](HWND dialog) {
        Select(dialog, 4);
        Click(dialog, IDC_TEA_DELETE);
        Select(dialog, 2);
        Click(dialog, IDC_TEA_CHANGE);
        ::SetWindowTextA(::GetDlgItem(dialog, IDC_TEA_NAME), "pending");

        ::SetFocus(::GetDlgItem(dialog, IDC_TEA_LIST));
        PressKey(dialog, VK_ESCAPE);
        ASSERT_EQ(answerer.texts.size(), 1u);
        EXPECT_EQ(answerer.texts[0], "Alle Änderungen werden verworfen.\nTrotzdem abbrechen?");
        EXPECT_EQ(answerer.captions[0], "Brewbell");
        EXPECT_TRUE(::IsWindowVisible(dialog)) << "No keeps the dialog open";
        EXPECT_EQ(Edits(dialog), (std::vector<std::string>{"pending", "00", "00"}));
        Click(dialog, IDC_TEA_CHANGE);
        EXPECT_EQ(Row(dialog, 2), (std::vector<std::string>{"pending", "00", "00"})) << "still editing row 2";

        // The close box asks the same question; Yes closes.
        ::PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        PumpUntil([&] { return answerer.texts.size() == 2; });
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(answerer.texts.size(), 2u);
    EXPECT_EQ(store.settings.teas[2].name, "Teesorte 2") << "the record is untouched";
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kTeas)) << "nothing stored";
}

TEST_F(TeaListDialogTest, StoredOddTextsAreTakenAndWrittenBackWithoutCorrection)
{
    const std::string longName(255, 'L');
    StoreText("Desc2", "");
    StoreText("Min2", "abc");
    StoreText("Min6", "75");
    StoreText("Desc9", longName);
    const INT_PTR result = Run([&](HWND dialog) {
        HWND minutes = ::GetDlgItem(dialog, IDC_TEA_MIN);
        for (int row : {9, 6, 2}) {
            Select(dialog, row);
            Click(dialog, IDC_TEA_CHANGE);
            if (row == 9) {
                EXPECT_EQ(Text(::GetDlgItem(dialog, IDC_TEA_NAME)), longName)
                    << "taken whole, though wider than the edit";
            }
            if (row == 6) {
                EXPECT_EQ(Text(minutes), "75") << "filling the edits corrects nothing";
            }
            Click(dialog, IDC_TEA_CHANGE);
        }
        EXPECT_EQ(Row(dialog, 9)[0], longName);
        EXPECT_EQ(Row(dialog, 6), (std::vector<std::string>{"Teesorte 6", "75", "00"}));
        EXPECT_EQ(Row(dialog, 2), (std::vector<std::string>{"Teesorte 2", "abc", "00"}));

        // Two digits at most, and "&Verwerfen" leaves the row as it was.
        Select(dialog, 0);
        Click(dialog, IDC_TEA_CHANGE);
        ::SetWindowTextA(minutes, "");
        Type(minutes, "123");
        EXPECT_EQ(Text(minutes), "12");
        Click(dialog, IDC_TEA_DISCARD);
        EXPECT_EQ(Edits(dialog), (std::vector<std::string>{"", "", ""}));
        EXPECT_EQ(Row(dialog, 0), (std::vector<std::string>{"Teesorte 0", "00", "00"}));
        Click(dialog, IDC_TEA_SAVE);
    });
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(StoredText("Desc9"), longName);
    EXPECT_EQ(StoredText("Min6"), "75");
    EXPECT_EQ(StoredText("Desc2"), "Teesorte 2");
    EXPECT_EQ(StoredText("Min2"), "abc");
    EXPECT_EQ(StoredText("Min0"), "00");
}

} // namespace
