#include "app/countdown_thread.h"
#include "core/wall_clock.h"
#include "res/resource.h"
#include "test_dialog.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace {

std::atomic<std::int64_t> fakeNow{2000000000};
std::atomic<int> clockReads{0};
std::int64_t FakeClock()
{
    ++clockReads;
    return fakeNow.load();
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
    WorkerThread worker;

    void Start(countdown::Counter counter)
    {
        CountdownRun run{window->Hwnd(), &stop, counter, [this](const countdown::Counter &c, bool) {
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
        wallClock = &FakeClock;
    }
    void TearDown() override { wallClock = &SystemWallClock; }

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

TEST_F(CountdownThreadTest, TicksFollowTheWallClockSecondsOnTheUiThreadAndTheFinishComesOnce)
{
    WithWindow([](Fixture &f) {
        f.Start({-1, 0, 0, 3});
        PumpUntil([] { return false; }, 350);
        EXPECT_EQ(f.Ticks(), 0u) << "no tick while the second has not changed";

        for (int second = 1; second <= 3; ++second) {
            fakeNow += 1;
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

TEST_F(CountdownThreadTest, AClockSetForwardNeitherTicksNorEndsTheTea)
{
    WithWindow([](Fixture &f) {
        f.Start({-1, 0, 3, 0});
        fakeNow += 3600;
        PumpUntil([] { return false; }, 350);
        EXPECT_EQ(f.window->finishes, 0) << "setting the clock is no time passing";
        EXPECT_EQ(f.Ticks(), 0u);
    });
}

TEST_F(CountdownThreadTest, ClockSetBackKeepsTheTimeLeftInsteadOfAddingTheHour)
{
    WithWindow([](Fixture &f) {
        f.Start({-1, 0, 0, 3});
        fakeNow += 1;
        ASSERT_TRUE(PumpUntil([&] { return f.Ticks() == 1; }));
        fakeNow -= 3600;
        PumpUntil([] { return false; }, 350);
        EXPECT_EQ(f.Ticks(), 1u) << "setting the clock is no second passing";
        EXPECT_EQ(f.window->finishes, 0);
        for (size_t second = 2; second <= 3; ++second) {
            fakeNow += 1;
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
        fakeNow += 1;
        ASSERT_TRUE(PumpUntil([&] { return f.Ticks() == 1; }));
        fakeNow += 1;
        ASSERT_TRUE(PumpUntil([&] { return f.Ticks() == 2; }));
        EXPECT_EQ(f.window->ticks[1].hours, 1);
        EXPECT_EQ(f.window->ticks[1].minutes, 0);
        EXPECT_EQ(f.window->finishes, 0);

        // A run stopped between the worker's check and its hand-over changes nothing: the UI
        // side refuses the tick and the worker ends.
        f.window->accepting = false;
        fakeNow += 1;
        EXPECT_TRUE(f.worker.WaitPumpingSent(2000));
        EXPECT_EQ(f.Ticks(), 2u);

        Fixture again(f.window);
        f.window->accepting = true;
        again.Start({+1, 0, 0, 0});
        again.stop.Set();
        EXPECT_TRUE(again.worker.WaitPumpingSent(500)) << "Stop ends the worker at its next poll";
        fakeNow += 5;
        PumpUntil([] { return false; }, 200);
        EXPECT_EQ(f.Ticks(), 2u);
    });
}

} // namespace
