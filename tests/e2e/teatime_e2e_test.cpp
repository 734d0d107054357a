// Tea time as the user meets it: the status line, the reminder box, the reminder dialog, the
// messages dialog.
#include "tests/support/running_program.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>

namespace registry = brewbell_registry;

namespace {


std::int32_t SecondsFromNow(int seconds) { return static_cast<std::int32_t>(std::time(nullptr)) + seconds; }

std::string Today()
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char text[16];
    std::snprintf(text, sizeof text, "%02u.%02u.%04u", now.wDay, now.wMonth, now.wYear);
    return text;
}

int TodaysDayBox()
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return IDC_REM_MONDAY + (now.wDayOfWeek + 6) % 7; // the boxes run Monday to Sunday
}

// A daily reminder a few seconds ahead, on every day; returns its time.
std::int32_t StoreDailyReminderIn(int seconds)
{
    const std::int32_t due = SecondsFromNow(seconds);
    registry::WriteDword("Teatime", "Interval", 0);
    registry::WriteDword("Teatime", "Weekdays", 127);
    registry::WriteDword("Teatime", "Daily", static_cast<DWORD>(due));
    return due;
}

// Milliseconds since 1970.
std::int64_t NowMs()
{
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    const std::int64_t ticks = (static_cast<std::int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return ticks / 10000 - 11644473600000LL;
}

bool IsChecked(HWND dialog, int id)
{
    return ::SendMessageA(::GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

class TeatimeTest : public RunningProgramTest {
protected:

    // Opens a dialog from the menu bar and finds it by its title.
    HWND OpenDialog(UINT command, const char *title)
    {
        PostCommand(window, command);
        HWND found = nullptr;
        WaitUntil([&] {
            for (HWND w : program->TopLevelWindows())
                if (::IsWindowVisible(w) && Text(w) == title)
                    found = w;
            return found != nullptr;
        });
        return found;
    }
    void CloseWith(HWND dialog, int button)
    {
        PostClick(dialog, button);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }));
    }
    void Answer(HWND box, int button)
    {
        ::PostMessageA(box, WM_COMMAND, button, 0);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
    }
    // The tea-time box, or null when none comes within the time.
    HWND ReminderBox(DWORD timeoutMs)
    {
        HWND box = program->WaitForMessageBox(timeoutMs);
        if (box) {
            EXPECT_EQ(MessageBoxText(box), "Wie wäre es mit einer Tasse Tee?");
        }
        return box;
    }
    bool NoBoxFor(DWORD ms) const { return program->WaitForMessageBox(ms) == nullptr; }
    // A one-second countdown to its finish box.
    HWND FinishBoxOfOneSecond()
    {
        PostClick(window, IDC_BUTTON_SEC);
        EXPECT_TRUE(WaitForTitle(window, "Brewbell - 00:01"));
        PostClick(window, IDC_BUTTON_START);
        return program->WaitForMessageBox(5000);
    }
};

TEST_F(TeatimeTest, TheStatusLineShowsTodayAndTheTimeMovesOn)
{
    StartProgram();
    ASSERT_TRUE(WaitUntil([&] { return !Text(::GetDlgItem(window, IDC_STATUS_TIME)).empty(); }, 3000));
    EXPECT_EQ(Text(::GetDlgItem(window, IDC_STATUS_DATE)), Today());
    const std::string first = Text(::GetDlgItem(window, IDC_STATUS_TIME));
    int h = -1, m = -1, s = -1;
    ASSERT_EQ(std::sscanf(first.c_str(), "%2d:%2d:%2d", &h, &m, &s), 3) << first;
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const int shown = h * 3600 + m * 60 + s, actual = now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
    EXPECT_LE((actual - shown + 86400) % 86400, 2) << first;
    EXPECT_TRUE(WaitUntil([&] { return Text(::GetDlgItem(window, IDC_STATUS_TIME)) != first; }, 2500));
}

TEST_F(TeatimeTest, ADailyReminderWhileIdleAsksOnceAndYesStartsTheCountdown)
{
    // A reminder sound that is no WAV file plays the default sound or nothing; the box comes.
    registry::WriteString("User", "RemindSound", "C:\\windows\\win.ini");
    const std::int32_t due = StoreDailyReminderIn(6);
    StartProgram();
    HWND box = ReminderBox(10000);
    ASSERT_NE(box, nullptr);
    const std::int64_t late = NowMs() - std::int64_t(due) * 1000;
    std::printf("reminder box %lld ms after its second began\n", static_cast<long long>(late));
    EXPECT_GE(late, 0);
    EXPECT_LT(late, 1500) << "the box follows its second at once";
    EXPECT_NE(::GetDlgItem(box, IDYES), nullptr);
    EXPECT_NE(::GetDlgItem(box, IDNO), nullptr);
    Answer(box, IDYES);
    EXPECT_TRUE(WaitUntil([&] { return StartCaption() == "&Stop"; }));
    EXPECT_TRUE(NoBoxFor(2000)) << "the reminder comes once";
}

