// Counting another process's objects from outside under Wine, where GetGuiResources and the
// process handle count answer 0: GDI objects from the process's own handle table, windows, threads
// from a Toolhelp snapshot and kernel handles from the system's handle list. -1 where a count
// cannot be taken.
#pragma once

#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <vector>

namespace process_counts {

using NtStatus = LONG;
constexpr NtStatus kInfoLengthMismatch = static_cast<NtStatus>(0xC0000004);

template <class F>
inline F NtFunction(const char *name)
{
    return reinterpret_cast<F>(reinterpret_cast<void *>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), name)));
}

// ---- GDI objects: the process's own handle table, which the PEB points to ----

struct BasicInformation {
    LONG_PTR exitStatus;
    ULONG_PTR pebAddress;
    ULONG_PTR affinity;
    LONG_PTR priority;
    ULONG_PTR processId;
    ULONG_PTR parentId;
};

// One entry of the table (the same 24 bytes in 32-bit and 64-bit processes); a free slot has
// type 0.
struct GdiEntry {
    unsigned long long object;
    ULONG owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    unsigned long long user;
};
static_assert(sizeof(GdiEntry) == 24);
constexpr size_t kGdiEntries = 0x10000;
// Where the PEB keeps the table's address.
constexpr size_t kPebGdiTable = sizeof(void *) == 8 ? 0xF8 : 0x94;

inline long CountGdiObjects(HANDLE process)
{
    using Query = NtStatus(WINAPI *)(HANDLE, int, void *, ULONG, ULONG *);
    static const auto query = NtFunction<Query>("NtQueryInformationProcess");
    BasicInformation basic{};
    if (!query || query(process, 0, &basic, sizeof basic, nullptr) < 0 || !basic.pebAddress)
        return -1;
    ULONG_PTR table = 0;
    if (!::ReadProcessMemory(process, reinterpret_cast<void *>(basic.pebAddress + kPebGdiTable), &table, sizeof table,
                             nullptr) ||
        !table)
        return -1;
    static std::vector<GdiEntry> entries(kGdiEntries);
    if (!::ReadProcessMemory(process, reinterpret_cast<void *>(table), entries.data(), entries.size() * sizeof(GdiEntry),
                             nullptr))
        return -1;
    long live = 0;
    for (const GdiEntry &entry : entries)
        live += entry.type != 0;
    return live;
}

// ---- USER objects: the windows of the process (top-level, their descendants, message-only) ----

struct WindowTally {
    DWORD process;
    long count;
};

inline BOOL CALLBACK CountChild(HWND, LPARAM parameter)
{
    ++reinterpret_cast<WindowTally *>(parameter)->count;
    return TRUE;
}

inline void CountTree(HWND window, WindowTally &tally)
{
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != tally.process)
        return;
    ++tally.count;
    ::EnumChildWindows(window, CountChild, reinterpret_cast<LPARAM>(&tally));
}

inline BOOL CALLBACK CountTopLevel(HWND window, LPARAM parameter)
{
    CountTree(window, *reinterpret_cast<WindowTally *>(parameter));
    return TRUE;
}

inline long CountWindows(DWORD processId)
{
    WindowTally tally{processId, 0};
    ::EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&tally));
    for (HWND window = nullptr; (window = ::FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr));)
        CountTree(window, tally);
    return tally.count;
}

// ---- threads: a Toolhelp snapshot ----

inline long CountThreads(DWORD processId)
{
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    long count = 0;
    for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == processId;
    ::CloseHandle(snapshot);
    return count;
}

// ---- kernel handles: the system's handle list, filtered by process ----

struct ExtendedHandleEntry {
    void *object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG access;
    USHORT backTrace;
    USHORT typeIndex;
    ULONG attributes;
    ULONG reserved;
};
struct ExtendedHandleList {
    ULONG_PTR count;
    ULONG_PTR reserved;
    ExtendedHandleEntry entries[1];
};

inline long CountKernelHandles(DWORD processId)
{
    using Query = NtStatus(WINAPI *)(int, void *, ULONG, ULONG *);
    static const auto query = NtFunction<Query>("NtQuerySystemInformation");
    constexpr int kSystemExtendedHandleInformation = 64;
    if (!query)
        return -1;
    static std::vector<unsigned char> buffer(1 << 16);
    for (;;) {
        ULONG needed = 0;
        const NtStatus status =
            query(kSystemExtendedHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == kInfoLengthMismatch) {
            buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
            continue;
        }
        if (status < 0)
            return -1;
        break;
    }
    const auto *list = reinterpret_cast<const ExtendedHandleList *>(buffer.data());
    long count = 0;
    for (ULONG_PTR i = 0; i < list->count; ++i)
        count += list->entries[i].processId == processId;
    return count;
}

} // namespace process_counts
