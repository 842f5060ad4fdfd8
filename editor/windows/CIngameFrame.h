#pragma once

#include "editor/windows/CChildFrame.h"

#include <QString>

// Child window of kind IngameText; shows a summary until its own views are built.
class CIngameFrame : public CChildFrame {
    Q_OBJECT
public:
    CIngameFrame(const QString& filePath, CFrameHost& host, QWidget* parent = nullptr);

    const QString& FilePath() const { return m_filePath; }

    void Fill() override;
    void Refresh(int hint) override;

private:
    QString m_filePath;
};