TEST_F(TeatimeTest, WhileACountdownRunsTheReminderIsOkOnlyOrSuspended)
{
    registry::WriteDword("Menu", "Suspend", 0);
    StoreDailyReminderIn(6);
    StartProgram();
    PostClick(window, IDC_BUTTON_START); // a stopwatch run from 00:00
    ASSERT_TRUE(WaitUntil([&] { return StartCaption() == "&Stop"; }));
    HWND box = ReminderBox(10000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(::GetDlgItem(box, IDYES), nullptr) << "no question while a countdown runs";
    Answer(box, IDOK);
    EXPECT_EQ(StartCaption(), "&Stop") << "the countdown runs on";

    // With "Nicht erinnern, falls Timer läuft" on, nothing comes.
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program->HasExited(5000));
    registry::WriteDword("Menu", "Suspend", 1);
    StoreDailyReminderIn(5);
    StartProgram();
    PostClick(window, IDC_BUTTON_START);
    ASSERT_TRUE(WaitUntil([&] { return StartCaption() == "&Stop"; }));
    EXPECT_TRUE(NoBoxFor(7000));
}

TEST_F(TeatimeTest, ADayClearedInTheDialogStopsTheReminderAndCancelKeepsTheStoredDays)
{
    StoreDailyReminderIn(8);
    StartProgram();
    HWND dialog = OpenDialog(ID_REMINDER, "An Teezeit erinnern");
    ASSERT_NE(dialog, nullptr);
    const int today = TodaysDayBox();
    EXPECT_TRUE(IsChecked(dialog, today));
    PostClick(dialog, today);
    ASSERT_TRUE(WaitUntil([&] { return !IsChecked(dialog, today); }));
    CloseWith(dialog, IDCANCEL);
    HWND box = ReminderBox(10000);
    ASSERT_NE(box, nullptr) << "cancel brought today back";
    Answer(box, IDNO);
    EXPECT_EQ(StartCaption(), "&Start");

    ::PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program->HasExited(5000));
    StoreDailyReminderIn(7);
    StartProgram();
    dialog = OpenDialog(ID_REMINDER, "An Teezeit erinnern");
    ASSERT_NE(dialog, nullptr);
    PostClick(dialog, today);
    ASSERT_TRUE(WaitUntil([&] { return !IsChecked(dialog, today); }));
    CloseWith(dialog, IDC_REM_APPLY);
    DWORD weekdays = 0;
    ASSERT_TRUE(registry::ReadDword("Teatime", "Weekdays", weekdays));
    EXPECT_EQ(weekdays, 127u & ~(1u << (today - IDC_REM_MONDAY)));
    EXPECT_TRUE(NoBoxFor(8000)) << "no reminder on a day cleared";
}

TEST_F(TeatimeTest, AChangedMessageIsTheNextFinishBoxAndClearedTheDefaultComesBack)
{
    registry::WriteString("User", "AlarmSound", "C:\\nirgends\\gong.wav"); // a missing file
    StartProgram();
    HWND dialog = OpenDialog(ID_MESSAGES, "Benutzerdefinierte Angaben");
    ASSERT_NE(dialog, nullptr);
    ::SendMessageA(::GetDlgItem(dialog, IDC_ALARM_MESSAGE), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>("  Der Tee hat lange genug gezogen  "));
    CloseWith(dialog, IDOK);
    HWND box = FinishBoxOfOneSecond();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Der Tee hat lange genug gezogen");
    Answer(box, IDOK);

    dialog = OpenDialog(ID_MESSAGES, "Benutzerdefinierte Angaben");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ItemText(dialog, IDC_ALARM_MESSAGE), "Der Tee hat lange genug gezogen");
    ::SendMessageA(::GetDlgItem(dialog, IDC_ALARM_MESSAGE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    CloseWith(dialog, IDOK);
    box = FinishBoxOfOneSecond();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Ihr Tee ist jetzt fertig!");
    Answer(box, IDOK);
}

} // namespace
