#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class CKestrelApp;
class CMainFrame;
class QAction;
class QActionGroup;
class QMenu;

// The main window's menus, tool bar and their commands' actions: built once, localised from the
// editor's texts, and kept in step with the active window (what its Edit menu can do) and the
// document's history (Undo and Redo name the step they take back).
class CMainMenus : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxLanguages = 20;

    CMainMenus(CMainFrame& frame, CKestrelApp& app);

    // Actions, menu bar and tool bar of the frame.
    void Build();
    // Every text from the editor's language (menus, status tips, the language menu).
    void Localise();
    // Undo, Redo, Add Player, Edit Selected and Paste follow the active window.
    void Update();

    // An action by its localisation key, for tests and the tool bar.
    QAction* ActionForKey(const QString& key) const;
    // Adds an action for a command; its text is the key's localised text.
    QAction* MakeAction(const QString& key, const std::function<void()>& handler);
    // A menu of the menu bar by its key ("Menu_File"), for other parts to add their commands.
    QMenu* Menu(const QString& key) const;
    QMenu* LanguageMenu() { return m_languageMenu; }
    QMenu* RecentMenu() { return m_recentMenu; }
    const QStringList& Languages() const { return m_languages; }
    // "main" (no history of its own: the document's), "record" (the window's own history) or
    // "noplayer" (a window that takes no new players and has no Undo).
    QString MenuKind() const;
    void SetEditorLanguage(const QString& language);

private:
    void BuildActions();
    void BuildMenus();
    void BuildToolBar();
    void BuildLanguageMenu();
    // The recent game folders, numbered, newest first; disabled when there are none.
    void BuildRecentMenu();
    void OpenGameFolder();
    void ForwardToFocus(const char* slot);
    // Paste is offered only where the focused widget can paste.
    void UpdatePasteAction();
    void UpdateUndoActions(const QString& kind);
    void Undo();
    void Redo();
    QString LocalisedMenuText(const QString& key) const;
    static QString WithoutKeys(const QString& text);

    CMainFrame& m_frame;
    CKestrelApp& m_app;
    QHash<QString, QAction*> m_actions;
    QHash<QString, QMenu*> m_menus;
    QMenu* m_languageMenu = nullptr;
    QMenu* m_recentMenu = nullptr;
    QActionGroup* m_languageGroup = nullptr;
    QAction* m_undoSeparator = nullptr;
    QAction* m_addPlayerSeparator = nullptr;
    QStringList m_languages;
};
