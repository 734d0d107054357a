// The application object: loads the settings and runs the main window.
#pragma once

#include "app/single_instance.h"

class TimerApp {
public:
    // Returns when the main window has ended; the program then ends with the result as its exit
    // code: the number of worker threads that had to be ended by force, 0 in a clean run.
    int Run();

private:
    SingleInstance instance;
};
