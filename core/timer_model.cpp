#include "core/timer_model.h"

#include "res/resource.h"

#include <cstdio>

namespace timer {

namespace {
constexpr int kYes = 6;
constexpr int kNo = 7;
} // namespace

void TimerModel::SetByUser(countdown::Time time)
{
    settings.min = time.minutes;
    settings.sec = time.seconds;
    step = -1;
    hourCount = 0;
}

void TimerModel::Choose(countdown::Time time)
{
    SetByUser(time);
    step = countdown::DirectionFor(time);
}

bool TimerModel::AddMinute()
{
    if (!IsIdle())
        return false;
    SetByUser({countdown::AddOne(settings.min), settings.sec});
    return true;
}

bool TimerModel::AddSecond()
{
    if (!IsIdle())
        return false;
    SetByUser({settings.min, countdown::AddOne(settings.sec)});
    return true;
}

bool TimerModel::Reset()
{
    if (!IsIdle())
        return false;
    SetByUser(countdown::ResetTarget(Shown(), {settings.lastMin, settings.lastSec}));
    return true;
}

bool TimerModel::SelectPreset(std::size_t slot)
{
    if (!IsIdle() || slot >= settings.teas.size())
        return false;
    const TeaPreset &preset = settings.teas[slot];
    Choose(countdown::PresetTime(preset.minutes, preset.seconds));
    return true;
}

countdown::QuickSetAction TimerModel::QuickSet(int dialogResult, countdown::Time chosen)
{
    const countdown::QuickSetAction action = countdown::QuickSetActionFor(dialogResult);
    if (action == countdown::QuickSetAction::None || !IsIdle())
        return countdown::QuickSetAction::None;
    Choose(chosen);
    return action;
}

countdown::Counter TimerModel::Start()
{
    hourCount = 0;
    settings.lastMin = settings.min.load();
    settings.lastSec = settings.sec.load();
    step = countdown::DirectionFor(Shown());
    state = step > 0 ? State::CountingUp : State::CountingDown;
    return {step, 0, settings.min, settings.sec};
}

bool TimerModel::Stop()
{
    state = State::Idle;
    return settings.autoReset != 0;
}

void TimerModel::Tick(const countdown::Counter &counter, bool carried)
{
    settings.sec = counter.seconds;
    if (carried) {
        settings.min = counter.minutes;
        hourCount = counter.hours;
    }
}

void TimerModel::ShowLastStart() { SetByUser({settings.lastMin, settings.lastSec}); }

ReminderStep TimerModel::AfterReminder(int answer) const
{
    if (answer == kYes && IsIdle())
        return ReminderStep::Start;
    if (answer == kNo && settings.minimize)
        return ReminderStep::Minimize;
    return ReminderStep::Nothing;
}

// Each text is formatted from the numbers, so that even a time far out of range fits its buffer.
Text TimerModel::TimeText() const
{
    Text text{};
    std::snprintf(text.data(), text.size(), "%.2d:%.2d", Minutes(), Seconds());
    return text;
}

Text TimerModel::HourText() const
{
    Text text{};
    std::snprintf(text.data(), text.size(), "%.2d", static_cast<int>(hourCount));
    return text;
}

Text TimerModel::Title() const
{
    Text text{};
    if (hourCount > 0)
        std::snprintf(text.data(), text.size(), "Brewbell - %.2d:%.2d:%.2d", static_cast<int>(hourCount), Minutes(),
                      Seconds());
    else
        std::snprintf(text.data(), text.size(), "Brewbell - %.2d:%.2d", Minutes(), Seconds());
    return text;
}

Text TimerModel::TrayStartText() const
{
    Text text{};
    if (IsIdle())
        std::snprintf(text.data(), text.size(), "Start     (%.2d:%.2d)", Minutes(), Seconds());
    else
        std::snprintf(text.data(), text.size(), "Stop");
    return text;
}

const std::array<OptionItem, 9> kOptionItems{{
    {ID_OPT_MINIMIZE, &Settings::minimize},
    {ID_OPT_TRAY, &Settings::tray},
    {ID_OPT_TOPMOST, &Settings::topMost},
    {ID_OPT_MINSTART, &Settings::minStart},
    {ID_OPT_NOCLOSE, &Settings::noClose},
    {ID_OPT_SOUND, &Settings::sound},
    {ID_OPT_REMIND, &Settings::remind},
    {ID_OPT_SUSPEND, &Settings::suspend},
    {ID_OPT_AUTORESET, &Settings::autoReset},
}};

bool IsOptionEnabled(unsigned command, const Settings &settings)
{
    return command != ID_OPT_SUSPEND || settings.remind != 0;
}

std::atomic<std::int32_t> *ToggleOption(unsigned command, Settings &settings)
{
    for (const OptionItem &item : kOptionItems) {
        if (item.command != command)
            continue;
        std::atomic<std::int32_t> &option = settings.*item.field;
        option = option == 0 && IsOptionEnabled(command, settings) ? 1 : 0;
        return &option;
    }
    return nullptr;
}

} // namespace timer
