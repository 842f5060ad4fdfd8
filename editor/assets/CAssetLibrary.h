#pragma once

#include "wren_utils/WrenUtils.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <memory>

class QLibrary;

// Binding to the asset library Wren_Utils, loaded at run time by file name and bound by the
// names of its exports. No call is ever made through an entry point that was not found.
class CAssetLibrary {
public:
    using InitRealFn = int(WREN_CALL*)();
    using CleanupRealFn = int(WREN_CALL*)();
    using GetShapeFn = WrenBitmap(WREN_CALL*)(const char*, const char*, const char*);
    using ReadBitmapFn = int(WREN_CALL*)(WrenBitmap, int*, int*, void*, int);
    using FreeBitmapFn = void(WREN_CALL*)(WrenBitmap);

    CAssetLibrary();
    virtual ~CAssetLibrary();
    CAssetLibrary(const CAssetLibrary&) = delete;
    CAssetLibrary& operator=(const CAssetLibrary&) = delete;

    // "Wren_Utils" beside the running program, or where an installation puts it (the
    // platform's prefix and suffix are added by the loader). Needs the application object,
    // which knows the program's folder.
    static QString DefaultLibraryPath();

    // Frees a module already held, loads the named library and looks up its exports. True only
    // when the library was loaded and initReal, cleanupReal, getShape and getShapeX were all found.
    bool Load(const QString& fileName);
    // Calls cleanupReal when initReal was called, then frees the module.
    void Unload();

    bool IsLoaded() const;
    // All four entry points found.
    bool IsBound() const;
    // readBitmap and freeBitmap found as well, so pictures can be taken over.
    bool CanReadBitmaps() const;
    // What went wrong in the last Load, empty after success.
    const QString& ErrorText() const { return errorText; }

    // initReal's status, or -1 when the library is not bound. Called once after Load.
    int InitReal();
    // cleanupReal's result, or -1 when the library is not bound or was not initialised.
    int CleanupReal();

    // Ask the library for a picture; a null QImage when anything is missing or fails. The
    // bitmap's pixels are copied and the bitmap is freed before returning.
    QImage GetShape(const QString& archivePath, const QByteArray& container,
                    const QByteArray& shape);
    QImage GetShapeX(const QString& archivePath, const QByteArray& container,
                     const QByteArray& shape);

private:
    QImage Request(GetShapeFn entry, const QString& archivePath, const QByteArray& container,
                   const QByteArray& shape);
    QImage TakeBitmap(WrenBitmap bitmap);

    std::unique_ptr<QLibrary> module;
    InitRealFn initReal = nullptr;
    CleanupRealFn cleanupReal = nullptr;
    GetShapeFn getShape = nullptr;
    GetShapeFn getShapeX = nullptr;
    ReadBitmapFn readBitmap = nullptr;
    FreeBitmapFn freeBitmap = nullptr;
    bool initialised = false;
    QString errorText;
};
