#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>

class CAssetLibrary;

// The editor's picture requests: which archive, container and shape each picture comes from.
// Every request asks data/zdata_05.big first and, when that yields nothing, data/zdata_04.big.
class CPictureRequests {
public:
    // Answers one (archive path, container, shape) question; a null image means no picture.
    using Fetcher = std::function<QImage(const QString&, const QByteArray&, const QByteArray&)>;

    // Pictures through the library's streamed reader (getShapeX).
    CPictureRequests(CAssetLibrary& library, const QString& installFolder);
    CPictureRequests(Fetcher fetcher, const QString& installFolder);

    // The game installation the pictures come from (and imported ones go to).
    const QString& InstallFolder() const { return installFolder; }

    QImage KitImage(int team, int kit) const;
    QImage Logo(int team) const;
    // Texture 0 means "none" and asks for nothing.
    QImage PlayerTexture(int number) const;

    // One question as the requests ask it, of any archive (another installation's as well).
    QImage Fetch(const QString& archivePath, const QByteArray& container,
                 const QByteArray& shape) const {
        return fetcher(archivePath, container, shape);
    }

    static QByteArray KitContainer(int team, int kit);
    static QByteArray KitShape(int kit);
    static QByteArray LogoContainer(int team);
    static QByteArray LogoShape();
    static QByteArray TextureContainer(int number);
    static QByteArray TextureShape();

private:
    QImage Ask(const QByteArray& container, const QByteArray& shape) const;

    Fetcher fetcher;
    QString installFolder;
};
