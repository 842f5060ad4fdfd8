#pragma once

#include "editor/windows/CChildFrame.h"
#include "editor/windows/CFindSettings.h"
#include "editor/windows/CFrameHost.h"

#include <QHash>
#include <QSet>
#include <QMainWindow>
#include <QStringList>
#include <QVariant>

#include <functional>

class CKestrelApp;
class CWorkspaceBar;
class CDatabaseSafety;
class QAction;
class QActionGroup;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QUndoStack;

// The editor's main window: menus, tool bar, status bar, the workspace bar with the leagues
// list, and the child windows, which are opened and refreshed only through it.
class CMainFrame : public QMainWindow, public CFrameHost {
    Q_OBJECT
public:
    static constexpr int kChildWidth = 640;
    static constexpr int kChildHeight = 520;
    static constexpr int kMaxLanguages = 20;

    explicit CMainFrame(CKestrelApp& app);
    ~CMainFrame() override;

    // Loads the database (progress in the splash window), localises the menus and restores the
    // placement. Returns false only when the window cannot work at all.
    bool Create();

    // CFrameHost
    CGameDatabase* Database() override;
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
    bool RefreshLeague(int leagueId) override;
    bool RefreshTeam(int teamId) override;
    bool RefreshPlayer(int playerId) override;
    void RefreshLeaguesList() override;
    QUndoStack& UndoStack() override;
    void ShowStatus(const QString& text, const QString& detail = {}) override;
    std::unique_ptr<QSettings> Settings() const override;
    void BeginSquadChanges() override;
    void EndSquadChanges() override;
    void Warn(QWidget* parent, const QString& text) override;
    void EditStateChanged() override;
    bool BackUpTextFile(const QString& filePath, QWidget* parent) override;
    std::filesystem::path BackupFolder() const override;
    int BackupCount() const override;
    void IngameTextsSaved(const QString& filePath, const CIngameTextDb& texts,
                          const std::set<size_t>& entries) override;
    // Refuses (with a message) players a team still refers to; asks, naming them, as the
    // deletion cannot be undone.
    bool DeletePlayers(const QList<int32_t>& playerIds) override;

    // Commands.
    // The save command: the active in-game text window's file, otherwise the database.
    bool SaveActive();
    bool SaveDatabase();
    // Closes the record windows and loads the database files again (after a restore).
    bool ReloadDatabase();
    // The open team windows, the lists and the league tree ask their pictures again.
    void RefreshPictures();
    CDatabaseSafety* Safety() { return m_safety; }
    void Find();
    // Returns the new player's id, or 0 when none was made.
    int AddPlayer();
    void OpenIngameTextFromDialog();
    // The table of every player (View › All Players).
    bool OpenAllPlayers();
    void SetEditorLanguage(const QString& language);

    // The titles child windows get: "%s - %s" of the localised caption and the record's name;
    // empty when the record does not exist.
    QString LeagueTitle(int leagueId) const;
    QString TeamTitle(int teamId) const;
    QString PlayerTitle(int playerId) const;

    QMdiArea* MdiArea() { return m_mdi; }
    CWorkspaceBar* WorkspaceBar() { return m_workspace; }
    CChildFrame* ActiveFrame() const;
    // Whether the file is the in-game text database the team and league names are kept in.
    bool IsGameTextDb(const QString& filePath) const;
    // The visible child window of this kind showing the record `key` (an id, or an in-game text
    // file's path), or null. Titles do not identify windows: two players may share a name.
    QMdiSubWindow* FindChild(CChildFrame::Kind kind, const QVariant& key) const;
    const QStringList& Languages() const { return m_languages; }
    QMenu* LanguageMenu() { return m_languageMenu; }
    // An action by its localisation key, for tests and the tool bar.
    QAction* ActionForKey(const QString& key) const;
    // The menu kind now shown: "main", "record" (with Undo and Redo) or "noplayer".
    QString MenuKind() const;

signals:
    // The window accepted closing: the program ends.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildActions();
    void BuildMenus();
    void BuildToolBar();
    void BuildLanguageMenu();
    void LocaliseMenus();
    void UpdateMenusForChild();
    void UpdateTitle();
    void OnDirtyChanged(bool dirty);
    void ShowTextDatabase();
    void ForwardToFocus(const char* slot);
    // Paste is offered only where the focused widget can paste (a list without a copied
    // player cannot).
    void UpdatePasteAction();
    QAction* MakeAction(const QString& key, const std::function<void()>& handler);
    // `key` null: always a new window (each Find has its own results).
    bool OpenChild(CChildFrame::Kind kind, const QVariant& key, const QString& title,
                   const std::function<CChildFrame*()>& make);
    bool RefreshChild(CChildFrame::Kind kind, int id, const QString& title);
    void PlaceNewChild(QMdiSubWindow* window);
    void OnSquadChanged(int32_t playerId, int32_t teamId);
    void RefreshSquadWindows();
    // The windows that list players from the whole database: the table of all players and
    // the search results.
    void RefreshPlayerTables();

    CKestrelApp& m_app;
    QMdiArea* m_mdi = nullptr;
    CWorkspaceBar* m_workspace = nullptr;
    QLabel* m_statusPane = nullptr;
    QLabel* m_textsPane = nullptr;
    QMenu* m_languageMenu = nullptr;
    QActionGroup* m_languageGroup = nullptr;
    QHash<QString, QAction*> m_actions;
    QAction* m_undoSeparator = nullptr;
    QUndoStack* m_undoStack = nullptr;
    QAction* m_addPlayerSeparator = nullptr;
    QStringList m_languages;
    CFindSettings m_findSettings;
    bool m_databaseLoaded = false;
    int m_squadBatchDepth = 0;
    QSet<int32_t> m_changedTeams;
    QSet<int32_t> m_changedPlayers;
    CDatabaseSafety* m_safety = nullptr;
    // Where the next new child window goes in the cascade, counted in steps from the corner.
    int m_cascadeStep = 0;
};
