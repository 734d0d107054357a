#include "tests/support/dialog_run.h"
#include "dialogs/quick_set_dialog.h"
#include "res/resource.h"
#include "tests/support/memory_value_store.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>


namespace {

int Position(HWND dialog, int slider) { return int(::SendMessageA(::GetDlgItem(dialog, slider), TBM_GETPOS, 0, 0)); }

std::string Chosen(HWND dialog, int list)
{
    char text[16] = "<none>";
    const LRESULT index = ::SendMessageA(::GetDlgItem(dialog, list), CB_GETCURSEL, 0, 0);
    ::SendMessageA(::GetDlgItem(dialog, list), CB_GETLBTEXT, WPARAM(index), LPARAM(text));
    return text;
}

// Chooses an entry as the user does: the selection changes and the list tells its dialog.
void Choose(HWND dialog, int list, int index)
{
    ::SendMessageA(::GetDlgItem(dialog, list), CB_SETCURSEL, WPARAM(index), 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE), LPARAM(::GetDlgItem(dialog, list)));
}

// A key on a slider: it moves and reports the scroll to its dialog.
void Key(HWND dialog, int slider, UINT key) { ::SendMessageA(::GetDlgItem(dialog, slider), WM_KEYDOWN, key, 0); }

class QuickSetDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&controls);
        store.settings.min = 3;
        store.settings.sec = 30;
    }

    INT_PTR Run(const std::function<void(HWND)> &body)
    {
        QuickSetDialog dialog(store.settings, store);
        const INT_PTR result = RunModal(dialog, body);
        chosen = dialog.Chosen();
        return result;
    }

    countdown::Time chosen{-1, -1};

    // Never written: saving is the caller's.
    MemoryValueStore values;
    SettingsStore store{values};
};

TEST_F(QuickSetDialogTest, ListsAndSlidersSteerEachOtherAndTheSlidersAreApplied)
{
    const INT_PTR result = Run([&](HWND dialog) {
        EXPECT_EQ(Position(dialog, IDC_QUICK_MIN_SLIDER), 3);
        EXPECT_EQ(Chosen(dialog, IDC_QUICK_MIN_LIST), "03");
        EXPECT_EQ(Position(dialog, IDC_QUICK_SEC_SLIDER), 30);
        EXPECT_EQ(Chosen(dialog, IDC_QUICK_SEC_LIST), "30");
        for (int list : {IDC_QUICK_MIN_LIST, IDC_QUICK_SEC_LIST}) {
            EXPECT_EQ(::SendMessageA(::GetDlgItem(dialog, list), CB_GETCOUNT, 0, 0), 60);
            Choose(dialog, list, 59);
            EXPECT_EQ(Chosen(dialog, list), "59");
        }
        // Ticks every five positions: 5 ... 55 and the two ends.
        EXPECT_EQ(::SendMessageA(::GetDlgItem(dialog, IDC_QUICK_MIN_SLIDER), TBM_GETNUMTICS, 0, 0), 13);

        Choose(dialog, IDC_QUICK_SEC_LIST, 45);
        EXPECT_EQ(Position(dialog, IDC_QUICK_SEC_SLIDER), 45);
        Key(dialog, IDC_QUICK_SEC_SLIDER, VK_PRIOR);
        EXPECT_EQ(Chosen(dialog, IDC_QUICK_SEC_LIST), "30");
        Key(dialog, IDC_QUICK_SEC_SLIDER, VK_RIGHT);
        EXPECT_EQ(Chosen(dialog, IDC_QUICK_SEC_LIST), "31");
        Choose(dialog, IDC_QUICK_MIN_LIST, 3);
        Key(dialog, IDC_QUICK_MIN_SLIDER, VK_NEXT);
        EXPECT_EQ(Chosen(dialog, IDC_QUICK_MIN_LIST), "18");
        for (int i = 0; i < 3; ++i)
            Key(dialog, IDC_QUICK_MIN_SLIDER, VK_NEXT);
        Key(dialog, IDC_QUICK_MIN_SLIDER, VK_LEFT);
        EXPECT_EQ(Chosen(dialog, IDC_QUICK_MIN_LIST), "58") << "paging stops at 59";
        EXPECT_EQ(store.settings.min, 3) << "nothing applied before the dialog is accepted";
        ::SetFocus(::GetDlgItem(dialog, IDC_QUICK_MIN_LIST));
        PressKey(dialog, VK_RETURN);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(chosen, (countdown::Time{58, 31}));
    // The caller applies the time, and only while its timer is idle.
    EXPECT_EQ(store.settings.min, 3);
    EXPECT_EQ(store.settings.sec, 30);
}

TEST_F(QuickSetDialogTest, StartReturnsTenEvenAtZeroAndCancelKeepsTheTime)
{
    enum class Close { Start, Escape, CancelButton };
    for (const Close close : {Close::Start, Close::Escape, Close::CancelButton}) {
        store.settings.min = 12;
        store.settings.sec = 5;
        const INT_PTR result = Run([&](HWND dialog) {
            Key(dialog, IDC_QUICK_MIN_SLIDER, VK_HOME);
            Choose(dialog, IDC_QUICK_SEC_LIST, 0);
            if (close == Close::Escape)
                PressKey(dialog, VK_ESCAPE);
            else
                ::SendMessageA(::GetDlgItem(dialog, close == Close::Start ? IDC_QUICK_START : IDCANCEL), BM_CLICK, 0,
                               0);
        });
        const bool started = close == Close::Start;
        EXPECT_EQ(result, started ? QuickSetDialog::kStartResult : IDCANCEL);
        if (started) {
            EXPECT_EQ(chosen, (countdown::Time{0, 0}));
        }
        EXPECT_EQ(store.settings.min, 12);
        EXPECT_EQ(store.settings.sec, 5);
    }
}

} // namespace
