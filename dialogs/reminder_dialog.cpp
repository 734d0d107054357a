#include "dialogs/reminder_dialog.h"

#include "core/reminder_rules.h"
#include "framework/data_exchange.h"
#include "framework/message_box.h"
#include "res/resource.h"

#include <commctrl.h>

namespace {
constexpr int kDayCount = 7;
constexpr char kNotSaved[] = "Die Teezeit konnte nicht in der Registrierung gespeichert werden.";
} // namespace

ReminderDialog::ReminderDialog(Settings &settingsToEdit, SettingsStore &settingsStore)
    : Dialog(IDD_REMINDER), settings(settingsToEdit), store(settingsStore)
{
}

void ReminderDialog::DoDataExchange(DataExchange &dx)
{
    DDX_TimeOfDay(dx, IDC_REM_DAILY_TIME, schedule.daily);
    // The store loads every interval but 0 as 1; any other value that reaches the record still
    // shows as the clock takes it, as the interval rule ("täglich zwischen").
    if (!dx.failed) {
        if (dx.save)
            schedule.interval = ::IsDlgButtonChecked(hwnd, IDC_REM_BETWEEN) == BST_CHECKED ? 1 : 0;
        else
            ::CheckRadioButton(hwnd, IDC_REM_DAILY, IDC_REM_BETWEEN,
                               schedule.interval != 0 ? IDC_REM_BETWEEN : IDC_REM_DAILY);
    }
    DDX_TimeOfDay(dx, IDC_REM_FROM, schedule.from);
    DDX_TimeOfDay(dx, IDC_REM_TO, schedule.to);
    // The hours check keeps the field a number in 1..6, the range the store loads.
    if (dx.failed)
        return;
    if (!dx.save) {
        ::SetDlgItemInt(hwnd, IDC_REM_HOURS, static_cast<UINT>(schedule.hours), TRUE);
        return;
    }
    BOOL number = FALSE;
    const int hours = static_cast<int>(::GetDlgItemInt(hwnd, IDC_REM_HOURS, &number, TRUE));
    if (number)
        schedule.hours = hours;
}

bool ReminderDialog::OnInitDialog()
{
    schedule = {settings.interval, settings.weekdays, settings.hours, settings.daily, settings.from, settings.to};
    filling = true;
    // Hours 0..23 with seconds, as the status line shows the time, whatever the locale's
    // habit; the seconds count for the reminder.
    for (int id : {IDC_REM_DAILY_TIME, IDC_REM_FROM, IDC_REM_TO})
        ::SendDlgItemMessageA(hwnd, id, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>("HH':'mm':'ss"));
    Dialog::OnInitDialog();
    // One digit is all 1..6 needs. The limit also spares a paste of a long text the check of
    // every character, which takes the system's edit field seconds per thousand.
    ::SendDlgItemMessageA(hwnd, IDC_REM_HOURS, EM_LIMITTEXT, 1, 0);
    HWND spin = GetItem(IDC_REM_HOURS_SPIN);
    ::SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetItem(IDC_REM_HOURS)), 0);
    ::SendMessageA(spin, UDM_SETRANGE, 0, MAKELPARAM(kMostHours, kFewestHours));
    ShowWeekdays();
    filling = false;
    UpdateEnabling();
    return true;
}

bool ReminderDialog::ProcessMessage(Message &m)
{
    static const MapEntry<ReminderDialog> map[] = {
        ON_COMMAND(IDC_REM_APPLY, &ReminderDialog::OnOK),
        ON_COMMAND(IDC_REM_DAILY, &ReminderDialog::OnDaily),
        ON_COMMAND(IDC_REM_BETWEEN, &ReminderDialog::OnBetween),
        ON_COMMAND_RANGE(IDC_REM_MONDAY, IDC_REM_SUNDAY, &ReminderDialog::OnDayClicked),
        ON_COMMAND(IDC_REM_ALL_DAYS, &ReminderDialog::OnAllDays),
        ON_CONTROL(EN_CHANGE, IDC_REM_HOURS, &ReminderDialog::OnHoursChanged),
    };
    return DispatchMessageMap(this, map, m) || Dialog::ProcessMessage(m);
}

void ReminderDialog::UpdateEnabling()
{
    UpdateData(true);
    const bool daily = schedule.interval == 0;
    EnableItem(IDC_REM_DAILY_TIME, daily);
    for (int id : {IDC_REM_FROM, IDC_REM_TO, IDC_REM_HOURS, IDC_REM_HOURS_SPIN})
        EnableItem(id, !daily);
}

void ReminderDialog::OnDaily()
{
    UpdateEnabling();
    Send(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetItem(IDC_REM_DAILY_TIME)), TRUE);
}

void ReminderDialog::OnBetween()
{
    UpdateEnabling();
    Send(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetItem(IDC_REM_FROM)), TRUE);
}

void ReminderDialog::ShowWeekdays()
{
    const auto mask = static_cast<std::uint32_t>(schedule.weekdays);
    for (int day = 0; day < kDayCount; ++day)
        ::CheckDlgButton(hwnd, IDC_REM_MONDAY + day, (mask >> day) & 1u ? BST_CHECKED : BST_UNCHECKED);
    ShowAllDays();
}

void ReminderDialog::ShowAllDays()
{
    ::CheckDlgButton(hwnd, IDC_REM_ALL_DAYS, static_cast<UINT>(reminder::AllDaysState(schedule.weekdays)));
}

bool ReminderDialog::OnDayClicked(Message &)
{
    std::int32_t mask = 0;
    for (int day = 0; day < kDayCount; ++day) {
        if (::IsDlgButtonChecked(hwnd, IDC_REM_MONDAY + day) == BST_CHECKED)
            mask |= 1 << day;
    }
    schedule.weekdays = mask;
    ShowAllDays();
    return true;
}

void ReminderDialog::OnAllDays()
{
    schedule.weekdays = reminder::WeekdaysAfterAllClicked(schedule.weekdays);
    ShowWeekdays();
}

bool ReminderDialog::OnHoursChanged(Message &)
{
    if (filling)
        return true;
    BOOL number = FALSE;
    const int hours = static_cast<int>(::GetDlgItemInt(hwnd, IDC_REM_HOURS, &number, TRUE));
    if (number && hours >= kFewestHours && hours <= kMostHours)
        return true;
    // Put the last good value back. Its own change notification is not checked again: a stored
    // value outside 1..6 would otherwise be put back without end.
    filling = true;
    ::SetDlgItemInt(hwnd, IDC_REM_HOURS, static_cast<UINT>(schedule.hours), TRUE);
    ::SendDlgItemMessageA(hwnd, IDC_REM_HOURS, EM_SETSEL, 0, -1);
    filling = false;
    return true;
}

void ReminderDialog::OnOK()
{
    if (!UpdateData(true))
        return;
    if (!store.applyTeatime(schedule)) {
        AppMessageBox(hwnd, kNotSaved, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    EndDialog(IDOK);
}
