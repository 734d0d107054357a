// Display scaling from outside: the program started at 100, 125, 150 and 200 % (Wine reads the
// DPI from the registry when a program starts). The window and every dialog grow with the DPI, no
// text that fits at 100 % is cut off at a larger scaling, the button captions and the LED keep
// their proportions to their controls, the icons are drawn for the size the DPI asks for, and the
// window follows a DPI change that Windows announces.
#include "tests/support/running_program.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace registry = brewbell_registry;

namespace {

// The screen's DPI of the programs started from now on; the earlier setting is back at the end.
class DpiSetting {
public:
    explicit DpiSetting(DWORD dpi)
    {
        ::RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                          nullptr, &key, nullptr);
        DWORD size = sizeof before;
        hadValue = ::RegQueryValueExA(key, kValue, nullptr, nullptr, reinterpret_cast<BYTE *>(&before), &size) ==
                   ERROR_SUCCESS;
        ::RegSetValueExA(key, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&dpi), sizeof dpi);
    }
    ~DpiSetting()
    {
        if (hadValue)
            ::RegSetValueExA(key, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&before), sizeof before);
        else
            ::RegDeleteValueA(key, kValue);
        ::RegCloseKey(key);
    }
    DpiSetting(const DpiSetting &) = delete;
    DpiSetting &operator=(const DpiSetting &) = delete;

private:
    static constexpr char kValue[] = "LogPixels";
    HKEY key = nullptr;
    DWORD before = 0;
    bool hadValue = false;
};

int Scaled(int value96, UINT dpi) { return ::MulDiv(value96, static_cast<int>(dpi), 96); }

int MetricForDpi(int index, UINT dpi)
{
    using Function = int(WINAPI *)(int, UINT);
    static const auto forDpi = reinterpret_cast<Function>(
        reinterpret_cast<void *>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetSystemMetricsForDpi")));
    return forDpi ? forDpi(index, dpi) : Scaled(::GetSystemMetrics(index), dpi);
}

SIZE ClientSize(HWND window)
{
    RECT r{};
    ::GetClientRect(window, &r);
    return {r.right, r.bottom};
}

RECT RectInParent(HWND control)
{
    RECT r;
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT *>(&r), 2);
    return r;
}

// A window's pixels as the screen shows them, read once.
class Screenshot {
public:
    explicit Screenshot(const RECT &area) : area(area), pixels(static_cast<size_t>(Width() * Height()))
    {
        HDC screen = ::GetDC(nullptr);
        HDC dc = ::CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), Width(), -Height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void *bits = nullptr;
        HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        ::BitBlt(dc, 0, 0, Width(), Height(), screen, area.left, area.top, SRCCOPY);
        ::GdiFlush();
        std::copy_n(static_cast<const DWORD *>(bits), pixels.size(), pixels.begin());
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
        ::ReleaseDC(nullptr, screen);
    }
    int Width() const { return area.right - area.left; }
    int Height() const { return area.bottom - area.top; }
    // At screen coordinates; 0xRRGGBB.
    DWORD At(int x, int y) const { return pixels[static_cast<size_t>((y - area.top) * Width() + x - area.left)]; }
    // The box around the pixels near the colour inside the rectangle (screen coordinates).
    RECT Ink(const RECT &r, COLORREF colour) const
    {
        RECT ink{r.right, r.bottom, r.left, r.top};
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (Near(At(x, y), colour)) {
                    ink.left = std::min<LONG>(ink.left, x);
                    ink.top = std::min<LONG>(ink.top, y);
                    ink.right = std::max<LONG>(ink.right, x + 1);
                    ink.bottom = std::max<LONG>(ink.bottom, y + 1);
                }
        return ink;
    }
    static bool Near(DWORD pixel, COLORREF colour)
    {
        return std::abs(static_cast<int>((pixel >> 16) & 0xFF) - GetRValue(colour)) < 40 &&
               std::abs(static_cast<int>((pixel >> 8) & 0xFF) - GetGValue(colour)) < 40 &&
               std::abs(static_cast<int>(pixel & 0xFF) - GetBValue(colour)) < 40;
    }

private:
    RECT area;
    std::vector<DWORD> pixels;
};

