#pragma once

#include <QIcon>

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
};
