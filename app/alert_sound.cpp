#include "app/alert_sound.h"

#include "res/resource.h"

#include <windows.h>
#include <mmsystem.h>

void PlayAlertSound(AlertSound kind, const Settings &settings)
{
    if (kind == AlertSound::Stop) {
        ::PlaySoundA(nullptr, nullptr, 0);
        return;
    }
    const std::string &file = kind == AlertSound::Finish ? settings.alarmSound : settings.remindSound;
    if (!file.empty()) {
        ::PlaySoundA(file.c_str(), nullptr, SND_FILENAME | SND_ASYNC);
        return;
    }
    const int resource = kind == AlertSound::Finish ? IDW_FINISHED : IDW_REMINDER;
    ::PlaySoundA(MAKEINTRESOURCEA(resource), ::GetModuleHandleA(nullptr), SND_RESOURCE | SND_ASYNC);
}
