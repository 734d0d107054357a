// The finish and reminder alerts: sound, the window brought to the front, the box, silence.
// At most one alert box is open at a time; an alert that comes meanwhile is dropped.
#pragma once

#include "app/alert_sound.h"
#include "framework/window.h"

#include <string>

class AlertBox {
public:
    // The box's result, or 0 when another alert box is open.
    int Show(const Window &window, AlertSound sound, const Settings &settings, const std::string &text, UINT flags);
    bool IsOpen() const { return open; }

private:
    bool open = false;
};
