#pragma once

// A value store that keeps raw registry values (type and bytes) and reads them as RegistryKey
// does: the query refuses a value larger than the read buffer, as RegQueryValueExA does, and
// value_codec turns the bytes into a number or a text. Group and value names are compared
// without regard to case, as the registry compares them (ASCII letters; the schema's names are
// ASCII). Sub-keys live beside values, as in the registry: a sub-key named like a value hides
// nothing and is never read.

#include "settings/value_codec.h"
#include "settings/value_store.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

struct RawValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> bytes;
};

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

class RawValueStore : public ValueStore {
public:
    struct NoCase {
        static char fold(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
        bool operator()(const std::string &a, const std::string &b) const
        {
            return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                [](char x, char y) { return fold(x) < fold(y); });
        }
    };
    struct Group {
        std::map<std::string, RawValue, NoCase> values;
        std::set<std::string, NoCase> subKeys;
    };

    // A missing group reads as nothing; the first write creates it.
    std::map<std::string, Group, NoCase> groups;
    // No write access to the root key: every write fails and says so.
    bool readOnly = false;

    void put(const std::string &group, const std::string &name, std::uint32_t type, std::vector<std::uint8_t> bytes)
    {
        groups[group].values[name] = {type, std::move(bytes)};
    }

    const RawValue *find(const std::string &group, const std::string &name) const
    {
        const auto g = groups.find(group);
        if (g == groups.end())
            return nullptr;
        const auto v = g->second.values.find(name);
        return v == g->second.values.end() ? nullptr : &v->second;
    }

    bool writeString(const char *group, const char *name, const std::string &text) override
    {
        if (readOnly)
            return false;
        const auto *data = reinterpret_cast<const std::uint8_t *>(text.c_str());
        put(group, name, kRegSz, std::vector<std::uint8_t>(data, data + text.size() + 1));
        return true;
    }

    bool writeDword(const char *group, const char *name, std::uint32_t value) override
    {
        if (readOnly)
            return false;
        const auto bytes = value_codec::dwordBytes(value);
        put(group, name, kRegDword, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        return true;
    }

    std::uint32_t readDword(const char *group, const char *name, std::uint32_t defaultValue) override
    {
        std::array<std::uint8_t, value_codec::kDwordBytes> buffer{};
        const auto bytes = query(group, name, buffer);
        return bytes ? value_codec::dwordFrom(*bytes).value_or(defaultValue) : defaultValue;
    }

    std::string readString(const char *group, const char *name, const std::string &defaultText) override
    {
        std::array<std::uint8_t, value_codec::kTextBytes> buffer{};
        const auto bytes = query(group, name, buffer);
        return bytes ? value_codec::textFrom(*bytes).value_or(defaultText) : defaultText;
    }

private:
    template <std::size_t Size>
    std::optional<std::span<const std::uint8_t>> query(const char *group, const char *name,
                                                       std::array<std::uint8_t, Size> &buffer) const
    {
        const RawValue *value = find(group, name);
        if (value == nullptr || value->bytes.size() > buffer.size())
            return std::nullopt;
        std::copy(value->bytes.begin(), value->bytes.end(), buffer.begin());
        return std::span<const std::uint8_t>(buffer.data(), value->bytes.size());
    }
};
