#include "skin/skin_button.h"

#include "framework/dpi.h"
#include "skin/random_numbers.h"
#include "skin/texture_draw.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstring>

namespace {

// A thin frame, one pixel at 100 % and `width` pixels at the display's scaling: topLeft colour
// along the top and left, bottomRight along the others.
void Draw3dRect(HDC dc, const RECT &r, COLORREF topLeft, COLORREF bottomRight, int width)
{
    const auto line = [dc](int left, int top, int right, int bottom, COLORREF colour) {
        ::SetBkColor(dc, colour);
        const RECT area{left, top, right, bottom};
        ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
    };
    line(r.left, r.top, r.right - width, r.top + width, topLeft);
    line(r.left, r.top, r.left + width, r.bottom - width, topLeft);
    line(r.right - width, r.top, r.right, r.bottom, bottomRight);
    line(r.left, r.bottom - width, r.right, r.bottom, bottomRight);
}

// The system's two-pixel edge with each of its one-pixel rings `width` pixels thick.
void DrawScaledEdge(HDC dc, const RECT &r, UINT edge, int width)
{
    if (width <= 1) {
        RECT area = r;
        ::DrawEdge(dc, &area, edge, BF_RECT);
        return;
    }
    RECT ring = r;
    for (const UINT part : {edge & BDR_OUTER, edge & BDR_INNER})
        for (int k = 0; k < width; ++k) {
            ::DrawEdge(dc, &ring, part, BF_RECT);
            ::InflateRect(&ring, -1, -1);
        }
}

void FillWithButtonFace(HDC dc, const RECT &r) { ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE)); }

// Draws the frame along the edge of r, each pixel of it `line` pixels at the display's scaling;
// the default button's double frame leaves r one such line smaller, and the focus bars keep their
// distance from the inner frame.
void DrawFrame(HDC dc, RECT &r, skin::ButtonFrame frame, int line)
{
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    switch (frame) {
    case skin::ButtonFrame::None:
        break;
    case skin::ButtonFrame::Raised:
        DrawScaledEdge(dc, r, EDGE_RAISED, line);
        break;
    case skin::ButtonFrame::Sunken:
        DrawScaledEdge(dc, r, EDGE_SUNKEN, line);
        break;
    case skin::ButtonFrame::SunkenAndRaised:
        DrawScaledEdge(dc, r, EDGE_SUNKEN, line);
        ::InflateRect(&r, -line, -line);
        DrawScaledEdge(dc, r, EDGE_RAISED, line);
        break;
    case skin::ButtonFrame::ThinRaised:
        Draw3dRect(dc, r, highlight, shadow, line);
        break;
    case skin::ButtonFrame::ThinSunken:
        Draw3dRect(dc, r, shadow, highlight, line);
        break;
    }
}

bool TrackLeave(HWND hwnd, DWORD flags)
{
    TRACKMOUSEEVENT track{sizeof(track), flags, hwnd, HOVER_DEFAULT};
    return ::TrackMouseEvent(&track) != FALSE;
}

} // namespace

SkinButton::SkinButton() : textColor(::GetSysColor(COLOR_BTNTEXT)) { skin::InstallGdiTextureDrawing(); }

