// Loaded into brewbell.exe for one moment by a message hook of the soak driver: counts the
// process's USER objects from inside, where Wine answers for them (another process cannot ask
// for menus or icons, and GetGuiResources is a stub). Sends the counts back to the driver.
#include "bench/probe/soak_probe.h"

namespace {

using GetIconSize = BOOL(WINAPI *)(HICON, UINT, LONG *, LONG *);

// Every USER handle value in its short form, which Wine matches whatever the generation.
template <class F>
void ForEachUserHandle(F visit)
{
    for (UINT_PTR value = soak_probe::kFirstUserHandle; value <= soak_probe::kLastUserHandle; value += 2)
        visit(reinterpret_cast<HANDLE>(value));
}

soak_probe::UserCounts CountUserObjects()
{
    static const auto iconSize = reinterpret_cast<GetIconSize>(
        reinterpret_cast<void *>(::GetProcAddress(::GetModuleHandleA("win32u.dll"), "NtUserGetIconSize")));
    const DWORD self = ::GetCurrentProcessId();
    soak_probe::UserCounts counts;
    ForEachUserHandle([&](HANDLE handle) {
        DWORD owner = 0;
        LONG width = 0, height = 0;
        if (::IsWindow(static_cast<HWND>(handle))) {
            ::GetWindowThreadProcessId(static_cast<HWND>(handle), &owner);
            counts.windows += owner == self;
        } else if (::IsMenu(static_cast<HMENU>(handle))) {
            ++counts.menus;
        } else if (iconSize && iconSize(static_cast<HICON>(handle), 0, &width, &height)) {
            ++counts.icons;
        }
    });
    return counts;
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK SoakProbeHook(int code, WPARAM wParam, LPARAM lParam)
{
    MSG *message = reinterpret_cast<MSG *>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == soak_probe::Message()) {
        const soak_probe::UserCounts counts = CountUserObjects();
        ::PostThreadMessageA(static_cast<DWORD>(message->wParam), soak_probe::Message(),
                             MAKEWPARAM(counts.windows, counts.menus), counts.icons);
        message->message = WM_NULL;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
