#include "CMainFrame.h"

#include "CChildWindows.h"
#include "CCompareCommands.h"
#include "CDatabaseCommands.h"
#include "CDatabaseSafety.h"
#include "CGameLanguages.h"
#include "CKestrelApp.h"
#include "CMainMenus.h"
#include "editor/dialogs/CMessageBoxSink.h"
#include "CToolBarIcons.h"
#include "editor/dialogs/CUserPrompts.h"
#include "editor/dialogs/CWaitCursor.h"
#include "CWindowPlacement.h"
#include "CWorkspaceBar.h"
#include "editor/document/CDatabaseDocument.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CInGameNames.h"
#include "editor/toolkit/CSplashWindow.h"
#include "editor/windows/CAllPlayersFrame.h"
#include "editor/windows/CIngameFrame.h"
#include "editor/windows/CLeagueFrame.h"
#include "editor/windows/CPlayerFrame.h"
#include "editor/windows/CPlayersListFrame.h"
#include "editor/windows/CSearchResultsFrame.h"
#include "editor/windows/CTeamFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <QStatusBar>
#include <QUndoStack>

#include <algorithm>
#include <array>

namespace {

// Loading steps in the order the model reports them, for the progress bar.
constexpr std::array<const char*, 5> kLoadSteps = {"Message_LoadingPlayers", "Message_LoadingTeams",
                                                   "Message_LoadingComps",
                                                   "Message_LoadingOtherData", "Message_Ready"};

const QString kDatabaseFilter = QStringLiteral("Corvid2004 DB (*.db *.DB);;All Files (*)");

} // namespace

CMainFrame::CMainFrame(CKestrelApp& app) : m_app(app) {
    setObjectName(QStringLiteral("MainFrame"));
    setWindowIcon(CToolBarIcons::Application());
    m_document = new CDatabaseDocument(this);
    m_safety = new CDatabaseSafety(*this);
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MdiArea"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setBackground(QColor(118, 128, 140));
    setCentralWidget(m_mdi);
    m_windows = new CChildWindows(*m_mdi, *this, this);
    m_menus = new CMainMenus(*this, app);
    m_commands = new CDatabaseCommands(*this, app);
    m_compare = new CCompareCommands(*this, app);
    connect(m_windows, &CChildWindows::Opened, this, [this](CChildFrame* frame) {
        connect(frame, &CChildFrame::HistoryChanged, m_menus, &CMainMenus::Update);
        connect(frame, &CChildFrame::ModifiedChanged, this, [this] { UpdateTitle(); });
    });
    connect(m_windows, &CChildWindows::TitleChanged, this, [this] { UpdateTitle(); });
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] {
        m_menus->Update();
        UpdateTitle();
    });
    // The menus name the document's next step; the title carries its modified mark.
    connect(&m_document->UndoStack(), &QUndoStack::indexChanged, m_menus, &CMainMenus::Update);
    connect(m_document, &CDatabaseDocument::ModifiedChanged, this, [this] { UpdateTitle(); });
    connect(m_document, &CDatabaseDocument::Changed, m_windows, &CChildWindows::Dispatch);
    resize(1100, 720);
}

CMainFrame::~CMainFrame() {
    // The base class still hides the children after this class's members are gone.
    m_mdi->disconnect(this);
    disconnect(qApp, nullptr, m_menus, nullptr);
    m_document->disconnect();
    m_document->UndoStack().blockSignals(true);
    if (m_workspace) {
        m_workspace->disconnect();
    }
    m_document->Storage().SetTextLookup({});
    // Child windows ask this frame for texts and records until they are gone, so they go while
    // it is whole, not when the base class takes its children down.
    qDeleteAll(m_mdi->subWindowList());
}

