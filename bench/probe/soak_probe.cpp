// Loaded into brewbell.exe for one moment by a message hook of the soak driver: counts the
// process's USER objects from inside, where Wine answers for them (another process cannot ask
// for menus or icons, and GetGuiResources is a stub). Sends the counts back to the driver.
#include "bench/probe/soak_probe.h"


extern "C" __declspec(dllexport) LRESULT CALLBACK SoakProbeHook(int code, WPARAM wParam, LPARAM lParam)
{
    MSG *message = reinterpret_cast<MSG *>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == soak_probe::Message()) {
        const soak_probe::UserCounts counts = soak_probe::CountUserObjects();
        ::PostThreadMessageA(static_cast<DWORD>(message->wParam), soak_probe::Message(),
                             MAKEWPARAM(counts.windows, counts.menus), counts.icons);
        message->message = WM_NULL;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
