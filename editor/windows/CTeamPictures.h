#pragma once

#include <cstdint>

class CFrameHost;
class QImage;
class QWidget;

// The Import Picture… and Export Picture… commands of a team's kit or crest: import asks for
// a PNG or JPEG file, converts it to the game's shape, shows it as the game will decode it
// and writes it into the game's archive on OK; export writes the picture shown as PNG.
class CTeamPictures {
public:
    enum class EKind { Kit, Crest };

    CTeamPictures(CFrameHost& host, int32_t teamId, EKind kind, int kit = 0);

    // The asset library is bound, so pictures can be read and written.
    bool CanImport() const;
    // True when a picture was written (the caller shows it again).
    bool Import(QWidget* parent) const;
    // False when nothing was written (no picture, cancelled or failed; failures are told).
    bool Export(QWidget* parent) const;

private:
    QImage Current() const;

    CFrameHost& m_host;
    int32_t m_teamId;
    EKind m_kind;
    int m_kit;
};
