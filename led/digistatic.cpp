#include "led/digistatic.h"

#include "framework/dpi.h"
#include "led/led_layout.h"

#include <algorithm>
#include <array>
#include <new>
#include <optional>
#include <span>

namespace {

// A polygon's region holds the pixels whose centres lie inside, while the outline pen also draws
// pixels just outside; growing the region by that reach all round keeps the whole edge visible.
// The extra pixels show the parent's drawing, which is what the background copy holds there.
void CoverOutlinePixels(HRGN region, int reach)
{
    const UniqueRegion shifted(::CreateRectRgn(0, 0, 0, 0));
    if (!shifted)
        return;
    for (int grown = 0; grown < reach; ++grown)
        for (const POINT step : {POINT{1, 0}, POINT{0, 1}}) {
            ::CombineRgn(shifted.get(), region, nullptr, RGN_COPY);
            ::OffsetRgn(shifted.get(), step.x, step.y);
            ::CombineRgn(region, region, shifted.get(), RGN_OR);
            ::OffsetRgn(shifted.get(), -2 * step.x, -2 * step.y);
            ::CombineRgn(region, region, shifted.get(), RGN_OR);
        }
}

} // namespace

void CDigistatic::SetText(const char *shown)
{
    const char *newText = shown ? shown : "";
    if (text == newText)
        return;
    text = newText;
    modified = true;
    if (hwnd)
        ::SetWindowTextA(hwnd, text.c_str());
    Redraw();
}

void CDigistatic::PreSubclassWindow()
{
    // The template's placeholder text is not what the display shows.
    ::SetWindowTextA(hwnd, text.c_str());
    // The window is see-through exactly in transparent mode: an opaque display that kept the
    // style would not be clipped out of the siblings beneath it, which could paint over it.
    const LONG exStyle = ::GetWindowLongA(hwnd, GWL_EXSTYLE);
    ::SetWindowLongA(hwnd, GWL_EXSTYLE, transparent ? exStyle | WS_EX_TRANSPARENT : exStyle & ~WS_EX_TRANSPARENT);
}

void CDigistatic::SetSegmentColors(COLORREF off, COLORREF on)
{
    if (off == offColor && on == onColor)
        return;
    offColor = off;
    onColor = on;
    Redraw();
}

COLORREF CDigistatic::SetBackColor(COLORREF color)
{
    const COLORREF previous = backColor;
    if (color != previous) {
        backColor = color;
        Redraw();
    }
    return previous;
}

BOOL CDigistatic::SetTransparentMode(BOOL on)
{
    const bool wasTransparent = transparent;
    transparent = on != FALSE;
    if (!hwnd)
        return FALSE;
    // The region of the last see-through paint would otherwise go on clipping an opaque control.
    if (wasTransparent && !transparent) {
        ::SetWindowRgn(hwnd, nullptr, FALSE);
        regionShaped = false;
    }
    const LONG exStyle = ::GetWindowLongA(hwnd, GWL_EXSTYLE);
    const LONG wanted = transparent ? exStyle | WS_EX_TRANSPARENT : exStyle & ~WS_EX_TRANSPARENT;
    if (wanted == exStyle)
        return FALSE;
    ::SetWindowLongA(hwnd, GWL_EXSTYLE, wanted);
    return TRUE;
}

BOOL CDigistatic::ChangeStyle(DWORD remove, DWORD add)
{
    if (!led::ChangeStyle(style, remove, add))
        return FALSE;
    modified = true;
    Redraw();
    return TRUE;
}

void CDigistatic::Redraw()
{
    if (!hwnd)
        return;
    // Without its region the whole client area is repainted, and the paint shapes a new one.
    if (transparent) {
        // Only a region that a paint set needs dropping: removing none still reshapes the window,
        // which costs more than the paint, and the start-up makes several changes in a row.
        if (regionShaped)
            ::SetWindowRgn(hwnd, nullptr, TRUE);
        regionShaped = false;
        // The paint copies what lies beneath as its background; segments that go out must be
        // painted over by the parent and the siblings beneath first, or the copy keeps them.
        if (const HWND parent = ::GetParent(hwnd)) {
            RECT area;
            ::GetWindowRect(hwnd, &area);
            ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&area), 2);
            ::RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        }
    }
    ::InvalidateRect(hwnd, nullptr, TRUE);
}

