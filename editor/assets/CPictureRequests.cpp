#include "CPictureRequests.h"

#include "CAssetLibrary.h"
#include "CPictureNames.h"
#include "InstallPath.h"

CPictureRequests::CPictureRequests(CAssetLibrary& library, const QString& installFolder)
    : CPictureRequests(
          [&library](const QString& archive, const QByteArray& container, const QByteArray& shape) {
              return library.GetShapeX(archive, container, shape);
          },
          installFolder) {}

CPictureRequests::CPictureRequests(Fetcher fetcher, const QString& installFolder)
    : fetcher(std::move(fetcher)), installFolder(installFolder) {}

QImage CPictureRequests::KitImage(int team, int kit) const {
    return Ask(KitContainer(team, kit), KitShape(kit));
}

QImage CPictureRequests::Logo(int team) const {
    return Ask(LogoContainer(team), LogoShape());
}

QImage CPictureRequests::PlayerTexture(int number) const {
    if (number == 0)
        return {};
    return Ask(TextureContainer(number), TextureShape());
}

QByteArray CPictureRequests::KitContainer(int team, int kit) {
    return QByteArray::fromStdString(CPictureNames::KitContainer(team, kit));
}

QByteArray CPictureRequests::KitShape(int kit) {
    return QByteArray::fromStdString(CPictureNames::KitShape(kit));
}

QByteArray CPictureRequests::LogoContainer(int team) {
    return QByteArray::fromStdString(CPictureNames::LogoContainer(team));
}

QByteArray CPictureRequests::LogoShape() {
    return QByteArray::fromStdString(CPictureNames::LogoShape());
}

QByteArray CPictureRequests::TextureContainer(int number) {
    return QByteArray::fromStdString(CPictureNames::TextureContainer(number));
}

QByteArray CPictureRequests::TextureShape() {
    return QByteArray::fromStdString(CPictureNames::TextureShape());
}

QImage CPictureRequests::Ask(const QByteArray& container, const QByteArray& shape) const {
    for (const char* archive : CPictureNames::kArchives) {
        QImage image = fetcher(ResolveInstallPath(installFolder, QString::fromLatin1(archive)),
                               container, shape);
        if (!image.isNull())
            return image;
    }
    return {};
}
