// The five window layouts and the automatic choice: which picture, which LED and button colours,
// and which menu command stands for which layout. Portable.
#pragma once

#include "res/resource.h"
#include "settings/settings.h"

#include <cstdint>

namespace layout {

// 0x00BBGGRR, as the platform stores colours.
using Colour = std::uint32_t;
constexpr Colour Rgb(int r, int g, int b) { return static_cast<Colour>(r | (g << 8) | (b << 16)); }

struct LayoutRow {
    int bitmapId;
    Colour segment;    // lit and unlit LED segments alike (the unlit ones are hidden)
    Colour ledBack;    // background of the LED displays
    Colour faceTint;   // towards which the button faces are tinted
    Colour textColour; // of the button captions
    bool flat;
};

// The row of a fixed layout; any other value (automatic, or out of range) gets Plain's.
const LayoutRow &RowFor(std::int32_t value);
bool IsFixedLayout(std::int32_t value);

// The menu command of a layout value, 0 for none; and back, -1 for a command that is no layout.
unsigned CommandFor(std::int32_t value);
std::int32_t LayoutForCommand(unsigned command);
// Every layout command, in the order of the values 0 ... 5.
inline constexpr unsigned kLayoutCommands[] = {ID_LAYOUT_WINTER, ID_LAYOUT_NIGHT, ID_LAYOUT_DAY,
                                               ID_LAYOUT_SUMMER, ID_LAYOUT_AUTO,  ID_LAYOUT_PLAIN};

// Automatic: one of Winter, Night, Day and Summer, evenly, from a random value 0 ... 32767.
std::int32_t AutomaticLayout(int randomValue);
// The fixed layout to show for a stored value: automatic (and anything unknown) draws one.
template <class DrawRandom>
std::int32_t ResolveLayout(std::int32_t value, DrawRandom &&draw)
{
    return IsFixedLayout(value) ? value : AutomaticLayout(draw());
}

// Button text: the font the layouts give the buttons.
inline constexpr char kButtonFace[] = "Arial";
inline constexpr int kButtonFontHeight = 15;
inline constexpr int kButtonFontWeight = 700;
// Face generation of the layouts: diagonal gradient, grain 8, 20 % lighter under the pointer,
// half way towards the layout's tint.
inline constexpr int kFaceMode = 1;
inline constexpr int kFaceNoise = 8;
inline constexpr int kHoverPercent = 20;
inline constexpr int kTintPercent = 50;

} // namespace layout
