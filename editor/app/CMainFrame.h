#pragma once

#include "editor/windows/CChildFrame.h"
#include "editor/windows/CFindSettings.h"
#include "editor/windows/CFrameHost.h"

#include <QMainWindow>
#include <QStringList>
#include <QVariant>

class CChildWindows;
class CCompareCommands;
class CDatabaseCommands;
class CDatabaseDocument;
class CDatabaseSafety;
class CKestrelApp;
class CMainMenus;
class CWorkspaceBar;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
struct SChange;

// The editor's main window: the frame around the document's views (menus, tool bar, status
// bar, the workspace bar with the leagues list, the child windows). Menus, the window registry
// and the database commands are classes of their own; this class joins them.
class CMainFrame : public QMainWindow, public CFrameHost {
    Q_OBJECT
public:
    explicit CMainFrame(CKestrelApp& app);
    ~CMainFrame() override;

    // Loads the database (progress in the splash window), localises the menus and restores the
    // placement. Returns false only when the window cannot work at all.
    bool Create();

    // CFrameHost
    CGameDatabase* Database() override;
    CDatabaseDocument& Document() override { return *m_document; }
    QString Text(const char* key) const override;
    QFont TitleFont() const override;
    QFont SmallTitleFont() const override;
    QString EditorFolder() const override;
    CPictureRequests* Pictures() override;
    bool CanStoreInGameNames() const override;
    bool OpenLeague(int leagueId) override;
    bool OpenTeam(int teamId) override;
    bool OpenPlayer(int playerId) override;
    bool OpenSearchResults(const CFindSettings& settings) override;
    bool OpenIngameText(const QString& filePath) override;
    void ShowStatus(const QString& text, const QString& detail = {}) override;
    std::unique_ptr<QSettings> Settings() const override;
    void Warn(QWidget* parent, const QString& text) override;
    void EditStateChanged() override;
    bool BackUpTextFile(const QString& filePath, QWidget* parent) override;
    std::filesystem::path BackupFolder() const override;
    int BackupCount() const override;
    void IngameTextsSaved(const QString& filePath, const CIngameTextDb& texts,
                          const std::set<size_t>& entries) override;
    bool DeletePlayers(const QList<int32_t>& playerIds) override;
    bool CopyTeamFrom(const QString& folder, int32_t teamId,
                      std::optional<int32_t> leagueId) override;

    CMainMenus& Menus() { return *m_menus; }
    CChildWindows& Windows() { return *m_windows; }
    CDatabaseCommands& Commands() { return *m_commands; }
    CCompareCommands& Compare() { return *m_compare; }
    CDatabaseSafety* Safety() { return m_safety; }

    // The commands, for the safety net and tests.
    bool SaveDatabase();
    bool ReloadDatabase();
    int AddPlayer();
    // The table of every player (View › All Players).
    bool OpenAllPlayers();

    QString TeamTitle(int teamId) const;
    QString PlayerTitle(int playerId) const;

    QMdiArea* MdiArea() { return m_mdi; }
    CWorkspaceBar* WorkspaceBar() { return m_workspace; }
    CChildFrame* ActiveFrame() const;
    // Whether the file is the in-game text database the team and league names are kept in.
    bool IsGameTextDb(const QString& filePath) const;
    QMdiSubWindow* FindChild(CChildFrame::Kind kind, const QVariant& key) const;
    const QStringList& Languages() const;
    QMenu* LanguageMenu();
    QAction* ActionForKey(const QString& key) const;
    QString MenuKind() const;
    // Asks about unsaved work (windows with files of their own, then the database), keeps the
    // placement and closes the child windows; false when the user kept the window open.
    bool AskToClose();

signals:
    // The window accepted closing: the program ends.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void UpdateTitle();
    void ShowTextDatabase();
    void LoadAtStart();

    CKestrelApp& m_app;
    CDatabaseDocument* m_document = nullptr;
    QMdiArea* m_mdi = nullptr;
    CChildWindows* m_windows = nullptr;
    CMainMenus* m_menus = nullptr;
    CDatabaseCommands* m_commands = nullptr;
    CCompareCommands* m_compare = nullptr;
    CWorkspaceBar* m_workspace = nullptr;
    QLabel* m_statusPane = nullptr;
    QLabel* m_textsPane = nullptr;
    CDatabaseSafety* m_safety = nullptr;
};
