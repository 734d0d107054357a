// The layouts on the main window's own template: picture, LED colours, button styles, the
// automatic choice, and a see-through display on the screen.
#include "app/layouts.h"
#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "pictures/picture_bitmap.h"
#include "pictures/pictures.h"
#include "res/resource.h"
#include "test_support.h"
#include "tests/support/dialog_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <set>
#include <vector>

namespace {

// Dialog 102 with the controls a layout dresses, and a body run once it shows.
class LayoutDialog : public Dialog {
public:
    explicit LayoutDialog(std::function<void(LayoutDialog &)> body) : Dialog(IDD_MAIN), body_(std::move(body)) {}

    LayoutControls Controls()
    {
        return {hwnd,
                GetItem(IDC_BACKGROUND),
                &timeDisplay,
                &hourDisplay,
                {&resetButton, &secondButton, &minuteButton, &startButton}};
    }
    std::int32_t Apply(std::int32_t value) { return layout.ApplyLayout(Controls(), value); }

    CDigistatic timeDisplay;
    CDigistatic hourDisplay;
    SkinButton resetButton;
    SkinButton secondButton;
    SkinButton minuteButton;
    SkinButton startButton;
    WindowLayout layout;

protected:
    void DoDataExchange(DataExchange &dx) override
    {
        DDX_Control(dx, IDC_TIME_DISPLAY, timeDisplay);
        DDX_Control(dx, IDC_HOUR_DISPLAY, hourDisplay);
        DDX_Control(dx, IDC_BUTTON_RESET, resetButton);
        DDX_Control(dx, IDC_BUTTON_SEC, secondButton);
        DDX_Control(dx, IDC_BUTTON_MIN, minuteButton);
        DDX_Control(dx, IDC_BUTTON_START, startButton);
    }
    bool OnInitDialog() override
    {
        Dialog::OnInitDialog();
        hourDisplay.SetTransparentMode(TRUE);
        ::SetWindowPos(hwnd, HWND_TOPMOST, 40, 40, 0, 0, SWP_NOSIZE);
        return true;
    }

public:
    // Runs the body inside the dialog's modal loop, painted, then ends it.
    void Run()
    {
        RunOptions options;
        options.endLeftOpen = EndWith(IDOK);
        RunModal(*this, [this](HWND) {
            ::UpdateWindow(hwnd);
            body_(*this);
        }, options);
    }

private:
    std::function<void(LayoutDialog &)> body_;
};

COLORREF ScreenPixel(HWND window, POINT client)
{
    ::ClientToScreen(window, &client);
    HDC screen = ::GetDC(nullptr);
    const COLORREF c = ::GetPixel(screen, client.x, client.y);
    ::ReleaseDC(nullptr, screen);
    return c;
}

// Lets every pending paint happen.
void Settle()
{
    PumpUntil([] { return false; }, 150);
}

// A 32-bit target of a display's size, to paint it into.
struct DisplayShot {
    explicit DisplayShot(CDigistatic &display, HWND hwnd)
    {
        RECT r;
        ::GetClientRect(hwnd, &r);
        width = r.right;
        height = r.bottom;
        dc = ::CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void *bits = nullptr;
        bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = ::SelectObject(dc, bitmap);
        display.Paint(dc, width, height);
    }
    ~DisplayShot()
    {
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    }
    COLORREF At(double fx, double fy) const
    {
        return ::GetPixel(dc, static_cast<int>(fx * width), static_cast<int>(fy * height));
    }
    int width, height;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

COLORREF PictureTopLeft(HBITMAP picture)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, picture);
    const COLORREF c = ::GetPixel(dc, 0, 0);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return c;
}

// A picture's pixels as 24-bit rows, top row first, each row width * 3 bytes.
struct Pixels {
    int width = 0, height = 0;
    std::vector<std::uint8_t> bytes;
};

