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

MemoryDc::MemoryDc(HDC target, int width, int height)
    : width_(width), height_(height), dc_(::CreateCompatibleDC(target)),
      bitmap_(::CreateCompatibleBitmap(target, width > 0 ? width : 1, height > 0 ? height : 1))
{
    if (dc_ && bitmap_)
        previousBitmap_ = ::SelectObject(dc_.get(), bitmap_.get());
}

MemoryDc::~MemoryDc()
{
    if (previousBitmap_)
        ::SelectObject(dc_.get(), previousBitmap_);
}

void MemoryDc::CopyTo(HDC target, int x, int y) const
{
    if (*this)
        ::BitBlt(target, x, y, width_, height_, dc_.get(), 0, 0, SRCCOPY);
}
