#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class CGameDatabase;
class CKestrelApp;
class CMainFrame;

// The main window's commands between this database and another: File › Compare With… (another
// installation or the original backup, in a Compare window) and copying a team from another
// installation (File › Import Team From…, or a team dragged from a Compare window).
class CCompareCommands : public QObject {
    Q_OBJECT
public:
    CCompareCommands(CMainFrame& frame, CKestrelApp& app);

    void CompareWith();
    // Opens the Compare window of that folder (empty: the original backup); false, after saying
    // why, when the other database cannot be read.
    bool OpenComparison(const QString& folder);
    void ImportTeamFrom();
    // Copies the team of the installation in `folder` as one step of the history, then its
    // crest and kit pictures (outside the history).
    bool CopyTeamFrom(const QString& folder, int32_t teamId, std::optional<int32_t> leagueId,
                      bool withPlayers);

private:
    // The database of the installation, from its open Compare window or read now; null after
    // a message when it cannot be read.
    std::shared_ptr<const CGameDatabase> Installation(const QString& folder);
    bool Copy(const std::shared_ptr<const CGameDatabase>& from, const QString& folder,
              int32_t teamId, std::optional<int32_t> leagueId, bool withPlayers, bool withPictures);
    QString LastFolder() const;
    void RememberFolder(const QString& folder);

    CMainFrame& m_frame;
    CKestrelApp& m_app;
};
