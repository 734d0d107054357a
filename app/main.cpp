#include "app/timer_app.h"
#include "framework/late_bound.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    RestrictDllSearch();
    TimerApp app;
    return app.Run();
}
