#include "framework/handles.h"

#include "framework/late_bound.h"

void FreeShellItem(LPITEMIDLIST item)
{
    // An item list exists only where the shell gave it out, so the shell is there to take it back.
    static const auto getMalloc = LATE_BOUND("shell32.dll", SHGetMalloc);
    IMalloc *allocator = nullptr;
    if (getMalloc && SUCCEEDED(getMalloc(&allocator)) && allocator) {
        allocator->Free(item);
        allocator->Release();
    }
}

MemoryDc::MemoryDc(HDC target, int cx, int cy)
    : width(cx), height(cy), dc(::CreateCompatibleDC(target)),
      bitmap(::CreateCompatibleBitmap(target, cx > 0 ? cx : 1, cy > 0 ? cy : 1))
{
    if (dc && bitmap)
        previousBitmap = ::SelectObject(dc.get(), bitmap.get());
}

MemoryDc::~MemoryDc()
{
    if (previousBitmap)
        ::SelectObject(dc.get(), previousBitmap);
}

void MemoryDc::CopyTo(HDC target, int x, int y) const
{
    if (*this)
        ::BitBlt(target, x, y, width, height, dc.get(), 0, 0, SRCCOPY);
}
