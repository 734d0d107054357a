// Display scaling from outside: the program started at 100, 125, 150 and 200 % (Wine reads the
// DPI from the registry when a program starts). The window and every dialog grow with the DPI, no
// text that fits at 100 % is cut off, the button captions and the LED keep their proportions to
// their controls, the About box's icon has the size the DPI asks for, and the window follows a
// DPI change that Windows announces.
#include "tests/support/running_program.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace {

// The DPI Wine gives the programs started from now on (96 is its default).
void SetScreenDpi(DWORD dpi)
{
    HKEY key = nullptr;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr);
    ::RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&dpi), sizeof dpi);
    ::RegCloseKey(key);
}

int Scaled(int value96, UINT dpi) { return ::MulDiv(value96, static_cast<int>(dpi), 96); }

SIZE ClientSize(HWND window)
{
    RECT r{};
    ::GetClientRect(window, &r);
    return {r.right, r.bottom};
}

RECT ScreenRect(HWND window)
{
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

// The screen's pixels in the rectangle, 0xRRGGBB, row by row.
std::vector<DWORD> Pixels(const RECT &r)
{
    const int w = r.right - r.left, h = r.bottom - r.top;
    std::vector<DWORD> pixels(static_cast<size_t>(w * h));
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    ::BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    ::GdiFlush();
    std::copy_n(static_cast<const DWORD *>(bits), pixels.size(), pixels.begin());
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

// How much of the control's rectangle on the screen the pixels near the colour take: the
// geometric mean of their box's shares of its width and height, which evens out either's rounding.
double InkShare(const RECT &r, COLORREF colour)
{
    const std::vector<DWORD> pixels = Pixels(r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    int left = w, top = h, right = 0, bottom = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const DWORD p = pixels[static_cast<size_t>(y * w + x)];
            if (std::abs(static_cast<int>(p >> 16 & 0xFF) - GetRValue(colour)) < 40 &&
                std::abs(static_cast<int>(p >> 8 & 0xFF) - GetGValue(colour)) < 40 &&
                std::abs(static_cast<int>(p & 0xFF) - GetBValue(colour)) < 40) {
                left = std::min(left, x), top = std::min(top, y);
                right = std::max(right, x + 1), bottom = std::max(bottom, y + 1);
            }
        }
    return right > left ? std::sqrt(static_cast<double>(right - left) / w * (bottom - top) / h) : 0;
}

// Whether each control's text fits, by text, measured with the dialog font at the DPI.
std::map<std::string, bool> TextsThatFit(HWND window, UINT dpi)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    HFONT font = ::CreateFontA(-::MulDiv(8, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    HGDIOBJ old = ::SelectObject(dc, font);
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc, &metrics);
    // The rectangle the text takes, wrapped at the width given, or on one line.
    const auto needs = [dc](const std::string &text, LONG width) {
        RECT r{0, 0, width, 0};
        ::DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_EXPANDTABS | (width ? DT_WORDBREAK : DT_SINGLELINE));
        return r;
    };
    std::map<std::string, bool> fits;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        std::string text = Text(child);
        text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
        const SIZE client = ClientSize(child);
        const LONG style = ::GetWindowLongA(child, GWL_STYLE);
        const int id = ::GetDlgCtrlID(child);
        if (ClassName(child) == "SysListView32") {
            // The columns' titles, with the header's margins.
            const char *titles[] = {"Teesorte", "Minuten", "Sekunden"};
            for (int i = 0; i < 3; ++i)
                fits[titles[i]] =
                    ::SendMessageA(child, LVM_GETCOLUMNWIDTH, i, 0) >= needs(titles[i], 0).right + Scaled(12, dpi);
        } else if (text.empty() || id == IDC_TIME_DISPLAY || id == IDC_HOUR_DISPLAY) {
            continue;
        } else if (ClassName(child) == "Button" && (style & BS_TYPEMASK) != BS_OWNERDRAW) {
            // Beside the text: a push button's edges, the box of a check box or radio button, a
            // group's frame.
            const LONG type = style & BS_TYPEMASK;
            fits[text] = needs(text, 0).right + Scaled(type <= BS_DEFPUSHBUTTON ? 4 : 16, dpi) <= client.cx;
        } else if (ClassName(child) == "Static" && (style & SS_TYPEMASK) <= SS_RIGHT) {
            // Wrapped in as many lines as the control's height holds.
            const RECT r = needs(text, client.cx);
            const LONG lines = std::max(1L, (client.cy + metrics.tmHeight / 3) / metrics.tmHeight);
            fits[text] = r.right <= client.cx && r.bottom <= lines * metrics.tmHeight;
        }
    }
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    ::DeleteDC(dc);
    return fits;
}

// WM_DPICHANGED as Windows sends it, the suggested rectangle in the program's memory.
void SendDpiChange(const Program &program, HWND window, int dpi, const RECT &suggested)
{
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, program.Id());
    void *remote = ::VirtualAllocEx(process, nullptr, sizeof suggested, MEM_COMMIT, PAGE_READWRITE);
    ASSERT_NE(remote, nullptr);
    ::WriteProcessMemory(process, remote, &suggested, sizeof suggested, nullptr);
    ::SendMessageA(window, 0x02E0, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote));
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    ::CloseHandle(process);
}

// Whether the screen shows the window's upper part as the window paints it when asked to paint
// all of it again: nothing left over from before.
bool ShowsWhatItPaints(HWND window)
{
    const RECT area = ScreenRect(::GetDlgItem(window, IDC_BACKGROUND));
    const std::vector<DWORD> shown = Pixels(area);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::Sleep(300);
    return Pixels(area) == shown;
}

