#include "screens/load_bitmap_surface.h"

namespace {

// Copied onto the surface as the surface reports its size, so a surface made
// larger or smaller than asked still gets the whole picture.
bool CopyOnto(platform::Surface surface, platform::Bitmap bitmap) {
    std::int32_t surfaceWidth = 0;
    std::int32_t surfaceHeight = 0;
    platform::GetSurfaceSize(surface, &surfaceWidth, &surfaceHeight);
    platform::DrawingContext context = platform::GetDC(surface);
    if (context == nullptr) return false;
    const bool copied = platform::StretchBitmap(context, 0, 0, surfaceWidth, surfaceHeight, bitmap);
    platform::ReleaseDC(surface, context);
    return copied;
}

}  // namespace

platform::Surface LoadBitmapSurface(platform::DirectDraw directDraw, const char* name) {
    // The program carries no bitmap resources, so the file is the only source.
    platform::Bitmap bitmap = platform::LoadImageFromFile(name);
    if (bitmap == nullptr) return nullptr;

    std::int32_t width = 0;
    std::int32_t height = 0;
    platform::GetBitmapSize(bitmap, &width, &height);
    platform::Surface surface = nullptr;
    if (!platform::CreateOffscreenSurface(directDraw, width, height, &surface)) {
        platform::DeleteBitmap(bitmap);
        return nullptr;
    }
    // Without a drawing context the surface is kept without the picture.
    CopyOnto(surface, bitmap);
    platform::DeleteBitmap(bitmap);
    return surface;
}

bool ReloadBitmapSurface(platform::Surface surface, const char* name) {
    if (surface == nullptr) return false;
    platform::Bitmap bitmap = platform::LoadImageFromFile(name);
    if (bitmap == nullptr) return false;
    const bool copied = CopyOnto(surface, bitmap);
    platform::DeleteBitmap(bitmap);
    return copied;
}