bool CMainFrame::Create() {
    CSplashWindow& splash = m_app.Splash();
    splash.SetText(QString());
    splash.SetProgress(0);
    splash.ShowCentred();
    QApplication::processEvents();

    m_menus->Build();
    m_statusPane = new QLabel(this);
    m_statusPane->setObjectName(QStringLiteral("StatusPane"));
    statusBar()->addWidget(m_statusPane, 1);
    ShowStatus(Text("Message_Ready"));
    ShowTextDatabase();

    m_workspace = new CWorkspaceBar(*m_document, this);
    m_workspace->setWindowTitle(Text("Menu_ViewLeaguesList").remove(u'&').split(u'\t').first());
    addDockWidget(Qt::LeftDockWidgetArea, m_workspace);
    connect(m_workspace, &CWorkspaceBar::LeagueActivated, this, [this](int id) { OpenLeague(id); });
    // After the drag has ended: the copy may ask or warn.
    connect(
        m_workspace, &CWorkspaceBar::TeamDropped, this,
        [this](const QString& folder, int teamId, int leagueId) {
            CopyTeamFrom(folder, teamId, leagueId < 0 ? std::nullopt : std::optional<int32_t>(leagueId));
        },
        Qt::QueuedConnection);
    QAction* toggle = ActionForKey(QStringLiteral("Menu_ViewLeaguesList"));
    connect(m_workspace, &QDockWidget::visibilityChanged, toggle,
            [this, toggle] { toggle->setChecked(m_workspace->isVisibleTo(this)); });

    LoadAtStart();
    m_safety->ApplyBackupSetting();
    m_document->Storage().SetTextLookup(
        [this](const std::string& key) { return m_app.Localisation().Lookup(key); });
    m_menus->Localise();
    m_workspace->setWindowTitle(
        ActionForKey(QStringLiteral("Menu_ViewLeaguesList"))->text().remove(u'&').split(u'\t').first());
    // Wide enough for the names loaded, but never most of the window; a width the user chose
    // comes back with the bars' state below.
    resizeDocks({m_workspace}, {std::min(m_workspace->ContentWidth(), width() * 2 / 5)},
                Qt::Horizontal);
    if (Database()) {
        const auto settings = CKestrelApp::EditorSettings();
        if (CWindowPlacement::Restore(*this, *settings)) {
            setWindowState(windowState() | Qt::WindowMaximized);
        }
    } else {
        ShowStatus(Text("Message_NoDatabase"));
    }
    toggle->setChecked(!m_workspace->isHidden());
    m_menus->Update();
    UpdateTitle();
    return true;
}