Pixels ReadPixels(HBITMAP picture)
{
    BITMAP info{};
    ::GetObjectA(picture, sizeof info, &info);
    Pixels p{info.bmWidth, info.bmHeight, {}};
    // Rows of a multiple of four bytes, as GetDIBits writes them, then packed.
    const std::size_t stride = (static_cast<std::size_t>(p.width) * 3 + 3) & ~std::size_t{3};
    std::vector<std::uint8_t> rows(stride * p.height);
    BITMAPINFO request{};
    request.bmiHeader = {sizeof(BITMAPINFOHEADER), p.width, -p.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, picture, 0, p.height, rows.data(), &request, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    for (int y = 0; y < p.height; ++y)
        p.bytes.insert(p.bytes.end(), rows.begin() + y * stride, rows.begin() + y * stride + p.width * 3);
    return p;
}

TEST(LayoutTest, EachLayoutSetsPictureDisplaysAndButtons)
{
    LayoutDialog dialog([](LayoutDialog &d) {
        // Only the see-through hour display lets the picture paint beneath it; the picture never
        // paints over the opaque controls above it.
        const auto seeThrough = [&](int id) {
            return (::GetWindowLongA(d.GetItem(id), GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0;
        };
        for (int id : {IDC_TIME_DISPLAY, IDC_BUTTON_MIN, IDC_BUTTON_SEC, IDC_BUTTON_RESET, IDC_BUTTON_START})
            EXPECT_FALSE(seeThrough(id)) << id;
        EXPECT_TRUE(seeThrough(IDC_HOUR_DISPLAY));
        d.Apply(Plain);
        EXPECT_TRUE(::GetWindowLongA(d.GetItem(IDC_BACKGROUND), GWL_STYLE) & WS_CLIPSIBLINGS);

        d.timeDisplay.SetText("18:88");
        for (std::int32_t value : {Winter, Night, Day, Summer, Plain}) {
            SCOPED_TRACE(value);
            ASSERT_EQ(d.Apply(value), value);
            const layout::LayoutRow &row = layout::RowFor(value);

            HBITMAP shown =
                reinterpret_cast<HBITMAP>(::SendMessageA(d.GetItem(IDC_BACKGROUND), STM_GETIMAGE, IMAGE_BITMAP, 0));
            ASSERT_NE(shown, nullptr);
            EXPECT_EQ(shown, d.layout.Picture());
            BITMAP info{};
            ::GetObjectA(shown, sizeof info, &info);
            RECT area;
            ::GetClientRect(d.GetItem(IDC_BACKGROUND), &area);
            EXPECT_EQ(info.bmWidth, area.right) << "fitted to the control";
            EXPECT_EQ(info.bmHeight, area.bottom);
            HBITMAP resource = ::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(row.bitmapId));
            EXPECT_EQ(PictureTopLeft(shown), PictureTopLeft(resource));
            const Pixels designed = ReadPixels(resource);
            ::DeleteObject(resource);

            // The program draws the same picture the build put into the resources, up to the
            // rounding of its own floating-point code.
            Pixels drawn{designed.width, designed.height, std::vector<std::uint8_t>(designed.bytes.size())};
            ASSERT_TRUE(pictures::renderPicture(row.bitmapId, drawn.width, drawn.height, drawn.bytes.data(),
                                                drawn.width * 3));
            int largest = 0;
            for (std::size_t i = 0; i < drawn.bytes.size(); ++i)
                largest = std::max(largest, std::abs(drawn.bytes[i] - designed.bytes[i]));
            EXPECT_LE(largest, 1) << "the drawing at the resource's size";

            // At 96 dpi the window keeps the resource as the system fits it to the control.
            const UniqueBitmap fitted(static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr),
                                                                        MAKEINTRESOURCEA(row.bitmapId), IMAGE_BITMAP,
                                                                        area.right, area.bottom, LR_DEFAULTCOLOR)));
            EXPECT_TRUE(ReadPixels(shown).bytes == ReadPixels(fitted.get()).bytes) << "every pixel as before";

            // At 200 % the window shows the picture drawn for twice the pixels (the unit tests show
            // that drawing is the same picture with detail of its own), not a stretched resource.
            const UniqueBitmap large = PictureBitmap(row.bitmapId, 2 * designed.width, 2 * designed.height, 192);
            Pixels twice{2 * designed.width, 2 * designed.height, std::vector<std::uint8_t>(4 * designed.bytes.size())};
            ASSERT_TRUE(pictures::renderPicture(row.bitmapId, twice.width, twice.height, twice.bytes.data(),
                                                twice.width * 3));
            EXPECT_TRUE(ReadPixels(large.get()).bytes == twice.bytes) << "drawn at 200 %";

            EXPECT_EQ(d.timeDisplay.GetStyle(), led::LS_HIDE_OFF | led::LS_SOFT_EDGE);
            EXPECT_EQ(d.hourDisplay.GetStyle(), led::LS_HIDE_OFF | led::LS_SOFT_EDGE);
            const DisplayShot shot(d.timeDisplay, d.GetItem(IDC_TIME_DISPLAY));
            // "18:88" stretched: the 1 has no top bar, the 8 beside it has.
            EXPECT_EQ(shot.At(0.1, 0.5), row.ledBack) << "between the segments";
            EXPECT_EQ(shot.At(0.10, 0.085), row.ledBack) << "unlit segment hidden";
            EXPECT_EQ(shot.At(0.34, 0.085), row.segment) << "lit top bar of the 8";

            for (SkinButton *button : {&d.resetButton, &d.secondButton, &d.minuteButton, &d.startButton}) {
                EXPECT_EQ(button->IsFlat(), row.flat);
                EXPECT_EQ(button->GetTextColor(), row.textColour);
                ASSERT_NE(button->GetFontSpec(), nullptr);
                EXPECT_STREQ(button->GetFontSpec()->lfFaceName, "Arial");
                EXPECT_EQ(button->GetFontSpec()->lfHeight, 15);
                EXPECT_EQ(button->GetFontSpec()->lfWeight, 700);
                // Palette entry 0 is the system shadow, half way towards the tint.
                const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
                const COLORREF expected = RGB((GetRValue(row.faceTint) * 50 + GetRValue(shadow) * 50) / 100,
                                              (GetGValue(row.faceTint) * 50 + GetGValue(shadow) * 50) / 100,
                                              (GetBValue(row.faceTint) * 50 + GetBValue(shadow) * 50) / 100);
                EXPECT_EQ(button->GetFaces().normalFace.PaletteEntry(0), expected);
                RECT r;
                ::GetWindowRect(button->GetSafeHwnd(), &r);
                EXPECT_EQ(button->GetFaces().normalFace.Width(), r.right - r.left);
            }
        }
    });
    dialog.Run();
}

