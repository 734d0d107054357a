#include "app/layouts.h"

#include "led/glyph.h"
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

    if (controls.background) {
        // The picture lies beneath the other controls and must never paint over one.
        ::SetWindowLongPtrA(controls.background, GWL_STYLE,
                            ::GetWindowLongPtrA(controls.background, GWL_STYLE) | WS_CLIPSIBLINGS);
        // Fitted to the control, whose size follows the dialog font: a centred picture of its own
        // size would leave seams of fill colour wherever the control is larger.
        RECT area{};
        ::GetClientRect(controls.background, &area);
        UniqueBitmap loaded(
            static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(row.bitmapId), IMAGE_BITMAP,
                                              area.right, area.bottom, LR_DEFAULTCOLOR)));
        if (loaded) {
            // The static does not delete images it is given: the one it showed so far was ours.
            ::SendMessageA(controls.background, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(loaded.get()));
            picture = std::move(loaded);
        }
    }

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
