// The value store of the tests, in memory: raw registry values (type and bytes) read as
// RegistryKey reads them. The query refuses a value larger than the read buffer, as
// RegQueryValueExA does, and value_codec turns the bytes into a number or a text. Group and value
// names are compared without regard to case, as the registry compares them (ASCII letters; the
// schema's names are ASCII). Sub-keys live beside values, as in the registry: a sub-key named like
// a value hides nothing and is never read.
//
// Every access is logged as "Group\Name" (writes with "=value", texts quoted), and a write can be
// refused for the whole store (no write access to the root key) or for single values.
// Plain C++: shared by the native unit tests, the fuzz target and the window tests.
#pragma once

#include "settings/value_codec.h"
#include "settings/value_store.h"

#include <algorithm>
#include <array>
#include <cstddef>
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

class MemoryValueStore : public ValueStore {
public:
    struct NoCase {
        static char fold(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
        bool operator()(const std::string &a, const std::string &b) const
        {
            return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                [](char x, char y) { return fold(x) < fold(y); });
        }
    };
    static bool sameName(const std::string &a, const std::string &b) { return !NoCase{}(a, b) && !NoCase{}(b, a); }

    struct Group {
        std::map<std::string, RawValue, NoCase> values;
        std::set<std::string, NoCase> subKeys;
    };

    // A missing group reads as nothing; the first write creates it.
    std::map<std::string, Group, NoCase> groups;
    // No write access to the root key: every write fails and says so.
    bool readOnly = false;
    // Values ("Group\Name") the user may only read: their writes fail and store nothing.
    std::set<std::string, NoCase> refused;
    // Every access, in order.
    std::vector<std::string> reads;
    std::vector<std::string> writes;

    static std::string key(const std::string &group, const std::string &name) { return group + "\\" + name; }

    void put(const std::string &group, const std::string &name, std::uint32_t type, std::vector<std::uint8_t> bytes)
    {
        groups[group].values[name] = {type, std::move(bytes)};
    }
    void putDword(const std::string &group, const std::string &name, std::uint32_t value)
    {
        const auto bytes = value_codec::dwordBytes(value);
        put(group, name, kRegDword, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    }
    void putString(const std::string &group, const std::string &name, const std::string &text)
    {
        const auto *data = reinterpret_cast<const std::uint8_t *>(text.c_str());
        put(group, name, kRegSz, std::vector<std::uint8_t>(data, data + text.size() + 1));
    }

    const RawValue *find(const std::string &group, const std::string &name) const
    {
        const auto g = groups.find(group);
        if (g == groups.end())
            return nullptr;
        const auto v = g->second.values.find(name);
        return v == g->second.values.end() ? nullptr : &v->second;
    }
    bool has(const std::string &group, const std::string &name) const { return find(group, name) != nullptr; }
    // How many values all groups hold.
    std::size_t count() const
    {
        std::size_t values = 0;
        for (const auto &[name, group] : groups)
            values += group.values.size();
        return values;
    }
    void clear() { groups.clear(); }

    // The value as the program reads it; the markers stand for a missing or unreadable one.
    static constexpr std::uint32_t kMissing = 0xDEADBEEF;
    std::uint32_t dword(const std::string &group, const std::string &name) const
    {
        return readAs(group, name, kMissing);
    }
    std::string text(const std::string &group, const std::string &name) const
    {
        return readAs(group, name, std::string("<missing>"));
    }

    bool writeString(const char *group, const char *name, const std::string &text) override
    {
        writes.push_back(key(group, name) + "='" + text + "'");
        if (refuses(group, name))
            return false;
        putString(group, name, text);
        return true;
    }

    bool writeDword(const char *group, const char *name, std::uint32_t value) override
    {
        writes.push_back(key(group, name) + "=" + std::to_string(value));
        if (refuses(group, name))
            return false;
        putDword(group, name, value);
        return true;
    }

    std::uint32_t readDword(const char *group, const char *name, std::uint32_t defaultValue) override
    {
        reads.push_back(key(group, name));
        return readAs(group, name, defaultValue);
    }

    std::string readString(const char *group, const char *name, const std::string &defaultText) override
    {
        reads.push_back(key(group, name));
        return readAs(group, name, defaultText);
    }

private:
    bool refuses(const std::string &group, const std::string &name) const
    {
        return readOnly || refused.count(key(group, name)) != 0;
    }

    std::uint32_t readAs(const std::string &group, const std::string &name, std::uint32_t defaultValue) const
    {
        std::array<std::uint8_t, value_codec::kDwordBytes> buffer{};
        const auto bytes = query(group, name, buffer);
        return bytes ? value_codec::dwordFrom(*bytes).value_or(defaultValue) : defaultValue;
    }
    std::string readAs(const std::string &group, const std::string &name, const std::string &defaultText) const
    {
        std::array<std::uint8_t, value_codec::kTextBytes> buffer{};
        const auto bytes = query(group, name, buffer);
        return bytes ? value_codec::textFrom(*bytes).value_or(defaultText) : defaultText;
    }

    template <std::size_t Size>
    std::optional<std::span<const std::uint8_t>> query(const std::string &group, const std::string &name,
                                                       std::array<std::uint8_t, Size> &buffer) const
    {
        const RawValue *value = find(group, name);
        if (value == nullptr || value->bytes.size() > buffer.size())
            return std::nullopt;
        std::copy(value->bytes.begin(), value->bytes.end(), buffer.begin());
        return std::span<const std::uint8_t>(buffer.data(), value->bytes.size());
    }
};
