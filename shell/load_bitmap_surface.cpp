#include "shell/load_bitmap_surface.h"

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

    // Copied onto the surface as the surface reports its size, so a surface
    // made larger or smaller than asked still gets the whole picture.
    std::int32_t surfaceWidth = 0;
    std::int32_t surfaceHeight = 0;
    platform::GetSurfaceSize(surface, &surfaceWidth, &surfaceHeight);
    if (platform::DrawingContext context = platform::GetDC(surface)) {
        platform::StretchBitmap(context, 0, 0, surfaceWidth, surfaceHeight, bitmap);
        platform::ReleaseDC(surface, context);
    }
    platform::DeleteBitmap(bitmap);
    return surface;
}
