// The owner-drawn push button of the main window: generated face textures painted through one
// off-screen bitmap per paint, a lit face while the pointer is over it, a pushed face moved by one
// pixel while pressed, a dotted focus frame, and a flat or raised border. Attaches to an existing
// dialog push button. Every call belongs on the thread that owns the button's window.
#pragma once

#include "framework/control.h"
#include "framework/handles.h"
#include "skin/button_face_rules.h"
#include "skin/face_generator.h"

#include <windows.h>

#include <optional>

class SkinButton : public Control {
public:
    static constexpr int kMaxFaceName = 31;

    SkinButton();
    ~SkinButton() override = default;

    // Face name cut to 31 characters; the other fields of the font stay 0. The height is in pixels
    // at 96 dpi: the font is made for the window's DPI, and made again when that changes. True
    // when the font was made.
    bool SetFont(const char *faceName, int height, int weight, bool italic, bool underline);
    COLORREF SetTextColor(COLORREF colour);
    void SetFlat(bool flat);
    // Computes the faces for the button's present size and DPI (mode 1 is the diagonal gradient).
    // A paint that finds the size or the DPI changed computes them again from the same arguments.
    void GenerateFaces(int mode, int noise, int hoverPercent, int tintPercent, COLORREF tintColour);

    // Paints the button as the owner-draw notification asks.
    void DrawItem(const DRAWITEMSTRUCT &item);

    bool OnReflect(Message &m) override;

    bool IsFlat() const { return flat; }
    bool IsMouseInside() const { return mouseInside; }
    bool IsMouseDown() const { return mouseDown; }
    COLORREF GetTextColor() const { return textColor; }
    UINT GetTextFormat() const { return textFormat; }
    const LOGFONTA *GetFontSpec() const { return fontSpec ? &*fontSpec : nullptr; }
    const skin::FaceSurfaces &GetFaces() const { return faces; }

protected:
    void PreSubclassWindow() override;
    bool ProcessMessage(Message &m) override;

private:
    bool OnEraseBkgnd(Message &m);
    bool OnLButtonDown(Message &m);
    bool OnLButtonUp(Message &m);
    bool OnMouseMove(Message &m);
    bool OnLButtonDblClk(Message &m);
    bool OnKillFocus(Message &m);
    bool OnMouseLeave(Message &m);

    // The arguments of the last GenerateFaces.
    struct FaceRecipe {
        int mode;
        int noise;
        int hoverPercent;
        int tintPercent;
        COLORREF tint;
    };

    SIZE PixelSize() const;
    void MakeFaces();
    // Makes the faces again when the button's size or DPI is no longer what they were made for.
    void RefreshFaces();
    // The caption's font from fontSpec, for the DPI.
    bool MakeFont(UINT dpi);
    bool HasCapture() const { return hwnd && ::GetCapture() == hwnd; }
    bool IsPushed() const;
    // Sets the pushed state when it differs; true when it changed.
    bool SetPushed(bool pushed);
    void Repaint() const;
    void DrawFace(HDC dc, const RECT &r, const skin::TextureSurface &face, int x, int y) const;
    // The generated surface of a face, or null for the plain one.
    const skin::TextureSurface *FaceSurface(skin::ButtonFace face) const;

    UniqueFont font;
    std::optional<LOGFONTA> fontSpec;
    UINT fontDpi = 0;
    skin::FaceSurfaces faces;
    std::optional<FaceRecipe> faceRecipe;
    SIZE faceSize{};
    UINT faceDpi = 0;
    bool mouseInside = false;
    bool mouseDown = false;
    short frameWidth = 4; // at 96 dpi; scaled with the window's DPI where it is drawn
    COLORREF textColor;
    UINT textFormat = DT_CENTER;
    bool flat = false;
};
