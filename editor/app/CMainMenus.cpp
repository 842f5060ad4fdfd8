#include "CMainMenus.h"

#include "CCompareCommands.h"
#include "CDatabaseCommands.h"
#include "CDatabaseSafety.h"
#include "CKestrelApp.h"
#include "CMainFrame.h"
#include "CPatchFiles.h"
#include "CToolBarIcons.h"
#include "editor/dialogs/CUserPrompts.h"
#include "CWorkspaceBar.h"
#include "editor/localisation/LocalisationText.h"
#include "editor/document/CDatabaseDocument.h"
#include "editor/model/CGameDatabase.h"
#include "editor/windows/CChildFrame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoStack>

#include <initializer_list>

namespace {

const char* const kKeyProperty = "localisationKey";

// The platform's keys for a standard command, and those the editor has always offered (a
// platform may have none for the command).
QList<QKeySequence> WithKey(QKeySequence::StandardKey standard,
                            std::initializer_list<QKeySequence> extras) {
    QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
    for (const QKeySequence& extra : extras) {
        if (!keys.contains(extra)) {
            keys.append(extra);
        }
    }
    return keys;
}

} // namespace

CMainMenus::CMainMenus(CMainFrame& frame, CKestrelApp& app)
    : QObject(&frame), m_frame(frame), m_app(app) {}

void CMainMenus::Build() {
    BuildActions();
    BuildMenus();
    BuildToolBar();
}

QAction* CMainMenus::MakeAction(const QString& key, const std::function<void()>& handler) {
    auto* action = new QAction(key, &m_frame);
    action->setProperty(kKeyProperty, key);
    action->setObjectName(key);
    connect(action, &QAction::triggered, this, [handler] { handler(); });
    m_actions.insert(key, action);
    return action;
}

QAction* CMainMenus::ActionForKey(const QString& key) const {
    return m_actions.value(key, nullptr);
}

QMenu* CMainMenus::Menu(const QString& key) const {
    return m_menus.value(key, nullptr);
}

void CMainMenus::ForwardToFocus(const char* slot) {
    if (QWidget* focus = QApplication::focusWidget()) {
        QMetaObject::invokeMethod(focus, slot);
    }
    UpdatePasteAction();
}

void CMainMenus::UpdatePasteAction() {
    bool canPaste = true;
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus->metaObject()->indexOfMethod("CanPaste()") >= 0) {
        QMetaObject::invokeMethod(focus, "CanPaste", Q_RETURN_ARG(bool, canPaste));
    }
    if (QAction* paste = ActionForKey(QStringLiteral("Menu_EditPaste"))) {
        paste->setEnabled(canPaste);
    }
}

