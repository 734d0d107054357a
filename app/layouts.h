// Dresses the main window in a layout: the background picture, the colours of the two LED
// displays and the look of the four skinned buttons. Runs on the window's own thread.
#pragma once

#include "core/layout_rules.h"
#include "framework/handles.h"
#include "led/digistatic.h"
#include "skin/skin_button.h"

#include <windows.h>

#include <array>
#include <cstdint>

struct LayoutControls {
    HWND window = nullptr;     // redrawn at once
    HWND background = nullptr; // the picture static (1018)
    CDigistatic *timeDisplay = nullptr;
    CDigistatic *hourDisplay = nullptr;
    // Reset, Sek, Min, Start.
    std::array<SkinButton *, 4> buttons{};
};

class WindowLayout {
public:
    // Shows a layout; automatic (and any unknown value) draws one of the four seasons, seeding the
    // program's generator from the milliseconds since system start. Returns the layout shown. The
    // picture fits the background control's present size: call again after that changes (a new
    // display scaling).
    std::int32_t ApplyLayout(const LayoutControls &controls, std::int32_t value);
    HBITMAP Picture() const { return picture.get(); }

private:
    void ShowPicture(HWND background, int bitmapId);

    // The picture given to the background static stays ours to delete; made when a layout is
    // applied, never by a paint.
    UniqueBitmap picture;
};

void StyleButtons(const std::array<SkinButton *, 4> &buttons, bool flat, COLORREF faceTint, COLORREF textColour);
