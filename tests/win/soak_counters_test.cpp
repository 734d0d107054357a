// The soak run's counters must see objects come and go, or a leak would pass unseen: each is
// pointed at this process while it makes three objects of a kind and deletes them again.
#include "bench/probe/soak_probe.h"
#include "bench/process_counts.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

DWORD WINAPI WaitForEvent(void *event)
{
    ::WaitForSingleObject(static_cast<HANDLE>(event), INFINITE);
    return 0;
}

struct Case {
    const char *what;
    std::function<long()> count;
    std::function<void *()> make;
    std::function<void(void *)> destroy;
};

long Gdi() { return process_counts::CountGdiObjects(::GetCurrentProcess()); }
long Handles() { return process_counts::CountKernelHandles(::GetCurrentProcessId()); }
long Threads() { return process_counts::CountThreads(::GetCurrentProcessId()); }
long WindowsFromOutside() { return process_counts::CountWindows(::GetCurrentProcessId()); }

void *MakeWindow() { return ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr); }
void DestroyWindowOf(void *w) { ::DestroyWindow(static_cast<HWND>(w)); }
void DeleteGdi(void *o) { ::DeleteObject(static_cast<HGDIOBJ>(o)); }
void Close(void *h) { ::CloseHandle(static_cast<HANDLE>(h)); }

TEST(SoakCounters, EachCounterSeesThreeObjectsComeAndGo)
{
    const Case cases[] = {
        {"brushes", Gdi, [] { return static_cast<void *>(::CreateSolidBrush(RGB(1, 2, 3))); }, DeleteGdi},
        {"regions", Gdi, [] { return static_cast<void *>(::CreateRectRgn(0, 0, 4, 4)); }, DeleteGdi},
        {"bitmaps", Gdi, [] { return static_cast<void *>(::CreateBitmap(8, 8, 1, 32, nullptr)); }, DeleteGdi},
        {"memory contexts", Gdi, [] { return static_cast<void *>(::CreateCompatibleDC(nullptr)); },
         [](void *dc) { ::DeleteDC(static_cast<HDC>(dc)); }},
        {"events", Handles, [] { return static_cast<void *>(::CreateEventA(nullptr, TRUE, FALSE, nullptr)); }, Close},
        {"threads", Threads,
         [] {
             // The thread's own handle is the event it waits for, closed once it has ended.
             const HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
             const HANDLE thread = ::CreateThread(nullptr, 0, WaitForEvent, event, 0, nullptr);
             return static_cast<void *>(new std::pair<HANDLE, HANDLE>(event, thread));
         },
         [](void *p) {
             auto *pair = static_cast<std::pair<HANDLE, HANDLE> *>(p);
             ::SetEvent(pair->first);
             ::WaitForSingleObject(pair->second, 5000);
             ::CloseHandle(pair->second);
             ::CloseHandle(pair->first);
             delete pair;
         }},
        {"windows seen from outside", WindowsFromOutside, MakeWindow, DestroyWindowOf},
    };
    // While a thread has a window, it has its input method window too: one kept open keeps that
    // one from coming and going with ours.
    const HWND keep = static_cast<HWND>(MakeWindow());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        // The first of a kind may bring objects made once: the soak run has its warm-up for the
        // same reason.
        c.destroy(c.make());
        const long before = c.count();
        ASSERT_GE(before, 0);
        std::vector<void *> made;
        for (int i = 0; i < 3; ++i)
            made.push_back(c.make());
        EXPECT_EQ(c.count(), before + 3);
        for (void *object : made)
            c.destroy(object);
        EXPECT_EQ(c.count(), before);
    }
    ::DestroyWindow(keep);
}

// The probe asks every USER handle, which takes a while: one pass before, one with three of each
// kind, one after.
TEST(SoakCounters, ProbeSeesWindowsMenusAndIconsComeAndGo)
{
    const HICON shared = ::LoadIconA(nullptr, IDI_APPLICATION);
    const HWND keep = static_cast<HWND>(MakeWindow());
    const soak_probe::UserCounts before = soak_probe::CountUserObjects();
    std::vector<HWND> windows;
    std::vector<HMENU> menus;
    std::vector<HICON> icons;
    for (int i = 0; i < 3; ++i) {
        windows.push_back(static_cast<HWND>(MakeWindow()));
        menus.push_back(::CreatePopupMenu());
        icons.push_back(::CopyIcon(shared));
    }
    const soak_probe::UserCounts with = soak_probe::CountUserObjects();
    EXPECT_EQ(with.windows, before.windows + 3);
    EXPECT_EQ(with.menus, before.menus + 3);
    EXPECT_EQ(with.icons, before.icons + 3);
    for (int i = 0; i < 3; ++i) {
        ::DestroyWindow(windows[i]);
        ::DestroyMenu(menus[i]);
        ::DestroyIcon(icons[i]);
    }
    const soak_probe::UserCounts after = soak_probe::CountUserObjects();
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_EQ(after.menus, before.menus);
    EXPECT_EQ(after.icons, before.icons);
    ::DestroyWindow(keep);
}

} // namespace
