// The LED display control: a static control that shows its text as a row of seven-segment glyph
// cells stretched to its client area, painted off-screen and copied to the screen in one step.
// Every call belongs on the thread that owns the control's window.
#pragma once

#include "framework/control.h"
#include "framework/handles.h"
#include "led/glyph.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class CDigistatic : public Control {
public:
    CDigistatic() = default;
    ~CDigistatic() override = default;

    // The text shown, which the window's own text follows, so that screen readers and automation
    // read the time; repaints only when it differs from the current one. Null counts as empty.
    void SetText(const char *text);
    void SetSegmentColors(COLORREF off, COLORREF on);
    // Returns the previous background colour.
    COLORREF SetBackColor(COLORREF color);
    // See-through background and a window region shaped like the drawn segments. TRUE when the
    // window's WS_EX_TRANSPARENT style changed. Does not repaint.
    BOOL SetTransparentMode(BOOL on);
    // style = (style | add) & ~remove; FALSE, changing nothing, when the masks overlap.
    BOOL ChangeStyle(DWORD remove, DWORD add);
    const std::string &GetText() const { return text; }
    std::uint32_t GetStyle() const { return style; }
    bool IsTransparent() const { return transparent; }

    // Draws the control, width x height pixels, into target at (0, 0) as a paint does; in
    // transparent mode target's pixels there are the background and the window region is rebuilt.
    void Paint(HDC target, int width, int height);

protected:
    void PreSubclassWindow() override;
    bool ProcessMessage(Message &m) override;

private:
    struct DrawingObjects {
        HPEN offPen;
        HPEN onPen;
        HBRUSH offBrush;
        HBRUSH onBrush;
        int outlineWidth;
    };

    // The colours and the outline width (from the window's DPI) a set of drawing objects was made for.
    struct ObjectColours {
        COLORREF off;
        COLORREF on;
        COLORREF offEdge;
        COLORREF onEdge;
        int outlineWidth;
        friend bool operator==(const ObjectColours &, const ObjectColours &) = default;
    };

    bool OnPaint(Message &m);
    bool OnEraseBkgnd(Message &m);
    bool OnSetText(Message &m);
    void Redraw();
    // The pens and brushes of the present colours, style and DPI: kept between paints, made again
    // only when those change. False when they could not be made.
    bool PrepareDrawingObjects();
    // The off-screen bitmap of the given size, kept between paints while the size stays.
    MemoryDc *PrepareOffscreen(HDC target, int width, int height);
    void RebuildGlyphs();
    void DrawGlyphRow(HDC dc, int width, int height, const DrawingObjects &objects);
    // Outlines up to this wide (800 % display scaling); wider ones stop there.
    static constexpr int kMaxOutlineWidth = 8;
    static void DrawWiderOutline(HDC dc, std::span<const POINT> line, int outlineWidth);
    void DrawGlyph(HDC dc, const led::CLedGlyph &glyph, const led::CellRect &cell, const DrawingObjects &objects,
                   HRGN collected);

    std::string text = "?";
    bool modified = true;
    std::vector<led::CLedGlyph> glyphs;
    COLORREF offColor = RGB(0, 52, 0);
    COLORREF onColor = RGB(0, 255, 0);
    COLORREF backColor = RGB(0, 0, 0);
    std::uint32_t style = led::LS_KEEP_ASPECT | led::LS_SOFT_EDGE;
    bool transparent = false;

    UniquePen offPen;
    UniquePen onPen;
    UniqueBrush offBrush;
    UniqueBrush onBrush;
    ObjectColours objectColours{};
    std::unique_ptr<MemoryDc> offscreen;
    SIZE offscreenSize{};
    // The window has a region, and it matches what is drawn: set by the paint that shaped it,
    // cleared by every change, which drops the region. A repaint of an unchanged display then
    // builds no region.
    bool regionShaped = false;
    SIZE regionSize{};
};