void CMainMenus::BuildActions() {
    CMainFrame& f = m_frame;
    QAction* save = MakeAction(QStringLiteral("Menu_FileSaveDB"), [&f] { f.Commands().SaveActive(); });
    save->setShortcuts(QKeySequence::Save);
    save->setIcon(CToolBarIcons::Save());
    MakeAction(QStringLiteral("Menu_FileOpenIngameText"), [&f] {
        f.Commands().OpenIngameTextFromDialog();
    })->setShortcuts(QKeySequence::Open);
    MakeAction(QStringLiteral("Menu_FileOpenGameFolder"), [this] { OpenGameFolder(); });
    MakeAction(QStringLiteral("Menu_FileRestoreBackup"), [&f] { f.Safety()->RestoreBackup(); });
    MakeAction(QStringLiteral("Menu_FileBackupCount"), [&f] { f.Safety()->ChooseBackupCount(); });
    MakeAction(QStringLiteral("Menu_FileCompareWith"), [&f] { f.Compare().CompareWith(); });
    MakeAction(QStringLiteral("Menu_FileImportTeam"), [&f] { f.Compare().ImportTeamFrom(); });
    auto* patches = new CPatchFiles(f, m_app);
    MakeAction(QStringLiteral("Menu_FileExportPatch"), [patches] { patches->ExportChanges(); });
    MakeAction(QStringLiteral("Menu_FileApplyPatch"), [patches] { patches->ApplyPatch(); });
    MakeAction(QStringLiteral("Menu_ViewCheckDatabase"), [&f] {
        f.Safety()->CheckDatabase();
    })->setShortcut(QKeySequence(Qt::Key_F7));
    // Closing the frame asks about unsaved work first.
    MakeAction(QStringLiteral("Menu_FileExit"), [&f] {
        f.close();
    })->setShortcuts(WithKey(QKeySequence::Quit, {QKeySequence(Qt::CTRL | Qt::Key_Q),
                                                   QKeySequence(Qt::ALT | Qt::Key_F4)}));

    MakeAction(QStringLiteral("Menu_EditUndo"), [this] {
        Undo();
    })->setShortcuts(WithKey(QKeySequence::Undo, {QKeySequence(Qt::ALT | Qt::Key_Backspace)}));
    // Ctrl+Y as the menu text has always said, beside the platform's own keys.
    MakeAction(QStringLiteral("Menu_EditRedo"), [this] {
        Redo();
    })->setShortcuts(WithKey(QKeySequence::Redo, {QKeySequence(Qt::CTRL | Qt::Key_Y)}));
    QAction* cut = MakeAction(QStringLiteral("Menu_EditCut"), [this] { ForwardToFocus("cut"); });
    cut->setShortcuts(QKeySequence::Cut);
    cut->setIcon(CToolBarIcons::Cut());
    QAction* copy = MakeAction(QStringLiteral("Menu_EditCopy"), [this] { ForwardToFocus("copy"); });
    copy->setShortcuts(QKeySequence::Copy);
    copy->setIcon(CToolBarIcons::Copy());
    QAction* paste =
        MakeAction(QStringLiteral("Menu_EditPaste"), [this] { ForwardToFocus("paste"); });
    paste->setShortcuts(QKeySequence::Paste);
    paste->setIcon(CToolBarIcons::Paste());
    MakeAction(QStringLiteral("Menu_EditFind"), [&f] {
        // A window with texts of its own searches them.
        CChildFrame* frame = f.ActiveFrame();
        if (!frame || !frame->FindInWindow()) {
            f.Commands().Find();
        }
    })->setShortcuts(QKeySequence::Find);
    MakeAction(QStringLiteral("Menu_EditAddPlayer"), [&f] {
        f.Commands().AddPlayer();
    })->setShortcuts(QKeySequence::New);
    MakeAction(QStringLiteral("Menu_EditEditSelected"), [&f] {
        if (CChildFrame* frame = f.ActiveFrame()) {
            frame->EditSelected();
        }
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));

    QAction* leagues = MakeAction(QStringLiteral("Menu_ViewLeaguesList"), [&f] {
        f.WorkspaceBar()->setVisible(!f.WorkspaceBar()->isVisible());
    });
    leagues->setCheckable(true);
    leagues->setChecked(true);
    QAction* status = MakeAction(QStringLiteral("Menu_ViewStatusBar"), [&f] {
        f.statusBar()->setVisible(!f.statusBar()->isVisible());
    });
    status->setCheckable(true);
    status->setChecked(true);
    // The one owner of Ctrl+F4: the child windows' own menus carry no such key.
    MakeAction(QStringLiteral("Menu_ViewCloseWindow"), [&f] {
        f.MdiArea()->closeActiveSubWindow();
    })->setShortcuts(WithKey(QKeySequence::Close, {QKeySequence(Qt::CTRL | Qt::Key_F4)}));
    MakeAction(QStringLiteral("Menu_ViewNextWindow"), [&f] {
        f.MdiArea()->activateNextSubWindow();
    })->setShortcut(QKeySequence(Qt::Key_F6));
    MakeAction(QStringLiteral("Menu_ViewPreviousWindow"), [&f] {
        f.MdiArea()->activatePreviousSubWindow();
    })->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
    MakeAction(QStringLiteral("Menu_ViewPlayersWithoutTeam"),
               [&f] { f.OpenTeam(CGameDatabase::kNoTeamId); });
    MakeAction(QStringLiteral("Menu_ViewAllPlayers"), [&f] {
        f.OpenAllPlayers();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    MakeAction(QStringLiteral("Menu_ViewHistory"), [&f] { f.Commands().ShowHistory(); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));

    MakeAction(QStringLiteral("Menu_HelpContents"), [this] {
        m_app.ShowHelp();
    })->setShortcuts(QKeySequence::HelpContents);
    QAction* about = MakeAction(QStringLiteral("Menu_HelpAbout"), [this] { m_app.ShowAbout(); });
    about->setIcon(CToolBarIcons::About());
    about->setMenuRole(QAction::AboutRole);
    MakeAction(QStringLiteral("Menu_HelpAboutQt"), [] {
        QApplication::aboutQt();
    })->setMenuRole(QAction::AboutQtRole);
}

void CMainMenus::BuildMenus() {
    auto menu = [this](const QString& key) {
        QMenu* m = m_frame.menuBar()->addMenu(key);
        m->menuAction()->setProperty(kKeyProperty, key);
        m->setObjectName(key);
        m_menus.insert(key, m);
        return m;
    };
    auto a = [this](const char* key) { return ActionForKey(QString::fromLatin1(key)); };

    QMenu* file = menu(QStringLiteral("Menu_File"));
    file->addAction(a("Menu_FileOpenGameFolder"));
    m_recentMenu = file->addMenu(QStringLiteral("Menu_FileRecentGameFolders"));
    m_recentMenu->menuAction()->setProperty(kKeyProperty,
                                            QStringLiteral("Menu_FileRecentGameFolders"));
    m_recentMenu->setObjectName(QStringLiteral("Menu_FileRecentGameFolders"));
    connect(m_recentMenu, &QMenu::aboutToShow, this, &CMainMenus::BuildRecentMenu);
    file->addSeparator();
    file->addAction(a("Menu_FileSaveDB"));
    file->addAction(a("Menu_FileOpenIngameText"));
    file->addAction(a("Menu_FileRestoreBackup"));
    file->addAction(a("Menu_FileBackupCount"));
    file->addSeparator();
    file->addAction(a("Menu_FileCompareWith"));
    file->addAction(a("Menu_FileImportTeam"));
    file->addAction(a("Menu_FileExportPatch"));
    file->addAction(a("Menu_FileApplyPatch"));
    file->addSeparator();
    m_languageMenu = file->addMenu(QStringLiteral("Menu_FileLanguage"));
    m_languageMenu->menuAction()->setProperty(kKeyProperty, QStringLiteral("Menu_FileLanguage"));
    m_languageMenu->setObjectName(QStringLiteral("Menu_FileLanguage"));
    file->addSeparator();
    file->addAction(a("Menu_FileExit"));

    QMenu* edit = menu(QStringLiteral("Menu_Edit"));
    edit->addAction(a("Menu_EditUndo"));
    edit->addAction(a("Menu_EditRedo"));
    m_undoSeparator = edit->addSeparator();
    edit->addAction(a("Menu_EditCut"));
    edit->addAction(a("Menu_EditCopy"));
    edit->addAction(a("Menu_EditPaste"));
    // Undo follows the focus too: a record window's lists use the document's history.
    connect(qApp, &QApplication::focusChanged, this, &CMainMenus::Update);
    edit->addSeparator();
    edit->addAction(a("Menu_EditFind"));
    edit->addAction(a("Menu_EditEditSelected"));
    m_addPlayerSeparator = edit->addSeparator();
    edit->addAction(a("Menu_EditAddPlayer"));
    connect(edit, &QMenu::aboutToShow, this, [this] { Update(); });

    QMenu* view = menu(QStringLiteral("Menu_View"));
    view->addAction(a("Menu_ViewLeaguesList"));
    view->addAction(a("Menu_ViewPlayersWithoutTeam"));
    view->addAction(a("Menu_ViewAllPlayers"));
    view->addAction(a("Menu_ViewCheckDatabase"));
    view->addAction(a("Menu_ViewHistory"));
    view->addAction(a("Menu_ViewStatusBar"));
    view->addSeparator();
    view->addAction(a("Menu_ViewNextWindow"));
    view->addAction(a("Menu_ViewPreviousWindow"));
    view->addAction(a("Menu_ViewCloseWindow"));

    QMenu* help = menu(QStringLiteral("Menu_Help"));
    help->addAction(a("Menu_HelpContents"));
    help->addSeparator();
    help->addAction(a("Menu_HelpAbout"));
    help->addAction(a("Menu_HelpAboutQt"));
}

void CMainMenus::BuildToolBar() {
    QToolBar* bar = m_frame.addToolBar(m_app.Text("Caption_ToolBarStandard"));
    bar->setObjectName(QStringLiteral("StandardToolBar"));
    bar->setIconSize(QSize(16, 16));
    bar->addAction(ActionForKey(QStringLiteral("Menu_FileSaveDB")));
    bar->addSeparator();
    bar->addAction(ActionForKey(QStringLiteral("Menu_EditCut")));
    bar->addAction(ActionForKey(QStringLiteral("Menu_EditCopy")));
    bar->addAction(ActionForKey(QStringLiteral("Menu_EditPaste")));
    bar->addSeparator();
    bar->addAction(ActionForKey(QStringLiteral("Menu_HelpAbout")));
}

void CMainMenus::BuildLanguageMenu() {
    m_languageMenu->clear();
    m_languages.clear();
    delete m_languageGroup;
    m_languageGroup = new QActionGroup(this);
    m_languageGroup->setExclusive(true);
    const QStringList files = QDir(m_app.EditorFolder())
                                  .entryList({QStringLiteral("*.qtx"), QStringLiteral("*.QTX")},
                                             QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& file : files) {
        if (m_languages.size() >= kMaxLanguages) {
            break;
        }
        const QString name = QFileInfo(file).completeBaseName();
        if (m_languages.contains(name)) {
            continue;
        }
        const int index = static_cast<int>(m_languages.size());
        m_languages.append(name);
        QAction* action = m_languageMenu->addAction(name);
        action->setObjectName(QStringLiteral("Language_") + name);
        // A row keyed by the language name gives the language's own name for itself.
        action->setProperty(kKeyProperty, name);
        action->setData(name);
        action->setCheckable(true);
        action->setChecked(name == m_app.EditorLanguage());
        m_languageGroup->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, index] { SetEditorLanguage(m_languages.at(index)); });
    }
    m_languageMenu->setEnabled(!m_languages.isEmpty());
}