// The window icon of brewbell.exe at the size given: its fully opaque pixels (0xRRGGBB, or
// 0xFF000000 where the icon lets the background through).
std::vector<DWORD> ProgramIcon(int size)
{
    char path[MAX_PATH];
    std::string program(path, ::GetModuleFileNameA(nullptr, path, MAX_PATH));
    program = program.substr(0, program.find_last_of('\\') + 1) + "brewbell.exe";
    HMODULE module = ::LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HICON icon = static_cast<HICON>(::LoadImageA(module, MAKEINTRESOURCEA(IDI_BREWBELL), IMAGE_ICON, size, size, 0));
    std::vector<DWORD> pixels(static_cast<size_t>(size * size), 0xFF000000);
    ICONINFO info{};
    if (icon && ::GetIconInfo(icon, &info)) {
        BITMAPINFO format{};
        format.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        HDC dc = ::CreateCompatibleDC(nullptr);
        ::GetDIBits(dc, info.hbmColor, 0, static_cast<UINT>(size), pixels.data(), &format, DIB_RGB_COLORS);
        ::DeleteDC(dc);
        for (DWORD &pixel : pixels)
            pixel = (pixel >> 24) == 0xFF ? (pixel & 0xFFFFFF) : 0xFF000000;
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        ::DestroyIcon(icon);
    }
    ::FreeLibrary(module);
    return pixels;
}

// The smallest mean difference of the icon's opaque pixels against the screen, at any place in
// the window's top left corner, where the title bar shows it.
double TitleIconDifference(HWND window, int size)
{
    const std::vector<DWORD> icon = ProgramIcon(size);
    RECT r;
    ::GetWindowRect(window, &r);
    const Screenshot shot({r.left, r.top, r.left + 3 * size, r.top + 2 * size});
    double best = 1e9;
    for (int dy = 0; dy + size <= shot.Height(); ++dy)
        for (int dx = 0; dx + size <= shot.Width(); ++dx) {
            double sum = 0;
            int count = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) {
                    const DWORD want = icon[static_cast<size_t>(y * size + x)];
                    if (want == 0xFF000000)
                        continue;
                    const DWORD seen = shot.At(r.left + dx + x, r.top + dy + y);
                    for (int shift : {0, 8, 16})
                        sum += std::abs(static_cast<int>((want >> shift) & 0xFF) -
                                        static_cast<int>((seen >> shift) & 0xFF));
                    ++count;
                }
            if (count)
                best = std::min(best, sum / (3.0 * count));
        }
    return best;
}

// The texts of a window's controls that fit, measured with the dialog font at the DPI, by text.
std::map<std::string, bool> TextsThatFit(HWND window, UINT dpi)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    HFONT font = ::CreateFontA(-::MulDiv(8, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    HGDIOBJ old = ::SelectObject(dc, font);
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc, &metrics);
    std::map<std::string, bool> fits;
    const auto width = [dc](const std::string &text) {
        SIZE extent{};
        ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        return static_cast<int>(extent.cx);
    };
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        std::string text = Text(child);
        text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
        const SIZE client = ClientSize(child);
        const LONG style = ::GetWindowLongA(child, GWL_STYLE);
        const std::string kind = ClassName(child);
        if (kind == "SysListView32") {
            // The columns' titles, with the header's margins.
            const char *titles[] = {"Teesorte", "Minuten", "Sekunden"};
            for (int i = 0; i < 3; ++i)
                fits[titles[i]] = ::SendMessageA(child, LVM_GETCOLUMNWIDTH, i, 0) >= width(titles[i]) + Scaled(12, dpi);
        } else if (text.empty() || ::GetDlgCtrlID(child) == IDC_TIME_DISPLAY ||
                   ::GetDlgCtrlID(child) == IDC_HOUR_DISPLAY) {
            continue;
        } else if (kind == "Button") {
            const LONG type = style & BS_TYPEMASK;
            if (type == BS_OWNERDRAW)
                continue;
            // The box of a check box or radio button, the frame of a group, a push button's edges.
            const int besides = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON ? Scaled(4, dpi) : Scaled(16, dpi);
            fits[text] = width(text) + besides <= client.cx;
        } else if (kind == "Static" && (style & SS_TYPEMASK) <= SS_RIGHT) {
            // Wrapped at the control's width, in as many lines as its height holds.
            RECT needed{0, 0, client.cx, 0};
            ::DrawTextA(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
            const int lines = std::max(1L, (client.cy + metrics.tmHeight / 3) / metrics.tmHeight);
            fits[text] = needed.right <= client.cx && needed.bottom <= lines * metrics.tmHeight;
        }
    }
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    ::DeleteDC(dc);
    return fits;
}

