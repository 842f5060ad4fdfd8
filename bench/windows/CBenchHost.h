#pragma once

#include "editor/document/CDatabaseDocument.h"
#include "editor/model/CGameDatabase.h"
#include "editor/windows/CFrameHost.h"

#include <QDir>
#include <QSettings>

#include <memory>

// The main window's part the windows need, over a sample game, for the windows' benchmarks.
// Texts are their keys, except the ones a benchmark gives.
class CBenchHost : public CFrameHost {
public:
    explicit CBenchHost(int playerCount);

    CGameDatabase* Database() override { return m_document.Database(); }
    CDatabaseDocument& Document() override { return m_document; }
    QString Text(const char* key) const override;
    QFont TitleFont() const override { return {}; }
    QFont SmallTitleFont() const override { return {}; }
    CPictureRequests* Pictures() override { return nullptr; }
    QString EditorFolder() const override { return QDir::tempPath(); }
    bool CanStoreInGameNames() const override { return true; }
    bool OpenLeague(int) override { return false; }
    bool OpenTeam(int) override { return false; }
    bool OpenPlayer(int) override { return false; }
    bool OpenSearchResults(const CFindSettings&) override { return false; }
    bool OpenIngameText(const QString&) override { return false; }
    void ShowStatus(const QString&, const QString&) override {}
    std::unique_ptr<QSettings> Settings() const override;
    void Warn(QWidget*, const QString&) override {}
    bool BackUpTextFile(const QString&, QWidget*) override { return true; }
    std::filesystem::path BackupFolder() const override { return {}; }
    int BackupCount() const override { return 0; }
    void IngameTextsSaved(const QString&, const CIngameTextDb&, const std::set<size_t>&) override {}
    bool DeletePlayers(const QList<int32_t>&) override { return false; }

private:
    CDatabaseDocument m_document;
};