void CMainMenus::BuildRecentMenu() {
    m_recentMenu->clear();
    const QStringList folders = m_app.RecentGameFolders();
    for (qsizetype i = 0; i < folders.size(); ++i) {
        const QString folder = folders.at(i);
        QString shown = QDir::toNativeSeparators(folder);
        shown.replace(u'&', QStringLiteral("&&"));
        QAction* action = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        action->setData(folder);
        // Queued: the switch replaces the window this menu belongs to.
        connect(
            action, &QAction::triggered, this, [this, folder] { m_app.SwitchGame(folder); },
            Qt::QueuedConnection);
    }
    m_recentMenu->menuAction()->setEnabled(!folders.isEmpty());
}

void CMainMenus::OpenGameFolder() {
    const QString folder = QFileDialog::getExistingDirectory(
        &m_frame, m_app.Text("Caption_GameFolder"), m_app.InstallFolder());
    if (!folder.isEmpty()) {
        m_app.SwitchGame(folder);
    }
}

QString CMainMenus::LocalisedMenuText(const QString& key) const {
    return WithoutKeys(QString::fromStdString(
        LocalisationText::ApplyTabRule(m_app.Localisation().Lookup(key.toStdString()))));
}

QString CMainMenus::WithoutKeys(const QString& text) {
    // The menu shows the action's own shortcut; a key in the text would be read out as its name.
    const qsizetype tab = text.indexOf(u'\t');
    return tab < 0 ? text : text.left(tab);
}

