#include "dialogs/reminder_dialog.h"
#include "framework/local_time.h"
#include "tests/support/dialog_run.h"
#include "test_settings_store.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <climits>
#include <string>

namespace {

int Check(HWND dialog, int id) { return static_cast<int>(::IsDlgButtonChecked(dialog, id)); }

// The days ticked, as the mask's bits.
int TickedDays(HWND dialog)
{
    int mask = 0;
    for (int day = 0; day < 7; ++day)
        mask |= Check(dialog, IDC_REM_MONDAY + day) == BST_CHECKED ? 1 << day : 0;
    return mask;
}

SYSTEMTIME Local(std::int64_t t)
{
    SYSTEMTIME s{};
    EXPECT_TRUE(BreakDownLocalTime(t, s)) << t;
    return s;
}

int TimeOfDay(const SYSTEMTIME &s) { return s.wHour * 3600 + s.wMinute * 60 + s.wSecond; }

SYSTEMTIME Picked(HWND dialog, int id)
{
    SYSTEMTIME s{};
    ::SendDlgItemMessageA(dialog, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&s));
    return s;
}

void Pick(HWND dialog, int id, int hour, int minute, int second)
{
    SYSTEMTIME s = Picked(dialog, id);
    s.wHour = static_cast<WORD>(hour);
    s.wMinute = static_cast<WORD>(minute);
    s.wSecond = static_cast<WORD>(second);
    ::SendDlgItemMessageA(dialog, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&s));
}

void TypeHours(HWND dialog, const char *text) { ::SetDlgItemTextA(dialog, IDC_REM_HOURS, text); }

void SendKey(HWND window, WPARAM key)
{
    ::SendMessageA(window, WM_KEYDOWN, key, 1);
    ::SendMessageA(window, WM_KEYUP, key, 0xC0000001);
}

class ReminderDialogTest : public ::testing::Test {
protected:
    INT_PTR Run(const std::function<void(HWND)> &body)
    {
        ReminderDialog dialog(t.settings, t.store);
        return RunModal(dialog, body);
    }
    TestSettingsStore t;
};

TEST_F(ReminderDialogTest, ShowsTheScheduleAndTheRadioPairEnablesItsOwnFields)
{
    t.settings.weekdays = 0x15;
    t.settings.hours = 3;
    t.settings.daily = 140400;
    t.settings.from = 111600;
    t.settings.to = 144000;
    Run([&](HWND d) {
        char title[64] = "";
        ::GetWindowTextA(d, title, sizeof title);
        EXPECT_STREQ(title, "An Teezeit erinnern");
        EXPECT_EQ(TickedDays(d), 0x15);
        EXPECT_EQ(Check(d, IDC_REM_ALL_DAYS), BST_INDETERMINATE);
        EXPECT_EQ(Check(d, IDC_REM_DAILY), BST_CHECKED);
        EXPECT_EQ(Check(d, IDC_REM_BETWEEN), BST_UNCHECKED);
        EXPECT_EQ(ItemText(d, IDC_REM_HOURS), "3");
        EXPECT_EQ(TimeOfDay(Picked(d, IDC_REM_DAILY_TIME)), TimeOfDay(Local(140400)));
        EXPECT_EQ(TimeOfDay(Picked(d, IDC_REM_FROM)), TimeOfDay(Local(111600)));
        EXPECT_EQ(TimeOfDay(Picked(d, IDC_REM_TO)), TimeOfDay(Local(144000)));
        EXPECT_EQ(::SendDlgItemMessageA(d, IDC_REM_HOURS_SPIN, UDM_GETBUDDY, 0, 0),
                  reinterpret_cast<LRESULT>(::GetDlgItem(d, IDC_REM_HOURS)));

        const int interval[] = {IDC_REM_FROM, IDC_REM_TO, IDC_REM_HOURS, IDC_REM_HOURS_SPIN};
        EXPECT_TRUE(IsItemEnabled(d, IDC_REM_DAILY_TIME));
        for (int id : interval)
            EXPECT_FALSE(IsItemEnabled(d, id)) << id;

        Click(d, IDC_REM_BETWEEN);
        EXPECT_FALSE(IsItemEnabled(d, IDC_REM_DAILY_TIME));
        for (int id : interval)
            EXPECT_TRUE(IsItemEnabled(d, id)) << id;
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(d, IDC_REM_FROM));
        EXPECT_EQ(t.settings.interval, 0) << "the clock goes on with the rule in force";

        Click(d, IDC_REM_DAILY);
        EXPECT_TRUE(IsItemEnabled(d, IDC_REM_DAILY_TIME));
        EXPECT_FALSE(IsItemEnabled(d, IDC_REM_FROM));
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(d, IDC_REM_DAILY_TIME));
        // Reading the fields back at each click leaves the stored points as they were.
        EXPECT_EQ(t.settings.daily, 140400);
        EXPECT_EQ(t.settings.from, 111600);
        EXPECT_EQ(t.settings.to, 144000);
    });
}