void CDigistatic::RebuildGlyphs()
{
    if (!modified)
        return;
    try {
        led::BuildGlyphRow(text, style, glyphs);
    } catch (const std::bad_alloc &) {
        // Show the background now and try again at the next paint.
        glyphs.clear();
        return;
    }
    modified = false;
}

bool CDigistatic::ProcessMessage(Message &m)
{
    static const MapEntry<CDigistatic> messageMap[] = {
        ON_MESSAGE(WM_PAINT, &CDigistatic::OnPaint),
        ON_MESSAGE(WM_ERASEBKGND, &CDigistatic::OnEraseBkgnd),
        ON_MESSAGE(WM_SETTEXT, &CDigistatic::OnSetText),
    };
    return DispatchMessageMap(this, messageMap, m) || Control::ProcessMessage(m);
}

bool CDigistatic::OnPaint(Message &)
{
    RECT client{};
    ::GetClientRect(hwnd, &client);
    PAINTSTRUCT ps;
    if (HDC dc = ::BeginPaint(hwnd, &ps)) {
        ::SetBkColor(dc, backColor);
        Paint(dc, client.right, client.bottom);
        ::EndPaint(hwnd, &ps);
    }
    return true;
}

bool CDigistatic::OnEraseBkgnd(Message &m)
{
    m.result = FALSE;
    return true;
}

bool CDigistatic::OnSetText(Message &m)
{
    // Only the window text: the static control would draw the new text at once, in its own
    // font, over the segments (one wasted paint a second, and a flash of text).
    m.result = ::DefWindowProcA(hwnd, WM_SETTEXT, m.wParam, m.lParam);
    return true;
}

bool CDigistatic::PrepareDrawingObjects()
{
    const ObjectColours wanted{offColor, onColor, led::OutlinePenColor(offColor, backColor, style),
                               led::OutlinePenColor(onColor, backColor, style), led::OutlineWidth(WindowDpi(hwnd))};
    if (offBrush && onBrush && offPen && onPen && wanted == objectColours)
        return true;
    offBrush.reset(::CreateSolidBrush(wanted.off));
    onBrush.reset(::CreateSolidBrush(wanted.on));
    offPen.reset(::CreatePen(PS_SOLID, 1, wanted.offEdge));
    onPen.reset(::CreatePen(PS_SOLID, 1, wanted.onEdge));
    objectColours = wanted;
    return offBrush && onBrush && offPen && onPen;
}

MemoryDc *CDigistatic::PrepareOffscreen(HDC target, int width, int height)
{
    if (!offscreen || offscreenSize.cx != width || offscreenSize.cy != height) {
        offscreen.reset(); // the old bitmap goes before the new one is made
        auto made = std::make_unique<MemoryDc>(target, width, height);
        if (!*made)
            return nullptr;
        offscreen = std::move(made);
        offscreenSize = {width, height};
    }
    return offscreen.get();
}

void CDigistatic::Paint(HDC target, int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    MemoryDc *memory = PrepareOffscreen(target, width, height);
    if (!memory)
        return;
    const HDC dc = memory->get();
    ::SetBkColor(dc, backColor);
    if (transparent) {
        ::SetBkMode(dc, TRANSPARENT);
        ::BitBlt(dc, 0, 0, width, height, target, 0, 0, SRCCOPY);
    } else {
        ::SetBkMode(dc, OPAQUE);
        const RECT area{0, 0, width, height};
        ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
    }

    if (PrepareDrawingObjects()) {
        const ScopedSelect brush(dc, onBrush.get());
        const ScopedSelect pen(dc, offPen.get());
        RebuildGlyphs();
        DrawGlyphRow(dc, width, height,
                     {offPen.get(), onPen.get(), offBrush.get(), onBrush.get(), objectColours.outlineWidth});
    }
    memory->CopyTo(target);
}

