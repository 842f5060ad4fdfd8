#include "WrenUtils.h"

#include "wren_utils/engine/DebugPrint.h"
#include "wren_utils/engine/FilePaths.h"
#include "wren_utils/engine/FileSystem.h"
#include "wren_utils/shapes/ShapeLoader.h"

#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_set>

#ifdef _WIN32
#include <windows.h>
#endif

// No exception may leave an export: each body runs inside a catch-all and fails with null / 0.
namespace {

#ifdef _WIN32

WrenBitmap MakeBitmap(const wren::BgraImage& image) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = static_cast<LONG>(image.width);
    info.bmiHeader.biHeight = -static_cast<LONG>(image.height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = image.width * image.height * 4;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, image.pixels.data(), &info,
                                    DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

int ReadBitmap(WrenBitmap handle, int* width, int* height, void* pixels, int stride) {
    BITMAP bm{};
    if (!handle || !GetObject(static_cast<HBITMAP>(handle), sizeof bm, &bm))
        return 0;
    if (width)
        *width = bm.bmWidth;
    if (height)
        *height = bm.bmHeight;
    if (!pixels)
        return 1;
    if (stride < bm.bmWidth * 4)
        return 0;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = -bm.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::string rows(static_cast<size_t>(bm.bmWidth) * 4 * bm.bmHeight, '\0');
    HDC screen = GetDC(nullptr);
    const int copied = GetDIBits(screen, static_cast<HBITMAP>(handle), 0, bm.bmHeight, rows.data(),
                                 &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (copied != bm.bmHeight)
        return 0;
    const size_t row = static_cast<size_t>(bm.bmWidth) * 4;
    for (size_t y = 0; y < static_cast<size_t>(bm.bmHeight); ++y)
        std::memcpy(static_cast<char*>(pixels) + y * static_cast<size_t>(stride),
                    rows.data() + y * row, row);
    return 1;
}

void FreeBitmap(WrenBitmap handle) {
    if (handle)
        DeleteObject(static_cast<HBITMAP>(handle));
}

#else

// Bitmaps handed out and not yet freed: a stale or foreign handle is refused, not followed.
std::mutex liveMutex;
std::unordered_set<const wren::BgraImage*> live;

WrenBitmap MakeBitmap(wren::BgraImage&& image) {
    auto* bitmap = new wren::BgraImage(std::move(image));
    const std::lock_guard lock(liveMutex);
    live.insert(bitmap);
    return bitmap;
}

int ReadBitmap(WrenBitmap handle, int* width, int* height, void* pixels, int stride) {
    const auto* image = static_cast<const wren::BgraImage*>(handle);
    const std::lock_guard lock(liveMutex);
    if (!live.count(image))
        return 0;
    if (width)
        *width = static_cast<int>(image->width);
    if (height)
        *height = static_cast<int>(image->height);
    if (!pixels)
        return 1;
    const size_t row = size_t{image->width} * 4;
    if (stride < 0 || static_cast<size_t>(stride) < row)
        return 0;
    for (size_t y = 0; y < image->height; ++y)
        std::memcpy(static_cast<uint8_t*>(pixels) + y * static_cast<size_t>(stride),
                    image->pixels.data() + y * row, row);
    return 1;
}

void FreeBitmap(WrenBitmap handle) {
    auto* image = static_cast<wren::BgraImage*>(handle);
    {
        const std::lock_guard lock(liveMutex);
        if (!live.erase(image))
            return;
    }
    delete image;
}

#endif

using Loader = std::optional<wren::BgraImage> (*)(const std::string&, const std::string&,
                                                  const std::string&);

WrenBitmap Request(Loader loader, const char* archivePath, const char* containerName,
                   const char* shapeName) {
    if (!archivePath || !containerName || !shapeName)
        return nullptr;
    try {
        auto image = loader(wren::FILE_fromnative(archivePath), containerName, shapeName);
        return image ? MakeBitmap(std::move(*image)) : nullptr;
    } catch (...) {
        wren::PRINT_error("picture %s of %s in %s could not be made\n", shapeName, containerName,
                          archivePath);
        return nullptr;
    }
}

} // namespace

extern "C" {

WREN_EXPORT int WREN_CALL initReal(void) {
    try {
        return wren::FILESYS_init() ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

WREN_EXPORT int WREN_CALL cleanupReal(void) {
    try {
        wren::FILESYS_shutdown();
    } catch (...) {
    }
    return 0;
}

WREN_EXPORT WrenBitmap WREN_CALL getShape(const char* archivePath, const char* containerName,
                                          const char* shapeName) {
    return Request(wren::ShapeLoader::FromWholeArchive, archivePath, containerName, shapeName);
}

WREN_EXPORT WrenBitmap WREN_CALL getShapeX(const char* archivePath, const char* containerName,
                                           const char* shapeName) {
    return Request(wren::ShapeLoader::FromStreamedEntry, archivePath, containerName, shapeName);
}

WREN_EXPORT int WREN_CALL readBitmap(WrenBitmap bitmap, int* width, int* height, void* pixels,
                                     int stride) {
    try {
        return ReadBitmap(bitmap, width, height, pixels, stride);
    } catch (...) {
        return 0;
    }
}

WREN_EXPORT void WREN_CALL freeBitmap(WrenBitmap bitmap) {
    try {
        FreeBitmap(bitmap);
    } catch (...) {
    }
}

} // extern "C"
