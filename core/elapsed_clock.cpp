#include "core/elapsed_clock.h"

std::int64_t WidenTickCount(std::int64_t last, std::uint32_t reading)
{
    // Modular difference read as signed: forward up to 2^31 - 1 ms, back up to 2^31 ms.
    const auto step = static_cast<std::int32_t>(reading - static_cast<std::uint32_t>(last));
    return last + step;
}
