// Microseconds per paint of the LED display in the two shapes the main window uses: the countdown
// "03:00" in 258 x 75, and the see-through hour display "01" in 98 x 49. "steady" repaints
// unchanged glyphs; "rebuilt" forces a glyph rebuild and the invalidation every round, as a new
// text each second does; "WM_PAINT" goes through the window's own paint on the display.
// Where a paint through WM_PAINT costs more than one into a memory context, the rest is what any
// window pays: the paint message itself ("empty WM_PAINT", a window that only validates) and the
// copy to the window ("copy to window", one BitBlt of the client area through the window's DC).
// Each figure is the fastest of three batches of 2000 rounds. At another display scaling the
// displays have the size the main window gives them there (258 x 75 is 100 %).

#include "framework/dpi.h"
#include "framework/handles.h"
#include "framework/late_bound.h"
#include "led/digistatic.h"

#include <cstdio>

namespace {

constexpr int kRounds = 2000;
// The fastest of a few batches: the least disturbed by whatever else the machine is doing.
constexpr int kBatches = 3;

struct Shape {
    const char *text;
    int width;
    int height;
    bool transparent;
    DWORD remove;
    DWORD add;
};

double Microseconds(LARGE_INTEGER start, LARGE_INTEGER end)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart) / kRounds;
}

template <class Body>
double Measure(Body body)
{
    body();
    double best = 0;
    for (int batch = 0; batch < kBatches; ++batch) {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        ::QueryPerformanceCounter(&start);
        for (int i = 0; i < kRounds; ++i)
            body();
        ::QueryPerformanceCounter(&end);
        const double perRound = Microseconds(start, end);
        if (batch == 0 || perRound < best)
            best = perRound;
    }
    return best;
}

constexpr char kEmptyClass[] = "EmptyPaint";

LRESULT CALLBACK EmptyPaintProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND)
        return 1;
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        ::BeginPaint(window, &paint);
        ::EndPaint(window, &paint);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

void Run(HWND parent, const Shape &shape)
{
    HWND window = ::CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 10, 10, shape.width, shape.height, parent,
                                    nullptr, nullptr, nullptr);
    CDigistatic display;
    display.SubclassWindow(window);
    display.SetTransparentMode(shape.transparent);
    display.ChangeStyle(shape.remove, shape.add);
    display.SetText(shape.text);

    HDC screen = ::GetDC(window);
    MemoryDc target(screen, shape.width, shape.height);
    const auto paint = [&] { display.Paint(target.get(), shape.width, shape.height); };
    const double steady = Measure(paint);
    const double rebuilt = Measure([&] {
        display.ChangeStyle(0, 0);
        paint();
    });
    const double viaMessage = Measure([&] {
        ::InvalidateRect(window, nullptr, TRUE);
        ::UpdateWindow(window);
    });
    const double copyToWindow =
        Measure([&] { ::BitBlt(screen, 0, 0, shape.width, shape.height, target.get(), 0, 0, SRCCOPY); });
    ::ReleaseDC(window, screen);

    HWND empty = ::CreateWindowExA(0, kEmptyClass, "", WS_CHILD | WS_VISIBLE, 10, 10, shape.width, shape.height,
                                   parent, nullptr, nullptr, nullptr);
    const double emptyPaint = Measure([&] {
        ::InvalidateRect(empty, nullptr, TRUE);
        ::UpdateWindow(empty);
    });
    ::DestroyWindow(empty);

    const char *mode = shape.transparent ? " transparent" : "";
    std::printf("led paint %s %dx%d%s: %.1f us steady, %.1f us rebuilt\n", shape.text, shape.width, shape.height, mode,
                steady, rebuilt);
    std::printf("led WM_PAINT %s %dx%d%s: %.1f us (empty WM_PAINT %.1f us, copy to window %.1f us)\n", shape.text,
                shape.width, shape.height, mode, viaMessage, emptyPaint, copyToWindow);
    ::DestroyWindow(window);
}

} // namespace

int main()
{
    // Aware of the display scaling, as the program is (its manifest): it then draws at the screen's DPI.
    if (const auto setAware = LateBound<BOOL(WINAPI *)()>("user32.dll", "SetProcessDPIAware"))
        setAware();
    const UINT dpi = ScreenDpi();
    const auto scaled = [dpi](int length) { return ScaleForDpi(length, dpi); };
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = EmptyPaintProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kEmptyClass;
    ::RegisterClassA(&windowClass);
    HWND parent = ::CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 0, 0, scaled(300), scaled(120), nullptr,
                                    nullptr, nullptr, nullptr);
    if (!parent) {
        std::printf("no window\n");
        return 1;
    }
    std::printf("display scaling: %u dpi\n", dpi);
    Run(parent, {"03:00", scaled(258), scaled(75), false, 0, 0});
    Run(parent, {"01", scaled(98), scaled(49), true, led::LS_KEEP_ASPECT, led::LS_HIDE_OFF | led::LS_SOFT_EDGE});
    ::DestroyWindow(parent);
    return 0;
}
