#include "settings/registry_key.h"

#include "framework/handles.h"
#include "settings/value_codec.h"

#include <cstring>
#include <limits>

namespace {

// What the query put into the buffer, or nothing when it failed (a missing key or value, or a
// value larger than the buffer).
template <std::size_t Size>
std::optional<std::span<const std::uint8_t>> queryValue(const RegistryKey &registry, const char *group,
                                                        const char *name, std::array<std::uint8_t, Size> &buffer)
{
    UniqueKey key;
    if (!registry.openKey(group, *key.put()))
        return std::nullopt;
    DWORD size = static_cast<DWORD>(buffer.size());
    const LONG result = RegQueryValueExA(key.get(), name, nullptr, nullptr, buffer.data(), &size);
    if (result != ERROR_SUCCESS || size > buffer.size())
        return std::nullopt;
    return std::span<const std::uint8_t>(buffer.data(), size);
}

bool writeValue(const RegistryKey &registry, const char *group, const char *name, DWORD type, const BYTE *data,
                DWORD size)
{
    UniqueKey key;
    if (!registry.createKey(group, *key.put()))
        return false;
    return RegSetValueExA(key.get(), name, 0, type, data, size) == ERROR_SUCCESS;
}

} // namespace

RegistryKey::RegistryKey(HKEY rootKey, const char *basePath) : rootKey(rootKey), basePath(basePath) {}

RegistryKey::~RegistryKey() = default;

bool RegistryKey::composePath(const char *group, PathBuffer &path) const
{
    path.fill('\0');
    const std::size_t baseLength = std::strlen(basePath);
    const std::size_t groupLength = std::strlen(group);
    // Separator and terminating NUL included.
    if (baseLength + groupLength + 2 > path.size())
        return false;
    std::memcpy(path.data(), basePath, baseLength);
    path[baseLength] = '\\';
    std::memcpy(path.data() + baseLength + 1, group, groupLength);
    return true;
}

bool RegistryKey::createKey(const char *group, HKEY &key) const
{
    PathBuffer path;
    if (!composePath(group, path))
        return false;
    return RegCreateKeyExA(rootKey, path.data(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                           nullptr) == ERROR_SUCCESS;
}

bool RegistryKey::openKey(const char *group, HKEY &key) const
{
    PathBuffer path;
    if (!composePath(group, path))
        return false;
    return RegOpenKeyExA(rootKey, path.data(), 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS;
}

bool RegistryKey::writeString(const char *group, const char *name, const std::string &text)
{
    if (text.size() >= std::numeric_limits<DWORD>::max())
        return false;
    return writeValue(*this, group, name, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                      static_cast<DWORD>(text.size() + 1));
}

bool RegistryKey::writeDword(const char *group, const char *name, std::uint32_t value)
{
    const auto bytes = value_codec::dwordBytes(value);
    return writeValue(*this, group, name, REG_DWORD, bytes.data(), static_cast<DWORD>(bytes.size()));
}

std::uint32_t RegistryKey::readDword(const char *group, const char *name, std::uint32_t defaultValue)
{
    std::array<std::uint8_t, value_codec::kDwordBytes> buffer{};
    const auto bytes = queryValue(*this, group, name, buffer);
    return bytes ? value_codec::dwordFrom(*bytes).value_or(defaultValue) : defaultValue;
}

std::string RegistryKey::readString(const char *group, const char *name, const std::string &defaultText)
{
    std::array<std::uint8_t, value_codec::kTextBytes> buffer{};
    const auto bytes = queryValue(*this, group, name, buffer);
    return bytes ? value_codec::textFrom(*bytes).value_or(defaultText) : defaultText;
}
