#include "dialog_driver.h"
#include "dialogs/quick_set_dialog.h"
#include "res/resource.h"
#include "settings/registry_key.h"
#include "test_support.h"
#include "tests/support/registry_tree.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

using namespace dialog_driver;

namespace {

constexpr char kBase[] = "Software\\BrewbellQuickSetTest";

int SliderPosition(HWND dialog, int id)
{
    return static_cast<int>(::SendMessageA(::GetDlgItem(dialog, id), TBM_GETPOS, 0, 0));
}

std::string ListText(HWND dialog, int id)
{
    HWND list = ::GetDlgItem(dialog, id);
    const LRESULT index = ::SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (index < 0)
        return "<none>";
    char text[16] = "";
    ::SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

// Chooses an entry as the user does: the selection changes and the list tells its dialog.
void Choose(HWND dialog, int id, int index)
{
    ::SendMessageA(::GetDlgItem(dialog, id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// A key pressed on the slider; the slider moves and reports the scroll to its dialog.
void Key(HWND dialog, int id, UINT key) { ::SendMessageA(::GetDlgItem(dialog, id), WM_KEYDOWN, key, 0); }

class QuickSetDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&controls);
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kBase);
    }
    void TearDown() override { DeleteRegistryTree(HKEY_LOCAL_MACHINE, kBase); }

    INT_PTR Run(const std::function<void(HWND)> &body)
    {
        QuickSetDialog dialog(store.settings, store);
        return RunModal(dialog, body);
    }

    RegistryKey registry{HKEY_LOCAL_MACHINE, kBase};
    SettingsStore store{registry};
};

TEST_F(QuickSetDialogTest, OpensAtTheSetTimeWithSixtyEntriesAndSliderSteps)
{
    store.settings.min = 3;
    store.settings.sec = 30;
    const INT_PTR result = Run([&](HWND dialog) {
        EXPECT_EQ(Text(dialog), "Schnelleinstellung");
        EXPECT_EQ(Text(::GetDlgItem(dialog, IDOK)), "Übernehmen");
        EXPECT_TRUE(::GetWindowLongA(::GetDlgItem(dialog, IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
        EXPECT_EQ(Text(::GetDlgItem(dialog, IDC_QUICK_START)), "&Starten");
        EXPECT_EQ(Text(::GetDlgItem(dialog, IDCANCEL)), "Abbrechen");

        for (int id : {IDC_QUICK_MIN_LIST, IDC_QUICK_SEC_LIST}) {
            HWND list = ::GetDlgItem(dialog, id);
            const LONG style = ::GetWindowLongA(list, GWL_STYLE);
            EXPECT_EQ(style & 3, CBS_DROPDOWNLIST);
            EXPECT_FALSE(style & CBS_SORT);
            ASSERT_EQ(::SendMessageA(list, CB_GETCOUNT, 0, 0), 60);
            for (int i : {0, 7, 59}) {
                char text[16] = "";
                ::SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
                EXPECT_EQ(std::atoi(text), i);
                EXPECT_EQ(std::strlen(text), 2u);
            }
        }
        for (int id : {IDC_QUICK_MIN_SLIDER, IDC_QUICK_SEC_SLIDER}) {
            HWND slider = ::GetDlgItem(dialog, id);
            EXPECT_TRUE(::GetWindowLongA(slider, GWL_STYLE) & TBS_AUTOTICKS);
            EXPECT_TRUE(::GetWindowLongA(slider, GWL_STYLE) & TBS_BOTH);
            EXPECT_EQ(::SendMessageA(slider, TBM_GETRANGEMIN, 0, 0), 0);
            EXPECT_EQ(::SendMessageA(slider, TBM_GETRANGEMAX, 0, 0), 59);
            EXPECT_EQ(::SendMessageA(slider, TBM_GETLINESIZE, 0, 0), 1);
            EXPECT_EQ(::SendMessageA(slider, TBM_GETPAGESIZE, 0, 0), 15);
            // Ticks every five positions: 5, 10 ... 55 between the two ends.
            EXPECT_EQ(::SendMessageA(slider, TBM_GETNUMTICS, 0, 0), 13);
        }
        EXPECT_EQ(SliderPosition(dialog, IDC_QUICK_MIN_SLIDER), 3);
        EXPECT_EQ(ListText(dialog, IDC_QUICK_MIN_LIST), "03");
        EXPECT_EQ(SliderPosition(dialog, IDC_QUICK_SEC_SLIDER), 30);
        EXPECT_EQ(ListText(dialog, IDC_QUICK_SEC_LIST), "30");
    });
    EXPECT_EQ(result, kLeftOpen);
}

TEST_F(QuickSetDialogTest, ListsAndSlidersSteerEachOtherAndTheSlidersAreApplied)
{
    store.settings.min = 3;
    store.settings.sec = 30;
    const INT_PTR result = Run([&](HWND dialog) {
        Choose(dialog, IDC_QUICK_SEC_LIST, 45);
        EXPECT_EQ(SliderPosition(dialog, IDC_QUICK_SEC_SLIDER), 45);
        EXPECT_EQ(SliderPosition(dialog, IDC_QUICK_MIN_SLIDER), 3) << "the other pair stays";

        Key(dialog, IDC_QUICK_SEC_SLIDER, VK_PRIOR);
        EXPECT_EQ(SliderPosition(dialog, IDC_QUICK_SEC_SLIDER), 30);
        EXPECT_EQ(ListText(dialog, IDC_QUICK_SEC_LIST), "30");
        Key(dialog, IDC_QUICK_SEC_SLIDER, VK_RIGHT);
        EXPECT_EQ(ListText(dialog, IDC_QUICK_SEC_LIST), "31");
        Key(dialog, IDC_QUICK_MIN_SLIDER, VK_NEXT);
        EXPECT_EQ(ListText(dialog, IDC_QUICK_MIN_LIST), "18");
        Key(dialog, IDC_QUICK_MIN_SLIDER, VK_NEXT);
        Key(dialog, IDC_QUICK_MIN_SLIDER, VK_NEXT);
        Key(dialog, IDC_QUICK_MIN_SLIDER, VK_NEXT);
        EXPECT_EQ(ListText(dialog, IDC_QUICK_MIN_LIST), "59") << "the page stops at the end";
        Key(dialog, IDC_QUICK_MIN_SLIDER, VK_LEFT);
        EXPECT_EQ(ListText(dialog, IDC_QUICK_MIN_LIST), "58");
        EXPECT_EQ(store.settings.min, 3) << "nothing applied before the dialog is accepted";
        ::SetFocus(::GetDlgItem(dialog, IDC_QUICK_MIN_LIST));
        PressKey(dialog, VK_RETURN);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(store.settings.min, 58);
    EXPECT_EQ(store.settings.sec, 31);
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kBase)) << "saving is the caller's";
}

TEST_F(QuickSetDialogTest, StartReturnsTenEvenAtZeroAndCancelKeepsTheTime)
{
    store.settings.min = 12;
    store.settings.sec = 5;
    INT_PTR result = Run([&](HWND dialog) {
        Key(dialog, IDC_QUICK_MIN_SLIDER, VK_HOME);
        Key(dialog, IDC_QUICK_SEC_SLIDER, VK_HOME);
        EXPECT_EQ(ListText(dialog, IDC_QUICK_MIN_LIST), "00");
        ::SendMessageA(::GetDlgItem(dialog, IDC_QUICK_START), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(result, QuickSetDialog::kStartResult);
    EXPECT_EQ(store.settings.min, 0);
    EXPECT_EQ(store.settings.sec, 0);

    store.settings.min = 12;
    store.settings.sec = 5;
    for (const bool escape : {false, true}) {
        result = Run([&](HWND dialog) {
            Choose(dialog, IDC_QUICK_MIN_LIST, 40);
            Key(dialog, IDC_QUICK_SEC_SLIDER, VK_END);
            if (escape)
                PressKey(dialog, VK_ESCAPE);
            else
                ::SendMessageA(::GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
        });
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_EQ(store.settings.min, 12);
        EXPECT_EQ(store.settings.sec, 5);
    }
}

} // namespace
