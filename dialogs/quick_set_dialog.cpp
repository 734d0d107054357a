#include "dialogs/quick_set_dialog.h"

#include "res/resource.h"

#include <commctrl.h>

#include <cstdio>

namespace {

constexpr int kLastPosition = 59;
constexpr int kTickEvery = 5;
constexpr int kLineSize = 1;
constexpr int kPageSize = 15;

struct Pair {
    int slider;
    int list;
};
constexpr Pair kMinutes{IDC_QUICK_MIN_SLIDER, IDC_QUICK_MIN_LIST};
constexpr Pair kSeconds{IDC_QUICK_SEC_SLIDER, IDC_QUICK_SEC_LIST};

// A stored value outside the slider's range shows at the nearest end.
int ClampPosition(int value) { return value < 0 ? 0 : value > kLastPosition ? kLastPosition : value; }

} // namespace

QuickSetDialog::QuickSetDialog(const Settings &settings, SettingsStore &) : Dialog(IDD_QUICKSET), settings(settings)
{
}

bool QuickSetDialog::ProcessMessage(Message &m)
{
    static const MapEntry<QuickSetDialog> map[] = {
        ON_COMMAND(IDC_QUICK_START, &QuickSetDialog::OnStart),
        ON_CONTROL(CBN_SELCHANGE, IDC_QUICK_MIN_LIST, &QuickSetDialog::OnListChanged),
        ON_CONTROL(CBN_SELCHANGE, IDC_QUICK_SEC_LIST, &QuickSetDialog::OnListChanged),
        ON_MESSAGE(WM_HSCROLL, &QuickSetDialog::OnScroll),
    };
    return DispatchMessageMap(this, map, m) || Dialog::ProcessMessage(m);
}

bool QuickSetDialog::OnInitDialog()
{
    // The index of an entry is its number.
    for (const Pair &pair : {kMinutes, kSeconds}) {
        HWND list = GetItem(pair.list);
        for (int value = 0; value <= kLastPosition; ++value) {
            char text[4];
            std::snprintf(text, sizeof text, "%.2d", value);
            ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        }
    }
    const int values[] = {ClampPosition(settings.min), ClampPosition(settings.sec)};
    int i = 0;
    for (const Pair &pair : {kMinutes, kSeconds}) {
        HWND slider = GetItem(pair.slider);
        ::SendMessageA(slider, TBM_SETRANGE, FALSE, MAKELPARAM(0, kLastPosition));
        ::SendMessageA(slider, TBM_SETTICFREQ, kTickEvery, 0);
        ::SendMessageA(slider, TBM_SETLINESIZE, 0, kLineSize);
        ::SendMessageA(slider, TBM_SETPAGESIZE, 0, kPageSize);
        ::SendMessageA(slider, TBM_SETPOS, TRUE, values[i]);
        ::SendMessageA(GetItem(pair.list), CB_SETCURSEL, static_cast<WPARAM>(values[i]), 0);
        ++i;
    }
    return true;
}

bool QuickSetDialog::OnScroll(Message &m)
{
    const HWND sender = m.Sender();
    if (sender != GetItem(kMinutes.slider) && sender != GetItem(kSeconds.slider))
        return false;
    const Pair &pair = sender == GetItem(kMinutes.slider) ? kMinutes : kSeconds;
    const LRESULT position = ::SendMessageA(GetItem(pair.slider), TBM_GETPOS, 0, 0);
    ::SendMessageA(GetItem(pair.list), CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    return false; // the default scroll handling runs as well
}

bool QuickSetDialog::OnListChanged(Message &m)
{
    const Pair &pair = m.CommandId() == IDC_QUICK_MIN_LIST ? kMinutes : kSeconds;
    const LRESULT index = ::SendMessageA(GetItem(pair.list), CB_GETCURSEL, 0, 0);
    if (index >= 0)
        ::SendMessageA(GetItem(pair.slider), TBM_SETPOS, TRUE, index);
    return true;
}

void QuickSetDialog::TakeSliderPositions()
{
    chosen.minutes = static_cast<std::int32_t>(::SendMessageA(GetItem(IDC_QUICK_MIN_SLIDER), TBM_GETPOS, 0, 0));
    chosen.seconds = static_cast<std::int32_t>(::SendMessageA(GetItem(IDC_QUICK_SEC_SLIDER), TBM_GETPOS, 0, 0));
}

void QuickSetDialog::OnOK()
{
    TakeSliderPositions();
    EndDialog(IDOK);
}

void QuickSetDialog::OnStart()
{
    TakeSliderPositions();
    EndDialog(kStartResult);
}
