// The application object: loads the settings and runs the main window.
#pragma once

class TimerApp {
public:
    // Returns when the main window has ended; the program then ends.
    void Run();
};
