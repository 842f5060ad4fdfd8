#include "CPictureRequests.h"

#include "CAssetLibrary.h"
#include "InstallPath.h"

namespace {

bool IsCrowdKit(int kit) {
    return kit == 7 || kit == 8;
}

} // namespace

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
    const char* format =
        IsCrowdKit(kit)
            ? "playerkittexobj.texobj463104248046875__texture462677001953125__%d_0_%d.fsh"
            : "playerkittexobj.texobj463104248046875__texture23__%d_0_%d.fsh";
    return QString::asprintf(format, kit, team).toLatin1();
}

QByteArray CPictureRequests::KitShape(int kit) {
    return IsCrowdKit(kit) ? QByteArrayLiteral("crwd") : QByteArrayLiteral("tp00");
}

QByteArray CPictureRequests::LogoContainer(int team) {
    return QString::asprintf("transitiontexobj.texobj85302734375__texture52777099609375__%d.fsh",
                             team)
        .toLatin1();
}

QByteArray CPictureRequests::LogoShape() {
    return QByteArrayLiteral("logo");
}

QByteArray CPictureRequests::TextureContainer(int number) {
    return QString::asprintf("playertexobj.texobj11__texture12__%d_0_0.fsh", number).toLatin1();
}

QByteArray CPictureRequests::TextureShape() {
    return QByteArrayLiteral("tp01");
}

QImage CPictureRequests::Ask(const QByteArray& container, const QByteArray& shape) const {
    QImage image = fetcher(ResolveInstallPath(installFolder, QStringLiteral("data/zdata_05.big")),
                           container, shape);
    if (!image.isNull())
        return image;
    return fetcher(ResolveInstallPath(installFolder, QStringLiteral("data/zdata_04.big")),
                   container, shape);
}
