// kestrel-arts OUTDIR: writes the editor's face, hair and facial-hair JPEG pictures
// (head01-25.jpg, hair01-11.jpg, f-hairSC.jpg for style S 1-6 and hair colour C 1-5).
#include "CSamplePictures.h"

#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>

namespace {

constexpr uint32_t kSize = 96;

bool Save(const wren::BgraImage& picture, const QDir& folder, const QString& name) {
    const QImage image(picture.pixels.data(), static_cast<int>(picture.width),
                       static_cast<int>(picture.height), static_cast<int>(picture.width * 4),
                       QImage::Format_ARGB32);
    const QString path = folder.filePath(name);
    if (!image.convertToFormat(QImage::Format_RGB32).save(path, "JPEG", 90)) {
        std::fprintf(stderr, "kestrel-arts: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kestrel-arts OUTDIR\n");
        return 1;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "kestrel-arts: cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = true;
    for (int face = 1; face <= 25; ++face)
        ok = ok && Save(CSamplePictures::Head(face, kSize), folder,
                        QString::asprintf("head%02d.jpg", face));
    for (int hair = 1; hair <= 11; ++hair)
        ok = ok && Save(CSamplePictures::Hair(hair, kSize), folder,
                        QString::asprintf("hair%02d.jpg", hair));
    for (int style = 1; style <= 6; ++style)
        for (int colour = 1; colour <= 5; ++colour)
            ok = ok && Save(CSamplePictures::FacialHair(style, colour, kSize), folder,
                            QString::asprintf("f-hair%d%d.jpg", style, colour));
    return ok ? 0 : 1;
}
