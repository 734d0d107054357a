// The finish and reminder sounds: the user's WAV file, else the built-in one.
#pragma once

#include "settings/settings.h"

enum class AlertSound { Finish = 0, Reminder = 1, Stop = 2 };

// Plays asynchronously, once. A file that cannot be played gives the system's default sound.
void PlayAlertSound(AlertSound kind, const Settings &settings);