void SkinButton::PreSubclassWindow()
{
    const LONG_PTR style = ::GetWindowLongPtrA(hwnd, GWL_STYLE);
    flat = (style & BS_FLAT) != 0;
    UINT alignment = DT_CENTER;
    switch (style & BS_CENTER) {
    case BS_LEFT:
        alignment = DT_LEFT;
        break;
    case BS_RIGHT:
        alignment = DT_RIGHT;
        break;
    default:
        break;
    }
    textFormat = DT_SINGLELINE | DT_VCENTER | alignment;
    ::SetWindowLongPtrA(hwnd, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
    // The face covers every pixel. A see-through button would wait for the siblings beneath it and
    // keep them from clipping it out, so a picture behind it could paint over it.
    ::SetWindowLongPtrA(hwnd, GWL_EXSTYLE, ::GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & ~WS_EX_TRANSPARENT);
}

bool SkinButton::SetFont(const char *faceName, int height, int weight, bool italic, bool underline)
{
    if (!fontSpec)
        fontSpec.emplace(LOGFONTA{});
    LOGFONTA &logFont = *fontSpec;
    std::memset(logFont.lfFaceName, 0, sizeof logFont.lfFaceName);
    if (faceName)
        std::strncpy(logFont.lfFaceName, faceName, kMaxFaceName);
    logFont.lfHeight = height;
    logFont.lfWeight = weight;
    logFont.lfItalic = italic;
    logFont.lfUnderline = underline;
    const bool made = MakeFont(WindowDpi(hwnd));
    Repaint();
    return made;
}

bool SkinButton::MakeFont(UINT dpi)
{
    LOGFONTA scaled = *fontSpec;
    scaled.lfHeight = ScaleForDpi(fontSpec->lfHeight, dpi);
    font.reset(::CreateFontIndirectA(&scaled));
    fontDpi = dpi;
    return static_cast<bool>(font);
}

COLORREF SkinButton::SetTextColor(COLORREF colour)
{
    const COLORREF previous = textColor;
    textColor = colour;
    if (colour != previous)
        Repaint();
    return previous;
}

void SkinButton::SetFlat(bool flatFace)
{
    if (flatFace == flat)
        return;
    flat = flatFace;
    Repaint();
}

void SkinButton::GenerateFaces(int mode, int noise, int hoverPercent, int tintPercent, COLORREF tintColour)
{
    faceRecipe = FaceRecipe{mode & 0xFF, noise & 0xFF, hoverPercent & 0xFF, tintPercent & 0xFF, tintColour};
    MakeFaces();
    Repaint();
}

SIZE SkinButton::PixelSize() const
{
    RECT window{};
    if (hwnd)
        ::GetWindowRect(hwnd, &window);
    return {window.right - window.left, window.bottom - window.top};
}

void SkinButton::MakeFaces()
{
    if (!faceRecipe)
        return;
    const SIZE size = PixelSize();
    const UINT dpi = WindowDpi(hwnd);
    const FaceRecipe &recipe = *faceRecipe;
    const skin::FaceRequest request{size.cx,
                                    size.cy,
                                    ScaleForDpi(frameWidth, dpi),
                                    recipe.mode,
                                    recipe.noise,
                                    recipe.hoverPercent,
                                    recipe.tintPercent,
                                    recipe.tint,
                                    ScaleForDpi(1, dpi)};
    const skin::SystemColours colours{::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNFACE),
                                      ::GetSysColor(COLOR_BTNHIGHLIGHT)};
    skin::RandomGenerator &random = skin::ProgramRandom();
    skin::GenerateFaceSurfaces(faces, request, colours, [&random] { return random.Next(); });
    faceSize = size;
    faceDpi = dpi;
}

void SkinButton::RefreshFaces()
{
    const SIZE size = PixelSize();
    if (faceRecipe && (size.cx != faceSize.cx || size.cy != faceSize.cy || WindowDpi(hwnd) != faceDpi))
        MakeFaces();
}

void SkinButton::Repaint() const
{
    if (hwnd)
        ::InvalidateRect(hwnd, nullptr, FALSE);
}

