#include "app/layouts.h"

#include "framework/dpi.h"
#include "led/glyph.h"
#include "pictures/picture_bitmap.h"
#include "skin/random_numbers.h"

namespace {

// Redraws the whole window at once. An immediate update paints the children in z-order from the
// top, and the picture would then cover every control above it: the picture goes first.
void RedrawNow(const LayoutControls &controls)
{
    if (!controls.window)
        return;
    ::RedrawWindow(controls.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    if (controls.background)
        ::RedrawWindow(controls.background, nullptr, nullptr, RDW_UPDATENOW);
    ::RedrawWindow(controls.window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

} // namespace

std::int32_t WindowLayout::ApplyLayout(const LayoutControls &controls, std::int32_t value)
{
    // Stretched digits fill the displays; unlit segments are hidden so the picture shows between them.
    for (CDigistatic *display : {controls.timeDisplay, controls.hourDisplay})
        if (display)
            display->ChangeStyle(led::LS_KEEP_ASPECT, led::LS_HIDE_OFF | led::LS_SOFT_EDGE);

    const std::int32_t shown = layout::ResolveLayout(value, [] {
        skin::RandomGenerator &random = skin::ProgramRandom();
        random.Seed(::GetTickCount());
        return random.Next();
    });
    const layout::LayoutRow &row = layout::RowFor(shown);

    if (controls.background)
        ShowPicture(controls.background, row.bitmapId);

    for (CDigistatic *display : {controls.timeDisplay, controls.hourDisplay}) {
        if (!display)
            continue;
        display->SetSegmentColors(row.segment, row.segment);
        display->SetBackColor(row.ledBack);
    }
    StyleButtons(controls.buttons, row.flat, row.faceTint, row.textColour);
    RedrawNow(controls);
    return shown;
}

void WindowLayout::ShowPicture(HWND background, int bitmapId)
{
    // The picture lies beneath the other controls and must never paint over one.
    ::SetWindowLongPtrA(background, GWL_STYLE, ::GetWindowLongPtrA(background, GWL_STYLE) | WS_CLIPSIBLINGS);
    // Fitted to the control, whose size follows the dialog font and the display scaling: a
    // centred picture of its own size would leave seams of fill colour wherever the control is
    // larger. At 96 dpi the system stretches the resource to it, as it always has; at any other
    // DPI the picture is drawn for the control's pixels.
    RECT area{};
    ::GetClientRect(background, &area);
    UniqueBitmap made = PictureBitmap(bitmapId, area.right, area.bottom, WindowDpi(background));
    if (!made)
        return;
    // The static does not delete images it is given: the one it showed so far was ours.
    ::SendMessageA(background, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(made.get()));
    picture = std::move(made);
}

void StyleButtons(const std::array<SkinButton *, 4> &buttons, bool flat, COLORREF faceTint, COLORREF textColour)
{
    for (SkinButton *button : buttons)
        if (button)
            button->SetFlat(flat);
    for (SkinButton *button : buttons)
        if (button)
            button->SetFont(layout::kButtonFace, layout::kButtonFontHeight, layout::kButtonFontWeight, false, false);
    for (SkinButton *button : buttons)
        if (button)
            button->GenerateFaces(layout::kFaceMode, layout::kFaceNoise, layout::kHoverPercent, layout::kTintPercent,
                                  faceTint);
    for (SkinButton *button : buttons)
        if (button)
            button->SetTextColor(textColour);
}
