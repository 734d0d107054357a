// The face, frame and caption of the skinned button for each combination of its states.
#include "skin/button_face_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using skin::ButtonFace;
using skin::ButtonFrame;
using skin::ButtonLook;
using skin::ButtonState;

// States as letters: d disabled, p pressed, f focused, D default, m mouse inside, F flat,
// n no generated faces, h a normal face without a hover face.
ButtonState Parse(const std::string &flags)
{
    const auto has = [&](char c) { return flags.find(c) != std::string::npos; };
    return {has('d'), has('p'), has('f'), has('D'), has('m'), has('F'), !has('n'), !has('n') && !has('h')};
}

TEST(ButtonLookTest, EachCombinationOfStatesChoosesItsFaceFrameAndCaption)
{
    struct Case {
        const char *flags;
        ButtonLook look;
    };
    const ButtonFace Normal = ButtonFace::Normal, Hover = ButtonFace::Hover, Pressed = ButtonFace::Pressed,
                     Disabled = ButtonFace::Disabled, Plain = ButtonFace::Plain;
    const ButtonFrame None = ButtonFrame::None, Raised = ButtonFrame::Raised, Sunken = ButtonFrame::Sunken,
                      Double = ButtonFrame::SunkenAndRaised, ThinRaised = ButtonFrame::ThinRaised,
                      ThinSunken = ButtonFrame::ThinSunken;
    const Case cases[] = {
        // face, frame, shift, embossed, focus bars
        {"", {Normal, Raised, 0, false, false}},
        {"f", {Normal, Raised, 0, false, true}},
        {"m", {Hover, Raised, 0, false, false}},
        {"D", {Normal, Double, 0, false, false}},
        {"Dmf", {Hover, Double, 0, false, true}},
        // Flat: no frame until the pointer comes, then a thin one (or the default's double one).
        {"F", {Normal, None, 0, false, false}},
        {"FD", {Normal, None, 0, false, false}},
        {"Fm", {Hover, ThinRaised, 0, false, false}},
        {"FmD", {Hover, Double, 0, false, false}},
        // Pressed: its face and the caption moved by a pixel, sunk in whatever else holds.
        {"p", {Pressed, Sunken, 1, false, false}},
        {"pmDf", {Pressed, Sunken, 1, false, true}},
        {"pF", {Pressed, ThinSunken, 1, false, false}},
        {"pFmD", {Pressed, ThinSunken, 1, false, false}},
        // Disabled wins over everything and never shows the focus.
        {"d", {Disabled, Raised, 0, true, false}},
        {"dpfDm", {Disabled, Raised, 0, true, false}},
        {"dFpfDm", {Disabled, None, 0, true, false}},
        // Faces not generated: the plain colour, and no hover face keeps the normal one. (A missing
        // pressed or disabled face is drawn in the plain colour by the button itself.)
        {"nmf", {Plain, Raised, 0, false, true}},
        {"hm", {Normal, Raised, 0, false, false}},
        {"np", {Pressed, Sunken, 1, false, false}},
    };
    for (const Case &c : cases) {
        const ButtonLook look = skin::ChooseButtonLook(Parse(c.flags));
        SCOPED_TRACE(std::string("states \"") + c.flags + "\"");
        EXPECT_EQ(look.face, c.look.face);
        EXPECT_EQ(look.frame, c.look.frame);
        EXPECT_EQ(look.shift, c.look.shift);
        EXPECT_EQ(look.embossedCaption, c.look.embossedCaption);
        EXPECT_EQ(look.focusBars, c.look.focusBars);
    }
}

} // namespace
