// Registry helpers shared by the Windows tests and the end-to-end tests.
#pragma once

#include <windows.h>

// Deletes a key with everything below it (RegDeleteTreeA is newer than the Windows versions we
// build for). True when the key is gone.
inline bool DeleteRegistryTree(HKEY parent, const char *path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(parent, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return false;
    char child[256];
    DWORD length = sizeof child;
    while (::RegEnumKeyExA(key, 0, child, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           DeleteRegistryTree(key, child))
        length = sizeof child;
    ::RegCloseKey(key);
    return ::RegDeleteKeyA(parent, path) == ERROR_SUCCESS;
}

inline bool RegistryKeyExists(HKEY root, const char *path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}
