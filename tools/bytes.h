// Little-endian writers shared by the file formats.
#pragma once

#include <cstdint>
#include <vector>

namespace assetgen {

inline void put16(std::vector<std::uint8_t> &out, unsigned v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void put32(std::vector<std::uint8_t> &out, unsigned v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

inline void putTag(std::vector<std::uint8_t> &out, const char (&tag)[5])
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(tag[i]));
}

inline void patch32(std::vector<std::uint8_t> &out, std::size_t at, unsigned v)
{
    for (int i = 0; i < 4; ++i)
        out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

} // namespace assetgen
