#pragma once

#include <QIcon>

// The small pictures of the record windows, drawn by the editor itself: the league icon of
// the team tree and the 16-pixel icons of the tabs.
class CRecordIcons {
public:
    static QIcon League();
    // The first tab of every record window (information, the league's "Info").
    static QIcon Information();
    static QIcon Formation();
    static QIcon Kits();
    static QIcon Miscellaneous();
};
