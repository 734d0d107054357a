#include "framework/late_bound.h"

#include <atomic>
#include <cstring>

namespace {
std::atomic<LibraryRefusal> refusal{nullptr};

HMODULE LoadFromSystemFolder(const char *dll)
{
    char path[MAX_PATH];
    const UINT length = ::GetSystemDirectoryA(path, MAX_PATH);
    const size_t nameLength = std::strlen(dll);
    if (length == 0 || length + 1 + nameLength >= MAX_PATH)
        return nullptr;
    path[length] = '\\';
    std::memcpy(path + length + 1, dll, nameLength + 1);
    return ::LoadLibraryA(path);
}
} // namespace

FARPROC FindLateBound(const char *dll, const char *function)
{
    const LibraryRefusal refuse = refusal.load();
    if (refuse && refuse(dll))
        return nullptr;
    // A loaded DLL stays loaded: the program keeps using what it bound.
    HMODULE module = ::GetModuleHandleA(dll);
    if (!module)
        module = LoadFromSystemFolder(dll);
    return module ? ::GetProcAddress(module, function) : nullptr;
}

LibraryRefusal SetLibraryRefusal(LibraryRefusal refuse) { return refusal.exchange(refuse); }
