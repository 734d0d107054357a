// The timer itself, free of any window: whether it is idle or runs down or up, the hours of a
// long count up, what the buttons, the preset and quick-setting commands, a finish, a reminder
// and the exit do to the time, and the texts the window shows for it. The main window only asks
// it and shows what it says; the Start caption and the tray's Start item are views of it.
#pragma once

#include "core/countdown.h"
#include "settings/settings.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace timer {

enum class State { Idle, CountingDown, CountingUp };

// A text of the window, in a buffer of its own, so that a tick allocates nothing.
using Text = std::array<char, 48>;

inline constexpr char kStartCaption[] = "&Start";
inline constexpr char kStopCaption[] = "&Stop";

// The box a due reminder shows, and what its answer asks for.
enum class ReminderBox { Notice, Question }; // OK only while a countdown runs; "Ja"/"Nein" otherwise
enum class ReminderStep { Nothing, Start, Minimize };

class TimerModel {
public:
    // The set time lives in the settings (min, sec, and the last start's lastMin, lastSec), so
    // that the registry keeps it; the model is their one writer while the window lives.
    explicit TimerModel(Settings &settings) : settings(settings) {}
    TimerModel(const TimerModel &) = delete;
    TimerModel &operator=(const TimerModel &) = delete;

    State GetState() const { return state; }
    bool IsIdle() const { return state == State::Idle; }
    std::int32_t Hours() const { return hourCount; }
    countdown::Time Shown() const { return {settings.min, settings.sec}; }

    // The user's settings of the time. Each is a time the user chose: no stopwatch reading, no
    // hours. While a run is on they change nothing and return false (the buttons are disabled
    // then, but a command can still arrive).
    bool AddMinute();
    bool AddSecond();
    // Back to the last start's time; a second Reset clears to 00:00.
    bool Reset();
    // A preset or the quick setting chooses a whole time; a chosen 00:00 prepares a count up, so
    // the exit brings back the last start's time as it does after one.
    bool SelectPreset(std::size_t slot);
    // What a closed quick-setting dialog asks for; a countdown started while it was open (by a
    // reminder's "Ja") keeps its time, and the answer is None.
    countdown::QuickSetAction QuickSet(int dialogResult, countdown::Time chosen);

    // Starts a run from the time shown (down, or up from 00:00) and remembers it as the last
    // start; returns what the worker counts from.
    countdown::Counter Start();
    // Ends the run; true when the auto-reset option asks for the last start's time now
    // (ShowLastStart, never Reset's second step to 00:00).
    bool Stop();
    // A second of the worker: the seconds always, minutes and hours when they changed.
    void Tick(const countdown::Counter &counter, bool carried);
    // A finish that arrives when the run is already over (stopped just before) is stale: false.
    bool IsFinishCurrent() const { return !IsIdle(); }
    // After a finished run or a Stop with auto reset: the last start's time is shown again, with
    // no hours, ready for the next run.
    void ShowLastStart();
    // At exit a stopwatch reading (a run counted up from 00:00, nothing set since) is dropped, so
    // the next start shows 00:00 again, and a chosen 00:00 gives way to the last start's time;
    // true when the exit must do so.
    bool HoldsStopwatchReading() const { return step == +1; }

    // The answer of the question box (6 "Ja", 7 "Nein", as the platform numbers them); a
    // countdown started while the box was open runs on.
    ReminderStep AfterReminder(int answer) const;

    // "MM:SS", the hours "HH", the title and tray tip "Brewbell - [HH:]MM:SS", the tray's Start
    // item ("Stop", or "Start     (MM:SS)" with the time Start would run) and the Start caption.
    Text TimeText() const;
    Text HourText() const;
    Text Title() const;
    Text TrayStartText() const;
    const char *StartCaption() const { return IsIdle() ? kStartCaption : kStopCaption; }

private:
    void SetByUser(countdown::Time time);
    void Choose(countdown::Time time);
    int Minutes() const { return settings.min; }
    int Seconds() const { return settings.sec; }

    Settings &settings;
    State state = State::Idle;
    // +1 while the shown time is a stopwatch reading or a chosen 00:00; -1 otherwise.
    int step = -1;
    // Hours of a count up, 0..99; never stored.
    std::int32_t hourCount = 0;
};

// A reminder that comes while the countdown's worker runs only informs; otherwise it asks
// whether to start the tea.
inline ReminderBox ReminderBoxFor(bool countdownRunning)
{
    return countdownRunning ? ReminderBox::Notice : ReminderBox::Question;
}

// The option commands of the menu and the settings they turn over.
struct OptionItem {
    unsigned command;
    std::atomic<std::int32_t> Settings::*field;
};
extern const std::array<OptionItem, 9> kOptionItems;

// Whether an option's item can be used: pausing the reminder during a countdown only while the
// reminder is on.
bool IsOptionEnabled(unsigned command, const Settings &settings);
// Turns an option over: on when it is off and can be used, off otherwise. Returns its setting, or
// null for a command that is no option.
std::atomic<std::int32_t> *ToggleOption(unsigned command, Settings &settings);

} // namespace timer
