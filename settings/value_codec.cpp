#include "settings/value_codec.h"

#include <algorithm>

namespace value_codec {

std::optional<std::uint32_t> dwordFrom(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() != kDwordBytes)
        return std::nullopt;
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::optional<std::string> textFrom(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() > kTextBytes)
        return std::nullopt;
    const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    if (end == bytes.end() && bytes.size() == kTextBytes)
        return std::nullopt;
    return std::string(bytes.begin(), end);
}

std::array<std::uint8_t, kDwordBytes> dwordBytes(std::uint32_t value)
{
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

std::string storableText(const std::string &text)
{
    const std::size_t length = std::min({text.find('\0'), text.size(), kMaxTextLength});
    return text.substr(0, length);
}

} // namespace value_codec
