#include "app/countdown_thread.h"
#include "app/elapsed_clock.h"
#include "core/elapsed_clock.h"
#include "core/wall_clock.h"
#include "res/resource.h"
#include "test_dialog.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace {

// The wall clock, which the worker must not follow, and the elapsed clock (milliseconds) it runs
// on, started at a fraction of a second.
std::atomic<std::int64_t> fakeNow{0};
std::int64_t FakeWallClock() { return fakeNow.load(); }
std::atomic<std::int64_t> fakeElapsed{0};
std::atomic<int> clockReads{0};
std::int64_t FakeElapsedClock()
{
    ++clockReads;
    return fakeElapsed.load();
}

// A window that records the ticks a countdown hands over and the finish it posts.
class CountdownWindow : public TestDialog {
public:
    using TestDialog::TestDialog;
    std::vector<countdown::Counter> ticks;
    std::vector<DWORD> tickThreads;
    int finishes = 0;
    bool accepting = true;

protected:
    bool ProcessMessage(Message &m) override
    {
        if (m.id == WM_COUNTDOWN_FINISHED) {
            ++finishes;
            return true;
        }
        return TestDialog::ProcessMessage(m);
    }
};

struct Fixture {
    explicit Fixture(CountdownWindow *w) : window(w) {}
    CountdownWindow *window;
    Event stop{false, false};
    Announcement finish;
    WorkerThread worker;

    void Start(countdown::Counter counter)
    {
        CountdownRun run{window->Hwnd(), &stop, &finish, counter, [this](const countdown::Counter &c, bool) {
                             if (!window->accepting)
                                 return false;
                             window->ticks.push_back(c);
                             window->tickThreads.push_back(::GetCurrentThreadId());
                             return true;
                         }};
        const int readsBefore = clockReads;
        ASSERT_TRUE(worker.Start([run] { CountdownThread(run); }));
        // The clock may only move once the worker has taken its first stamp.
        ASSERT_TRUE(PumpUntil([&] { return clockReads > readsBefore; }));
    }
    size_t Ticks() const { return window->ticks.size(); }
};

class CountdownThreadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fakeNow = 2000000000;
        fakeElapsed = 86400700;
        wallClock = &FakeWallClock;
        elapsedClock = &FakeElapsedClock;
    }
    void TearDown() override
    {
        wallClock = &SystemWallClock;
        elapsedClock = &SystemElapsedClock;
    }

    // Runs the body inside a window's message loop on this thread.
    void WithWindow(const std::function<void(Fixture &)> &body)
    {
        CountdownWindow window([&](TestDialog &d) {
            Fixture fixture(static_cast<CountdownWindow *>(&d));
            body(fixture);
            fixture.stop.Set();
            EXPECT_TRUE(fixture.worker.WaitPumpingSent(2000));
            d.EndDialog(IDOK);
        });
        ASSERT_EQ(window.Run(), IDOK);
    }
};

TEST_F(CountdownThreadTest, TicksComeAtWholeSecondsSinceStartOnTheUiThreadAndTheFinishComesOnce)
{
    WithWindow([](Fixture &f) {
        f.Start({-1, 0, 0, 3});
        fakeElapsed += 999;
        PumpUntil([] { return false; }, 350);
        EXPECT_EQ(f.Ticks(), 0u) << "no tick before a whole second since Start";

        fakeElapsed += 1;
        ASSERT_TRUE(PumpUntil([&] { return f.Ticks() == 1; }));
        for (int second = 2; second <= 3; ++second) {
            fakeElapsed += 1000;
            ASSERT_TRUE(PumpUntil([&] { return f.Ticks() == static_cast<size_t>(second); }));
        }
        EXPECT_EQ(f.window->ticks[0].seconds, 2);
        EXPECT_EQ(f.window->ticks[2].seconds, 0);
        EXPECT_EQ(f.window->tickThreads[0], ::GetCurrentThreadId()) << "ticks are shown on the UI thread";

        ASSERT_TRUE(PumpUntil([&] { return f.window->finishes > 0; }));
        EXPECT_TRUE(f.worker.Wait(1000)) << "the worker ends after the finish";
        PumpUntil([] { return false; }, 300);
        EXPECT_EQ(f.window->finishes, 1);
        EXPECT_EQ(f.Ticks(), 3u);
    });
}

