#include "app/alert_sound.h"

#include "framework/late_bound.h"
#include "res/resource.h"

#include <windows.h>
#include <mmsystem.h>

void PlayAlertSound(AlertSound kind, const Settings &settings)
{
    // Without the sound library the alert box still tells the user; it is simply silent.
    const auto playSound = LATE_BOUND("winmm.dll", PlaySoundA);
    if (!playSound)
        return;
    if (kind == AlertSound::Stop) {
        playSound(nullptr, nullptr, 0);
        return;
    }
    const std::string &file = kind == AlertSound::Finish ? settings.alarmSound : settings.remindSound;
    if (!file.empty()) {
        playSound(file.c_str(), nullptr, SND_FILENAME | SND_ASYNC);
        return;
    }
    const int resource = kind == AlertSound::Finish ? IDW_FINISHED : IDW_REMINDER;
    playSound(MAKEINTRESOURCEA(resource), ::GetModuleHandleA(nullptr), SND_RESOURCE | SND_ASYNC);
}
