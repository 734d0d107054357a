// Which face, frame and caption a skinned button shows for a combination of its states. Portable;
// SkinButton reads the states from the owner-draw request and turns the answer into drawing calls.
#pragma once

namespace skin {

struct ButtonState {
    bool disabled = false;
    bool pressed = false;
    bool focused = false;
    bool isDefault = false; // the dialog's default button
    bool mouseInside = false;
    bool flat = false;
    // Whether the generated faces are there; a face that is not falls back to a plainer one.
    bool haveNormalFace = false;
    bool haveHoverFace = false;
};

enum class ButtonFace {
    Plain, // the system's button face colour
    Normal,
    Hover,
    Pressed,
    Disabled,
};

enum class ButtonFrame {
    None,
    Raised,          // the system's two-pixel raised edge
    Sunken,          // the system's two-pixel sunken edge
    SunkenAndRaised, // the default button: a sunken edge with a raised one inside
    ThinRaised,      // one pixel: highlight top and left, shadow bottom and right
    ThinSunken,      // one pixel: shadow top and left, highlight bottom and right
};

struct ButtonLook {
    ButtonFace face = ButtonFace::Plain;
    ButtonFrame frame = ButtonFrame::None;
    int shift = 0;                // face and caption move right and down by this many pixels
    bool embossedCaption = false; // grey over a light copy instead of the text colour
    bool focusBars = false;
};

ButtonLook ChooseButtonLook(const ButtonState &state);

} // namespace skin
