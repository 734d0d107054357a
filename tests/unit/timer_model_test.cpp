#include "core/timer_model.h"

#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using countdown::QuickSetAction;
using timer::State;
using timer::TimerModel;

std::string Shown(const TimerModel &model)
{
    return std::string(model.Title().data()) + " | " + model.TrayStartText().data() + " | " + model.StartCaption();
}

// A user's road through the timer, one step per row: what is done, then what the window shows.
TEST(TimerModel, AUsersRoadThroughSettingRunningAndStopping)
{
    Settings settings;
    settings.min = 3;
    settings.sec = 0;
    TimerModel model(settings);
    struct Step {
        const char *what;
        bool (*act)(TimerModel &, Settings &);
        bool accepted;
        State state;
        const char *shown;
    };
    const Step road[] = {
        {"Sek", [](TimerModel &m, Settings &) { return m.AddSecond(); }, true, State::Idle,
         "Brewbell - 03:01 | Start     (03:01) | &Start"},
        {"Start", [](TimerModel &m, Settings &) { return m.Start().direction == -1; }, true, State::CountingDown,
         "Brewbell - 03:01 | Stop | &Stop"},
        {"Min while running", [](TimerModel &m, Settings &) { return m.AddMinute(); }, false, State::CountingDown,
         "Brewbell - 03:01 | Stop | &Stop"},
        {"a preset while running", [](TimerModel &m, Settings &) { return m.SelectPreset(0); }, false,
         State::CountingDown, "Brewbell - 03:01 | Stop | &Stop"},
        {"two ticks", [](TimerModel &m, Settings &) {
             m.Tick({-1, 0, 3, 0}, false);
             m.Tick({-1, 0, 2, 59}, true);
             return true;
         }, true, State::CountingDown, "Brewbell - 02:59 | Stop | &Stop"},
        {"Stop without auto reset", [](TimerModel &m, Settings &) { return !m.Stop(); }, true, State::Idle,
         "Brewbell - 02:59 | Start     (02:59) | &Start"},
        {"Reset: the last start", [](TimerModel &m, Settings &) { return m.Reset(); }, true, State::Idle,
         "Brewbell - 03:01 | Start     (03:01) | &Start"},
        {"Reset again: 00:00", [](TimerModel &m, Settings &) { return m.Reset(); }, true, State::Idle,
         "Brewbell - 00:00 | Start     (00:00) | &Start"},
        {"Start at 00:00 counts up", [](TimerModel &m, Settings &) { return m.Start().direction == +1; }, true,
         State::CountingUp, "Brewbell - 00:00 | Stop | &Stop"},
        {"an hour and more", [](TimerModel &m, Settings &) {
             m.Tick({+1, 1, 2, 3}, true);
             return m.Hours() == 1;
         }, true, State::CountingUp, "Brewbell - 01:02:03 | Stop | &Stop"},
        {"Stop with auto reset", [](TimerModel &m, Settings &s) {
             s.autoReset = 1;
             return m.Stop() && m.HoldsStopwatchReading();
         }, true, State::Idle, "Brewbell - 01:02:03 | Start     (02:03) | &Start"},
        {"Start and Stop again: the hours begin at 0", [](TimerModel &m, Settings &) {
             return m.Start().direction == -1 && (m.Stop(), true);
         }, true, State::Idle, "Brewbell - 02:03 | Start     (02:03) | &Start"},
        {"a preset: the user's time, no hours", [](TimerModel &m, Settings &s) {
             s.teas[9] = {"Rooibos", "75", "7x"};
             return m.SelectPreset(9) && !m.HoldsStopwatchReading() && !m.SelectPreset(10);
         }, true, State::Idle, "Brewbell - 59:07 | Start     (59:07) | &Start"},
        {"Min wraps 59 to 0", [](TimerModel &m, Settings &) { return m.AddMinute(); }, true, State::Idle,
         "Brewbell - 00:07 | Start     (00:07) | &Start"},
    };
    for (const Step &step : road) {
        EXPECT_EQ(step.act(model, settings), step.accepted) << step.what;
        EXPECT_EQ(model.GetState(), step.state) << step.what;
        EXPECT_EQ(Shown(model), step.shown) << step.what;
    }
    EXPECT_EQ(settings.lastMin, 2);
    EXPECT_EQ(settings.lastSec, 3) << "the last start was the countdown from the reading";
}

