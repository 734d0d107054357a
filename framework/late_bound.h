// Functions of the DLLs that the first window does not need (sound, the notification icon, links,
// the file and folder choosers, the dialogs' common controls), found when first called. The
// loader then maps fewer DLLs at start-up, so the window shows sooner. The binding is plain
// LoadLibraryEx and GetProcAddress: the same code in the 32-bit and the 64-bit program, so the
// tests of either walk the path the shipped program takes.
#pragma once

#include <windows.h>

// The address of function in dll, a system DLL that is loaded from the system folder (never from
// the program's own or the current folder, and so are the DLLs it loads, where the system can)
// when it is not loaded yet; nullptr when the DLL or the function is missing, and the caller then
// does without the feature.
FARPROC FindLateBound(const char *dll, const char *function);

template <class FunctionPointer>
FunctionPointer LateBound(const char *dll, const char *function)
{
    return reinterpret_cast<FunctionPointer>(reinterpret_cast<void *>(FindLateBound(dll, function)));
}

// The typed address of a system function, named once: LATE_BOUND("winmm.dll", PlaySoundA). The
// declaration in the system header gives the type (with its calling convention) without
// importing the function.
#define LATE_BOUND(dll, function) LateBound<decltype(&::function)>(dll, #function)

// At start, before anything else loads a library: libraries asked for by their bare names come
// from the system folder only, never from the program's folder, which is often the downloads
// folder among strangers' files. Where the system cannot (before the 2011 loader updates), the
// current folder at least leaves the search.
void RestrictDllSearch();

// ShellExecute and the folder browser want COM on the calling thread. The first call, just before
// such a call on the UI thread, opens an apartment there for the rest of the program (and binds
// ole32 only then); CloseComApartment at the program's end closes it.
void EnsureComApartment();
void CloseComApartment();

// Tests: a library for which refuse answers true counts as missing, as on a system without it;
// nullptr ends the refusal. Returns the previous function.
using LibraryRefusal = bool (*)(const char *dll);
LibraryRefusal SetLibraryRefusal(LibraryRefusal refuse);
