#include "framework/handles.h"
#include "led/digistatic.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using led::LS_HIDE_OFF;
using led::LS_KEEP_ASPECT;
using led::LS_SOFT_EDGE;

constexpr int kWidth = 98;
constexpr int kHeight = 83;
// Without LS_KEEP_ASPECT two digit cells fill 98 x 83 at one pixel per unit, so cell coordinates
// are pixels: the first cell spans x 0..48, the second 49..97.
constexpr POINT kFirstTopBar{24, 7};
constexpr POINT kSecondTopBar{73, 7};
constexpr POINT kSecondTopEdge{73, 4};
constexpr POINT kSecondRightEdge{93, 20};
constexpr POINT kBetweenDigits{46, 7};

// A 32-bit off-screen target, so that colours read back exactly.
class Canvas {
public:
    explicit Canvas(COLORREF fill) : dc_(::CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void *bits = nullptr;
        bitmap_.reset(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        select_.emplace(dc_.get(), bitmap_.get());
        Fill(fill);
    }

    HDC Dc() const { return dc_.get(); }
    COLORREF At(POINT p) const { return ::GetPixel(dc_.get(), p.x, p.y); }
    void Fill(COLORREF color) const
    {
        const UniqueBrush brush(::CreateSolidBrush(color));
        const RECT all{0, 0, kWidth, kHeight};
        ::FillRect(dc_.get(), &all, brush.get());
    }
    int CountOtherThan(COLORREF color) const
    {
        int count = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                count += ::GetPixel(dc_.get(), x, y) != color;
        return count;
    }

private:
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    std::optional<ScopedSelect> select_;
};

class CDigistaticTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent_ = ::CreateWindowExA(0, "Static", "", WS_POPUP, 20, 20, kWidth + 40, kHeight + 40, nullptr, nullptr,
                                    nullptr, nullptr);
        ASSERT_NE(parent_, nullptr);
        window_ = ::CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 10, 10, kWidth, kHeight, parent_, nullptr,
                                    nullptr, nullptr);
        ASSERT_TRUE(display_.SubclassWindow(window_));
    }
    void TearDown() override { ::DestroyWindow(parent_); }

    void Paint(const Canvas &canvas, int width = kWidth, int height = kHeight)
    {
        display_.Paint(canvas.Dc(), width, height);
    }
    COLORREF OnScreen(POINT p) const
    {
        HDC dc = ::GetDC(window_);
        const COLORREF colour = ::GetPixel(dc, p.x, p.y);
        ::ReleaseDC(window_, dc);
        return colour;
    }
    bool NeedsPaint() const { return ::GetUpdateRect(window_, nullptr, FALSE) != FALSE; }
    void Show()
    {
        ::ShowWindow(parent_, SW_SHOWNOACTIVATE);
        ::UpdateWindow(parent_);
    }

    HWND parent_ = nullptr;
    HWND window_ = nullptr;
    CDigistatic display_;
};

TEST_F(CDigistaticTest, PaintsLitUnlitSegmentsSoftEdgesAndBackground)
{
    display_.ChangeStyle(LS_KEEP_ASPECT, 0);
    display_.SetText("18");
    Canvas canvas(RGB(9, 9, 9));
    Paint(canvas);
    EXPECT_EQ(canvas.At(kSecondTopBar), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(kFirstTopBar), RGB(0, 52, 0)) << "the 1 has no top bar";
    EXPECT_EQ(canvas.At(kBetweenDigits), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(kSecondTopEdge), RGB(0, 191, 0)) << "soft edge: a quarter towards black";
    EXPECT_EQ(canvas.At({kFirstTopBar.x, 4}), RGB(0, 39, 0));

    EXPECT_EQ(display_.SetBackColor(RGB(40, 80, 120)), RGB(0, 0, 0));
    Paint(canvas);
    EXPECT_EQ(canvas.At(kBetweenDigits), RGB(40, 80, 120));
    EXPECT_EQ(canvas.At(kSecondTopEdge), RGB(10, 211, 30));

    display_.ChangeStyle(LS_SOFT_EDGE, 0);
    display_.SetSegmentColors(RGB(1, 2, 3), RGB(200, 100, 50));
    Paint(canvas);
    EXPECT_EQ(canvas.At(kSecondTopEdge), RGB(200, 100, 50));
    EXPECT_EQ(canvas.At(kSecondTopBar), RGB(200, 100, 50));
    EXPECT_EQ(canvas.At(kFirstTopBar), RGB(1, 2, 3));

    // The glyphs remember the hide-off flag, so this needs the rebuild the style change asks for.
    display_.ChangeStyle(0, LS_HIDE_OFF);
    Paint(canvas);
    EXPECT_EQ(canvas.At(kFirstTopBar), RGB(40, 80, 120));
    EXPECT_EQ(canvas.At(kSecondTopBar), RGB(200, 100, 50));
}

