// RAII owners for kernel handles, GDI objects, menus and icons, a scoped GDI selection, and an
// off-screen drawing context that is copied to its target in one step.
#pragma once

#include <windows.h>

#include <utility>

template <class Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle &) = delete;
    UniqueHandle &operator=(const UniqueHandle &) = delete;
    UniqueHandle(UniqueHandle &&other) noexcept : handle_(other.release()) {}
    UniqueHandle &operator=(UniqueHandle &&other) noexcept
    {
        reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Type get() const { return handle_; }
    explicit operator bool() const { return handle_ != Type{}; }
    Type release() { return std::exchange(handle_, Type{}); }
    void reset(Type handle = Type{})
    {
        if (handle_ != Type{} && handle_ != handle)
            Traits::Close(handle_);
        handle_ = handle;
    }

private:
    Type handle_{};
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
template <class T>
struct GdiObjectTraits {
    using Type = T;
    static void Close(T h) { ::DeleteObject(h); }
};
struct MemoryDcTraits {
    using Type = HDC;
    static void Close(HDC h) { ::DeleteDC(h); }
};
struct MenuTraits {
    using Type = HMENU;
    static void Close(HMENU h) { ::DestroyMenu(h); }
};
struct IconTraits {
    using Type = HICON;
    static void Close(HICON h) { ::DestroyIcon(h); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniquePen = UniqueHandle<GdiObjectTraits<HPEN>>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueRegion = UniqueHandle<GdiObjectTraits<HRGN>>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;

// Selects an object into a DC and puts the previous one back at scope exit.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ScopedSelect(const ScopedSelect &) = delete;
    ScopedSelect &operator=(const ScopedSelect &) = delete;
    ~ScopedSelect()
    {
        if (previous_)
            ::SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Off-screen drawing: everything is drawn into a compatible bitmap, then copied to the target
// with one BitBlt, so the screen never shows a half-drawn state.
class MemoryDc {
public:
    MemoryDc(HDC target, int width, int height);
    MemoryDc(const MemoryDc &) = delete;
    MemoryDc &operator=(const MemoryDc &) = delete;
    ~MemoryDc();

    HDC get() const { return dc_.get(); }
    explicit operator bool() const { return dc_ && bitmap_; }
    void CopyTo(HDC target, int x = 0, int y = 0) const;

private:
    int width_;
    int height_;
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ previousBitmap_ = nullptr;
};
