#ifndef WREN_UTILS_H
#define WREN_UTILS_H

/*
 * Wren_Utils: the asset library's exported C interface.
 *
 * Calling order: initReal once after loading the library, any number of getShape / getShapeX
 * calls from one thread, cleanupReal once before the library is freed.
 *
 * Strings are zero-terminated byte strings (file names in the platform's narrow encoding).
 * Every failure returns null or 0; the library never ends its host process.
 */

#ifdef _WIN32
#define WREN_CALL __stdcall
#ifdef WREN_UTILS_BUILD
#define WREN_EXPORT __declspec(dllexport)
#else
#define WREN_EXPORT __declspec(dllimport)
#endif
#else
#define WREN_CALL
#define WREN_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* On Windows an HBITMAP (a device-dependent bitmap of the screen, 32 bits per pixel); elsewhere an
 * opaque pointer to the library's own 32-bit image. Owned by the caller: release it with
 * freeBitmap (on Windows DeleteObject works as well). */
typedef void* WrenBitmap;

/* Starts the library's services. Returns 1 when they run, 0 when they could not be started. */
WREN_EXPORT int WREN_CALL initReal(void);

/* Stops the services started by initReal. Returns 0. */
WREN_EXPORT int WREN_CALL cleanupReal(void);

/* Loads the whole archive into memory, finds the container entry by name (letter case ignored;
 * the entry must be stored unpacked), finds the shape by name (exact) and returns its first level
 * as a 32-bit bitmap, or null. */
WREN_EXPORT WrenBitmap WREN_CALL getShape(const char* archivePath, const char* containerName,
                                          const char* shapeName);

/* Reads only the archive's directory and the one container entry (name exact; the entry must be
 * a packed stream), then as getShape. Returns the bitmap or null. */
WREN_EXPORT WrenBitmap WREN_CALL getShapeX(const char* archivePath, const char* containerName,
                                           const char* shapeName);

/* Reads a bitmap returned by getShape / getShapeX. Stores its size in *width and *height (either
 * may be null). When pixels is not null, also copies the pixels there: rows top to bottom, each
 * row `stride` bytes apart (at least width * 4), each pixel 4 bytes blue, green, red, alpha.
 * Returns 1 on success, 0 for a null bitmap or a stride below width * 4. */
WREN_EXPORT int WREN_CALL readBitmap(WrenBitmap bitmap, int* width, int* height, void* pixels,
                                     int stride);

/* Releases a bitmap returned by getShape / getShapeX; null is ignored. */
WREN_EXPORT void WREN_CALL freeBitmap(WrenBitmap bitmap);

#ifdef __cplusplus
}
#endif

#endif
