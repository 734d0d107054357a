#include "app/main_menu.h"

#include "core/layout_rules.h"
#include "core/timer_model.h"
#include "dialogs/preset_rules.h"
#include "res/resource.h"

#include <cstdio>
#include <iterator>
#include <string>

namespace {

constexpr int kTrayStartPosition = 4;

} // namespace

void MainMenu::BuildPresetMenu(const Settings &settings, bool enabled)
{
    HMENU teas = ::GetSubMenu(bar, 0);
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
    HMENU teas = ::GetSubMenu(bar, 0);
    const UINT state = MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED);
    for (UINT id = ID_PRESET_FIRST; id <= ID_PRESET_LAST; ++id)
        ::EnableMenuItem(teas, id, state);
    ::EnableMenuItem(teas, ID_QUICKSET, state);
}

void MainMenu::ShowTrayStartItem(const char *text, bool idle)
{
    if (!tray)
        return;
    ::ModifyMenuA(tray, kTrayStartPosition, MF_BYPOSITION | MF_STRING, ID_TRAY_STARTSTOP, text);
    const UINT state = MF_BYCOMMAND | (idle ? MF_ENABLED : MF_GRAYED);
    ::EnableMenuItem(tray, ID_TRAY_QUICKSET, state);
    ::EnableMenuItem(tray, ID_TRAY_RESET, state);
}

void MainMenu::SetOptionChecks(const Settings &settings)
{
    for (const timer::OptionItem &item : timer::kOptionItems) {
        ::CheckMenuItem(bar, item.command, MF_BYCOMMAND | (settings.*item.field ? MF_CHECKED : MF_UNCHECKED));
        ::EnableMenuItem(bar, item.command,
                         MF_BYCOMMAND | (timer::IsOptionEnabled(item.command, settings) ? MF_ENABLED : MF_GRAYED));
    }
}

void MainMenu::CheckLayout(std::int32_t layout)
{
    for (std::size_t kind = 0; kind < std::size(layout::kLayoutCommands); ++kind)
        ::CheckMenuItem(bar, layout::kLayoutCommands[kind],
                        MF_BYCOMMAND | (static_cast<std::int32_t>(kind) == layout ? MF_CHECKED : MF_UNCHECKED));
}
