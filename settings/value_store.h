#pragma once

#include <cstdint>
#include <string>

// Named values in named groups, as the registry keeps them below one base key.
// Reads never fail: anything missing or unreadable gives the caller's default. A write says
// whether the value was stored, so that a refused one can be told to the user.
class ValueStore {
public:
    virtual ~ValueStore() = default;

    [[nodiscard]] virtual bool writeString(const char *group, const char *name, const std::string &text) = 0;
    [[nodiscard]] virtual bool writeDword(const char *group, const char *name, std::uint32_t value) = 0;
    virtual std::uint32_t readDword(const char *group, const char *name, std::uint32_t defaultValue) = 0;
    virtual std::string readString(const char *group, const char *name, const std::string &defaultText) = 0;
};