TEST_F(ReminderDialogTest, DayBoxesAndAlleFollowEachOtherAndOnlyAnAcceptPutsTheDaysInForce)
{
    t.settings.weekdays = 127;
    t.store.saveTeatime();
    EXPECT_EQ(Run([&](HWND d) {
                  EXPECT_EQ(Check(d, IDC_REM_ALL_DAYS), BST_CHECKED);
                  Click(d, IDC_REM_SUNDAY);
                  EXPECT_EQ(TickedDays(d), 63);
                  EXPECT_EQ(Check(d, IDC_REM_ALL_DAYS), BST_INDETERMINATE);
                  EXPECT_EQ(t.settings.weekdays, 127) << "the clock goes on with the days in force";

                  Click(d, IDC_REM_ALL_DAYS);
                  EXPECT_EQ(TickedDays(d), 127) << "an indeterminate alle selects every day";
                  EXPECT_EQ(Check(d, IDC_REM_ALL_DAYS), BST_CHECKED);

                  Click(d, IDC_REM_ALL_DAYS);
                  EXPECT_EQ(TickedDays(d), 0);
                  EXPECT_EQ(Check(d, IDC_REM_ALL_DAYS), BST_UNCHECKED);

                  Click(d, IDC_REM_MONDAY + 2);
                  EXPECT_EQ(TickedDays(d), 4);
                  EXPECT_EQ(Check(d, IDC_REM_ALL_DAYS), BST_INDETERMINATE);
                  ::SendMessageA(d, WM_COMMAND, IDCANCEL, 0);
              }),
              IDCANCEL);
    EXPECT_EQ(t.settings.weekdays, 127);
    EXPECT_EQ(t.Dword("Teatime", "Weekdays"), 127u);

    // A schedule in force that the registry does not hold: a cancel leaves it so.
    t.settings.weekdays = 5;
    Run([&](HWND d) {
        Click(d, IDC_REM_MONDAY);
        Click(d, IDCANCEL);
    });
    EXPECT_EQ(t.settings.weekdays, 5);
}

TEST_F(ReminderDialogTest, AcceptStoresTheScheduleAndEachTimeKeepsItsDate)
{
    // Stored points at the ends of the 32-bit range and before 1970.
    t.settings.daily = 140400;
    t.settings.from = INT_MIN;
    t.settings.to = INT_MAX;
    t.store.saveTeatime();
    EXPECT_EQ(Run([&](HWND d) {
                  Click(d, IDC_REM_ALL_DAYS); // all days set: clears them
                  Pick(d, IDC_REM_DAILY_TIME, 7, 30, 15);
                  Click(d, IDC_REM_BETWEEN);
                  TypeHours(d, "5");
                  Click(d, IDC_REM_APPLY);
              }),
              IDOK);
    EXPECT_EQ(t.Dword("Teatime", "Weekdays"), 0u) << "no reminder on any day";
    EXPECT_EQ(t.Dword("Teatime", "Interval"), 1u);
    EXPECT_EQ(t.Dword("Teatime", "Hours"), 5u);
    EXPECT_EQ(static_cast<std::int32_t>(t.Dword("Teatime", "From")), INT_MIN) << "unchanged times stay exactly";
    EXPECT_EQ(static_cast<std::int32_t>(t.Dword("Teatime", "To")), INT_MAX);
    const SYSTEMTIME daily = Local(static_cast<std::int32_t>(t.Dword("Teatime", "Daily")));
    const SYSTEMTIME before = Local(140400);
    EXPECT_EQ(TimeOfDay(daily), 7 * 3600 + 30 * 60 + 15);
    EXPECT_EQ(daily.wYear, before.wYear);
    EXPECT_EQ(daily.wMonth, before.wMonth);
    EXPECT_EQ(daily.wDay, before.wDay) << "the date part is carried along";
    EXPECT_EQ(t.settings.daily, static_cast<std::int32_t>(t.Dword("Teatime", "Daily")));

    // Times that do not fit on the stored first or last day of the range land on the day next
    // to it, rather than being dropped.
    EXPECT_EQ(Run([&](HWND d) {
                  Pick(d, IDC_REM_FROM, 0, 0, 0);
                  Pick(d, IDC_REM_TO, 23, 59, 59);
                  ::SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
              }),
              IDOK);
    EXPECT_EQ(TimeOfDay(Local(t.settings.from)), 0);
    EXPECT_EQ(TimeOfDay(Local(t.settings.to)), 86399);
    EXPECT_LE(std::int64_t(t.settings.from), std::int64_t(INT_MIN) + 2 * 86400);
    EXPECT_GE(std::int64_t(t.settings.to), std::int64_t(INT_MAX) - 2 * 86400);
}

