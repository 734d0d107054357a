// The application object: loads the settings and runs the main window.
#pragma once

#include "app/single_instance.h"

class TimerApp {
public:
    // Returns when the main window has ended; the program then ends.
    void Run();

private:
    SingleInstance instance;
};
