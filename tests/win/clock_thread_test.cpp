#include "app/clock_thread.h"
#include "core/wall_clock.h"
#include "framework/local_time.h"
#include "local_time_text.h"
#include "res/resource.h"
#include "test_dialog.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <string>
#include <vector>

namespace {

std::atomic<std::int64_t> fakeNow{0};
std::atomic<int> clockReads{0};
std::int64_t FakeClock()
{
    ++clockReads;
    return fakeNow.load();
}

// The status line items, as windows that count how often they are written.
int timeWrites = 0;
int dateWrites = 0;
LRESULT CALLBACK StatusItemProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT)
        ++(::GetDlgCtrlID(hwnd) == IDC_STATUS_TIME ? timeWrites : dateWrites);
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

const char *StatusItemClass()
{
    static const ATOM atom = [] {
        WNDCLASSA c{};
        c.lpfnWndProc = StatusItemProc;
        c.hInstance = ::GetModuleHandleA(nullptr);
        c.lpszClassName = "ClockTestStatusItem";
        return ::RegisterClassA(&c);
    }();
    return atom ? "ClockTestStatusItem" : "";
}

class ClockWindow : public TestDialog {
public:
    using TestDialog::TestDialog;
    int reminders = 0;

protected:
    bool ProcessMessage(Message &m) override
    {
        if (m.id == WM_REMINDER_DUE) {
            ++reminders;
            return true;
        }
        return TestDialog::ProcessMessage(m);
    }
};

// A local midnight (the automatic layout's moment), as a wall-clock reading.
std::int64_t LocalMidnight(WORD year, WORD month, WORD day)
{
    SYSTEMTIME s{};
    s.wYear = year;
    s.wMonth = month;
    s.wDay = day;
    std::int32_t t = 0;
    EXPECT_TRUE(ComposeLocalTime(s, t));
    return t;
}

struct Clock {
    ClockWindow &window;
    Settings settings;
    Event stop{false, false};
    Announcement reminder;
    WorkerThread worker;
    bool countdownRunning = false;
    int runningAsked = 0;
    int newLayouts = 0;
    std::vector<DWORD> callbackThreads;

    explicit Clock(ClockWindow &w) : window(w)
    {
        for (int id : {IDC_STATUS_DATE, IDC_STATUS_TIME})
            ::CreateWindowA(StatusItemClass(), "", WS_CHILD, 0, 0, 10, 10, window.Hwnd(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        timeWrites = dateWrites = 0;
    }

    void Start()
    {
        ClockRun run{window.Hwnd(), &stop, &reminder, &settings,
                     [this] {
                         ++runningAsked;
                         callbackThreads.push_back(::GetCurrentThreadId());
                         return countdownRunning;
                     },
                     [this] {
                         ++newLayouts;
                         callbackThreads.push_back(::GetCurrentThreadId());
                     }};
        const int readsBefore = clockReads;
        ASSERT_TRUE(worker.Start([run] { ClockThread(run); }));
        // The clock may only move once the worker has taken its first stamp.
        ASSERT_TRUE(PumpUntil([&] { return clockReads > readsBefore; }));
    }

    // Moves the clock and waits until the worker has handled the new second.
    void Advance(std::int64_t seconds)
    {
        const int before = timeWrites;
        fakeNow += seconds;
        ASSERT_TRUE(PumpUntil([&] { return timeWrites > before; }, 2000)) << "the clock worker has stopped";
    }
    std::string Item(int id) const { return window.GetItemText(id); }
};

class ClockThreadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fakeNow = 1800000000; // a Friday, 2027-01-15 08:00 UTC
        wallClock = &FakeClock;
    }
    void TearDown() override { wallClock = &SystemWallClock; }

    void WithClock(const std::function<void(Clock &)> &body)
    {
        ClockWindow window([&](TestDialog &d) {
            Clock clock(static_cast<ClockWindow &>(d));
            body(clock);
            clock.stop.Set();
            EXPECT_TRUE(clock.worker.WaitPumpingSent(1000));
            d.EndDialog(IDOK);
        });
        ASSERT_EQ(window.Run(), IDOK);
    }
};

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

TEST_F(ClockThreadTest, StatusLineIsEmptyUntilTheFirstSecondThenShowsEachSecondOnce)
{
    WithClock([](Clock &c) {
        c.Start();
        PumpFor(450);
        EXPECT_EQ(c.Item(IDC_STATUS_TIME), "");
        EXPECT_EQ(c.Item(IDC_STATUS_DATE), "");

        c.Advance(1);
        EXPECT_EQ(c.Item(IDC_STATUS_TIME), LocalText(fakeNow, false));
        EXPECT_EQ(c.Item(IDC_STATUS_DATE), LocalText(fakeNow, true));
        PumpFor(450);
        EXPECT_EQ(timeWrites, 1) << "a second is handled once, however often the worker polls";

        // After a long sleep the time jumps; the seconds in between are not caught up.
        c.Advance(5 * 3600 + 7);
        PumpFor(450);
        EXPECT_EQ(timeWrites, 2);
        EXPECT_EQ(c.Item(IDC_STATUS_TIME), LocalText(fakeNow, false));
        EXPECT_EQ(dateWrites, 1) << "the date is written when it changes";

        c.Advance(86400);
        EXPECT_EQ(c.Item(IDC_STATUS_DATE), LocalText(fakeNow, true));

        // A clock set back shows its time at once.
        c.Advance(-600);
        EXPECT_EQ(c.Item(IDC_STATUS_TIME), LocalText(fakeNow, false));
    });
}

