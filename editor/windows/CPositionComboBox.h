#pragma once

#include <QComboBox>

class CFrameHost;

// The position drop-down: entries for the codes 0 to 31 (entry index = code), each named by the
// position name and shown with its group's icon. A code it has no entry for shows no entry.
class CPositionComboBox : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kPitchPositions = 32;

    CPositionComboBox(CFrameHost& host, QWidget* parent = nullptr);

    void SetCode(int code);
    // -1 while no entry is chosen.
    int Code() const { return currentIndex(); }
};
