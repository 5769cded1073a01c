#include "ui/win32/resource_pictures.h"

#include <cstring>

#include "ui/win32/jpeg_decoder.h"

namespace purgent::ui {

HBITMAP LoadJpegBitmap(HINSTANCE instance, int resourceId) {
    HRSRC resource = FindResourceA(instance, MAKEINTRESOURCEA(resourceId), RT_RCDATA);
    HGLOBAL loaded = resource ? LoadResource(instance, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    DecodedPicture picture;
    if (!bytes || !DecodeJpeg(static_cast<const std::uint8_t*>(bytes),
                              SizeofResource(instance, resource), picture)) {
        return nullptr;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;  // top-down rows, as decoded
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) std::memcpy(bits, picture.pixels.data(), picture.pixels.size());
    return bitmap;
}

}  // namespace purgent::ui
