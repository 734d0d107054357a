#include "settings/registry_key.h"

#include <cstring>
#include <limits>

namespace {

// Room for 255 characters and their NUL; a longer text reads as the default.
using TextBuffer = std::array<char, 256>;

void writeValue(const RegistryKey &registry, const char *group, const char *name, DWORD type, const BYTE *data,
                DWORD size)
{
    HKEY key = nullptr;
    if (!registry.createKey(group, key))
        return;
    RegSetValueExA(key, name, 0, type, data, size);
    RegCloseKey(key);
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

void RegistryKey::writeString(const char *group, const char *name, const std::string &text)
{
    if (text.size() >= std::numeric_limits<DWORD>::max())
        return;
    writeValue(*this, group, name, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
               static_cast<DWORD>(text.size() + 1));
}

void RegistryKey::writeDword(const char *group, const char *name, std::uint32_t value)
{
    const BYTE bytes[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
                           static_cast<BYTE>(value >> 24)};
    writeValue(*this, group, name, REG_DWORD, bytes, sizeof bytes);
}

// The type of the stored value is not checked, but it has to be exactly four bytes: a shorter
// one would leave part of the default in the result.
std::uint32_t RegistryKey::readDword(const char *group, const char *name, std::uint32_t defaultValue)
{
    HKEY key = nullptr;
    if (!openKey(group, key))
        return defaultValue;
    BYTE bytes[4] = {};
    DWORD size = sizeof bytes;
    const LONG result = RegQueryValueExA(key, name, nullptr, nullptr, bytes, &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || size != sizeof bytes)
        return defaultValue;
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// The registry does not promise a terminating NUL (a binary value, or text stored without it),
// so a value that fills the whole buffer without one is not a text and gives the default.
std::string RegistryKey::readString(const char *group, const char *name, const std::string &defaultText)
{
    HKEY key = nullptr;
    if (!openKey(group, key))
        return defaultText;
    TextBuffer buffer{};
    DWORD size = static_cast<DWORD>(buffer.size());
    const LONG result = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE *>(buffer.data()), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return defaultText;
    const auto *end = static_cast<const char *>(std::memchr(buffer.data(), '\0', buffer.size()));
    if (end == nullptr)
        return defaultText;
    return std::string(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
}
