#pragma once

#include <QIcon>
#include <QImage>

// The tool bar's small pictures, drawn by the editor itself.
class CToolBarIcons {
public:
    static QIcon Save();
    static QIcon Cut();
    static QIcon Copy();
    static QIcon Paste();
    static QIcon About();
    // The program's own icon: a kestrel over a pitch.
    static QIcon Application();
    // The same picture drawn at `size` pixels square; needs no application object, so the
    // build can write the icon files that an installation ships.
    static QImage ApplicationPicture(int size);
};
