// The owned handle kinds of the program (kernel, GDI, menus, icons, modules, registry keys,
// services), a scoped GDI selection, and an off-screen drawing context that is copied to its
// target in one step.
#pragma once

#include <windows.h>

#include "framework/unique_any.h"

#include <shlobj.h>

// Gives an item list of the shell back to the shell's allocator.
void FreeShellItem(LPITEMIDLIST item);

// Every kind of handle the program owns, one line each. GDI objects of every kind go through
// DeleteObject; a memory DC through DeleteDC (ReleaseDC is for the DCs a window lends).
using UniqueKernelHandle = UniqueAny<HANDLE, ::CloseHandle>;
using UniqueFileHandle = UniqueAny<HANDLE, ::CloseHandle, -1>; // CreateFile's "none" is -1
using UniqueBrush = UniqueAny<HBRUSH, ::DeleteObject>;
using UniquePen = UniqueAny<HPEN, ::DeleteObject>;
using UniqueBitmap = UniqueAny<HBITMAP, ::DeleteObject>;
using UniqueFont = UniqueAny<HFONT, ::DeleteObject>;
using UniqueRegion = UniqueAny<HRGN, ::DeleteObject>;
using UniqueMemoryDc = UniqueAny<HDC, ::DeleteDC>;
using UniqueMenu = UniqueAny<HMENU, ::DestroyMenu>;
using UniqueIcon = UniqueAny<HICON, ::DestroyIcon>;
using UniqueCursor = UniqueAny<HCURSOR, ::DestroyCursor>;
using UniqueModule = UniqueAny<HMODULE, ::FreeLibrary>;
using UniqueKey = UniqueAny<HKEY, ::RegCloseKey>;
using UniqueServiceHandle = UniqueAny<SC_HANDLE, ::CloseServiceHandle>;
using UniqueShellItem = UniqueAny<LPITEMIDLIST, FreeShellItem>;

// Selects an object into a DC and puts the previous one back at scope exit.
class ScopedSelect {
public:
    ScopedSelect(HDC target, HGDIOBJ object) : dc(target), previous(::SelectObject(target, object)) {}
    ScopedSelect(const ScopedSelect &) = delete;
    ScopedSelect &operator=(const ScopedSelect &) = delete;
    ~ScopedSelect()
    {
        if (previous)
            ::SelectObject(dc, previous);
    }

private:
    HDC dc;
    HGDIOBJ previous;
};

// Off-screen drawing: everything is drawn into a compatible bitmap, then copied to the target
// with one BitBlt, so the screen never shows a half-drawn state.
class MemoryDc {
public:
    MemoryDc(HDC target, int cx, int cy);
    MemoryDc(const MemoryDc &) = delete;
    MemoryDc &operator=(const MemoryDc &) = delete;
    ~MemoryDc();

    HDC get() const { return dc.get(); }
    explicit operator bool() const { return dc && bitmap; }
    void CopyTo(HDC target, int x = 0, int y = 0) const;

private:
    int width;
    int height;
    UniqueMemoryDc dc;
    UniqueBitmap bitmap;
    HGDIOBJ previousBitmap = nullptr;
};
