#include "framework/late_bound.h"

#include <atomic>
#include <cstring>

namespace {
std::atomic<LibraryRefusal> refusal{nullptr};
// Dialogs and their shell calls run on the UI thread only.
bool comApartmentOpen = false;

bool SystemFolderPath(const char *dll, char (&path)[MAX_PATH])
{
    const UINT length = ::GetSystemDirectoryA(path, MAX_PATH);
    const size_t nameLength = std::strlen(dll);
    if (length == 0 || length + 1 + nameLength >= MAX_PATH)
        return false;
    path[length] = '\\';
    std::memcpy(path + length + 1, dll, nameLength + 1);
    return true;
}

HMODULE LoadFromSystemFolder(const char *path)
{
    // What the DLL loads in turn comes from the system folder too. A system without the flag (it
    // came with SetDefaultDllDirectories) refuses it as invalid; there the start-up restriction
    // is all there is.
    if (HMODULE module = ::LoadLibraryExA(path, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return module;
    return ::GetLastError() == ERROR_INVALID_PARAMETER ? ::LoadLibraryA(path) : nullptr;
}
} // namespace

FARPROC FindLateBound(const char *dll, const char *function)
{
    const LibraryRefusal refuse = refusal.load();
    if (refuse && refuse(dll))
        return nullptr;
    char path[MAX_PATH];
    if (!SystemFolderPath(dll, path))
        return nullptr;
    // By its full path: a module of the same name loaded from elsewhere is not the system's. A
    // loaded DLL stays loaded: the program keeps using what it bound.
    HMODULE module = ::GetModuleHandleA(path);
    if (!module)
        module = LoadFromSystemFolder(path);
    return module ? ::GetProcAddress(module, function) : nullptr;
}

void RestrictDllSearch()
{
    const auto setDefaultDirectories = LATE_BOUND("kernel32.dll", SetDefaultDllDirectories);
    if (setDefaultDirectories && setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    // Older systems can at least take the current folder out of the search.
    if (const auto setDirectory = LATE_BOUND("kernel32.dll", SetDllDirectoryA))
        setDirectory("");
}

void EnsureComApartment()
{
    if (comApartmentOpen)
        return;
    const auto initialize = LATE_BOUND("ole32.dll", CoInitializeEx);
    // The shell's objects expect a single-threaded apartment; the first OLE's DDE stays off, as
    // the platform advises. A failure is tried again at the next call.
    comApartmentOpen = initialize && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

void CloseComApartment()
{
    if (!comApartmentOpen)
        return;
    comApartmentOpen = false;
    if (const auto uninitialize = LATE_BOUND("ole32.dll", CoUninitialize))
        uninitialize();
}

LibraryRefusal SetLibraryRefusal(LibraryRefusal refuse) { return refusal.exchange(refuse); }