TEST_F(ClockThreadTest, TheReminderIsPostedOnceAtItsSecondAndCaughtUpOnlyAfterAShortGap)
{
    WithClock([](Clock &c) {
        c.settings.daily = static_cast<std::int32_t>(fakeNow + 2);
        c.Start();
        c.Advance(1);
        c.Advance(1);
        ASSERT_TRUE(PumpUntil([&] { return c.window.reminders == 1; }));
        PumpFor(450);
        c.Advance(1);
        EXPECT_EQ(c.window.reminders, 1) << "one reminder, not one per poll";

        // A worker starved for a few seconds catches up their reminder; after a longer gap (the
        // clock put forward, the machine asleep) the reminder would be stale.
        c.settings.daily = static_cast<std::int32_t>(fakeNow + 2);
        c.Advance(3);
        ASSERT_TRUE(PumpUntil([&] { return c.window.reminders == 2; })) << "caught up within a short gap";
        c.settings.daily = static_cast<std::int32_t>(fakeNow + 2);
        c.Advance(reminder::kCatchUpSeconds + 1);
        PumpFor(250);
        EXPECT_EQ(c.window.reminders, 2) << "skipped after a long gap";

        // Settings changed meanwhile count from the next second.
        c.settings.daily = static_cast<std::int32_t>(fakeNow + 1);
        c.settings.weekdays = 0;
        c.Advance(1);
        c.settings.daily = static_cast<std::int32_t>(fakeNow + 1);
        c.settings.weekdays = 127;
        c.settings.remind = 0;
        c.Advance(1);
        PumpFor(250);
        EXPECT_EQ(c.window.reminders, 2);
        EXPECT_EQ(c.runningAsked, 2) << "the countdown is asked about only when a reminder falls due";
    });
}

TEST_F(ClockThreadTest, ASuspendedReminderAsksTheUiThreadWhetherACountdownRuns)
{
    WithClock([](Clock &c) {
        c.Start();
        struct Case {
            std::int32_t suspend;
            bool running;
            int reminders;
        };
        int expected = 0;
        for (const Case &k : {Case{1, true, 0}, Case{0, true, 1}, Case{1, false, 1}}) {
            c.settings.suspend = k.suspend;
            c.countdownRunning = k.running;
            c.settings.daily = static_cast<std::int32_t>(fakeNow + 1);
            c.Advance(1);
            expected += k.reminders;
            PumpFor(100);
            EXPECT_EQ(c.window.reminders, expected) << "suspend " << k.suspend << " running " << k.running;
        }
        EXPECT_EQ(c.runningAsked, 2);
        for (DWORD thread : c.callbackThreads)
            EXPECT_EQ(thread, ::GetCurrentThreadId());
    });
}

TEST_F(ClockThreadTest, TheAutomaticLayoutChangesAtLocalMidnightOnTheUiThread)
{
    WithClock([](Clock &c) {
        fakeNow = LocalMidnight(2027, 3, 1) - 1;
        c.Start();
        c.Advance(1);
        EXPECT_EQ(c.newLayouts, 1);
        c.Advance(1);
        EXPECT_EQ(c.newLayouts, 1);

        c.settings.layout = Summer;
        c.Advance(LocalMidnight(2027, 3, 2) - fakeNow);
        EXPECT_EQ(c.newLayouts, 1) << "a chosen layout stays";
        ASSERT_EQ(c.callbackThreads.size(), 1u);
        EXPECT_EQ(c.callbackThreads[0], ::GetCurrentThreadId());
    });
}

TEST_F(ClockThreadTest, StoredValuesOfAnySizeNeitherStopNorStallTheWorker)
{
    WithClock([](Clock &c) {
        c.Start();
        for (std::int32_t interval : {0, 1}) {
            for (std::int32_t v : {INT_MIN, -1, 0, 7, INT_MAX}) {
                c.settings.interval = interval;
                c.settings.weekdays = v;
                c.settings.hours = v;
                c.settings.daily = v;
                c.settings.from = v;
                c.settings.to = v;
                c.Advance(1);
            }
        }
        // A wall clock far beyond 2038 still shows.
        c.Advance(std::int64_t(1) << 33);
        EXPECT_EQ(c.Item(IDC_STATUS_TIME), LocalText(fakeNow, false));
    });
}

TEST(LocalBreakdown, ReadingsAfter2038BreakDownAndThoseBeyondTheCalendarAreRefused)
{
    const struct {
        std::int64_t reading;
        int year; // 0: refused
    } cases[] = {
        {std::int64_t(INT32_MAX) - 1, 2038}, {INT32_MAX, 2038}, {std::int64_t(INT32_MAX) + 1, 2038},
        {std::int64_t(UINT32_MAX) + 1, 2106}, {std::int64_t(4102444800LL) + 43200, 2100},
        {std::int64_t(1) << 40, 0}, {INT64_MAX, 0}, {INT64_MIN, 0}, {-(std::int64_t(1) << 40), 0},
    };
    for (const auto &c : cases) {
        reminder::LocalTime local{};
        EXPECT_EQ(BreakDownLocal(c.reading, local), c.year != 0) << c.reading;
        if (c.year != 0) {
            EXPECT_EQ(local.year + 1900, c.year) << c.reading;
        }
    }
}

} // namespace
