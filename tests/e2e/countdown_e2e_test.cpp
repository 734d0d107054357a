#include "tests/support/running_program.h"

#include <gtest/gtest.h>

namespace registry = brewbell_registry;

namespace {

class CountdownTest : public RunningProgramTest {
protected:
    void SetUp() override
    {
        RunningProgramTest::SetUp();
        StartProgram();
    }
    DWORD Stored(const char *name) const
    {
        DWORD value = 0xDEAD;
        registry::ReadDword("Time", name, value);
        return value;
    }
};

TEST_F(CountdownTest, ThreeSecondsRunDownThenTheTeaIsReadyAndTheTimeComesBack)
{
    for (int i = 0; i < 3; ++i)
        PostClick(window, IDC_BUTTON_SEC);
    ASSERT_TRUE(WaitForTitle(window, "Brewbell - 00:03"));

    PostClick(window, IDC_BUTTON_START);
    ASSERT_TRUE(WaitUntil([&] { return StartCaption() == "&Stop"; }));
    EXPECT_FALSE(IsItemEnabled(window, IDC_BUTTON_MIN));
    EXPECT_FALSE(IsItemEnabled(window, IDC_BUTTON_SEC));
    EXPECT_FALSE(IsItemEnabled(window, IDC_BUTTON_RESET));
    EXPECT_TRUE(WaitUntil([&] { return Stored("LastSec") == 3u; })) << "Start saves the time it started with";
    EXPECT_TRUE(WaitForTitle(window, "Brewbell - 00:02", 3000));
    EXPECT_TRUE(WaitForTitle(window, "Brewbell - 00:01", 3000));

    HWND box = program->WaitForMessageBox(5000);
    ASSERT_NE(box, nullptr) << "no finish message";
    EXPECT_EQ(MessageBoxText(box), "Ihr Tee ist jetzt fertig!");
    EXPECT_EQ(Text(box), "Brewbell");
    EXPECT_EQ(StartCaption(), "&Start") << "the run is over before the box is closed";
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
    EXPECT_EQ(Text(window), "Brewbell - 00:03");
    EXPECT_TRUE(IsItemEnabled(window, IDC_BUTTON_MIN));
    EXPECT_EQ(program->FindMessageBox(), nullptr) << "the finish comes once";
}

TEST_F(CountdownTest, StartAtZeroCountsUpAndStopKeepsTheReading)
{
    PostClick(window, IDC_BUTTON_START);
    ASSERT_TRUE(WaitForTitle(window, "Brewbell - 00:01", 3000)) << Text(window);
    // Another program posts and sends the number of the window's private hand-over, and posts a
    // control's notification, with values that point nowhere, and the finish's and the reminder's
    // numbers: the program runs on, shows no box, and its worker still hands the seconds over.
    for (LPARAM nowhere : {LPARAM(0x10), LPARAM(-1)}) {
        ::PostMessageA(window, WM_APP + 0x100, 0, nowhere);
        ::PostMessageA(window, WM_NOTIFY, IDC_BUTTON_START, nowhere);
        ::PostMessageA(window, WM_COUNTDOWN_FINISHED, 0, 0);
        ::PostMessageA(window, WM_REMINDER_DUE, 0, 0);
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutA(window, WM_APP + 0x100, static_cast<WPARAM>(nowhere), nowhere, SMTO_NORMAL, 2000,
                              &answer);
    }
    ASSERT_TRUE(WaitForTitle(window, "Brewbell - 00:02", 3000));
    EXPECT_EQ(program->FindMessageBox(), nullptr);
    PostClick(window, IDC_BUTTON_START);
    ASSERT_TRUE(WaitUntil([&] { return StartCaption() == "&Start"; }));
    const std::string kept = Text(window);
    EXPECT_TRUE(kept == "Brewbell - 00:02" || kept == "Brewbell - 00:03") << kept;
    // At exit a stopwatch reading does not become the next set time.
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program->HasExited(5000));
    EXPECT_EQ(program->ExitCode(), 0u);
    EXPECT_EQ(Stored("Min"), 0u);
    EXPECT_EQ(Stored("Sec"), 0u);
}

// By keyboard: Enter presses Start, and with the time buttons disabled the focus is on Stop.
TEST_F(CountdownTest, StopKeepsTheTimeLeftAndResetTwiceGivesTheLastStartThenZero)
{
    PostClick(window, IDC_BUTTON_MIN);
    PostClick(window, IDC_BUTTON_SEC);
    ASSERT_TRUE(WaitForTitle(window, "Brewbell - 01:01"));
    ::SetForegroundWindow(window);
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == window; }));
    PressRealKey(VK_RETURN);
    ASSERT_TRUE(WaitForTitle(window, "Brewbell - 01:00", 3000));
    PressRealKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return StartCaption() == "&Start"; })) << "the second Enter stops the tea";
    const std::string left = Text(window);
    EXPECT_TRUE(left == "Brewbell - 01:00" || left == "Brewbell - 00:59") << left;
    ::Sleep(1200); // a stopped run must not tick on
    EXPECT_EQ(Text(window), left);

    PostClick(window, IDC_BUTTON_RESET);
    ASSERT_TRUE(WaitForTitle(window, "Brewbell - 01:01"));
    PostClick(window, IDC_BUTTON_RESET);
    ASSERT_TRUE(WaitForTitle(window, "Brewbell - 00:00"));
    EXPECT_EQ(Stored("Min"), 0u) << "Reset saves";
    EXPECT_EQ(Stored("LastMin"), 1u);
}

TEST_F(CountdownTest, EndingDuringACountdownKeepsTheTimeLeftForTheNextStart)
{
    PostClick(window, IDC_BUTTON_MIN);
    ASSERT_TRUE(WaitForTitle(window, "Brewbell - 01:00"));
    PostClick(window, IDC_BUTTON_START);
    ASSERT_TRUE(WaitForTitle(window, "Brewbell - 00:59", 3000));
    const DWORD closing = ::GetTickCount();
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program->HasExited(2000)) << "both workers stop within 2 s";
    EXPECT_LT(::GetTickCount() - closing, 2000u);
    const DWORD left = Stored("Sec");
    EXPECT_TRUE(left == 59 || left == 58) << left;
    EXPECT_EQ(Stored("LastMin"), 1u);

    StartProgram();
    EXPECT_EQ(Text(window), left == 59 ? "Brewbell - 00:59" : "Brewbell - 00:58");
    CloseProgram(5000);
}

TEST_F(CountdownTest, PresetFromTheMenuSetsItsTimeAndLeavesTheLastStart)
{
    // Presets are read at start-up: restart with one stored.
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program->HasExited(5000));
    registry::WriteString("Teas", "Desc3", "Assam");
    registry::WriteString("Teas", "Min3", "4");
    registry::WriteString("Teas", "Sec3", "30");
    registry::WriteDword("Time", "LastMin", 2);
    StartProgram();
    HWND w = window;

    ::SetForegroundWindow(w);
    PostCommand(w, ID_PRESET_FIRST + 3);
    ASSERT_TRUE(WaitForTitle(w, "Brewbell - 04:30")) << Text(w);
    DWORD min = 0, lastMin = 0;
    EXPECT_TRUE(WaitUntil([&] { return registry::ReadDword("Time", "Min", min) && min == 4u; }, 5000))
        << "a preset saves the time";
    ASSERT_TRUE(registry::ReadDword("Time", "LastMin", lastMin));
    EXPECT_EQ(lastMin, 2u) << "and leaves the last start alone";
    CloseProgram(5000);
}

} // namespace
