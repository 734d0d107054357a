#include "app/alert_box.h"

#include "framework/message_box.h"

int AlertBox::Show(const Window &window, AlertSound sound, const Settings &settings, const std::string &text,
                   UINT flags)
{
    if (open)
        return 0;
    open = true;
    if (settings.sound)
        PlayAlertSound(sound, settings);
    // From the task bar or the notification area alike.
    window.Show(SW_RESTORE);
    ::SetForegroundWindow(window.GetSafeHwnd());
    const int result = AppMessageBox(window.GetSafeHwnd(), text.c_str(), flags);
    open = false;
    PlayAlertSound(AlertSound::Stop, settings);
    return result;
}

bool AlertBox::TakeHeldFinish()
{
    if (open || !finishHeld)
        return false;
    finishHeld = false;
    return true;
}
