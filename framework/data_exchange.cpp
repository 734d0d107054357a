#include "framework/data_exchange.h"

#include "framework/control.h"
#include "framework/dialog.h"
#include "framework/local_time.h"
#include "framework/message_box.h"

#include <commctrl.h>

#include <cstdint>
#include <cstdlib>

DataExchange::DataExchange(Dialog &owner, bool saving) : dialog(owner.GetSafeHwnd()), save(saving) {}

void DataExchange::Fail(int id, const char *text)
{
    failed = true;
    AppMessageBox(dialog, text, MB_OK | MB_ICONEXCLAMATION);
    if (HWND item = Item(id))
        ::SetFocus(item);
}

void DDX_Control(DataExchange &dx, int id, Control &control)
{
    if (!dx.failed && !control.GetSafeHwnd())
        control.SubclassWindow(dx.Item(id));
}

void DDX_Text(DataExchange &dx, int id, std::string &value)
{
    if (dx.failed)
        return;
    if (dx.save)
        value = Window(dx.Item(id)).GetText();
    else
        ::SetDlgItemTextA(dx.dialog, id, value.c_str());
}

void DDX_Text(DataExchange &dx, int id, std::string &value, std::size_t maxChars)
{
    if (dx.failed)
        return;
    if (!dx.save)
        ::SendMessageA(dx.Item(id), EM_LIMITTEXT, maxChars, 0);
    DDX_Text(dx, id, value);
    if (dx.save && value.size() > maxChars)
        value.resize(maxChars);
}

void DDX_Int(DataExchange &dx, int id, int &value)
{
    if (dx.failed)
        return;
    if (!dx.save) {
        ::SetDlgItemInt(dx.dialog, id, static_cast<UINT>(value), TRUE);
        return;
    }
    BOOL ok = FALSE;
    const int read = static_cast<int>(::GetDlgItemInt(dx.dialog, id, &ok, TRUE));
    if (!ok) {
        dx.Fail(id, "Bitte geben Sie eine ganze Zahl ein.");
        return;
    }
    value = read;
}

void DDX_Int(DataExchange &dx, int id, std::atomic<std::int32_t> &value)
{
    int plain = value;
    DDX_Int(dx, id, plain);
    if (dx.save && !dx.failed)
        value = plain;
}

void DDX_Check(DataExchange &dx, int id, int &value)
{
    if (dx.failed)
        return;
    if (dx.save)
        value = static_cast<int>(::SendMessageA(dx.Item(id), BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(dx.Item(id), BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

namespace {
bool IsRadioButton(HWND hwnd)
{
    const LONG type = ::GetWindowLongA(hwnd, GWL_STYLE) & BS_TYPEMASK;
    return (::SendMessageA(hwnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) || type == BS_RADIOBUTTON ||
           type == BS_AUTORADIOBUTTON;
}
} // namespace

void DDX_Radio(DataExchange &dx, int id, int &value)
{
    if (dx.failed)
        return;
    if (dx.save)
        value = -1;
    int index = 0;
    for (HWND button = dx.Item(id); button && IsRadioButton(button);
         button = ::GetWindow(button, GW_HWNDNEXT), ++index) {
        if (index > 0 && (::GetWindowLongA(button, GWL_STYLE) & WS_GROUP))
            break;
        if (dx.save) {
            if (::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = index;
        } else {
            ::SendMessageA(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
}

void DDX_Radio(DataExchange &dx, int id, std::atomic<std::int32_t> &value)
{
    int plain = value;
    DDX_Radio(dx, id, plain);
    if (dx.save && !dx.failed)
        value = plain;
}

void DDX_Slider(DataExchange &dx, int id, int &value)
{
    if (dx.failed)
        return;
    if (dx.save)
        value = static_cast<int>(::SendMessageA(dx.Item(id), TBM_GETPOS, 0, 0));
    else
        ::SendMessageA(dx.Item(id), TBM_SETPOS, TRUE, value);
}

void DDX_TimeOfDay(DataExchange &dx, int id, std::atomic<std::int32_t> &timePoint)
{
    std::int32_t value = timePoint;
    DDX_TimeOfDay(dx, id, value);
    if (dx.save)
        timePoint = value;
}

void DDX_TimeOfDay(DataExchange &dx, int id, std::int32_t &timePoint)
{
    if (dx.failed)
        return;
    SYSTEMTIME local;
    if (!BreakDownLocalTime(timePoint, local))
        return;
    if (!dx.save) {
        ::SendMessageA(dx.Item(id), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&local));
        return;
    }
    SYSTEMTIME picked;
    if (::SendMessageA(dx.Item(id), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&picked)) != GDT_VALID)
        return;
    const int before = local.wHour * 3600 + local.wMinute * 60 + local.wSecond;
    const int after = picked.wHour * 3600 + picked.wMinute * 60 + picked.wSecond;
    // An unchanged time of day keeps the point exactly, also in the repeated hour of a day
    // whose clocks go back, where composing could pick the other of the two instants.
    if (after == before)
        return;
    local.wHour = picked.wHour;
    local.wMinute = picked.wMinute;
    local.wSecond = picked.wSecond;
    local.wMilliseconds = 0;
    std::int32_t composed;
    if (ComposeLocalTime(local, composed)) {
        timePoint = composed;
        return;
    }
    // Only at the ends of the 32-bit range does the chosen time not fit on the stored day; the
    // neighbouring day holds it, and only the time of day counts.
    constexpr std::int64_t kDay = 86400;
    std::int64_t shifted = static_cast<std::int64_t>(timePoint) + (after - before);
    if (shifted > INT32_MAX)
        shifted -= kDay;
    else if (shifted < INT32_MIN)
        shifted += kDay;
    timePoint = static_cast<std::int32_t>(shifted);
}