TEST(LayoutTest, AutomaticDrawsAmongTheFourSeasonsAndNeverPlain)
{
    LayoutDialog dialog([](LayoutDialog &d) {
        std::set<std::int32_t> seen;
        for (int i = 0; i < 16; ++i) {
            const std::int32_t shown = d.Apply(i % 2 ? Automatic : 9);
            EXPECT_GE(shown, Winter);
            EXPECT_LE(shown, Summer);
            seen.insert(shown);
            ::Sleep(3); // a new millisecond count, a new seed
        }
        EXPECT_GE(seen.size(), 2u);
    });
    dialog.Run();
}

// A see-through display copies what lies beneath it as its background: segments that go out must
// be painted over by the parent first, or the copy keeps them on the screen.
TEST(LayoutTest, SeeThroughDisplayRepaintsWhatItsDigitsLeaveOnTheScreen)
{
    constexpr COLORREF kParent = RGB(200, 10, 10);
    static const ATOM atom = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hbrBackground = ::CreateSolidBrush(kParent);
        wc.lpszClassName = "LayoutTestParent";
        return ::RegisterClassA(&wc);
    }();
    (void)atom;
    HWND parent = ::CreateWindowExA(WS_EX_TOPMOST, "LayoutTestParent", "", WS_POPUP | WS_VISIBLE, 50, 50, 200, 150,
                                    nullptr, nullptr, nullptr, nullptr);
    HWND child = ::CreateWindowExA(WS_EX_TRANSPARENT, "Static", "Static", WS_CHILD | WS_VISIBLE, 10, 10, 98, 83, parent,
                                   nullptr, nullptr, nullptr);
    {
        CDigistatic display;
        ASSERT_TRUE(display.SubclassWindow(child));
        EXPECT_EQ(Window(child).GetText(), "?") << "not the template's placeholder";
        display.SetTransparentMode(TRUE);
        display.ChangeStyle(led::LS_KEEP_ASPECT | led::LS_SOFT_EDGE, led::LS_HIDE_OFF);
        // Two digits in 98 x 83 pixels: one pixel per unit; the first digit's top bar.
        const POINT topBar{24, 7};
        display.SetText("88");
        Settle();
        EXPECT_EQ(ScreenPixel(child, topBar), RGB(0, 255, 0));
        display.SetText("11");
        Settle();
        EXPECT_EQ(ScreenPixel(child, topBar), kParent);
        EXPECT_EQ(ScreenPixel(child, {73, 7}), kParent);
        EXPECT_EQ(ScreenPixel(child, {93, 20}), RGB(0, 255, 0)) << "the 1 stays";
    }
    ::DestroyWindow(parent);
}

} // namespace
