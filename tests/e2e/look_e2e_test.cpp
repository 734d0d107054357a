// The look from outside: every layout chosen from the menu shows its picture and colours on the
// screen, the choice survives a restart, the automatic choice varies, the buttons and the
// countdown work under every layout, and the About box opens and closes. With BREWBELL_SHOTS set
// to a folder, the layouts and the About box are also saved there as pictures (for the README).
#include "tests/support/running_program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace registry = brewbell_registry;

namespace {

struct LookRow {
    DWORD value;
    UINT command;
    int bitmap;
    COLORREF segment;
    COLORREF ledBack;
    COLORREF text;
    const char *name;
};

const LookRow kRows[] = {
    {0, ID_LAYOUT_WINTER, IDB_WINTER, RGB(225, 225, 235), RGB(119, 150, 199), RGB(240, 245, 250), "winter"},
    {1, ID_LAYOUT_NIGHT, IDB_NIGHT, RGB(187, 183, 210), RGB(30, 18, 108), RGB(30, 18, 108), "night"},
    {2, ID_LAYOUT_DAY, IDB_DAY, RGB(240, 245, 250), RGB(129, 192, 240), RGB(129, 192, 240), "day"},
    {3, ID_LAYOUT_SUMMER, IDB_SUMMER, RGB(255, 228, 0), RGB(230, 109, 29), RGB(230, 109, 29), "summer"},
    {5, ID_LAYOUT_PLAIN, IDB_PLAIN, RGB(0, 0, 0), RGB(212, 208, 200), RGB(0, 0, 0), "plain"},
};

bool Near(COLORREF a, COLORREF b, int tolerance)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

COLORREF ScreenPixel(int x, int y)
{
    HDC screen = ::GetDC(nullptr);
    const COLORREF c = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return c;
}

// A point of a control given as fractions of its client area, in screen coordinates.
POINT At(HWND control, double fx, double fy)
{
    RECT r;
    ::GetClientRect(control, &r);
    POINT p{static_cast<LONG>(fx * r.right), static_cast<LONG>(fy * r.bottom)};
    ::ClientToScreen(control, &p);
    return p;
}

// What the main window shows, read from the screen at sample points.
struct Seen {
    COLORREF ledBack;  // the time display between its colon's dots
    COLORREF segment;  // the first digit's top bar (a 0 is lit there)
    COLORREF picture;  // the background below the hour digits
    int captionPixels; // pixels of the text colour on the Start button
};

Seen Look(HWND window, COLORREF textColour)
{
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::Sleep(100);
    Seen seen{};
    HWND time = ::GetDlgItem(window, IDC_TIME_DISPLAY);
    POINT p = At(time, 0.5, 0.5);
    seen.ledBack = ScreenPixel(p.x, p.y);
    p = At(time, 24.0 / 214, 7.0 / 83);
    seen.segment = ScreenPixel(p.x, p.y);
    RECT hour;
    ::GetWindowRect(::GetDlgItem(window, IDC_HOUR_DISPLAY), &hour);
    seen.picture = ScreenPixel(hour.left + 12, hour.bottom + 3);
    RECT start;
    ::GetWindowRect(::GetDlgItem(window, IDC_BUTTON_START), &start);
    HDC screen = ::GetDC(nullptr);
    for (int y = start.top + 2; y < start.bottom - 2; ++y)
        for (int x = start.left + 2; x < start.right - 2; ++x)
            seen.captionPixels += Near(::GetPixel(screen, x, y), textColour, 24);
    ::ReleaseDC(nullptr, screen);
    return seen;
}

// The picture's own pixel under the screen point, from the program's resources.
COLORREF PicturePixel(int bitmapId, HWND window, POINT screen)
{
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string program(path, length);
    program = program.substr(0, program.find_last_of('\\') + 1) + "brewbell.exe";
    HMODULE module = ::LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    // The picture is fitted to the static that shows it.
    HWND background = ::GetDlgItem(window, IDC_BACKGROUND);
    RECT r;
    ::GetClientRect(background, &r);
    HBITMAP bitmap = static_cast<HBITMAP>(
        ::LoadImageA(module, MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, r.right, r.bottom, LR_DEFAULTCOLOR));
    ::ScreenToClient(background, &screen);
    const int x = screen.x;
    const int y = screen.y;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    const COLORREF c = ::GetPixel(dc, x, y);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(bitmap);
    ::FreeLibrary(module);
    return c;
}

// Saves a window as it is on the screen, as a 24-bit BMP file named after it.
void SaveShot(HWND window, const char *name)
{
    const char *folder = std::getenv("BREWBELL_SHOTS");
    if (!folder || !*folder)
        return;
    ::Sleep(300);
    RECT r;
    ::GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    ::BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    ::GdiFlush();
    const DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
    const DWORD size = stride * static_cast<DWORD>(h);
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
                          sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    const std::string path = std::string(folder) + "\\" + name + ".bmp";
    if (FILE *out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
        std::fwrite(bits, 1, size, out);
        std::fclose(out);
    }
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
}

class LookTest : public RunningProgramTest {
protected:
    static void Choose(HWND window, UINT command)
    {
        PostCommand(window, command);
        DWORD stored = 99;
        WaitUntil([&] { return registry::ReadDword("Menu", "Layout", stored) && stored == LayoutOf(command); });
    }
    static DWORD LayoutOf(UINT command)
    {
        for (const LookRow &row : kRows)
            if (row.command == command)
                return row.value;
        return 4;
    }
    static void ExpectLayout(HWND window, const LookRow &row)
    {
        SCOPED_TRACE(row.name);
        // The window repaints in its own time: wait for the display's colours, then check all.
        Seen seen{};
        WaitUntil([&] {
            seen = Look(window, row.text);
            return Near(seen.ledBack, row.ledBack, 2) && Near(seen.segment, row.segment, 2);
        });
        EXPECT_TRUE(Near(seen.ledBack, row.ledBack, 2)) << std::hex << seen.ledBack;
        EXPECT_TRUE(Near(seen.segment, row.segment, 2)) << std::hex << seen.segment;
        RECT hour;
        ::GetWindowRect(::GetDlgItem(window, IDC_HOUR_DISPLAY), &hour);
        const COLORREF picture = PicturePixel(row.bitmap, window, {hour.left + 12, hour.bottom + 3});
        EXPECT_TRUE(Near(seen.picture, picture, 2)) << std::hex << seen.picture << " " << picture;
        EXPECT_GT(seen.captionPixels, 8) << "the caption in the layout's text colour";
    }
    // The fixed layout the window shows, by its LED background; -1 for none.
    static int ShownLayout(HWND window)
    {
        const Seen seen = Look(window, 0);
        for (const LookRow &row : kRows)
            if (Near(seen.ledBack, row.ledBack, 2))
                return static_cast<int>(row.value);
        return -1;
    }
};

TEST_F(LookTest, EachLayoutFromTheMenuShowsItsPictureAndColoursAndNightSurvivesARestart)
{
    StartProgram();
    for (const LookRow &row : kRows) {
        Choose(window, row.command);
        DWORD stored = 99;
        ASSERT_TRUE(registry::ReadDword("Menu", "Layout", stored));
        EXPECT_EQ(stored, row.value);
        ExpectLayout(window, row);
        SaveShot(window, row.name);
    }
    Choose(window, ID_LAYOUT_NIGHT);
    RestartProgram();
    ExpectLayout(window, kRows[1]);
    CloseProgram();
}

TEST_F(LookTest, AutomaticStartsVaryAmongTheSeasonsAndAStoredNineIsAutomatic)
{
    registry::WriteDword("Menu", "Layout", 9);
    std::set<int> shown;
    for (int start = 0; start < 7; ++start) {
        StartProgram();
        int layout = -1;
        EXPECT_TRUE(WaitUntil([&] { return (layout = ShownLayout(window)) >= 0; }, 5000));
        EXPECT_LE(layout, 3) << "never Plain";
        shown.insert(layout);
        CloseProgram();
    }
    EXPECT_GE(shown.size(), 2u);
}

TEST_F(LookTest, ButtonsClickAndTheCountdownRunsUnderEveryLayout)
{
    StartProgram();
    for (const LookRow &row : kRows) {
        SCOPED_TRACE(row.name);
        Choose(window, row.command);
        PostClick(window, IDC_BUTTON_SEC);
        ASSERT_TRUE(WaitForTitle(window, "Brewbell - 00:01"));
        // Screen readers and automation read the time from the displays' own texts.
        EXPECT_EQ(Text(::GetDlgItem(window, IDC_TIME_DISPLAY)), "00:01");
        EXPECT_EQ(Text(::GetDlgItem(window, IDC_HOUR_DISPLAY)), "00");
        PostClick(window, IDC_BUTTON_START);
        HWND box = program->WaitForMessageBox();
        ASSERT_NE(box, nullptr) << "the countdown finished";
        EXPECT_EQ(MessageBoxText(box), "Ihr Tee ist jetzt fertig!");
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntil([&] { return program->FindMessageBox() == nullptr; }));
        ASSERT_TRUE(WaitForTitle(window, "Brewbell - 00:01")) << "the started time comes back";
        PostClick(window, IDC_BUTTON_MIN);
        ASSERT_TRUE(WaitForTitle(window, "Brewbell - 01:01"));
        // Reset goes back to the started time, and from there to zero.
        PostClick(window, IDC_BUTTON_RESET);
        ASSERT_TRUE(WaitForTitle(window, "Brewbell - 00:01"));
        PostClick(window, IDC_BUTTON_RESET);
        ASSERT_TRUE(WaitForTitle(window, "Brewbell - 00:00"));
    }
    CloseProgram();
}

TEST_F(LookTest, AboutBoxOpensFromTheMenuShowsItsTextsAndClosesWithEnterAndEscape)
{
    StartProgram();
    for (UINT key : {VK_RETURN, VK_ESCAPE}) {
        PostCommand(window, ID_ABOUT);
        HWND about = program->WaitForWindowTitled("Info über Brewbell");
        ASSERT_NE(about, nullptr);
        std::vector<std::string> texts;
        for (HWND child = ::GetWindow(about, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
            texts.push_back(Text(child));
        for (const char *expected : {"Programmversion 1.5.2", "brewbell@example.org", "www.example.org",
                                     "Verwendete Hilfsmittel anderer Autoren", "&OK"})
            EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end()) << expected;
        EXPECT_FALSE(::IsWindowEnabled(window)) << "modal";
        if (key == VK_RETURN)
            SaveShot(about, "about");
        ::PostMessageA(::GetDlgItem(about, IDOK), WM_KEYDOWN, key, 0);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(about) || !::IsWindowVisible(about); })) << key;
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(window) != FALSE; }));
    }
    CloseProgram();
}

} // namespace
