/* Asks Wren_Utils for one shape as a caller of the DLL does and writes what it got as
 * "WIDTH HEIGHT\n" and the pixels (rows top to bottom, bytes blue, green, red, alpha), so a
 * test compares the pixels of builds for different systems byte for byte.
 * Usage: wren_bitmap_probe LIBRARY ARCHIVE CONTAINER SHAPE OUT [whole]
 * On Windows through LoadLibraryW and GetProcAddress; the shape comes back as an HBITMAP, read
 * with GetObject (its size) and GetDIBits (its pixels). Elsewhere through dlopen and readBitmap. */
#include "wren_utils/WrenUtils.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

typedef int(WREN_CALL* InitFn)(void);
typedef WrenBitmap(WREN_CALL* ShapeFn)(const char*, const char*, const char*);
typedef int(WREN_CALL* ReadFn)(WrenBitmap, int*, int*, void*, int);
typedef void(WREN_CALL* FreeFn)(WrenBitmap);

static int Fail(const char* what) {
    fprintf(stderr, "wren_bitmap_probe: %s\n", what);
    return 1;
}

static int WritePicture(const char* out, int width, int height, const unsigned char* pixels) {
    FILE* file = fopen(out, "wb");
    if (!file)
        return Fail("cannot write the output");
    fprintf(file, "%d %d\n", width, height);
    fwrite(pixels, 4, (size_t)width * (size_t)height, file);
    return fclose(file) == 0 ? 0 : Fail("cannot write the output");
}

#ifdef _WIN32

/* The DLL takes names in the ANSI code page, as every narrow Windows call does. */
static char* Narrow(const wchar_t* wide) {
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, NULL, 0, NULL, NULL);
    char* text = (char*)malloc((size_t)size);
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, size, NULL, NULL);
    return text;
}

int wmain(int argc, wchar_t** argv) {
    if (argc != 6 && argc != 7)
        return Fail("usage: wren_bitmap_probe LIBRARY ARCHIVE CONTAINER SHAPE OUT [whole]");
    HMODULE library = LoadLibraryW(argv[1]);
    if (!library)
        return Fail("cannot load the library");
    InitFn initReal = (InitFn)(void (*)(void))GetProcAddress(library, "initReal");
    InitFn cleanupReal = (InitFn)(void (*)(void))GetProcAddress(library, "cleanupReal");
    ShapeFn getShape = (ShapeFn)(void (*)(void))GetProcAddress(
        library, argc == 7 ? "getShape" : "getShapeX");
    if (!initReal || !cleanupReal || !getShape)
        return Fail("the library lacks initReal, cleanupReal, getShape or getShapeX");
    if (initReal() != 1)
        return Fail("initReal failed");
    char* archive = Narrow(argv[2]);
    char* container = Narrow(argv[3]);
    char* shape = Narrow(argv[4]);
    HBITMAP bitmap = (HBITMAP)getShape(archive, container, shape);
    if (!bitmap)
        return Fail("no bitmap for the shape");
    BITMAP header;
    if (!GetObject(bitmap, sizeof header, &header))
        return Fail("GetObject refuses the bitmap");
    if (header.bmBitsPixel != 32 || header.bmWidth <= 0 || header.bmHeight <= 0)
        return Fail("the bitmap is not 32 bits a pixel");
    BITMAPINFO info;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = header.bmWidth;
    info.bmiHeader.biHeight = -header.bmHeight; /* top row first */
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    unsigned char* pixels = (unsigned char*)malloc((size_t)header.bmWidth * header.bmHeight * 4);
    HDC screen = GetDC(NULL);
    const int rows = GetDIBits(screen, bitmap, 0, (UINT)header.bmHeight, pixels, &info,
                               DIB_RGB_COLORS);
    ReleaseDC(NULL, screen);
    DeleteObject(bitmap);
    cleanupReal();
    FreeLibrary(library);
    if (rows != header.bmHeight)
        return Fail("GetDIBits did not copy every row");
    char* out = Narrow(argv[5]);
    return WritePicture(out, header.bmWidth, header.bmHeight, pixels);
}

#else

int main(int argc, char** argv) {
    if (argc != 6 && argc != 7)
        return Fail("usage: wren_bitmap_probe LIBRARY ARCHIVE CONTAINER SHAPE OUT [whole]");
    void* library = dlopen(argv[1], RTLD_NOW);
    if (!library)
        return Fail("cannot load the library");
    InitFn initReal = (InitFn)dlsym(library, "initReal");
    InitFn cleanupReal = (InitFn)dlsym(library, "cleanupReal");
    ShapeFn getShape = (ShapeFn)dlsym(library, argc == 7 ? "getShape" : "getShapeX");
    ReadFn readBitmap = (ReadFn)dlsym(library, "readBitmap");
    FreeFn freeBitmap = (FreeFn)dlsym(library, "freeBitmap");
    if (!initReal || !cleanupReal || !getShape || !readBitmap || !freeBitmap)
        return Fail("the library lacks an export");
    if (initReal() != 1)
        return Fail("initReal failed");
    WrenBitmap bitmap = getShape(argv[2], argv[3], argv[4]);
    int width = 0;
    int height = 0;
    if (!bitmap || !readBitmap(bitmap, &width, &height, NULL, 0) || width <= 0 || height <= 0)
        return Fail("no bitmap for the shape");
    unsigned char* pixels = (unsigned char*)malloc((size_t)width * height * 4);
    if (!readBitmap(bitmap, NULL, NULL, pixels, width * 4))
        return Fail("readBitmap failed");
    freeBitmap(bitmap);
    cleanupReal();
    dlclose(library);
    return WritePicture(argv[5], width, height, pixels);
}

#endif
