// The finish and reminder alerts: sound, the window brought to the front, the box, silence.
// At most one alert box is open at a time. A reminder that comes meanwhile is dropped; a finish
// is held, and its sound and box follow as soon as the open box closes.
#pragma once

#include "app/alert_sound.h"
#include "framework/window.h"

#include <string>

class AlertBox {
public:
    // The box's result, or 0 when another alert box is open.
    int Show(const Window &window, AlertSound sound, const Settings &settings, const std::string &text, UINT flags);
    bool IsOpen() const { return open; }
    // A finish that came while a box was open: its box is owed once that box has closed.
    void HoldFinish() { finishHeld = true; }
    // True once for a held finish, when no box is open any more.
    bool TakeHeldFinish();

private:
    bool open = false;
    bool finishHeld = false;
};
