#include "pictures/picture_bitmap.h"

#include "pictures/pictures.h"

#include <new>

namespace {

UniqueBitmap LoadPictureResource(int bitmapId, int width, int height)
{
    return UniqueBitmap(static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId),
                                                          IMAGE_BITMAP, width, height, LR_DEFAULTCOLOR)));
}

// A 24-bit top-down DIB section; its pixel rows come back through bits.
UniqueBitmap MakeDib(int width, int height, void *&bits)
{
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    bits = nullptr;
    UniqueBitmap dib(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    return bits ? std::move(dib) : UniqueBitmap();
}

UniqueBitmap Drawn(int bitmapId, int width, int height)
{
    void *bits = nullptr;
    UniqueBitmap dib = MakeDib(width, height, bits);
    if (!dib)
        return {};
    const std::ptrdiff_t stride = (static_cast<std::ptrdiff_t>(width) * 3 + 3) & ~std::ptrdiff_t{3};
    try {
        if (pictures::renderPicture(bitmapId, width, height, static_cast<std::uint8_t *>(bits), stride))
            return dib;
    } catch (const std::bad_alloc &) {
    }
    return {};
}

// Halftone averages the source pixels each target pixel covers: no doubled pixels, no seams.
UniqueBitmap Stretched(int bitmapId, int width, int height)
{
    const pictures::Size design = pictures::designSize(bitmapId);
    UniqueBitmap source = LoadPictureResource(bitmapId, design.width, design.height);
    void *bits = nullptr;
    UniqueBitmap target = MakeDib(width, height, bits);
    const UniqueMemoryDc from(::CreateCompatibleDC(nullptr));
    const UniqueMemoryDc to(::CreateCompatibleDC(nullptr));
    if (!source || !target || !from || !to)
        return {};
    const ScopedSelect sourceSelected(from.get(), source.get());
    const ScopedSelect targetSelected(to.get(), target.get());
    ::SetStretchBltMode(to.get(), HALFTONE);
    ::SetBrushOrgEx(to.get(), 0, 0, nullptr);
    if (!::StretchBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, design.width, design.height, SRCCOPY))
        return {};
    return target;
}

} // namespace

UniqueBitmap PictureBitmap(int bitmapId, int width, int height, UINT dpi)
{
    if (dpi == kReferenceDpi || width <= 0 || height <= 0)
        return LoadPictureResource(bitmapId, width, height);
    if (UniqueBitmap drawn = Drawn(bitmapId, width, height))
        return drawn;
    return Stretched(bitmapId, width, height);
}
