#include "app/main_menu.h"

#include "app/layout_rules.h"
#include "dialogs/preset_rules.h"
#include "res/resource.h"

#include <cstdio>
#include <iterator>
#include <string>

namespace {

struct OptionItem {
    UINT command;
    std::atomic<std::int32_t> Settings::*field;
};

const OptionItem kOptionItems[] = {
    {ID_OPT_MINIMIZE, &Settings::minimize},   {ID_OPT_TRAY, &Settings::tray},
    {ID_OPT_TOPMOST, &Settings::topMost},     {ID_OPT_MINSTART, &Settings::minStart},
    {ID_OPT_NOCLOSE, &Settings::noClose},     {ID_OPT_SOUND, &Settings::sound},
    {ID_OPT_REMIND, &Settings::remind},       {ID_OPT_SUSPEND, &Settings::suspend},
    {ID_OPT_AUTORESET, &Settings::autoReset},
};

constexpr int kTrayStartPosition = 4;

} // namespace

void MainMenu::BuildPresetMenu(const Settings &settings, bool enabled)
{
    HMENU teas = ::GetSubMenu(bar_, 0);
    if (!teas)
        return;
    const UINT state = enabled ? MF_ENABLED : MF_GRAYED;
    for (UINT slot = 0; slot < settings.teas.size(); ++slot) {
        const TeaPreset &preset = settings.teas[slot];
        ::ModifyMenuA(teas, slot, MF_BYPOSITION | MF_STRING | state, ID_PRESET_FIRST + slot,
                      presets::MenuText(preset).c_str());
    }
}

void MainMenu::SetPresetCommandsEnabled(bool enable)
{
    HMENU teas = ::GetSubMenu(bar_, 0);
    const UINT state = MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED);
    for (UINT id = ID_PRESET_FIRST; id <= ID_PRESET_LAST; ++id)
        ::EnableMenuItem(teas, id, state);
    ::EnableMenuItem(teas, ID_QUICKSET, state);
}

void MainMenu::RefreshTrayStartItem(bool running, const Settings &settings)
{
    if (!tray_)
        return;
    char text[48] = "Stop";
    if (!running)
        std::snprintf(text, sizeof text, "Start     (%.2d:%.2d)", static_cast<int>(settings.min),
                      static_cast<int>(settings.sec));
    ::ModifyMenuA(tray_, kTrayStartPosition, MF_BYPOSITION | MF_STRING, ID_TRAY_STARTSTOP, text);
    const UINT state = MF_BYCOMMAND | (running ? MF_GRAYED : MF_ENABLED);
    ::EnableMenuItem(tray_, ID_TRAY_QUICKSET, state);
    ::EnableMenuItem(tray_, ID_TRAY_RESET, state);
}

void MainMenu::SetOptionChecks(const Settings &settings)
{
    for (const OptionItem &item : kOptionItems)
        ::CheckMenuItem(bar_, item.command, MF_BYCOMMAND | (settings.*item.field ? MF_CHECKED : MF_UNCHECKED));
    ::EnableMenuItem(bar_, ID_OPT_SUSPEND, MF_BYCOMMAND | (settings.remind ? MF_ENABLED : MF_GRAYED));
}

std::atomic<std::int32_t> *MainMenu::ToggleOption(UINT command, Settings &settings)
{
    for (const OptionItem &item : kOptionItems) {
        if (item.command != command)
            continue;
        // An item with no state at all (not checked, not greyed) turns on; any other turns off.
        const bool turnOn = ::GetMenuState(bar_, command, MF_BYCOMMAND) == 0;
        ::CheckMenuItem(bar_, command, MF_BYCOMMAND | (turnOn ? MF_CHECKED : MF_UNCHECKED));
        settings.*item.field = turnOn ? 1 : 0;
        if (command == ID_OPT_REMIND)
            ::EnableMenuItem(bar_, ID_OPT_SUSPEND, MF_BYCOMMAND | (turnOn ? MF_ENABLED : MF_GRAYED));
        return &(settings.*item.field);
    }
    return nullptr;
}

void MainMenu::CheckLayout(std::int32_t layout)
{
    for (std::size_t kind = 0; kind < std::size(layout::kLayoutCommands); ++kind)
        ::CheckMenuItem(bar_, layout::kLayoutCommands[kind],
                        MF_BYCOMMAND | (static_cast<std::int32_t>(kind) == layout ? MF_CHECKED : MF_UNCHECKED));
}
