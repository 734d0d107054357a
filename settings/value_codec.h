#pragma once

// How the bytes of a registry value become a number or a text, and the bytes a write stores.
// Kept free of the registry API so that the rules can be run against any input outside Windows.

#include "settings/settings.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace value_codec {

// Buffer sizes of a read. A value larger than its buffer is refused by the query itself
// (ERROR_MORE_DATA), so a number must be at most 4 bytes and a text at most 255 characters
// and its NUL.
inline constexpr std::size_t kDwordBytes = 4;
inline constexpr std::size_t kTextBytes = kMaxTextLength + 1;

// `bytes` are what the query put into the buffer. The registry type plays no part.
// A number is exactly four bytes, little-endian: a shorter value would mix with the default.
std::optional<std::uint32_t> dwordFrom(std::span<const std::uint8_t> bytes);
// The text runs to the first NUL. The registry does not promise one (a binary value, or a text
// stored without it); the read buffer starts zeroed, so a shorter value still ends, but one that
// fills the whole buffer without a NUL is not a text.
std::optional<std::string> textFrom(std::span<const std::uint8_t> bytes);

std::array<std::uint8_t, kDwordBytes> dwordBytes(std::uint32_t value);

// The text as a read would give it back: up to an embedded NUL and at most 255 characters.
// Anything longer would read as the default and so be lost as a whole.
std::string storableText(const std::string &text);

} // namespace value_codec