void CMainFrame::LoadAtStart() {
    CSplashWindow& splash = m_app.Splash();
    QString dbPath = m_app.DatabasePath();
    if (dbPath.isEmpty()) {
        dbPath = QFileDialog::getOpenFileName(this, Text("Caption_OpenDatabase"), QString(),
                                              kDatabaseFilter);
    }
    if (dbPath.isEmpty()) {
        return;
    }
    CWaitCursor wait;
    CMessageBoxSink sink(m_app.Localisation(), &splash);
    std::size_t step = 0;
    m_document->Load(dbPath, m_app.IngameTextDbPath(), sink, [&](const std::string& key) {
        splash.SetText(QString::fromStdString(m_app.Localisation().Lookup(key)));
        for (std::size_t i = 0; i < kLoadSteps.size(); ++i) {
            if (key == kLoadSteps[i]) {
                step = i + 1;
            }
        }
        splash.SetProgress(static_cast<int>(100 * step / kLoadSteps.size()));
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
}

// ---- CFrameHost

CGameDatabase* CMainFrame::Database() {
    return m_document->Database();
}

QString CMainFrame::Text(const char* key) const {
    return m_app.Text(key);
}

QFont CMainFrame::TitleFont() const {
    return m_app.TitleFont();
}

QFont CMainFrame::SmallTitleFont() const {
    return m_app.SmallTitleFont();
}

QString CMainFrame::EditorFolder() const {
    return m_app.EditorFolder();
}

CPictureRequests* CMainFrame::Pictures() {
    return m_app.Pictures();
}

bool CMainFrame::CanStoreInGameNames() const {
    if (!m_document->Database() || m_document->TextDbPath().isEmpty()) {
        return false;
    }
    const QFileInfo texts(m_document->TextDbPath());
    return texts.isFile() && texts.isReadable();
}

QString CMainFrame::TeamTitle(int teamId) const {
    return m_windows->Title(CChildFrame::Kind::Team, teamId);
}

QString CMainFrame::PlayerTitle(int playerId) const {
    return m_windows->Title(CChildFrame::Kind::Player, playerId);
}

QMdiSubWindow* CMainFrame::FindChild(CChildFrame::Kind kind, const QVariant& key) const {
    return m_windows->Find(kind, key);
}

CChildFrame* CMainFrame::ActiveFrame() const {
    return m_windows->Active();
}

bool CMainFrame::OpenLeague(int leagueId) {
    return m_windows->Open(CChildFrame::Kind::League, leagueId,
                           m_windows->Title(CChildFrame::Kind::League, leagueId),
                           [&] { return new CLeagueFrame(leagueId, *this); });
}

bool CMainFrame::OpenTeam(int teamId) {
    if (teamId == CGameDatabase::kNoTeamId) {
        return m_windows->Open(CChildFrame::Kind::PlayersList, teamId, TeamTitle(teamId),
                               [&] { return new CPlayersListFrame(*this); });
    }
    return m_windows->Open(CChildFrame::Kind::Team, teamId, TeamTitle(teamId),
                           [&] { return new CTeamFrame(teamId, *this); });
}

bool CMainFrame::OpenPlayer(int playerId) {
    return m_windows->Open(CChildFrame::Kind::Player, playerId, PlayerTitle(playerId),
                           [&] { return new CPlayerFrame(playerId, *this); });
}

bool CMainFrame::OpenAllPlayers() {
    if (!Database()) {
        return false;
    }
    // One window of all players: its key is the same for every open.
    return m_windows->Open(CChildFrame::Kind::AllPlayers, 0, Text("Caption_AllPlayers"), [&] {
        auto* table = new CAllPlayersFrame(*this);
        connect(table, &CAllPlayersFrame::SelectionChanged, m_menus, &CMainMenus::Update);
        return table;
    });
}

std::unique_ptr<QSettings> CMainFrame::Settings() const {
    return CKestrelApp::EditorSettings();
}

bool CMainFrame::OpenSearchResults(const CFindSettings& settings) {
    const QString title = QStringLiteral("%1 - %2").arg(Text("Caption_Find"), settings.text);
    return m_windows->Open(CChildFrame::Kind::SearchResults, QVariant(), title,
                           [&] { return new CSearchResultsFrame(settings, *this); });
}

bool CMainFrame::OpenIngameText(const QString& filePath) {
    // The placeholder carries the window's modified mark.
    const QString title = QStringLiteral("%1 - %2[*]")
                              .arg(Text("Caption_IngameText"), QDir::toNativeSeparators(filePath));
    // One window per file, however its path was written.
    const QFileInfo file(filePath);
    const QString canonical = file.canonicalFilePath();
    const QString key = canonical.isEmpty() ? QDir::cleanPath(file.absoluteFilePath()) : canonical;
    return m_windows->Open(CChildFrame::Kind::IngameText, key, title,
                           [&] { return new CIngameFrame(filePath, *this); });
}

std::filesystem::path CMainFrame::BackupFolder() const {
    return m_safety->BackupFolder();
}

int CMainFrame::BackupCount() const {
    return m_safety->BackupCount();
}

bool CMainFrame::BackUpTextFile(const QString& filePath, QWidget* parent) {
    return m_safety->BackUpTextFile(filePath, parent);
}

void CMainFrame::IngameTextsSaved(const QString& filePath, const CIngameTextDb& texts,
                                  const std::set<size_t>& entries) {
    CGameDatabase* db = Database();
    if (!db || !IsGameTextDb(filePath)) {
        return;
    }
    std::set<int32_t> teams;
    std::set<int32_t> leagues;
    CInGameNames::ImportEntries(texts, entries, *db, teams, leagues);
    if (!teams.empty() || !leagues.empty()) {
        SChange change;
        change.what = SChange::Names;
        change.teams.assign(teams.begin(), teams.end());
        change.leagues.assign(leagues.begin(), leagues.end());
        m_document->NotifyChanged(std::move(change));
    }
}

bool CMainFrame::IsGameTextDb(const QString& filePath) const {
    const QString gameTexts = m_document->TextDbPath();
    const QString canonical = QFileInfo(filePath).canonicalFilePath();
    return !gameTexts.isEmpty() && !canonical.isEmpty() &&
           canonical == QFileInfo(gameTexts).canonicalFilePath();
}

void CMainFrame::Warn(QWidget* parent, const QString& text) {
    CUserPrompts::Warn(parent ? parent : this, text);
}

void CMainFrame::EditStateChanged() {
    m_menus->Update();
}

bool CMainFrame::DeletePlayers(const QList<int32_t>& playerIds) {
    return m_commands->DeletePlayers(playerIds);
}

bool CMainFrame::CopyTeamFrom(const QString& folder, int32_t teamId,
                              std::optional<int32_t> leagueId) {
    // A dragged team comes with its squad, as it shows in the other installation.
    return m_compare->CopyTeamFrom(folder, teamId, leagueId, true);
}

bool CMainFrame::SaveDatabase() {
    return m_commands->SaveDatabase();
}

bool CMainFrame::ReloadDatabase() {
    return m_commands->ReloadDatabase();
}

int CMainFrame::AddPlayer() {
    return m_commands->AddPlayer();
}

const QStringList& CMainFrame::Languages() const {
    return m_menus->Languages();
}

QMenu* CMainFrame::LanguageMenu() {
    return m_menus->LanguageMenu();
}

QAction* CMainFrame::ActionForKey(const QString& key) const {
    return m_menus->ActionForKey(key);
}

QString CMainFrame::MenuKind() const {
    return m_menus->MenuKind();
}

void CMainFrame::ShowStatus(const QString& text, const QString& detail) {
    if (m_statusPane) {
        m_statusPane->setText(text);
        m_statusPane->setToolTip(detail);
    }
}

void CMainFrame::ShowTextDatabase() {
    // Which language's texts receive the team and league names, so a wrong choice shows.
    if (!m_textsPane) {
        m_textsPane = new QLabel(this);
        m_textsPane->setObjectName(QStringLiteral("TextDatabasePane"));
        statusBar()->addPermanentWidget(m_textsPane);
    }
    const QString path = m_app.IngameTextDbPath();
    QString text =
        QStringLiteral("%1 %2 (%3)")
            .arg(Text("Caption_InGameNames"), QDir(m_app.InstallFolder()).relativeFilePath(path),
                 CGameLanguages::Name(m_app.GameLanguage()));
    if (!QFileInfo(path).isFile()) {
        text += QStringLiteral(" - ") + Text("Caption_FileMissing");
    }
    m_textsPane->setText(text);
    m_textsPane->setToolTip(QDir::toNativeSeparators(path));
    m_textsPane->setAccessibleName(text);
}

void CMainFrame::UpdateTitle() {
    // The document shown and the database's modified mark; the platform adds the program's
    // name (the application display name), so it is not repeated here.
    QString document;
    if (QMdiSubWindow* active = m_mdi->activeSubWindow()) {
        document = active->windowTitle().remove(QStringLiteral("[*]"));
    } else if (Database()) {
        document = QFileInfo(m_document->FilePath()).fileName();
    }
    setWindowTitle(document.isEmpty() ? QString() : document + QStringLiteral("[*]"));
    // The mark says what the save command would write: a window's own file, or the database.
    if (const CChildFrame* frame = ActiveFrame(); frame && frame->HasOwnFile()) {
        setWindowModified(frame->IsModified());
        return;
    }
    setWindowModified(m_document->IsModified());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!AskToClose()) {
        event->ignore();
        return;
    }
    event->accept();
    emit Closed();
}

bool CMainFrame::AskToClose() {
    // Windows with unsaved files of their own ask first; one kept open keeps the editor open.
    const auto windows = m_mdi->subWindowList();
    for (QMdiSubWindow* window : windows) {
        const auto* frame = qobject_cast<const CChildFrame*>(window->widget());
        if (!frame || !frame->IsModified()) {
            continue;
        }
        m_mdi->setActiveSubWindow(window);
        if (!window->close()) {
            return false;
        }
    }
    if (m_document->IsModified()) {
        switch (CUserPrompts::AskSaveDiscardCancel(this, Text("Message_SaveChanges"))) {
        case CUserPrompts::Answer::Save:
            if (!SaveDatabase()) {
                // Nothing is lost: the editor stays open with the changes.
                return false;
            }
            break;
        case CUserPrompts::Answer::Discard:
            break;
        default:
            return false;
        }
    }
    {
        const auto settings = CKestrelApp::EditorSettings();
        CWindowPlacement::Store(*this, *settings);
    }
    m_mdi->closeAllSubWindows();
    return true;
}
