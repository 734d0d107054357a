#include "automation.h"

#include <gtest/gtest.h>

namespace registry = brewbell_registry;

namespace {

constexpr int kMin = 1005, kSec = 1006, kStart = 1007, kReset = 1013;

class CountdownTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        registry::Clear();
        ASSERT_TRUE(program.Start());
        window = program.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override
    {
        if (::IsWindow(window))
            ::PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(program.HasExited(10000));
        registry::Clear();
    }
    std::string StartCaption() const { return WindowText(::GetDlgItem(window, kStart)); }
    DWORD Stored(const char *name) const
    {
        DWORD value = 0xDEAD;
        registry::ReadDword("Time", name, value);
        return value;
    }

    Program program;
    HWND window = nullptr;
};

TEST_F(CountdownTest, ThreeSecondsRunDownThenTheTeaIsReadyAndTheTimeComesBack)
{
    for (int i = 0; i < 3; ++i)
        Click(window, kSec);
    ASSERT_TRUE(WaitForTitle(window, "Brewbell - 00:03"));

    Click(window, kStart);
    ASSERT_TRUE(WaitUntil([&] { return StartCaption() == "&Stop"; }));
    EXPECT_FALSE(IsItemEnabled(window, kMin));
    EXPECT_FALSE(IsItemEnabled(window, kSec));
    EXPECT_FALSE(IsItemEnabled(window, kReset));
    EXPECT_TRUE(WaitUntil([&] { return Stored("LastSec") == 3u; })) << "Start saves the time it started with";
    EXPECT_TRUE(WaitForTitle(window, "Brewbell - 00:02", 3000));
    EXPECT_TRUE(WaitForTitle(window, "Brewbell - 00:01", 3000));

    HWND box = program.WaitForMessageBox(5000);
    ASSERT_NE(box, nullptr) << "no finish message";
    EXPECT_EQ(MessageBoxText(box), "Ihr Tee ist jetzt fertig!");
    EXPECT_EQ(WindowText(box), "Brewbell");
    EXPECT_EQ(StartCaption(), "&Start") << "the run is over before the box is closed";
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
    EXPECT_EQ(WindowText(window), "Brewbell - 00:03");
    EXPECT_TRUE(IsItemEnabled(window, kMin));
    EXPECT_EQ(program.FindMessageBox(), nullptr) << "the finish comes once";
}

TEST_F(CountdownTest, StartAtZeroCountsUpAndStopKeepsTheReading)
{
    Click(window, kStart);
    ASSERT_TRUE(WaitForTitle(window, "Brewbell - 00:01", 3000)) << WindowText(window);
    ASSERT_TRUE(WaitForTitle(window, "Brewbell - 00:02", 3000));
    Click(window, kStart);
    ASSERT_TRUE(WaitUntil([&] { return StartCaption() == "&Start"; }));
    const std::string kept = WindowText(window);
    EXPECT_TRUE(kept == "Brewbell - 00:02" || kept == "Brewbell - 00:03") << kept;
    // At exit a stopwatch reading does not become the next set time.
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.HasExited(5000));
    EXPECT_EQ(Stored("Min"), 0u);
    EXPECT_EQ(Stored("Sec"), 0u);
}

TEST_F(CountdownTest, StopKeepsTheTimeLeftAndResetTwiceGivesTheLastStartThenZero)
{
    Click(window, kMin);
    Click(window, kSec);
    ASSERT_TRUE(WaitForTitle(window, "Brewbell - 01:01"));
    Click(window, kStart);
    ASSERT_TRUE(WaitForTitle(window, "Brewbell - 01:00", 3000));
    Click(window, kStart);
    ASSERT_TRUE(WaitUntil([&] { return StartCaption() == "&Start"; }));
    const std::string left = WindowText(window);
    EXPECT_TRUE(left == "Brewbell - 01:00" || left == "Brewbell - 00:59") << left;
    ::Sleep(1200); // a stopped run must not tick on
    EXPECT_EQ(WindowText(window), left);

    Click(window, kReset);
    ASSERT_TRUE(WaitForTitle(window, "Brewbell - 01:01"));
    Click(window, kReset);
    ASSERT_TRUE(WaitForTitle(window, "Brewbell - 00:00"));
    EXPECT_EQ(Stored("Min"), 0u) << "Reset saves";
    EXPECT_EQ(Stored("LastMin"), 1u);
}

TEST_F(CountdownTest, EndingDuringACountdownKeepsTheTimeLeftForTheNextStart)
{
    Click(window, kMin);
    ASSERT_TRUE(WaitForTitle(window, "Brewbell - 01:00"));
    Click(window, kStart);
    ASSERT_TRUE(WaitForTitle(window, "Brewbell - 00:59", 3000));
    const DWORD closing = ::GetTickCount();
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.HasExited(2000)) << "both workers stop within 2 s";
    EXPECT_LT(::GetTickCount() - closing, 2000u);
    const DWORD left = Stored("Sec");
    EXPECT_TRUE(left == 59 || left == 58) << left;
    EXPECT_EQ(Stored("LastMin"), 1u);

    Program next;
    ASSERT_TRUE(next.Start());
    HWND again = next.WaitForMainWindow();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(WindowText(again), left == 59 ? "Brewbell - 00:59" : "Brewbell - 00:58");
    ::PostMessageA(again, WM_CLOSE, 0, 0);
    EXPECT_TRUE(next.HasExited(5000));
}

TEST_F(CountdownTest, PresetFromTheMenuSetsItsTimeAndLeavesTheLastStart)
{
    // Presets are read at start-up: restart with one stored.
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.HasExited(5000));
    registry::WriteString("Teas", "Desc3", "Assam");
    registry::WriteString("Teas", "Min3", "4");
    registry::WriteString("Teas", "Sec3", "30");
    registry::WriteDword("Time", "LastMin", 2);
    Program withPreset;
    ASSERT_TRUE(withPreset.Start());
    HWND w = withPreset.WaitForMainWindow();
    ASSERT_NE(w, nullptr);

    ::SetForegroundWindow(w);
    Command(w, 40003);
    ASSERT_TRUE(WaitForTitle(w, "Brewbell - 04:30")) << WindowText(w);
    DWORD min = 0, lastMin = 0;
    ASSERT_TRUE(registry::ReadDword("Time", "Min", min));
    ASSERT_TRUE(registry::ReadDword("Time", "LastMin", lastMin));
    EXPECT_EQ(min, 4u) << "a preset saves the time";
    EXPECT_EQ(lastMin, 2u) << "and leaves the last start alone";
    ::PostMessageA(w, WM_CLOSE, 0, 0);
    EXPECT_TRUE(withPreset.HasExited(5000));
}

} // namespace