struct DialogCommand {
    UINT command;
    const char *title;
};
const DialogCommand kDialogs[] = {
    {ID_ABOUT, "Info über Brewbell"},
    {ID_TEALIST, "Teesorten bearbeiten"},
    {ID_QUICKSET, "Schnelleinstellung"},
    {ID_REMINDER, "An Teezeit erinnern"},
    {ID_MESSAGES, "Benutzerdefinierte Angaben"},
    {ID_INVITATION, "Einladung versenden per Windows Nachrichtendienst"},
};

// What a start at 100 % showed, for the larger scalings to be compared with.
struct Seen {
    std::map<std::string, SIZE> clients;                     // by window title
    std::map<std::string, std::map<std::string, bool>> fits; // by window title, by text
    double captionShare = 0;                                 // caption height / button height
    double ledShare = 0;                                     // digit height / display height
};

// How much of the control the ink takes: the geometric mean of its shares of width and height,
// which evens out the rounding of either.
double Share(const RECT &ink, const RECT &control)
{
    const double width = std::max(0L, ink.right - ink.left), height = std::max(0L, ink.bottom - ink.top);
    return std::sqrt(width / (control.right - control.left) * height / (control.bottom - control.top));
}

// Whether the screen shows the window's upper part (everything above the status line) as the
// window paints it when asked to paint all of it again: nothing left over from before.
bool ShowsWhatItPaints(HWND window)
{
    RECT area;
    ::GetWindowRect(::GetDlgItem(window, IDC_BACKGROUND), &area);
    const Screenshot shown(area);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::Sleep(300);
    const Screenshot painted(area);
    int n = 0;
    RECT d{9999, 9999, 0, 0};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (shown.At(x, y) != painted.At(x, y)) {
                ++n;
                d.left = std::min<LONG>(d.left, x);
                d.top = std::min<LONG>(d.top, y);
                d.right = std::max<LONG>(d.right, x);
                d.bottom = std::max<LONG>(d.bottom, y);
            }
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (shown.At(x, y) != painted.At(x, y))
                return false;
    return true;
}

// Night: light segments on dark blue, dark blue captions on light faces.
constexpr COLORREF kSegment = RGB(187, 183, 210);
constexpr COLORREF kCaption = RGB(30, 18, 108);

// Sends WM_DPICHANGED as Windows does, its suggested rectangle in the program's memory.
void SendDpiChange(const Program &program, HWND window, UINT dpi, const RECT &suggested)
{
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, program.Id());
    ASSERT_NE(process, nullptr);
    void *remote = ::VirtualAllocEx(process, nullptr, sizeof suggested, MEM_COMMIT, PAGE_READWRITE);
    ASSERT_NE(remote, nullptr);
    ::WriteProcessMemory(process, remote, &suggested, sizeof suggested, nullptr);
    ::SendMessageA(window, 0x02E0, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote));
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    ::CloseHandle(process);
}

class DpiTest : public RunningProgramTest {
protected:
    void ExpectGrown(const std::string &title, SIZE client, UINT dpi)
    {
        const SIZE base = seen.clients[title];
        // The dialog units follow the font, whose widths do not grow quite in step with the DPI.
        for (auto [now, then] : {std::pair{client.cx, base.cx}, std::pair{client.cy, base.cy}}) {
            EXPECT_GE(now, Scaled(then, dpi) * 85 / 100) << title;
            EXPECT_LE(now, Scaled(then, dpi) * 105 / 100) << title;
        }
    }
    void ExpectTextsFit(const std::string &title, HWND dialog, UINT dpi)
    {
        const std::map<std::string, bool> fits = TextsThatFit(dialog, dpi);
        if (dpi == 96) {
            seen.fits[title] = fits;
            return;
        }
        for (const auto &[text, fit] : fits)
            if (seen.fits[title][text]) {
                EXPECT_TRUE(fit) << title << ": \"" << text << "\" is cut off";
            }
    }
    // The controls grow with the dialog font's widths, our drawing with the DPI: a little apart.
    void ExpectInProportion(double share, double base, double tolerance, const char *what)
    {
        EXPECT_GT(share, base * (1 - tolerance)) << what;
        EXPECT_LT(share, base * (1 + tolerance)) << what;
    }

    Seen seen;
};

