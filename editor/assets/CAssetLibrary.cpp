#include "CAssetLibrary.h"

#include "CProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>

CAssetLibrary::CAssetLibrary() = default;

CAssetLibrary::~CAssetLibrary() {
    Unload();
}

QString CAssetLibrary::DefaultLibraryPath() {
    return CProgramFolders::LibraryPath(QCoreApplication::applicationDirPath());
}

bool CAssetLibrary::Load(const QString& fileName) {
    Unload();
    errorText.clear();
    auto library = std::make_unique<QLibrary>(fileName);
    if (!library->load()) {
        errorText = QStringLiteral("cannot load %1: %2").arg(fileName, library->errorString());
        return false;
    }
    initReal = reinterpret_cast<InitRealFn>(library->resolve("initReal"));
    cleanupReal = reinterpret_cast<CleanupRealFn>(library->resolve("cleanupReal"));
    getShape = reinterpret_cast<GetShapeFn>(library->resolve("getShape"));
    getShapeX = reinterpret_cast<GetShapeFn>(library->resolve("getShapeX"));
    readBitmap = reinterpret_cast<ReadBitmapFn>(library->resolve("readBitmap"));
    freeBitmap = reinterpret_cast<FreeBitmapFn>(library->resolve("freeBitmap"));
    module = std::move(library);
    if (!IsBound()) {
        QStringList missing;
        if (!initReal)
            missing << QStringLiteral("initReal");
        if (!cleanupReal)
            missing << QStringLiteral("cleanupReal");
        if (!getShape)
            missing << QStringLiteral("getShape");
        if (!getShapeX)
            missing << QStringLiteral("getShapeX");
        errorText = QStringLiteral("%1 lacks %2").arg(fileName, missing.join(QStringLiteral(", ")));
        return false;
    }
    return true;
}

void CAssetLibrary::Unload() {
    // Freeing the library while its threads run would pull the code from under them.
    CleanupReal();
    initReal = nullptr;
    cleanupReal = nullptr;
    getShape = nullptr;
    getShapeX = nullptr;
    readBitmap = nullptr;
    freeBitmap = nullptr;
    if (module) {
        module->unload();
        module.reset();
    }
}

bool CAssetLibrary::IsLoaded() const {
    return module != nullptr;
}

bool CAssetLibrary::IsBound() const {
    return module && initReal && cleanupReal && getShape && getShapeX;
}

bool CAssetLibrary::CanReadBitmaps() const {
    return IsBound() && readBitmap && freeBitmap;
}

int CAssetLibrary::InitReal() {
    if (!IsBound())
        return -1;
    initialised = true;
    return initReal();
}

int CAssetLibrary::CleanupReal() {
    if (!initialised || !cleanupReal)
        return -1;
    initialised = false;
    return cleanupReal();
}

QImage CAssetLibrary::GetShape(const QString& archivePath, const QByteArray& container,
                               const QByteArray& shape) {
    return Request(getShape, archivePath, container, shape);
}

QImage CAssetLibrary::GetShapeX(const QString& archivePath, const QByteArray& container,
                                const QByteArray& shape) {
    return Request(getShapeX, archivePath, container, shape);
}

QImage CAssetLibrary::Request(GetShapeFn entry, const QString& archivePath,
                              const QByteArray& container, const QByteArray& shape) {
    if (!initialised || !entry || !CanReadBitmaps())
        return {};
    const QByteArray path = QFile::encodeName(archivePath);
    return TakeBitmap(entry(path.constData(), container.constData(), shape.constData()));
}

QImage CAssetLibrary::TakeBitmap(WrenBitmap bitmap) {
    if (!bitmap)
        return {};
    QImage image;
    int width = 0;
    int height = 0;
    if (readBitmap(bitmap, &width, &height, nullptr, 0) && width > 0 && height > 0) {
        image = QImage(width, height, QImage::Format_ARGB32);
        if (!image.isNull() && !readBitmap(bitmap, nullptr, nullptr, image.bits(),
                                           static_cast<int>(image.bytesPerLine())))
            image = QImage();
    }
    freeBitmap(bitmap);
    return image;
}
