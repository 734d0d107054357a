#include "skin/button_face_rules.h"

namespace skin {

namespace {

// A flat button shows its frame only while the pointer is over it.
ButtonFrame ReleasedFrame(const ButtonState &state)
{
    if (state.flat && !state.mouseInside)
        return ButtonFrame::None;
    if (state.isDefault)
        return ButtonFrame::SunkenAndRaised;
    return state.flat ? ButtonFrame::ThinRaised : ButtonFrame::Raised;
}

} // namespace

ButtonLook ChooseButtonLook(const ButtonState &state)
{
    // A disabled button shows neither focus nor pointer nor press.
    if (state.disabled)
        return {.face = ButtonFace::Disabled,
                .frame = state.flat ? ButtonFrame::None : ButtonFrame::Raised,
                .embossedCaption = true};
    if (state.pressed)
        return {.face = ButtonFace::Pressed,
                .frame = state.flat ? ButtonFrame::ThinSunken : ButtonFrame::Sunken,
                .shift = 1,
                .focusBars = state.focused};
    ButtonFace face = ButtonFace::Plain;
    if (state.haveNormalFace)
        face = state.mouseInside && state.haveHoverFace ? ButtonFace::Hover : ButtonFace::Normal;
    return {.face = face, .frame = ReleasedFrame(state), .focusBars = state.focused};
}

} // namespace skin
