// The skinned push button: each face painted into a memory context, the border styles, the
// pointer and keyboard behaviour on a real window.
#include "framework/handles.h"
#include "skin/random_numbers.h"
#include "skin/skin_button.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>

namespace {

constexpr int kWidth = 50;
constexpr int kHeight = 20;
constexpr int kButtonId = 77;

// A 32-bit off-screen target, so that colours read back exactly.
class Canvas {
public:
    Canvas(int width, int height) : dc_(::CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void *bits = nullptr;
        bitmap_.reset(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        select_.emplace(dc_.get(), bitmap_.get());
        const RECT all{0, 0, width, height};
        ::FillRect(dc_.get(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
    HDC Dc() const { return dc_.get(); }
    COLORREF At(int x, int y) const { return ::GetPixel(dc_.get(), x, y); }

private:
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    std::optional<ScopedSelect> select_;
};

// A plain parent window that reflects the owner-draw request and counts clicks.
class Host {
public:
    explicit Host(DWORD buttonStyle = BS_PUSHBUTTON)
    {
        static const ATOM atom = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = &Host::Proc;
            wc.hInstance = ::GetModuleHandleA(nullptr);
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            wc.lpszClassName = "SkinButtonTestHost";
            return ::RegisterClassA(&wc);
        }();
        (void)atom;
        parent = ::CreateWindowExA(WS_EX_TOPMOST, "SkinButtonTestHost", "", WS_POPUP, 100, 100, 200, 100, nullptr,
                                   nullptr, nullptr, nullptr);
        ::SetWindowLongPtrA(parent, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        hwnd = ::CreateWindowExA(0, "Button", "&Start", WS_CHILD | WS_VISIBLE | WS_TABSTOP | buttonStyle, 20, 30,
                                 kWidth, kHeight, parent, reinterpret_cast<HMENU>(kButtonId), nullptr, nullptr);
        other = ::CreateWindowExA(0, "Button", "x", WS_CHILD | WS_VISIBLE, 120, 30, 40, 20, parent, nullptr, nullptr,
                                  nullptr);
        button.SubclassWindow(hwnd);
    }
    ~Host() { ::DestroyWindow(parent); }

    void Show() const
    {
        ::ShowWindow(parent, SW_SHOWNOACTIVATE);
        ::UpdateWindow(parent);
    }
    POINT ScreenPoint(int x, int y) const
    {
        POINT p{x, y};
        ::ClientToScreen(hwnd, &p);
        return p;
    }
    void Paint(const Canvas &canvas, UINT state) const
    {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = kButtonId;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hwndItem = hwnd;
        item.hDC = canvas.Dc();
        ::GetClientRect(hwnd, &item.rcItem);
        const_cast<SkinButton &>(button).DrawItem(item);
    }
    bool Pushed() const { return (::SendMessageA(hwnd, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }

    HWND parent = nullptr;
    HWND hwnd = nullptr;
    HWND other = nullptr;
    SkinButton button;
    int clicks = 0;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto *self = reinterpret_cast<Host *>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && message == WM_COMMAND && LOWORD(wParam) == kButtonId && HIWORD(wParam) == BN_CLICKED)
            ++self->clicks;
        if (message == WM_DRAWITEM) {
            const auto *item = reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
            if (Control *control = Control::FromHandle(item->hwndItem)) {
                Message m{message, wParam, lParam};
                if (control->OnReflect(m))
                    return m.result;
            }
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
};

// Under X a late motion of an earlier move can put the pointer back, so the move is repeated
// until it holds.
void MoveCursorTo(POINT screen)
{
    PumpUntil([&] {
        ::SetCursorPos(screen.x, screen.y);
        PumpUntil([] { return false; }, 30);
        POINT now{};
        ::GetCursorPos(&now);
        return now.x == screen.x && now.y == screen.y;
    });
}

// The colour a face gives to the pixel at (x, y) from the top, as the face's own data says.
COLORREF FaceColour(const skin::TextureSurface &face, int x, int y)
{
    return face.PaletteEntry(face.PixelAt(x, face.Height() - 1 - y));
}

// Pixels of the text colour in the middle of the button, where the caption stands.
int CaptionPixels(const Canvas &canvas, COLORREF colour)
{
    int count = 0;
    for (int y = 4; y < kHeight - 4; ++y)
        for (int x = 8; x < kWidth - 8; ++x)
            count += canvas.At(x, y) == colour;
    return count;
}

TEST(SkinButtonTest, AttachingMakesTheButtonOwnerDrawnAndReadsFlatAndAlignment)
{
    struct Case {
        DWORD style;
        bool flat;
        UINT format;
    };
    for (const Case &c : {Case{BS_PUSHBUTTON, false, DT_SINGLELINE | DT_VCENTER | DT_CENTER},
                          Case{BS_DEFPUSHBUTTON | BS_FLAT, true, DT_SINGLELINE | DT_VCENTER | DT_CENTER},
                          Case{BS_PUSHBUTTON | BS_LEFT, false, DT_SINGLELINE | DT_VCENTER | DT_LEFT},
                          Case{BS_PUSHBUTTON | BS_RIGHT | BS_FLAT, true, DT_SINGLELINE | DT_VCENTER | DT_RIGHT},
                          Case{BS_PUSHBUTTON | BS_CENTER, false, DT_SINGLELINE | DT_VCENTER | DT_CENTER}}) {
        Host host(c.style);
        EXPECT_EQ(host.button.IsFlat(), c.flat) << std::hex << c.style;
        EXPECT_EQ(host.button.GetTextFormat(), c.format) << std::hex << c.style;
        EXPECT_EQ(::GetWindowLongA(host.hwnd, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    }
}

TEST(SkinButtonTest, WithoutFacesTheButtonIsPaintedInTheButtonFaceColour)
{
    Host host;
    Canvas canvas(kWidth, kHeight);
    host.Paint(canvas, 0);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(canvas.At(4, 4), face);
    EXPECT_EQ(canvas.At(kWidth - 5, kHeight - 5), face);
    EXPECT_NE(canvas.At(0, 0), face) << "raised border";
    Canvas pressed(kWidth, kHeight);
    host.Paint(pressed, ODS_SELECTED);
    EXPECT_EQ(pressed.At(4, 4), face);
    Canvas disabled(kWidth, kHeight);
    host.Paint(disabled, ODS_DISABLED);
    EXPECT_EQ(disabled.At(4, 4), face);
}

TEST(SkinButtonTest, EachStatePaintsItsFaceBorderAndCaption)
{
    Host host;
    SkinButton &button = host.button;
    button.GenerateFaces(1, 8, 20, 50, RGB(30, 18, 108));
    const COLORREF textColour = RGB(255, 0, 0);
    button.SetTextColor(textColour);
    const skin::FaceSurfaces &faces = button.GetFaces();
    ASSERT_TRUE(faces.normalFace.IsValid());
    ASSERT_EQ(faces.normalFace.Width(), kWidth);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);

    // Raised (not flat): the face inside a two-pixel edge, the caption in the text colour.
    Canvas normal(kWidth, kHeight);
    host.Paint(normal, 0);
    for (const POINT p : {POINT{3, 3}, POINT{kWidth - 4, kHeight - 4}, POINT{6, 10}})
        EXPECT_EQ(normal.At(p.x, p.y), FaceColour(faces.normalFace, p.x, p.y)) << p.x << "," << p.y;
    EXPECT_NE(normal.At(0, 0), FaceColour(faces.normalFace, 0, 0));
    EXPECT_GT(CaptionPixels(normal, textColour), 10);
    EXPECT_NE(FaceColour(faces.normalFace, 3, 3), FaceColour(faces.hoverFace, 3, 3));

    // Pressed: the pressed face moved by one pixel, a sunken edge, the caption moved too.
    Canvas pressed(kWidth, kHeight);
    host.Paint(pressed, ODS_SELECTED);
    for (const POINT p : {POINT{3, 3}, POINT{20, 15}})
        EXPECT_EQ(pressed.At(p.x + 1, p.y + 1), FaceColour(faces.pressedFace, p.x, p.y)) << p.x << "," << p.y;
    EXPECT_EQ(pressed.At(0, 0), shadow) << "sunken: shadow outside at the top left";
    EXPECT_GT(CaptionPixels(pressed, textColour), 10);

    // Disabled: its face, the caption grey over a light copy, no text colour.
    Canvas disabled(kWidth, kHeight);
    host.Paint(disabled, ODS_DISABLED | ODS_FOCUS);
    EXPECT_EQ(disabled.At(3, 3), FaceColour(faces.disabledFace, 3, 3));
    EXPECT_EQ(CaptionPixels(disabled, textColour), 0);
    EXPECT_GT(CaptionPixels(disabled, ::GetSysColor(COLOR_GRAYTEXT)), 10);
    EXPECT_EQ(disabled.At(5, 4), FaceColour(faces.disabledFace, 5, 4)) << "no focus frame when disabled";

    // Focus: dotted bars four pixels in, shadow and highlight dots.
    Canvas focused(kWidth, kHeight);
    host.Paint(focused, ODS_FOCUS);
    EXPECT_EQ(focused.At(5, 4), shadow);
    EXPECT_EQ(focused.At(6, 4), highlight);
    EXPECT_EQ(focused.At(5, kHeight - 4), shadow);
    // The vertical bar's rows are stored bottom-up: its lowest dot is a shadow one.
    EXPECT_EQ(focused.At(4, kHeight - 4), shadow);
    EXPECT_EQ(focused.At(4, kHeight - 5), highlight);
    EXPECT_EQ(focused.At(kWidth - 4, kHeight - 5), highlight);

    // Default: a sunken edge with a raised one inside.
    Canvas byDefault(kWidth, kHeight);
    host.Paint(byDefault, ODS_DEFAULT);
    EXPECT_EQ(byDefault.At(0, 0), shadow);
    EXPECT_NE(byDefault.At(1, 1), normal.At(1, 1));

    // The button grows (a larger display scaling): the next paint makes faces of its new size,
    // and the one after keeps them.
    ::SetWindowPos(host.hwnd, nullptr, 0, 0, 2 * kWidth, 2 * kHeight, SWP_NOMOVE | SWP_NOZORDER);
    Canvas larger(2 * kWidth, 2 * kHeight);
    host.Paint(larger, 0);
    ASSERT_EQ(faces.normalFace.Width(), 2 * kWidth);
    EXPECT_EQ(faces.normalFace.Height(), 2 * kHeight);
    for (const POINT p : {POINT{3, 3}, POINT{2 * kWidth - 4, 2 * kHeight - 4}})
        EXPECT_EQ(larger.At(p.x, p.y), FaceColour(faces.normalFace, p.x, p.y)) << p.x << "," << p.y;
    // New faces would draw their grain from the program's generator.
    skin::RandomGenerator untouched = skin::ProgramRandom();
    host.Paint(larger, 0);
    EXPECT_EQ(skin::ProgramRandom().Next(), untouched.Next()) << "made once for the size";
}

TEST(SkinButtonTest, FlatButtonShowsItsBorderOnlyUnderThePointerAndLightsUp)
{
    Host host;
    SkinButton &button = host.button;
    button.SetFlat(true);
    button.GenerateFaces(1, 8, 20, 50, RGB(119, 150, 199));
    const skin::FaceSurfaces &faces = button.GetFaces();
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);

    Canvas away(kWidth, kHeight);
    host.Paint(away, 0);
    EXPECT_EQ(away.At(0, 0), FaceColour(faces.normalFace, 0, 0)) << "no border";
    EXPECT_EQ(away.At(kWidth - 1, kHeight - 1), FaceColour(faces.normalFace, kWidth - 1, kHeight - 1));

    // The pointer enters (leave tracking armed): the hover face and a thin raised frame.
    host.Show();
    MoveCursorTo(host.ScreenPoint(10, 10));
    ::SendMessageA(host.hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    ASSERT_TRUE(button.IsMouseInside());
    Canvas hover(kWidth, kHeight);
    host.Paint(hover, 0);
    EXPECT_EQ(hover.At(0, 0), highlight);
    EXPECT_EQ(hover.At(kWidth - 1, kHeight - 1), shadow);
    EXPECT_EQ(hover.At(3, 3), FaceColour(faces.hoverFace, 3, 3));

    // The pointer goes elsewhere and the system reports the leave: the frame goes again.
    MoveCursorTo({0, 0});
    EXPECT_TRUE(PumpUntil([&] { return !button.IsMouseInside(); }));
    Canvas left(kWidth, kHeight);
    host.Paint(left, 0);
    EXPECT_EQ(left.At(0, 0), FaceColour(faces.normalFace, 0, 0));

    // Pressed flat: a thin sunken frame.
    Canvas pressed(kWidth, kHeight);
    host.Paint(pressed, ODS_SELECTED);
    EXPECT_EQ(pressed.At(0, 0), shadow);
    EXPECT_EQ(pressed.At(kWidth - 1, kHeight - 1), highlight);
}

TEST(SkinButtonTest, PressedFaceFollowsThePointerAndOnlyAReleaseOnTheButtonClicks)
{
    Host host;
    host.Show();
    // The pointer really moves (the paint reads its position), then the move arrives.
    const auto moveTo = [&](int x, int y, WPARAM keys) {
        MoveCursorTo(host.ScreenPoint(x, y));
        ::SendMessageA(host.hwnd, WM_MOUSEMOVE, keys, MAKELPARAM(x, y));
    };
    const LPARAM inside = MAKELPARAM(10, 10);
    const LPARAM outside = MAKELPARAM(kWidth + 30, 10);
    moveTo(10, 10, 0);
    ::SendMessageA(host.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    EXPECT_TRUE(host.button.IsMouseDown());
    EXPECT_EQ(::GetCapture(), host.hwnd);
    EXPECT_TRUE(host.Pushed());

    moveTo(kWidth + 30, 10, MK_LBUTTON);
    EXPECT_FALSE(host.Pushed()) << "dragged off";
    ::RedrawWindow(host.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_FALSE(host.Pushed()) << "a paint meanwhile keeps it";
    moveTo(10, 10, MK_LBUTTON);
    EXPECT_TRUE(host.Pushed()) << "and back on";
    moveTo(kWidth + 30, 10, MK_LBUTTON);
    ::SendMessageA(host.hwnd, WM_LBUTTONUP, 0, outside);
    EXPECT_FALSE(host.button.IsMouseDown());
    EXPECT_EQ(host.clicks, 0) << "released off the button";

    // A click, then a fast second one that arrives as a double click: two clicks.
    moveTo(10, 10, 0);
    ::SendMessageA(host.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    ::SendMessageA(host.hwnd, WM_LBUTTONUP, 0, inside);
    ::SendMessageA(host.hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, inside);
    EXPECT_TRUE(host.Pushed());
    ::SendMessageA(host.hwnd, WM_LBUTTONUP, 0, inside);
    EXPECT_EQ(host.clicks, 2);
    ::SetCursorPos(0, 0);
}

TEST(SkinButtonTest, LosingTheFocusWhileHeldReleasesTheCapture)
{
    Host host;
    host.Show();
    ::SetForegroundWindow(host.parent);
    ::SetFocus(host.hwnd);
    ::SendMessageA(host.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ASSERT_EQ(::GetCapture(), host.hwnd);
    ::SendMessageA(host.hwnd, WM_KILLFOCUS, reinterpret_cast<WPARAM>(host.other), 0);
    EXPECT_NE(::GetCapture(), host.hwnd);
    EXPECT_FALSE(host.button.IsMouseDown());
}

TEST(SkinButtonTest, FontFaceNameIsCutAt31CharactersAndErasingPaintsNothing)
{
    Host host;
    const char longName[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnop";
    EXPECT_TRUE(host.button.SetFont(longName, 15, 700, false, true));
    const LOGFONTA *logFont = host.button.GetFontSpec();
    ASSERT_NE(logFont, nullptr);
    EXPECT_EQ(std::string(logFont->lfFaceName), std::string(longName, 31));
    EXPECT_EQ(logFont->lfHeight, 15);
    EXPECT_EQ(logFont->lfWeight, 700);
    EXPECT_FALSE(logFont->lfItalic);
    EXPECT_TRUE(logFont->lfUnderline);
    EXPECT_EQ(logFont->lfCharSet, 0);
    EXPECT_TRUE(host.button.SetFont("Arial", 12, 400, true, false));
    EXPECT_EQ(std::string(logFont->lfFaceName), "Arial") << "a shorter name leaves nothing of the old one";
    EXPECT_TRUE(logFont->lfItalic);

    EXPECT_EQ(host.button.SetTextColor(RGB(1, 2, 3)), ::GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(host.button.SetTextColor(RGB(4, 5, 6)), RGB(1, 2, 3));

    Canvas canvas(kWidth, kHeight);
    EXPECT_EQ(::SendMessageA(host.hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0), TRUE);
    EXPECT_EQ(canvas.At(10, 10), RGB(0, 0, 0));
}

} // namespace