TEST_F(ReminderDialogTest, TheHoursFieldTakesOnlyOneToSixAndNeverLoops)
{
    for (std::int32_t stored : {2, 0, 9, INT_MIN, INT_MAX}) {
        t.settings.interval = 1;
        t.settings.hours = stored;
        const std::string shown = std::to_string(stored);
        Run([&](HWND d) {
            HWND edit = ::GetDlgItem(d, IDC_REM_HOURS);
            EXPECT_EQ(ItemText(d, IDC_REM_HOURS), shown) << "the stored value is shown as it is";
            for (const char *typed : {"0", "7", "", "12"}) {
                TypeHours(d, typed);
                EXPECT_EQ(ItemText(d, IDC_REM_HOURS), shown) << "typed " << typed;
            }
            TypeHours(d, "6");
            EXPECT_EQ(ItemText(d, IDC_REM_HOURS), "6");
            SendKey(edit, VK_UP);
            EXPECT_EQ(ItemText(d, IDC_REM_HOURS), "6") << "the arrows stop at 6";
            TypeHours(d, "2");
            SendKey(edit, VK_DOWN);
            EXPECT_EQ(ItemText(d, IDC_REM_HOURS), "1");
            SendKey(edit, VK_DOWN);
            EXPECT_EQ(ItemText(d, IDC_REM_HOURS), "1") << "and at 1";
            Click(d, IDC_REM_BETWEEN);
            EXPECT_EQ(ItemText(d, IDC_REM_HOURS), "1");
            ::SendMessageA(d, WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_EQ(t.settings.hours, stored) << "cancel leaves the running program as it was";
    }
}

TEST_F(ReminderDialogTest, AnyStoredValueOpensTheDialogAndUnchangedTimesStayExactly)
{
    // The last two are 02:30 in the hour that Central European clocks repeat in October.
    for (std::int32_t v : {INT_MIN, -1, 0, 1, 127, 128, INT_MAX, 1792888200, 1792891800}) {
        t.settings.interval = v;
        t.settings.weekdays = v;
        t.settings.hours = v;
        t.settings.daily = v;
        t.settings.from = v;
        t.settings.to = v;
        EXPECT_EQ(Run([&](HWND d) {
                      EXPECT_EQ(Check(d, IDC_REM_BETWEEN), v != 0 ? BST_CHECKED : BST_UNCHECKED);
                      EXPECT_EQ(TickedDays(d), v & 127);
                      Click(d, IDC_REM_DAILY);
                      EXPECT_EQ(TimeOfDay(Picked(d, IDC_REM_TO)), TimeOfDay(Local(v)));
                      Click(d, IDC_REM_APPLY);
                  }),
                  IDOK)
            << v;
        EXPECT_EQ(static_cast<std::int32_t>(t.Dword("Teatime", "Daily")), v);
        EXPECT_EQ(static_cast<std::int32_t>(t.Dword("Teatime", "From")), v);
        EXPECT_EQ(static_cast<std::int32_t>(t.Dword("Teatime", "To")), v);
    }
}

// Keys as the modal loop hands them to the dialog manager.
TEST_F(ReminderDialogTest, TheKeyboardReachesBothRadioButtons)
{
    Run([&](HWND d) {
        HWND between = ::GetDlgItem(d, IDC_REM_BETWEEN);
        ::SetFocus(::GetDlgItem(d, IDC_REM_DAILY));
        PressKey(d, VK_DOWN);
        EXPECT_EQ(Check(d, IDC_REM_BETWEEN), BST_CHECKED) << "an arrow key moves to the other rule";
        EXPECT_TRUE(IsItemEnabled(d, IDC_REM_FROM));
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(d, IDC_REM_FROM));

        ::SetFocus(between);
        PressKey(d, VK_UP);
        EXPECT_EQ(Check(d, IDC_REM_DAILY), BST_CHECKED);
        EXPECT_TRUE(IsItemEnabled(d, IDC_REM_DAILY_TIME));
        EXPECT_FALSE(IsItemEnabled(d, IDC_REM_FROM));
    });
}

} // namespace