TEST_F(DpiTest, WindowDialogsTextsCaptionsLedAndIconsGrowWithTheScreensDpi)
{
    for (UINT dpi : {96u, 120u, 144u, 192u}) {
        SCOPED_TRACE(dpi);
        const DpiSetting scaling(dpi);
        registry::WriteDword("Menu", "Layout", 1);
        // Away from the window: no button lights up under the pointer as the window grows.
        ::SetCursorPos(0, 0);
        StartProgram();
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        ::Sleep(300);

        // The window, its status line, the Min button's caption and the LED digits.
        const SIZE client = ClientSize(window);
        RECT frame;
        ::GetWindowRect(window, &frame);
        const Screenshot shot(frame);
        RECT button, display;
        ::GetWindowRect(::GetDlgItem(window, IDC_BUTTON_MIN), &button);
        ::GetWindowRect(::GetDlgItem(window, IDC_TIME_DISPLAY), &display);
        const int edge = Scaled(4, dpi);
        const double captionShare = Share(
            shot.Ink({button.left + edge, button.top + edge, button.right - edge, button.bottom - edge}, kCaption),
            button);
        const double ledShare = Share(shot.Ink(display, kSegment), display);
        if (dpi == 96) {
            seen.clients["Brewbell"] = client;
            seen.captionShare = captionShare;
            seen.ledShare = ledShare;
        } else {
            ExpectGrown("Brewbell", client, dpi);
            ExpectInProportion(captionShare, seen.captionShare, 0.25, "the caption");
            ExpectInProportion(ledShare, seen.ledShare, 0.1, "the LED digits");
        }
        ExpectTextsFit("Brewbell", window, dpi);
        // The title bar's icon is the image drawn for the small icon's size at this DPI.
        const int smallIcon = MetricForDpi(SM_CXSMICON, dpi);
        EXPECT_LT(TitleIconDifference(window, smallIcon), 12.0) << smallIcon << " pixels";

        for (const DialogCommand &entry : kDialogs) {
            SCOPED_TRACE(entry.title);
            PostCommand(window, entry.command);
            HWND dialog = nullptr;
            ASSERT_TRUE(WaitUntil([&] {
                // Without the messenger service, the invitation says so before it opens.
                if (HWND box = program->FindMessageBox())
                    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                return (dialog = program->WaitForWindowTitled(entry.title, 0)) != nullptr;
            }));
            if (dpi == 96)
                seen.clients[entry.title] = ClientSize(dialog);
            else
                ExpectGrown(entry.title, ClientSize(dialog), dpi);
            ExpectTextsFit(entry.title, dialog, dpi);
            if (entry.command == ID_ABOUT) {
                HWND icon = nullptr;
                for (HWND child = ::GetWindow(dialog, GW_CHILD); child && !icon;
                     child = ::GetWindow(child, GW_HWNDNEXT))
                    if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                        icon = child;
                ASSERT_NE(icon, nullptr);
                EXPECT_EQ(ClientSize(icon).cx, MetricForDpi(SM_CXICON, dpi)) << "the About box's icon";
            }
            ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(dialog); }));
            ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(window) != FALSE; }));
        }

        // Moved to a screen of the next scaling in the table: the window takes the rectangle
        // Windows suggests, lays out its controls for that DPI and shows them there; back on this
        // screen, every control is where it was.
        const int other = dpi == 192 ? 96 : dpi == 144 ? 192 : static_cast<int>(dpi) + 24;
        const auto toOther = [&](LONG length) { return ::MulDiv(length, other, static_cast<int>(dpi)); };
        const RECT suggested{frame.left + 20, frame.top + 10, frame.left + 20 + toOther(frame.right - frame.left),
                             frame.top + 10 + toOther(frame.bottom - frame.top)};
        const RECT before = RectInParent(::GetDlgItem(window, IDC_TIME_DISPLAY));
        SendDpiChange(*program, window, static_cast<UINT>(other), suggested);
        RECT moved;
        ::GetWindowRect(window, &moved);
        EXPECT_TRUE(::EqualRect(&moved, &suggested))
            << moved.left << "," << moved.top << " " << moved.right << "," << moved.bottom;
        const RECT scaled = RectInParent(::GetDlgItem(window, IDC_TIME_DISPLAY));
        EXPECT_NEAR(scaled.right - scaled.left, toOther(before.right - before.left), 2);
        EXPECT_NEAR(scaled.bottom, toOther(before.bottom), 2);
        EXPECT_TRUE(ShowsWhatItPaints(window)) << "redrawn at once";
        ::GetWindowRect(::GetDlgItem(window, IDC_TIME_DISPLAY), &display);
        EXPECT_GT(Share(Screenshot(display).Ink(display, kSegment), display), seen.ledShare / 2)
            << "the LED at its new place";
        SendDpiChange(*program, window, dpi, frame);
        const RECT back = RectInParent(::GetDlgItem(window, IDC_TIME_DISPLAY));
        EXPECT_TRUE(::EqualRect(&back, &before));
        CloseProgram();
    }
}

} // namespace