void CDigistatic::DrawGlyphRow(HDC dc, int width, int height, const DrawingObjects &objects)
{
    const std::optional<led::LedLayout> layout = led::ComputeLayout(led::TotalWidth(glyphs), width, height, style);
    if (!layout)
        return;
    // A repaint without a change (the window was uncovered) keeps its region: setting one reshapes
    // the window, which costs far more than the whole paint.
    const bool shapeRegion =
        transparent && !(regionShaped && regionSize.cx == width && regionSize.cy == height);
    UniqueRegion collected;
    if (shapeRegion)
        collected.reset(::CreateRectRgn(0, 0, 0, 0));
    double left = layout->x0;
    for (const led::CLedGlyph &glyph : glyphs) {
        const led::CellRect cell = led::GlyphCell(*layout, left, glyph.GetWidth());
        DrawGlyph(dc, glyph, cell, objects, collected.get());
        left = cell.right;
    }
    if (!collected)
        return;
    CoverOutlinePixels(collected.get(), led::OutlineReach(objectColours.outlineWidth));
    // Once set, the region belongs to the window.
    if (::SetWindowRgn(hwnd, collected.get(), FALSE)) {
        collected.release();
        regionShaped = true;
        regionSize = {width, height};
    }
}

// A wider outline: the pen's open line again, moved across and down by each offset, which thickens
// edges of every direction; all copies in one call.
void CDigistatic::DrawWiderOutline(HDC dc, std::span<const POINT> line, int outlineWidth)
{
    constexpr int kMaxCopies = 2 * (kMaxOutlineWidth - 1);
    std::array<POINT, kMaxCopies * led::kMaxOutlinePoints> copies;
    std::array<DWORD, kMaxCopies> counts;
    std::size_t used = 0;
    DWORD lines = 0;
    for (int k = 1; k < std::min(outlineWidth, kMaxOutlineWidth); ++k) {
        const int offset = led::OutlineOffset(k);
        for (const POINT step : {POINT{offset, 0}, POINT{0, offset}}) {
            for (const POINT p : line)
                copies[used++] = {p.x + step.x, p.y + step.y};
            counts[lines++] = static_cast<DWORD>(line.size());
        }
    }
    if (lines)
        ::PolyPolyline(dc, copies.data(), counts.data(), lines);
}

void CDigistatic::DrawGlyph(HDC dc, const led::CLedGlyph &glyph, const led::CellRect &cell,
                            const DrawingObjects &objects, HRGN collected)
{
    const std::span<const led::CLedSegment> segments = glyph.GetSegments();
    const std::size_t count = std::min(segments.size(), static_cast<std::size_t>(std::max(glyph.GetSegmentCount(), 0)));
    std::array<led::DevicePoint, led::kMaxOutlinePoints> mapped;
    std::array<POINT, led::kMaxOutlinePoints> points;
    for (std::size_t i = 0; i < count; ++i) {
        const bool lit = glyph.IsLit(i);
        ::SelectObject(dc, lit ? objects.onBrush : objects.offBrush);
        ::SelectObject(dc, lit ? objects.onPen : objects.offPen);
        if (glyph.GetHideOff() && !lit)
            continue;
        const std::size_t pointCount = led::MapOutline(segments[i], cell, glyph.GetWidth(), mapped);
        if (pointCount == 0)
            continue;
        for (std::size_t k = 0; k < pointCount; ++k)
            points[k] = {mapped[k].x, mapped[k].y};
        ::BeginPath(dc);
        ::MoveToEx(dc, points[0].x, points[0].y, nullptr);
        ::PolylineTo(dc, points.data() + 1, static_cast<DWORD>(pointCount - 1));
        ::EndPath(dc);
        ::StrokeAndFillPath(dc);
        if (objects.outlineWidth > 1)
            DrawWiderOutline(dc, std::span<const POINT>(points.data(), pointCount), objects.outlineWidth);
        if (!collected)
            continue;
        const UniqueRegion area(::CreatePolygonRgn(points.data(), static_cast<int>(pointCount), WINDING));
        if (area)
            ::CombineRgn(collected, collected, area.get(), RGN_OR);
    }
}
