#include "core/layout_rules.h"

#include <iterator>

namespace layout {

namespace {

// Indexed by LayoutKind; the automatic slot is never shown itself.
const LayoutRow kRows[] = {
    {160, Rgb(225, 225, 235), Rgb(119, 150, 199), Rgb(119, 150, 199), Rgb(240, 245, 250), true}, // Winter
    {162, Rgb(187, 183, 210), Rgb(30, 18, 108), Rgb(187, 183, 210), Rgb(30, 18, 108), true},     // Night
    {159, Rgb(240, 245, 250), Rgb(129, 192, 240), Rgb(255, 255, 255), Rgb(129, 192, 240), true}, // Day
    {161, Rgb(255, 228, 0), Rgb(230, 109, 29), Rgb(255, 228, 0), Rgb(230, 109, 29), true},       // Summer
    {166, Rgb(0, 0, 0), Rgb(212, 208, 200), Rgb(212, 208, 200), Rgb(0, 0, 0), false},            // (automatic)
    {166, Rgb(0, 0, 0), Rgb(212, 208, 200), Rgb(212, 208, 200), Rgb(0, 0, 0), false},            // Plain
};

} // namespace

bool IsFixedLayout(std::int32_t value) { return value >= Winter && value <= Plain && value != Automatic; }

const LayoutRow &RowFor(std::int32_t value) { return kRows[IsFixedLayout(value) ? value : Plain]; }

unsigned CommandFor(std::int32_t value)
{
    return value >= 0 && value < static_cast<std::int32_t>(std::size(kLayoutCommands)) ? kLayoutCommands[value] : 0;
}

std::int32_t LayoutForCommand(unsigned command)
{
    for (std::size_t value = 0; value < std::size(kLayoutCommands); ++value)
        if (kLayoutCommands[value] == command)
            return static_cast<std::int32_t>(value);
    return -1;
}

std::int32_t AutomaticLayout(int randomValue)
{
    // 32768 values split evenly four ways; a negative value cannot come, but would not index out.
    const int pick = randomValue % 4;
    return pick < 0 ? pick + 4 : pick;
}

} // namespace layout