TEST_F(CountdownThreadTest, AClockSetForwardNeitherTicksNorEndsTheTeaButASleepPastItsEndEndsItAtOnce)
{
    WithWindow([](Fixture &f) {
        f.Start({-1, 0, 3, 0});
        fakeNow += 3600;
        PumpUntil([] { return false; }, 350);
        EXPECT_EQ(f.window->finishes, 0) << "setting the clock is no time passing";
        EXPECT_EQ(f.Ticks(), 0u);

        fakeElapsed += 3600 * 1000;
        const DWORD woken = ::GetTickCount();
        ASSERT_TRUE(PumpUntil([&] { return f.window->finishes == 1; }));
        EXPECT_LE(::GetTickCount() - woken, 500u) << "two polls and the hand-over";
        EXPECT_EQ(f.Ticks(), 1u) << "one tick, whatever the number of seconds passed";
        EXPECT_EQ(f.window->ticks[0].minutes, 2);
        EXPECT_EQ(f.window->ticks[0].seconds, 59);
    });
}

TEST_F(CountdownThreadTest, ClockSetBackKeepsTheTimeLeftInsteadOfAddingTheHour)
{
    WithWindow([](Fixture &f) {
        f.Start({-1, 0, 0, 3});
        fakeElapsed += 1000;
        ASSERT_TRUE(PumpUntil([&] { return f.Ticks() == 1; }));
        fakeNow -= 3600;
        PumpUntil([] { return false; }, 350);
        EXPECT_EQ(f.Ticks(), 1u) << "setting the clock is no second passing";
        EXPECT_EQ(f.window->finishes, 0);
        for (size_t second = 2; second <= 3; ++second) {
            fakeElapsed += 1000;
            ASSERT_TRUE(PumpUntil([&] { return f.Ticks() == second; }));
        }
        ASSERT_TRUE(PumpUntil([&] { return f.window->finishes == 1; })) << "two seconds after the set-back";
        EXPECT_EQ(f.window->ticks.back().seconds, 0);
    });
}

TEST_F(CountdownThreadTest, CountingUpNeverFinishesAndStopEndsTheWorkerWithoutWrites)
{
    WithWindow([](Fixture &f) {
        f.Start({+1, 0, 59, 58});
        fakeElapsed += 1000;
        ASSERT_TRUE(PumpUntil([&] { return f.Ticks() == 1; }));
        fakeElapsed += 1000;
        ASSERT_TRUE(PumpUntil([&] { return f.Ticks() == 2; }));
        EXPECT_EQ(f.window->ticks[1].hours, 1);
        EXPECT_EQ(f.window->ticks[1].minutes, 0);
        EXPECT_EQ(f.window->finishes, 0);

        // A run stopped between the worker's check and its hand-over changes nothing: the UI
        // side refuses the tick and the worker ends.
        f.window->accepting = false;
        fakeElapsed += 1000;
        EXPECT_TRUE(f.worker.WaitPumpingSent(2000));
        EXPECT_EQ(f.Ticks(), 2u);

        Fixture again(f.window);
        f.window->accepting = true;
        again.Start({+1, 0, 0, 0});
        again.stop.Set();
        EXPECT_TRUE(again.worker.WaitPumpingSent(500)) << "Stop ends the worker at its next poll";
        fakeElapsed += 5000;
        PumpUntil([] { return false; }, 200);
        EXPECT_EQ(f.Ticks(), 2u);
    });
}

} // namespace