TEST(TimerModel, AFinishARemindersAnswerAndTheQuickSettingFollowTheRun)
{
    Settings settings;
    settings.min = 4;
    settings.sec = 30;
    TimerModel model(settings);
    EXPECT_FALSE(model.IsFinishCurrent()) << "a finish with no run is stale";
    EXPECT_EQ(model.AfterReminder(6), timer::ReminderStep::Start) << "Ja starts a tea";
    EXPECT_EQ(model.AfterReminder(7), timer::ReminderStep::Nothing);
    settings.minimize = 1;
    EXPECT_EQ(model.AfterReminder(7), timer::ReminderStep::Minimize);

    model.Start();
    model.Tick({-1, 0, 0, 0}, true);
    EXPECT_TRUE(model.IsFinishCurrent());
    EXPECT_EQ(model.AfterReminder(6), timer::ReminderStep::Nothing) << "a running tea runs on";
    EXPECT_EQ(model.QuickSet(10, {1, 2}), QuickSetAction::None) << "a run started under the dialog keeps its time";
    model.Stop();
    model.ShowLastStart();
    EXPECT_STREQ(model.TimeText().data(), "04:30");
    EXPECT_FALSE(model.HoldsStopwatchReading());

    EXPECT_EQ(model.QuickSet(2, {1, 2}), QuickSetAction::None);
    EXPECT_EQ(model.QuickSet(10, {1, 2}), QuickSetAction::ApplyAndStart);
    EXPECT_STREQ(model.TimeText().data(), "01:02");
    EXPECT_EQ(model.QuickSet(1, {0, 0}), QuickSetAction::Apply);
    EXPECT_TRUE(model.HoldsStopwatchReading()) << "a chosen 00:00: the exit brings back the last start";

    settings.min = INT32_MIN; // a time far out of range still fits every text
    settings.sec = INT32_MAX;
    EXPECT_STREQ(model.Title().data(), "Brewbell - -2147483648:2147483647");
    EXPECT_EQ(timer::ReminderBoxFor(true), timer::ReminderBox::Notice);
    EXPECT_EQ(timer::ReminderBoxFor(false), timer::ReminderBox::Question);
}

TEST(TimerModel, AnOptionTurnsOnOnlyFromOffAndWhileItCanBeUsed)
{
    Settings settings;
    settings.remind = 0;
    settings.suspend = 0;
    settings.sound = 5; // any value but 0 is on
    EXPECT_EQ(timer::ToggleOption(ID_OPT_SOUND, settings), &settings.sound);
    EXPECT_EQ(settings.sound, 0);
    EXPECT_EQ(*timer::ToggleOption(ID_OPT_SOUND, settings), 1);
    EXPECT_FALSE(timer::IsOptionEnabled(ID_OPT_SUSPEND, settings));
    EXPECT_EQ(*timer::ToggleOption(ID_OPT_SUSPEND, settings), 0) << "greyed while the reminder is off";
    EXPECT_EQ(*timer::ToggleOption(ID_OPT_REMIND, settings), 1);
    EXPECT_EQ(*timer::ToggleOption(ID_OPT_SUSPEND, settings), 1);
    EXPECT_EQ(timer::ToggleOption(ID_ABOUT, settings), nullptr);
    for (const timer::OptionItem &item : timer::kOptionItems)
        EXPECT_NE(timer::ToggleOption(item.command, settings), nullptr) << item.command;
}

} // namespace