void CMainMenus::Localise() {
    BuildLanguageMenu();
    BuildRecentMenu();
    const auto localise = [this](QAction* action) {
        const QString key = action->property(kKeyProperty).toString();
        if (key.isEmpty()) {
            return;
        }
        action->setText(LocalisedMenuText(key));
        // The status bar shows what a command does while the pointer is over it.
        const QString helpKey = key + QStringLiteral("_Help");
        const std::string help = m_app.Localisation().Lookup(helpKey.toStdString());
        if (help != helpKey.toStdString()) {
            action->setStatusTip(QString::fromStdString(help));
            action->setToolTip(QString::fromStdString(help));
        }
    };
    for (QAction* top : m_frame.menuBar()->actions()) {
        localise(top);
        if (QMenu* sub = top->menu()) {
            for (QAction* item : sub->actions()) {
                localise(item);
                if (QMenu* inner = item->menu()) {
                    for (QAction* leaf : inner->actions()) {
                        localise(leaf);
                    }
                }
            }
        }
    }
    Update();
}

QString CMainMenus::MenuKind() const {
    const CChildFrame* frame = m_frame.ActiveFrame();
    if (!frame) {
        return QStringLiteral("main");
    }
    if (frame->HasUndoHistory()) {
        return QStringLiteral("record");
    }
    return frame->TakesNewPlayers() ? QStringLiteral("main") : QStringLiteral("noplayer");
}

