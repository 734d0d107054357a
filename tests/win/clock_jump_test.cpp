// The main window while the wall clock is moved under it: set forward and back, across midnight,
// and past the end of 32-bit time. The wall clock and the elapsed clock the countdown runs on come
// from their seams; everything else is real.
#include "app/clock_thread.h"
#include "app/elapsed_clock.h"
#include "core/elapsed_clock.h"
#include "core/wall_clock.h"
#include "tests/support/box_answerer.h"
#include "framework/local_time.h"
#include "local_time_text.h"
#include "main_window_run.h"
#include "res/resource.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace {

constexpr std::int64_t kHour = 3600;

std::atomic<std::int64_t> fakeNow{0};
// The clock thread reads the wall clock all the time, and a countdown worker the elapsed clock.
std::atomic<DWORD> clockThreadId{0};
std::atomic<int> clockThreadReads{0};
std::int64_t FakeClock()
{
    const DWORD self = ::GetCurrentThreadId();
    DWORD expected = 0;
    if (clockThreadId.compare_exchange_strong(expected, self) || expected == self)
        ++clockThreadReads;
    return fakeNow.load();
}
std::atomic<std::int64_t> fakeElapsed{0};
std::atomic<int> elapsedReads{0};
std::int64_t FakeElapsedClock()
{
    ++elapsedReads;
    return fakeElapsed.load();
}

// A local time on a day of 2027, as a wall-clock reading.
std::int64_t LocalAt(WORD month, WORD day, WORD hour, WORD minute = 0, WORD second = 0)
{
    SYSTEMTIME s{};
    s.wYear = 2027;
    s.wMonth = month;
    s.wDay = day;
    s.wHour = hour;
    s.wMinute = minute;
    s.wSecond = second;
    std::int32_t t = 0;
    EXPECT_TRUE(ComposeLocalTime(s, t));
    return t;
}

const char kFinished[] = "Ihr Tee ist jetzt fertig!";
const char kReminder[] = "Wie wäre es mit einer Tasse Tee?";

struct Road {
    MainDialog &dialog;
    HWND window;
    BoxAnswerer boxes;

    std::string Item(int id) const { return ItemText(window, id); }
    std::string Title() const { return Text(window); }
    HANDLE Picture() const { return reinterpret_cast<HANDLE>(::SendDlgItemMessageA(window, IDC_BACKGROUND, STM_GETIMAGE, IMAGE_BITMAP, 0)); }

    // Sets the clock and waits until the status line shows it.
    void SetClock(std::int64_t t)
    {
        fakeNow = t;
        ASSERT_TRUE(PumpUntil([&] { return Item(IDC_STATUS_TIME) == LocalText(t, false); }, 3000))
            << "status line at " << t << " shows " << Item(IDC_STATUS_TIME);
        EXPECT_EQ(Item(IDC_STATUS_DATE), LocalText(t, true));
    }
    // Time passing: both clocks move.
    void Advance(std::int64_t seconds)
    {
        fakeElapsed += 1000 * seconds;
        SetClock(fakeNow + seconds);
    }
    // The wall clock set, and no time passing.
    void Jump(std::int64_t seconds) { SetClock(fakeNow + seconds); }
    void ExpectTitle(const std::string &time)
    {
        EXPECT_TRUE(PumpUntil([&] { return Title() == "Brewbell - " + time; }, 3000))
            << "title " << Title() << " instead of " << time;
    }
    // Presses Start and waits until the countdown worker has taken its first reading.
    void Start()
    {
        const int before = elapsedReads;
        Click(window, IDC_BUTTON_START);
        ASSERT_TRUE(PumpUntil([&] { return elapsedReads > before; }));
    }
    void WaitBoxes(size_t count)
    {
        EXPECT_TRUE(PumpUntil([&] { return boxes.Count() >= count; }, 3000)) << "boxes: " << boxes.Count();
        PumpUntil([] { return false; }, 300);
        EXPECT_EQ(boxes.Count(), count) << "no box more";
    }
};

class ClockJumpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wallClock = &FakeClock;
        elapsedClock = &FakeElapsedClock;
    }
    void TearDown() override
    {
        wallClock = &SystemWallClock;
        elapsedClock = &SystemElapsedClock;
    }

    // The main window on a fresh registry, silent, with the clock at start; its clock thread has
    // shown the second after.
    void WithMainWindow(std::int64_t start, const std::function<void(Settings &)> &prepare,
                        const std::function<void(Road &)> &body)
    {
        ClearRegistry();
        TheSettingsStore().loadAll();
        TheSettings().sound = 0;
        prepare(TheSettings());
        fakeNow = start;
        fakeElapsed = 86400700;
        clockThreadId = 0;
        clockThreadReads = 0;
        RunMainWindow([&](MainDialog &dialog, HWND window) {
            Road road{dialog, window, {}};
            EXPECT_TRUE(PumpUntil([] { return clockThreadReads > 0; }));
            road.Advance(1);
            body(road);
        });
    }
};

TEST_F(ClockJumpTest, TheTeaEndsOnTimeWhenTheClockIsSetBackOrForward)
{
    WithMainWindow(LocalAt(3, 1, 12), [](Settings &s) { s.sec = 5; },
                   [](Road &r) {
                       r.Start();
                       r.Advance(1);
                       r.ExpectTitle("00:04");

                       // Back an hour: the status line follows at once, the time left stays.
                       r.Jump(-kHour);
                       PumpUntil([] { return false; }, 300);
                       EXPECT_EQ(r.Title(), "Brewbell - 00:04");
                       for (const char *left : {"00:03", "00:02", "00:01"}) {
                           r.Advance(1);
                           r.ExpectTitle(left);
                       }
                       // 00:00 shows only until the next poll finishes the run.
                       r.Advance(1);
                       r.WaitBoxes(1);
                       EXPECT_EQ(r.boxes.Texts().at(0), kFinished) << "four seconds after the set-back, not an hour";
                       r.ExpectTitle("00:05");

                       // Forward an hour: the tea goes on with the time it had left.
                       r.Start();
                       r.Advance(1);
                       r.ExpectTitle("00:04");
                       r.Jump(kHour);
                       r.WaitBoxes(1);
                       EXPECT_EQ(r.Title(), "Brewbell - 00:04");
                       EXPECT_EQ(r.Item(IDC_BUTTON_START), "&Stop");
                       for (const char *left : {"00:03", "00:02", "00:01"}) {
                           r.Advance(1);
                           r.ExpectTitle(left);
                       }
                       r.Advance(1);
                       r.WaitBoxes(2);
                       EXPECT_EQ(r.boxes.Texts().at(1), kFinished) << "five seconds after the start";
                       r.ExpectTitle("00:05");
                       EXPECT_EQ(r.Item(IDC_BUTTON_START), "&Start");
                   });
}

TEST_F(ClockJumpTest, TheAutomaticLayoutChangesWhenTheClockCrossesMidnightAlsoByAJump)
{
    WithMainWindow(LocalAt(3, 2, 0) - 2, [](Settings &) {},
                   [](Road &r) {
                       // A stopwatch runs through it all.
                       r.Start();
                       HANDLE picture = r.Picture();
                       ASSERT_NE(picture, nullptr);
                       r.Advance(1);
                       EXPECT_EQ(r.Item(IDC_STATUS_TIME), "00:00:00");
                       EXPECT_TRUE(PumpUntil([&] { return r.Picture() != picture; })) << "ticking into the day";
                       r.ExpectTitle("00:01");

                       const struct {
                           const char *what;
                           std::int64_t to;
                           bool changes;
                       } jumps[] = {
                           {"forward within the day", LocalAt(3, 2, 12), false},
                           {"forward an hour", LocalAt(3, 2, 13), false},
                           {"forward across midnight", LocalAt(3, 3, 1), true},
                           {"back across midnight", LocalAt(3, 2, 23), false},
                           {"through midnight again", LocalAt(3, 3, 0), true},
                           {"forward by days", LocalAt(3, 9, 8), true},
                       };
                       int ticks = 1;
                       for (const auto &jump : jumps) {
                           picture = r.Picture();
                           r.SetClock(jump.to);
                           if (jump.changes)
                               EXPECT_TRUE(PumpUntil([&] { return r.Picture() != picture; })) << jump.what;
                           else
                               EXPECT_FALSE(PumpUntil([&] { return r.Picture() != picture; }, 300)) << jump.what;
                           // The stopwatch counts the time that passes, not the jump.
                           const std::string shown = r.Title();
                           EXPECT_FALSE(PumpUntil([&] { return r.Title() != shown; }, 300)) << jump.what;
                           r.Advance(1);
                           char reading[8];
                           std::snprintf(reading, sizeof reading, "00:%02d", ++ticks);
                           r.ExpectTitle(reading);
                       }
                       EXPECT_TRUE(r.dialog.IsCountdownRunning());
                   });
}

