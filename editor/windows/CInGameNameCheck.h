#pragma once

#include <QString>

#include <string>
#include <vector>

class CFrameHost;
class QWidget;

// Checks the team or league names a form is about to write: a name the game cannot keep
// (over 255 bytes of UTF-8) or a rename without an in-game text database to keep it is
// refused with a message naming why, and the form writes nothing.
class CInGameNameCheck {
public:
    struct SField {
        const char* captionKey;
        QString text;
        std::string stored;
    };

    // True when every changed name can be stored; otherwise says why and returns false.
    static bool Accept(CFrameHost& host, QWidget* parent, const std::vector<SField>& fields);
};