void CMainMenus::Undo() {
    CChildFrame* frame = m_frame.ActiveFrame();
    const QString kind = MenuKind();
    if (kind == QStringLiteral("record")) {
        if (frame->CanUndo()) {
            frame->Undo();
        }
    } else if (kind == QStringLiteral("main")) {
        m_frame.Document().UndoStack().undo();
    }
}

void CMainMenus::Redo() {
    CChildFrame* frame = m_frame.ActiveFrame();
    const QString kind = MenuKind();
    if (kind == QStringLiteral("record")) {
        if (frame->CanRedo()) {
            frame->Redo();
        }
    } else if (kind == QStringLiteral("main")) {
        m_frame.Document().UndoStack().redo();
    }
}

void CMainMenus::UpdateUndoActions(const QString& kind) {
    QAction* undo = ActionForKey(QStringLiteral("Menu_EditUndo"));
    QAction* redo = ActionForKey(QStringLiteral("Menu_EditRedo"));
    const bool shown = kind != QStringLiteral("noplayer");
    undo->setVisible(shown);
    redo->setVisible(shown);
    m_undoSeparator->setVisible(shown);
    if (kind == QStringLiteral("record")) {
        const CChildFrame* frame = m_frame.ActiveFrame();
        undo->setEnabled(frame->CanUndo());
        redo->setEnabled(frame->CanRedo());
        undo->setText(LocalisedMenuText(QStringLiteral("Menu_EditUndo")));
        redo->setText(LocalisedMenuText(QStringLiteral("Menu_EditRedo")));
        return;
    }
    // The document's history: the menu names the step it takes back or does again.
    const QUndoStack& stack = m_frame.Document().UndoStack();
    undo->setEnabled(stack.canUndo());
    redo->setEnabled(stack.canRedo());
    const auto named = [this](const char* plain, const char* withName, const QString& step) {
        if (step.isEmpty()) {
            return LocalisedMenuText(QString::fromLatin1(plain));
        }
        const std::string text = m_app.Localisation().Lookup(withName);
        return WithoutKeys(QString::fromStdString(LocalisationText::ApplyTabRule(
            QString::fromStdString(text).arg(step).toStdString())));
    };
    undo->setText(named("Menu_EditUndo", "Menu_EditUndoNamed", stack.undoText()));
    redo->setText(named("Menu_EditRedo", "Menu_EditRedoNamed", stack.redoText()));
}

void CMainMenus::Update() {
    QAction* add = ActionForKey(QStringLiteral("Menu_EditAddPlayer"));
    if (!add) {
        return;
    }
    const QString kind = MenuKind();
    UpdateUndoActions(kind);
    const bool players = kind != QStringLiteral("noplayer");
    const bool loaded = m_frame.Database() != nullptr;
    add->setVisible(players);
    m_addPlayerSeparator->setVisible(players);
    add->setEnabled(loaded);
    ActionForKey(QStringLiteral("Menu_ViewAllPlayers"))->setEnabled(loaded);
    ActionForKey(QStringLiteral("Menu_FileCompareWith"))->setEnabled(loaded);
    ActionForKey(QStringLiteral("Menu_FileImportTeam"))->setEnabled(loaded);
    ActionForKey(QStringLiteral("Menu_FileExportPatch"))->setEnabled(loaded);
    ActionForKey(QStringLiteral("Menu_FileApplyPatch"))->setEnabled(loaded);
    const CChildFrame* frame = m_frame.ActiveFrame();
    ActionForKey(QStringLiteral("Menu_EditEditSelected"))
        ->setEnabled(frame && frame->CanEditSelected());
    ActionForKey(QStringLiteral("Menu_ViewCloseWindow"))
        ->setEnabled(m_frame.MdiArea()->activeSubWindow() != nullptr);
    // Save writes the active window's own file when it has one, and says so.
    ActionForKey(QStringLiteral("Menu_FileSaveDB"))
        ->setText(LocalisedMenuText(frame && frame->HasOwnFile()
                                        ? QStringLiteral("Menu_FileSaveIngameText")
                                        : QStringLiteral("Menu_FileSaveDB")));
    UpdatePasteAction();
}

void CMainMenus::SetEditorLanguage(const QString& language) {
    m_app.SetEditorLanguage(language);
    for (QAction* action : m_languageGroup ? m_languageGroup->actions() : QList<QAction*>()) {
        action->setChecked(action->data().toString() == language);
    }
    CUserPrompts::Inform(&m_frame, m_app.Text("Message_RestartAfterNewLanguage"));
}