TEST_F(CDigistaticTest, KeepAspectCentresTheRowAtOneScaleElseStretches)
{
    display_.SetText("8");
    Canvas canvas(RGB(9, 9, 9));
    Paint(canvas);
    // One 49 x 83 cell centred in 98 x 83: its top bar spans about x 32..64.
    EXPECT_EQ(canvas.At({20, 7}), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At({48, 7}), RGB(0, 255, 0));

    display_.ChangeStyle(LS_KEEP_ASPECT, 0);
    Paint(canvas);
    EXPECT_EQ(canvas.At({20, 7}), RGB(0, 255, 0));
}

TEST_F(CDigistaticTest, TextWithoutGlyphsPaintsTheBackgroundOnly)
{
    display_.SetBackColor(RGB(40, 80, 120));
    Canvas canvas(RGB(9, 9, 9));
    Paint(canvas);
    EXPECT_EQ(canvas.CountOtherThan(RGB(40, 80, 120)), 0) << "the initial ?";
    for (const char *text : {"", "abc?", static_cast<const char *>(nullptr)}) {
        canvas.Fill(RGB(9, 9, 9));
        display_.SetText(text);
        Paint(canvas);
        EXPECT_EQ(canvas.CountOtherThan(RGB(40, 80, 120)), 0) << (text ? text : "null");
    }
}

TEST_F(CDigistaticTest, TransparentModeShowsTheParentAndShapesTheRegionToLitSegments)
{
    EXPECT_TRUE(display_.SetTransparentMode(TRUE));
    EXPECT_FALSE(display_.SetTransparentMode(TRUE));
    EXPECT_TRUE(::GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TRANSPARENT);

    display_.ChangeStyle(LS_KEEP_ASPECT, LS_HIDE_OFF);
    display_.SetText("18");
    const COLORREF parentColor = RGB(200, 10, 10);
    Canvas canvas(parentColor);
    Paint(canvas);
    EXPECT_EQ(canvas.At(kBetweenDigits), parentColor);
    EXPECT_EQ(canvas.At(kSecondTopBar), RGB(0, 255, 0));

    const UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(window_, region.get()), ERROR);
    EXPECT_TRUE(::PtInRegion(region.get(), kSecondTopBar.x, kSecondTopBar.y));
    EXPECT_TRUE(::PtInRegion(region.get(), kSecondRightEdge.x, kSecondRightEdge.y)) << "the outline shows too";
    EXPECT_FALSE(::PtInRegion(region.get(), kBetweenDigits.x, kBetweenDigits.y));
    EXPECT_FALSE(::PtInRegion(region.get(), kFirstTopBar.x, kFirstTopBar.y)) << "unlit";

    // An unchanged repaint keeps the region; a change drops it at once, so that the next paint
    // covers the whole client area.
    Paint(canvas);
    ASSERT_NE(::GetWindowRgn(window_, region.get()), ERROR);
    EXPECT_TRUE(::PtInRegion(region.get(), kSecondTopBar.x, kSecondTopBar.y));
    display_.SetText("88");
    EXPECT_EQ(::GetWindowRgn(window_, region.get()), ERROR);
    Paint(canvas);
    ASSERT_NE(::GetWindowRgn(window_, region.get()), ERROR);
    EXPECT_TRUE(::PtInRegion(region.get(), kFirstTopBar.x, kFirstTopBar.y));

    display_.SetText("");
    canvas.Fill(parentColor);
    Paint(canvas);
    EXPECT_EQ(canvas.CountOtherThan(parentColor), 0);

    // Leaving the mode must not leave an opaque control clipped to old segments.
    display_.SetText("18");
    Paint(canvas);
    EXPECT_TRUE(display_.SetTransparentMode(FALSE));
    EXPECT_FALSE(::GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    EXPECT_EQ(::GetWindowRgn(window_, region.get()), ERROR);
}

TEST_F(CDigistaticTest, RepaintsOnlyWhenSomethingChanged)
{
    Show();
    const auto expectRepaint = [&](bool expected, const char *what) {
        EXPECT_EQ(NeedsPaint(), expected) << what;
        ::ValidateRect(window_, nullptr);
    };
    ::ValidateRect(window_, nullptr);
    display_.SetText("?");
    expectRepaint(false, "same text");
    display_.SetSegmentColors(RGB(0, 52, 0), RGB(0, 255, 0));
    expectRepaint(false, "same colours");
    EXPECT_EQ(display_.SetBackColor(RGB(0, 0, 0)), RGB(0, 0, 0));
    expectRepaint(false, "same background");
    EXPECT_FALSE(display_.ChangeStyle(LS_HIDE_OFF, LS_HIDE_OFF));
    EXPECT_EQ(display_.GetStyle(), LS_KEEP_ASPECT | LS_SOFT_EDGE);
    expectRepaint(false, "refused style change");
    EXPECT_FALSE(display_.SetTransparentMode(FALSE));
    expectRepaint(false, "transparent mode never repaints");

    display_.SetText("12");
    expectRepaint(true, "new text");
    display_.SetSegmentColors(RGB(0, 52, 0), RGB(0, 254, 0));
    expectRepaint(true, "new colour");
    EXPECT_EQ(display_.SetBackColor(RGB(1, 1, 1)), RGB(0, 0, 0));
    expectRepaint(true, "new background");
    EXPECT_TRUE(display_.ChangeStyle(LS_KEEP_ASPECT, LS_HIDE_OFF | LS_SOFT_EDGE));
    EXPECT_EQ(display_.GetStyle(), LS_HIDE_OFF | LS_SOFT_EDGE);
    expectRepaint(true, "style change");
}

