#pragma once

#include <cstdint>
#include <string>

// Named values in named groups, as the registry keeps them below one base key.
// Reads never fail: anything missing or unreadable gives the caller's default. Writes that
// fail are lost without notice.
class ValueStore {
public:
    virtual ~ValueStore() = default;

    virtual void writeString(const char *group, const char *name, const std::string &text) = 0;
    virtual void writeDword(const char *group, const char *name, std::uint32_t value) = 0;
    virtual std::uint32_t readDword(const char *group, const char *name, std::uint32_t defaultValue) = 0;
    virtual std::string readString(const char *group, const char *name, const std::string &defaultText) = 0;
};
