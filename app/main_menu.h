// The changing parts of the menu bar and the tray popup: the preset items with their times, the
// option check marks, the tray's Start item and the layout check marks.
#pragma once

#include "settings/settings.h"

#include <windows.h>

class MainMenu {
public:
    void Attach(HMENU menuBar, HMENU trayPopup)
    {
        bar = menuBar;
        tray = trayPopup;
    }

    // Rewrites the ten preset items as "<name>\t(<minutes>:<seconds>)". Rewriting an item also
    // sets its state, so the items stay greyed while a countdown runs.
    void BuildPresetMenu(const Settings &settings, bool enabled);
    // The preset items and the quick setting of the menu bar.
    void SetPresetCommandsEnabled(bool enable);
    // The tray's Start item with the timer's text for it; the quick setting and Reset of the
    // tray menu are usable only while the timer is idle.
    void ShowTrayStartItem(const char *text, bool idle);

    // The option check marks, a view of the settings.
    void SetOptionChecks(const Settings &settings);
    void CheckLayout(std::int32_t layout);

private:
    HMENU bar = nullptr;
    HMENU tray = nullptr;
};
