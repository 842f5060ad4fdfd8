// kestrel-icons OUTDIR: writes the program's icon as OUTDIR/hicolor/NxN/apps/kestrel.png in
// the sizes a desktop looks for, from the same drawing the editor's windows use.
#include "CToolBarIcons.h"

#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kestrel-icons OUTDIR\n");
        return 1;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("hicolor/%1x%1/apps").arg(size);
        const QString path = root.filePath(folder + QStringLiteral("/kestrel.png"));
        if (!root.mkpath(folder) || !CToolBarIcons::ApplicationPicture(size).save(path, "PNG")) {
            std::fprintf(stderr, "kestrel-icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