TEST_F(ClockJumpTest, TheReminderComesOnceADayThoughTheClockIsSetBackOverIt)
{
    WithMainWindow(LocalAt(3, 1, 15, 59, 57), [](Settings &s) { s.daily = static_cast<std::int32_t>(LocalAt(3, 1, 16)); },
                   [](Road &r) {
                       r.Advance(1);
                       r.Advance(1);
                       r.WaitBoxes(1);
                       EXPECT_EQ(r.boxes.Texts().at(0), kReminder);

                       r.Jump(-kHour);
                       r.SetClock(LocalAt(3, 1, 15, 59, 59));
                       r.Advance(1);
                       r.Advance(1);
                       r.WaitBoxes(1);

                       r.SetClock(LocalAt(3, 2, 15, 59, 59));
                       r.Advance(1);
                       r.WaitBoxes(2);
                       EXPECT_EQ(r.boxes.Texts().at(1), kReminder) << "the next day";
                   });
}

TEST_F(ClockJumpTest, AtAndAfterTheEndOfThirtyTwoBitTimeEverythingRunsAndStoresThirtyTwoBits)
{
    constexpr std::int64_t k2038 = INT32_MAX; // 2038-01-19 03:14:07 UTC
    for (std::int64_t instant : {k2038 - 1, k2038, k2038 + 1, std::int64_t(4102444800LL) /* 2100 */}) {
        // The run ends a second before the instant, and the reminder comes at it.
        WithMainWindow(instant - 3,
                       [&](Settings &s) {
                           s.sec = 1;
                           s.daily = StoredWithTimeOfDayOf(instant);
                       },
                       [&](Road &r) {
                           EXPECT_GE(std::atoi(r.Item(IDC_STATUS_DATE).substr(6).c_str()), 2038) << instant;
                           r.Start();
                           r.Advance(1);
                           r.WaitBoxes(1);
                           r.Advance(1);
                           EXPECT_EQ(r.Item(IDC_STATUS_TIME), LocalText(instant, false));
                           r.WaitBoxes(2);
                           EXPECT_EQ(r.boxes.Texts(), (std::vector<std::string>{kFinished, kReminder})) << instant;
                           r.ExpectTitle("00:01");

                           // Half an hour into the next day, by a jump: a new picture.
                           const HANDLE picture = r.Picture();
                           r.SetClock(instant - LocalSecondOfDay(instant) + 86400 + 1800);
                           EXPECT_EQ(r.Item(IDC_STATUS_TIME), "00:30:00") << instant;
                           EXPECT_TRUE(PumpUntil([&] { return r.Picture() != picture; })) << instant;
                       });
        for (const char *name : {"Min", "Sec", "LastMin", "LastSec"}) {
            DWORD type, size;
            const DWORD value = StoredValue("Time", name, &type, &size);
            EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << name;
            EXPECT_EQ(size, 4u) << name;
            EXPECT_EQ(value, std::string(name).find("Sec") != std::string::npos ? 1u : 0u) << name << " at " << instant;
        }
        EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, (std::string(settings_schema::kBasePath) + "\\Teatime").c_str()))
            << "the reminder's times are not written back";
    }
}

} // namespace
