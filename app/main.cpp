#include "app/timer_app.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    TimerApp app;
    return app.Run();
}