TEST_F(CDigistaticTest, WindowMessagesPaintThroughTheControlAndEraseNothing)
{
    display_.ChangeStyle(LS_KEEP_ASPECT, 0);
    display_.SetText("18");
    Show();
    ::UpdateWindow(window_);
    EXPECT_FALSE(NeedsPaint());
    Canvas canvas(RGB(9, 9, 9));
    HDC windowDc = ::GetDC(window_);
    ::BitBlt(canvas.Dc(), 0, 0, kWidth, kHeight, windowDc, 0, 0, SRCCOPY);
    ::ReleaseDC(window_, windowDc);
    EXPECT_EQ(canvas.At(kSecondTopBar), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(kFirstTopBar), RGB(0, 52, 0));

    canvas.Fill(RGB(9, 9, 9));
    EXPECT_EQ(::SendMessageA(window_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0), 0);
    EXPECT_EQ(canvas.CountOtherThan(RGB(9, 9, 9)), 0);
}

// What one paint keeps for the next (pens, brushes, the off-screen bitmap, the window region)
// must follow every change of size and colour.
TEST_F(CDigistaticTest, KeptDrawingStateFollowsSizeAndColourChanges)
{
    display_.ChangeStyle(LS_KEEP_ASPECT | LS_SOFT_EDGE, 0);
    display_.SetText("18");
    // "18" stretched over 49 pixels: the second cell spans x 24.5..49, its top bar lies at x 36.
    constexpr POINT kNarrowSecondTopBar{36, 7};
    constexpr POINT kBeyondNarrow{70, 40};
    struct Step {
        const char *what;
        int width;
        COLORREF on;
        COLORREF back;
        POINT at;
        COLORREF expected;
    };
    const COLORREF marker = RGB(9, 9, 9);
    const Step steps[] = {
        {"full width", kWidth, RGB(0, 255, 0), RGB(0, 0, 0), kSecondTopBar, RGB(0, 255, 0)},
        {"narrower: a new bitmap", 49, RGB(0, 255, 0), RGB(0, 0, 0), kNarrowSecondTopBar, RGB(0, 255, 0)},
        {"narrower: nothing beyond it", 49, RGB(0, 255, 0), RGB(0, 0, 0), kBeyondNarrow, marker},
        {"new lit colour: a new brush", 49, RGB(200, 100, 50), RGB(0, 0, 0), kNarrowSecondTopBar, RGB(200, 100, 50)},
        {"full width again", kWidth, RGB(200, 100, 50), RGB(0, 0, 0), kSecondTopBar, RGB(200, 100, 50)},
        {"new background", kWidth, RGB(200, 100, 50), RGB(40, 80, 120), kBetweenDigits, RGB(40, 80, 120)},
    };
    Canvas canvas(marker);
    for (const Step &step : steps) {
        SCOPED_TRACE(step.what);
        canvas.Fill(marker);
        display_.SetSegmentColors(RGB(0, 52, 0), step.on);
        display_.SetBackColor(step.back);
        Paint(canvas, step.width, kHeight);
        EXPECT_EQ(canvas.At(step.at), step.expected);
    }

    // In transparent mode the region of a narrower paint is shaped anew, not kept from the wider one.
    display_.SetTransparentMode(TRUE);
    display_.ChangeStyle(0, LS_HIDE_OFF);
    Paint(canvas);
    Paint(canvas, 49, kHeight);
    const UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(window_, region.get()), ERROR);
    EXPECT_TRUE(::PtInRegion(region.get(), kNarrowSecondTopBar.x, kNarrowSecondTopBar.y));
    EXPECT_FALSE(::PtInRegion(region.get(), kSecondTopBar.x, kSecondTopBar.y));
}

// A new text reaches the screen through the display's own paint only: the static control
// beneath would otherwise draw it as plain text at once.
TEST_F(CDigistaticTest, NewTextIsPaintedOnlyByTheDisplay)
{
    display_.ChangeStyle(LS_KEEP_ASPECT, 0);
    display_.SetText("18");
    Show();
    ::UpdateWindow(window_);
    ASSERT_EQ(OnScreen(kSecondTopBar), RGB(0, 255, 0));

    display_.SetText("  ");
    char text[8] = "";
    ::GetWindowTextA(window_, text, sizeof text);
    EXPECT_STREQ(text, "  ");
    EXPECT_TRUE(NeedsPaint());
    EXPECT_EQ(OnScreen(kSecondTopBar), RGB(0, 255, 0)) << "nothing drawn before the paint";
    ::UpdateWindow(window_);
    EXPECT_EQ(OnScreen(kSecondTopBar), RGB(0, 52, 0));
}

} // namespace
