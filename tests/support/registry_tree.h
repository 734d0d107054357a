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

// A key whose access list lets everyone read it and no one else write it, as HKEY_LOCAL_MACHINE
// is for a standard user. Made if missing; writable again (and left to the caller to delete)
// when the object goes, through the handle it keeps, which the new access list does not bind.
class ReadOnlyKey {
public:
    ReadOnlyKey(HKEY root, const char *path)
    {
        made_ = ::RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS | WRITE_DAC, nullptr, &key_, nullptr) ==
                    ERROR_SUCCESS &&
                Allow(KEY_READ);
    }
    ~ReadOnlyKey()
    {
        if (!key_)
            return;
        Allow(KEY_ALL_ACCESS);
        ::RegCloseKey(key_);
    }
    ReadOnlyKey(const ReadOnlyKey &) = delete;
    ReadOnlyKey &operator=(const ReadOnlyKey &) = delete;

    bool Made() const { return made_; }
    // The key becomes writable before the object goes, for a second try.
    void AllowWriting() { Allow(KEY_ALL_ACCESS); }

private:
    // One entry: everyone, with the given access.
    bool Allow(DWORD access)
    {
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        PSID everyone = nullptr;
        if (!::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone))
            return false;
        alignas(DWORD) BYTE aclBytes[128];
        auto *acl = reinterpret_cast<ACL *>(aclBytes);
        SECURITY_DESCRIPTOR descriptor;
        const bool set = ::InitializeAcl(acl, sizeof aclBytes, ACL_REVISION) &&
                         ::AddAccessAllowedAce(acl, ACL_REVISION, access, everyone) &&
                         ::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
                         ::SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE) &&
                         ::RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
        ::FreeSid(everyone);
        return set;
    }

    HKEY key_ = nullptr;
    bool made_ = false;
};
