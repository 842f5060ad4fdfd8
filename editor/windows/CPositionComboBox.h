#pragma once

#include <QComboBox>

class CFrameHost;

// The position drop-down: entries for the codes 0 to 31, each named by the position name and
// shown with its group's icon; the second and third positions have an empty entry at the top
// for "none" (-1). A stored code it has no entry for shows no entry and is kept until the user
// chooses one.
class CPositionComboBox : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kPitchPositions = 32;
    static constexpr int kNone = -1;

    CPositionComboBox(CFrameHost& host, bool offerNone, QWidget* parent = nullptr);

    void SetCode(int code);
    // The chosen code; the stored one while no entry is chosen.
    int Code() const;

private:
    int m_unlisted = kNone;
};
