#pragma once

#include <windows.h>

#include <array>

#include "settings/value_store.h"

// The registry below one base path. Every call opens its group key and closes it again, so no
// handle outlives a call; a group is a sub-key directly below the base path.
class RegistryKey : public ValueStore {
public:
    using PathBuffer = std::array<char, 256>;

    // basePath is not copied: it must outlive the object.
    RegistryKey(HKEY rootKey, const char *basePath);
    ~RegistryKey() override;

    RegistryKey(const RegistryKey &) = delete;
    RegistryKey &operator=(const RegistryKey &) = delete;

    // False, with the buffer left empty, when "basePath\group" would not fit.
    bool composePath(const char *group, PathBuffer &path) const;
    bool createKey(const char *group, HKEY &key) const;
    bool openKey(const char *group, HKEY &key) const;

    // False when the key could not be created or opened for writing, or the value not set
    // (a key the user may only read).
    [[nodiscard]] bool writeString(const char *group, const char *name, const std::string &text) override;
    [[nodiscard]] bool writeDword(const char *group, const char *name, std::uint32_t value) override;
    std::uint32_t readDword(const char *group, const char *name, std::uint32_t defaultValue) override;
    std::string readString(const char *group, const char *name, const std::string &defaultText) override;

private:
    HKEY rootKey;
    const char *basePath;
};
