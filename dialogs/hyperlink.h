// A static text of a dialog turned into a clickable link: underlined, a hand cursor, red while the
// pointer is over it, dark blue once clicked. A click hands the target to the shell's "open" verb.
#pragma once

#include "framework/control.h"
#include "framework/handles.h"

#include <windows.h>

#include <string>

class CMyHyperLink : public Control {
public:
    static constexpr COLORREF kNormalColour = RGB(0, 0, 255);
    static constexpr COLORREF kHoverColour = RGB(255, 0, 0);
    static constexpr COLORREF kVisitedColour = RGB(5, 34, 143);

    // How a target is opened; the shell by default (tests put their own in).
    using OpenFunction = void (*)(const char *target);
    static OpenFunction SetOpenFunction(OpenFunction function);

    CMyHyperLink() = default;
    ~CMyHyperLink() override;

    void setUrl(const std::string &target) { url = target; }
    const std::string &GetUrl() const { return url; }
    bool IsHover() const { return hover; }
    bool IsVisited() const { return visited; }
    HCURSOR GetCursor() const { return handCursor; }
    // The brush behind the text; the hollow brush (nothing painted) unless the owner gives one.
    void SetBackground(HBRUSH brush, COLORREF colour);

    bool OnReflect(Message &m) override;

protected:
    void PreSubclassWindow() override;
    bool ProcessMessage(Message &m) override;

private:
    bool OnMouseMove(Message &m);
    bool OnSetCursor(Message &m);
    bool OnCaptureChanged(Message &m);
    bool OnSetFont(Message &m);
    bool OnPaint(Message &m);
    void RedrawNow() const;
    void LoadHandCursor();
    // The font the window is given: kept with the window's DPI at that moment, and shown
    // underlined.
    void TakeFont(HFONT font, BOOL redraw);
    // The underlined copy of the given font for the DPI, handed to the window.
    void MakeLinkFont(UINT dpi, BOOL redraw);

    std::string url;
    bool hover = false;
    bool visited = false;
    HCURSOR handCursor = nullptr;
    UniqueCursor ownCursor; // the help program's hand, when handCursor is that copy
    HFONT originalFont = nullptr;
    LOGFONTA givenFont{};
    UINT givenDpi = 0;
    UniqueFont linkFont;
    UINT linkFontDpi = 0;
    HBRUSH background = nullptr;
    COLORREF backgroundColour = 0;
};