const std::pair<UINT, const char *> kDialogs[] = {
    {ID_ABOUT, "Info über Brewbell"},
    {ID_TEALIST, "Teesorten bearbeiten"},
    {ID_QUICKSET, "Schnelleinstellung"},
    {ID_REMINDER, "An Teezeit erinnern"},
    {ID_MESSAGES, "Benutzerdefinierte Angaben"},
    {ID_INVITATION, "Einladung versenden per Windows Nachrichtendienst"},
};
// Night: light segments on dark blue, dark blue captions on light faces.
constexpr COLORREF kSegment = RGB(187, 183, 210);
constexpr COLORREF kCaption = RGB(30, 18, 108);

class DpiTest : public RunningProgramTest {
protected:
    void TearDown() override
    {
        SetScreenDpi(96);
        RunningProgramTest::TearDown();
    }
    // Sizes and texts by window title, and the shares of caption and digits, as seen at 100 %.
    void CompareWithFirst(const std::string &title, HWND window, UINT dpi)
    {
        const SIZE client = ClientSize(window);
        const std::map<std::string, bool> fits = TextsThatFit(window, dpi);
        if (dpi == 96) {
            clients[title] = client;
            texts[title] = fits;
            return;
        }
        // The dialog units follow the dialog font's widths, which grow a little behind the DPI.
        for (auto [now, then] : {std::pair{client.cx, clients[title].cx}, std::pair{client.cy, clients[title].cy}}) {
            EXPECT_GE(now, Scaled(then, dpi) * 85 / 100) << title;
            EXPECT_LE(now, Scaled(then, dpi) * 105 / 100) << title;
        }
        for (const auto &[text, fit] : fits)
            EXPECT_TRUE(fit || !texts[title][text]) << title << ": \"" << text << "\" is cut off";
    }

    std::map<std::string, SIZE> clients;
    std::map<std::string, std::map<std::string, bool>> texts;
    double captionShare = 0;
    double ledShare = 0;
};

TEST_F(DpiTest, WindowDialogsTextsCaptionsLedAndIconGrowWithTheScreensDpi)
{
    for (UINT dpi : {96u, 120u, 144u, 192u}) {
        SCOPED_TRACE(dpi);
        SetScreenDpi(dpi);
        brewbell_registry::WriteDword("Menu", "Layout", 1);
        // Away from the window: no button lights up under the pointer as the window grows.
        ::SetCursorPos(0, 0);
        StartProgram();
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        ::Sleep(300);

        CompareWithFirst("Brewbell", window, dpi);
        const RECT button = ScreenRect(::GetDlgItem(window, IDC_BUTTON_MIN));
        const int edge = Scaled(4, dpi);
        const double caption =
            InkShare({button.left + edge, button.top + edge, button.right - edge, button.bottom - edge}, kCaption);
        const double digits = InkShare(ScreenRect(::GetDlgItem(window, IDC_TIME_DISPLAY)), kSegment);
        if (dpi == 96) {
            captionShare = caption;
            ledShare = digits;
        }
        // Our drawing grows with the DPI, the controls with the dialog font: a little apart.
        EXPECT_NEAR(caption, captionShare, captionShare / 4) << "the caption";
        EXPECT_NEAR(digits, ledShare, ledShare / 10) << "the LED digits";

        for (const auto &[command, title] : kDialogs) {
            SCOPED_TRACE(title);
            PostCommand(window, command);
            HWND dialog = nullptr;
            ASSERT_TRUE(WaitUntil([&] {
                // Without the messenger service, the invitation says so before it opens.
                if (HWND box = program->FindMessageBox())
                    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                return (dialog = program->WaitForWindowTitled(title, 0)) != nullptr;
            }));
            CompareWithFirst(title, dialog, dpi);
            if (command == ID_ABOUT) {
                HWND icon = ::GetWindow(dialog, GW_CHILD);
                while (icon && (::GetWindowLongA(icon, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
                    icon = ::GetWindow(icon, GW_HWNDNEXT);
                ASSERT_NE(icon, nullptr);
                EXPECT_EQ(ClientSize(icon).cx, Scaled(32, dpi)) << "the About box's icon";
            }
            ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(dialog) && ::IsWindowEnabled(window); }));
        }

        // Moved to a screen of the next scaling in the table: the window takes the rectangle
        // Windows suggests, lays out its controls for that DPI and shows them there; back on this
        // screen, every control is where it was.
        const int other = dpi == 192 ? 96 : dpi == 144 ? 192 : static_cast<int>(dpi) + 24;
        const auto toOther = [&](LONG length) { return ::MulDiv(length, other, static_cast<int>(dpi)); };
        const RECT frame = ScreenRect(window);
        const RECT suggested{frame.left + 20, frame.top + 10, frame.left + 20 + toOther(frame.right - frame.left),
                             frame.top + 10 + toOther(frame.bottom - frame.top)};
        HWND display = ::GetDlgItem(window, IDC_TIME_DISPLAY);
        const SIZE before = ClientSize(display);
        SendDpiChange(*program, window, other, suggested);
        const RECT moved = ScreenRect(window);
        EXPECT_TRUE(::EqualRect(&moved, &suggested)) << moved.left << "," << moved.top;
        EXPECT_NEAR(ClientSize(display).cx, toOther(before.cx), 2);
        EXPECT_NEAR(ClientSize(display).cy, toOther(before.cy), 2);
        EXPECT_TRUE(ShowsWhatItPaints(window)) << "redrawn at once";
        EXPECT_GT(InkShare(ScreenRect(display), kSegment), ledShare / 2) << "the LED at its new place";
        SendDpiChange(*program, window, static_cast<int>(dpi), frame);
        EXPECT_EQ(ClientSize(display).cx, before.cx);
        EXPECT_EQ(ClientSize(display).cy, before.cy);
        CloseProgram();
    }
}

} // namespace