bool SkinButton::IsPushed() const { return (::SendMessageA(hwnd, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }

bool SkinButton::SetPushed(bool pushed)
{
    if (IsPushed() == pushed)
        return false;
    ::SendMessageA(hwnd, BM_SETSTATE, pushed, 0);
    return true;
}

bool SkinButton::OnReflect(Message &m)
{
    if (m.id != WM_DRAWITEM)
        return false;
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT *>(m.lParam));
    m.result = TRUE;
    return true;
}

void SkinButton::DrawFace(HDC dc, const RECT &r, const skin::TextureSurface &face, int x, int y) const
{
    if (!face.Draw(dc, x, y))
        FillWithButtonFace(dc, r);
}

const skin::TextureSurface *SkinButton::FaceSurface(skin::ButtonFace face) const
{
    switch (face) {
    case skin::ButtonFace::Normal:
        return &faces.normalFace;
    case skin::ButtonFace::Hover:
        return &faces.hoverFace;
    case skin::ButtonFace::Pressed:
        return &faces.pressedFace;
    case skin::ButtonFace::Disabled:
        return &faces.disabledFace;
    case skin::ButtonFace::Plain:
        break;
    }
    return nullptr;
}

void SkinButton::DrawItem(const DRAWITEMSTRUCT &item)
{
    // While the left button is held on us, the pushed face follows the pointer; the state change
    // brings its own paint.
    if (mouseDown && HasCapture()) {
        POINT cursor;
        RECT window;
        if (::GetCursorPos(&cursor) && ::GetWindowRect(hwnd, &window)) {
            const bool over = ::PtInRect(&window, cursor) != FALSE;
            if (over != IsPushed()) {
                SetPushed(over);
                return;
            }
        }
    }

    // The faces follow the button's size and DPI (a new display scaling), made once for each.
    RefreshFaces();
    const UINT dpi = WindowDpi(hwnd);
    const int line = ScaleForDpi(1, dpi);
    const int frame = ScaleForDpi(frameWidth, dpi);
    RECT r = item.rcItem;
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    RECT text{r.left + frame + 2 * line, r.top, r.right - frame - 2 * line, r.bottom};
    MemoryDc memory(item.hDC, w, h);
    if (!memory)
        return;
    const HDC dc = memory.get();
    char caption[256] = "";
    if (hwnd)
        ::GetWindowTextA(hwnd, caption, sizeof caption);
    ::SetBkMode(dc, TRANSPARENT);
    // The window moved to a screen of another scaling since the font was made.
    if (const UINT dpi = WindowDpi(hwnd); fontSpec && dpi != fontDpi)
        MakeFont(dpi);
    const ScopedSelect selectFont(dc, font ? font.get() : ::GetStockObject(DEFAULT_GUI_FONT));

    const UINT state = item.itemState;
    const skin::ButtonLook look = skin::ChooseButtonLook({
        .disabled = (state & ODS_DISABLED) != 0,
        .pressed = (state & ODS_SELECTED) != 0,
        .focused = (state & ODS_FOCUS) != 0,
        .isDefault = (state & ODS_DEFAULT) != 0,
        .mouseInside = mouseInside,
        .flat = flat,
        .haveNormalFace = faces.normalFace.IsValid(),
        .haveHoverFace = faces.hoverFace.IsValid(),
    });
    const int shift = look.shift * line;
    if (const skin::TextureSurface *face = FaceSurface(look.face))
        DrawFace(dc, r, *face, shift, shift);
    else
        FillWithButtonFace(dc, r);
    ::OffsetRect(&text, shift, shift);
    DrawFrame(dc, r, look.frame, line);

    if (look.focusBars && frame > 0) {
        // Around the inner rectangle, its right and bottom lines just outside it.
        ::InflateRect(&r, -frame, -frame);
        faces.focusBarH.Draw(dc, r.left + line, r.top);
        faces.focusBarH.Draw(dc, r.left + line, r.bottom - line + 1);
        faces.focusBarV.Draw(dc, r.left, r.top + line);
        faces.focusBarV.Draw(dc, r.right - line + 1, r.top + line);
    }
    if (look.embossedCaption) {
        // A light copy under the grey caption.
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        ::DrawTextA(dc, caption, -1, &text, textFormat);
        ::OffsetRect(&text, -line, -line);
        ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
    } else {
        ::SetTextColor(dc, textColor);
    }
    ::DrawTextA(dc, caption, -1, &text, textFormat);
    memory.CopyTo(item.hDC);
}

bool SkinButton::ProcessMessage(Message &m)
{
    static const MapEntry<SkinButton> messageMap[] = {
        ON_MESSAGE(WM_ERASEBKGND, &SkinButton::OnEraseBkgnd),
        ON_MESSAGE(WM_LBUTTONDOWN, &SkinButton::OnLButtonDown),
        ON_MESSAGE(WM_LBUTTONUP, &SkinButton::OnLButtonUp),
        ON_MESSAGE(WM_MOUSEMOVE, &SkinButton::OnMouseMove),
        ON_MESSAGE(WM_LBUTTONDBLCLK, &SkinButton::OnLButtonDblClk),
        ON_MESSAGE(WM_KILLFOCUS, &SkinButton::OnKillFocus),
        ON_MESSAGE(WM_MOUSELEAVE, &SkinButton::OnMouseLeave),
    };
    return DispatchMessageMap(this, messageMap, m) || Control::ProcessMessage(m);
}

bool SkinButton::OnEraseBkgnd(Message &m)
{
    // The paint covers every pixel; erasing first would flicker.
    m.result = TRUE;
    return true;
}

bool SkinButton::OnLButtonDown(Message &m)
{
    if (mouseInside && TrackLeave(hwnd, TME_CANCEL | TME_LEAVE))
        mouseInside = false;
    m.result = Default(m);
    mouseDown = true;
    return true;
}

bool SkinButton::OnLButtonUp(Message &)
{
    mouseDown = false;
    return false;
}

bool SkinButton::OnMouseMove(Message &m)
{
    if (mouseDown && HasCapture()) {
        RECT client;
        ::GetClientRect(hwnd, &client);
        const POINT at{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
        if (SetPushed(::PtInRect(&client, at) != FALSE))
            Repaint();
    } else if (!mouseInside && TrackLeave(hwnd, TME_LEAVE)) {
        mouseInside = true;
        Repaint();
    }
    return false;
}

bool SkinButton::OnLButtonDblClk(Message &m)
{
    // A fast second click is a click of its own.
    m.result = ::SendMessageA(hwnd, WM_LBUTTONDOWN, m.wParam, m.lParam);
    return true;
}

bool SkinButton::OnKillFocus(Message &)
{
    if (HasCapture()) {
        ::ReleaseCapture();
        mouseDown = false;
    }
    return false;
}

bool SkinButton::OnMouseLeave(Message &m)
{
    mouseInside = false;
    Repaint();
    m.result = 0;
    return true;
}
