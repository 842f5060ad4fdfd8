#include "CMainFrame.h"

#include "CDatabaseSafety.h"
#include "CFindDialog.h"
#include "CGameLanguages.h"
#include "CKestrelApp.h"
#include "CMessageBoxSink.h"
#include "CToolBarIcons.h"
#include "CUserPrompts.h"
#include "CWaitCursor.h"
#include "CWindowPlacement.h"
#include "CWorkspaceBar.h"
#include "editor/app/LocalisationText.h"
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
#include "editor/windows/CTeamSelectDialog.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUndoStack>

#include <algorithm>
#include <array>
#include <utility>

namespace {

const char* const kKeyProperty = "localisationKey";
// On each child window: the id (or file) of what it shows; with the frame's kind, its identity.
const char* const kChildKeyProperty = "childKey";

// Loading steps in the order the model reports them, for the progress bar.
constexpr std::array<const char*, 5> kLoadSteps = {"Message_LoadingPlayers", "Message_LoadingTeams",
                                                   "Message_LoadingComps",
                                                   "Message_LoadingOtherData", "Message_Ready"};

const QString kDatabaseFilter = QStringLiteral("Corvid2004 DB (*.db *.DB);;All Files (*)");

} // namespace

CMainFrame::CMainFrame(CKestrelApp& app) : m_app(app) {
    setObjectName(QStringLiteral("MainFrame"));
    setWindowIcon(CToolBarIcons::Application());
    m_undoStack = new QUndoStack(this);
    // The table's Undo and Redo follow the stack.
    connect(m_undoStack, &QUndoStack::indexChanged, this, [this] { UpdateMenusForChild(); });
    m_safety = new CDatabaseSafety(*this);
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MdiArea"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setBackground(QColor(118, 128, 140));
    setCentralWidget(m_mdi);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] {
        UpdateMenusForChild();
        UpdateTitle();
    });
    resize(1100, 720);
}

CMainFrame::~CMainFrame() {
    // The base class still hides the children after this class's members are gone.
    m_mdi->disconnect(this);
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    // Clearing the history on the way out must not reach menus or windows being taken down.
    m_undoStack->blockSignals(true);
    if (m_workspace) {
        m_workspace->disconnect();
    }
    if (CGameDatabase* db = m_workspace ? m_workspace->Database() : nullptr) {
        db->SetDirtyCallback({});
        db->SetSquadCallback({});
        db->SetTextLookup({});
    }
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

    BuildActions();
    BuildMenus();
    BuildToolBar();
    m_statusPane = new QLabel(this);
    statusBar()->addWidget(m_statusPane, 1);
    ShowStatus(Text("Message_Ready"));
    ShowTextDatabase();

    m_workspace = new CWorkspaceBar(this);
    m_workspace->setWindowTitle(Text("Menu_ViewLeaguesList").remove(u'&').split(u'\t').first());
    addDockWidget(Qt::LeftDockWidgetArea, m_workspace);
    resizeDocks({m_workspace}, {CWorkspaceBar::kWidth}, Qt::Horizontal);
    connect(m_workspace, &CWorkspaceBar::LeagueActivated, this, [this](int id) { OpenLeague(id); });
    QAction* toggle = ActionForKey(QStringLiteral("Menu_ViewLeaguesList"));
    connect(m_workspace, &QDockWidget::visibilityChanged, toggle,
            [this, toggle] { toggle->setChecked(m_workspace->isVisibleTo(this)); });

    QString dbPath = m_app.DatabasePath();
    if (dbPath.isEmpty()) {
        dbPath = QFileDialog::getOpenFileName(this, Text("Caption_OpenDatabase"), QString(),
                                              kDatabaseFilter);
    }
    {
        CWaitCursor wait;
        CMessageBoxSink sink(m_app.Localisation(), &splash);
        std::size_t step = 0;
        m_databaseLoaded =
            !dbPath.isEmpty() &&
            m_workspace->LoadDatabase(
                dbPath, m_app.IngameTextDbPath(), sink, [&](const std::string& key) {
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
    m_safety->ApplyBackupSetting();
    if (CGameDatabase* db = Database()) {
        db->SetDirtyCallback([this](bool dirty) { OnDirtyChanged(dirty); });
        db->SetTextLookup(
            [this](const std::string& key) { return m_app.Localisation().Lookup(key); });
        db->SetSquadCallback(
            [this](int32_t playerId, int32_t teamId) { OnSquadChanged(playerId, teamId); });
    }
    LocaliseMenus();
    if (m_databaseLoaded) {
        const auto settings = CKestrelApp::EditorSettings();
        if (CWindowPlacement::Restore(*this, *settings)) {
            setWindowState(windowState() | Qt::WindowMaximized);
        }
    } else {
        ShowStatus(Text("Message_NoDatabase"));
    }
    toggle->setChecked(!m_workspace->isHidden());
    UpdateMenusForChild();
    UpdateTitle();
    return true;
}

// ---- CFrameHost

CGameDatabase* CMainFrame::Database() {
    return m_workspace && m_databaseLoaded ? m_workspace->Database() : nullptr;
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
    if (!m_workspace || !m_databaseLoaded || m_workspace->TextDbPath().isEmpty()) {
        return false;
    }
    const QFileInfo texts(m_workspace->TextDbPath());
    return texts.isFile() && texts.isReadable();
}

QString CMainFrame::LeagueTitle(int leagueId) const {
    const CGameDatabase* db = m_workspace && m_databaseLoaded ? m_workspace->Database() : nullptr;
    const CLeague* league = db ? db->FindLeague(leagueId) : nullptr;
    if (!league) {
        return {};
    }
    return QStringLiteral("%1 - %2").arg(Text("Caption_League"),
                                         QString::fromStdString(league->name));
}

QString CMainFrame::TeamTitle(int teamId) const {
    const CGameDatabase* db = m_workspace && m_databaseLoaded ? m_workspace->Database() : nullptr;
    if (!db) {
        return {};
    }
    const CTeam* team = db->FindTeam(teamId);
    if (team) {
        return QStringLiteral("%1 - %2").arg(Text("Caption_Team"),
                                             QString::fromStdString(team->Name()));
    }
    // The players without a team have no team record of their own in most databases.
    if (teamId == CGameDatabase::kNoTeamId) {
        return QStringLiteral("%1 - %2").arg(Text("Caption_Team"), Text("Caption_NoTeam"));
    }
    return {};
}

QString CMainFrame::PlayerTitle(int playerId) const {
    const CGameDatabase* db = m_workspace && m_databaseLoaded ? m_workspace->Database() : nullptr;
    if (!db || !db->FindPlayer(playerId)) {
        return {};
    }
    return QStringLiteral("%1 - %2").arg(Text("Caption_Player"),
                                         QString::fromStdString(db->PlayerDisplayName(playerId)));
}

QMdiSubWindow* CMainFrame::FindChild(CChildFrame::Kind kind, const QVariant& key) const {
    if (key.isNull()) {
        return nullptr;
    }
    const auto windows = m_mdi->subWindowList();
    for (QMdiSubWindow* window : windows) {
        const auto* frame = qobject_cast<const CChildFrame*>(window->widget());
        if (window->isVisible() && frame && frame->FrameKind() == kind &&
            window->property(kChildKeyProperty) == key) {
            return window;
        }
    }
    return nullptr;
}

CChildFrame* CMainFrame::ActiveFrame() const {
    QMdiSubWindow* active = m_mdi->activeSubWindow();
    return active ? qobject_cast<CChildFrame*>(active->widget()) : nullptr;
}

bool CMainFrame::OpenChild(CChildFrame::Kind kind, const QVariant& key, const QString& title,
                           const std::function<CChildFrame*()>& make) {
    // A record that does not exist gets no window rather than an empty, untitled one.
    if (title.isEmpty()) {
        return false;
    }
    if (QMdiSubWindow* existing = FindChild(kind, key)) {
        if (existing->isMinimized()) {
            existing->showNormal();
        }
        m_mdi->setActiveSubWindow(existing);
        return true;
    }
    CChildFrame* frame = make();
    connect(frame, &CChildFrame::HistoryChanged, this, [this] { UpdateMenusForChild(); });
    connect(frame, &CChildFrame::ModifiedChanged, this, [this] { UpdateTitle(); });
    QMdiSubWindow* window = m_mdi->addSubWindow(frame);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setProperty(kChildKeyProperty, key);
    window->setWindowTitle(title);
    // A renamed record retitles its window; the main window's title follows.
    connect(window, &QWidget::windowTitleChanged, this, [this] { UpdateTitle(); });
    window->setWindowIcon(windowIcon());
    const QMdiSubWindow* active = m_mdi->activeSubWindow();
    const bool maximised = active && active->isMaximized();
    window->show();
    // After show: the area's own placement of new windows runs when they are shown.
    if (!maximised) {
        PlaceNewChild(window);
    }
    m_mdi->setActiveSubWindow(window);
    frame->Fill();
    UpdateMenusForChild();
    UpdateTitle();
    return true;
}

void CMainFrame::PlaceNewChild(QMdiSubWindow* window) {
    // Each new window steps down and right by a title bar from the last, and starts again at
    // the corner when it would reach past the visible area; a small area shrinks the window.
    const QSize area = m_mdi->viewport()->size();
    const QSize size(std::min(kChildWidth, area.width()), std::min(kChildHeight, area.height()));
    const int step =
        std::max(window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window), 16);
    QPoint corner(m_cascadeStep * step, m_cascadeStep * step);
    if (corner.x() + size.width() > area.width() || corner.y() + size.height() > area.height()) {
        m_cascadeStep = 0;
        corner = QPoint(0, 0);
    }
    ++m_cascadeStep;
    window->setGeometry(QRect(corner, size));
}

bool CMainFrame::OpenLeague(int leagueId) {
    return OpenChild(CChildFrame::Kind::League, leagueId, LeagueTitle(leagueId),
                     [&] { return new CLeagueFrame(leagueId, *this); });
}

bool CMainFrame::OpenTeam(int teamId) {
    if (teamId == CGameDatabase::kNoTeamId) {
        return OpenChild(CChildFrame::Kind::PlayersList, teamId, TeamTitle(teamId),
                         [&] { return new CPlayersListFrame(*this); });
    }
    return OpenChild(CChildFrame::Kind::Team, teamId, TeamTitle(teamId),
                     [&] { return new CTeamFrame(teamId, *this); });
}

bool CMainFrame::OpenPlayer(int playerId) {
    return OpenChild(CChildFrame::Kind::Player, playerId, PlayerTitle(playerId),
                     [&] { return new CPlayerFrame(playerId, *this); });
}

bool CMainFrame::OpenAllPlayers() {
    if (!m_databaseLoaded) {
        return false;
    }
    // One window of all players: its key is the same for every open.
    return OpenChild(CChildFrame::Kind::AllPlayers, 0, Text("Caption_AllPlayers"), [&] {
        auto* table = new CAllPlayersFrame(*this);
        connect(table, &CAllPlayersFrame::SelectionChanged, this, [this] { UpdateMenusForChild(); });
        return table;
    });
}

QUndoStack& CMainFrame::UndoStack() {
    return *m_undoStack;
}

std::unique_ptr<QSettings> CMainFrame::Settings() const {
    return CKestrelApp::EditorSettings();
}

bool CMainFrame::OpenSearchResults(const CFindSettings& settings) {
    const QString title = QStringLiteral("%1 - %2").arg(Text("Caption_Find"), settings.text);
    return OpenChild(CChildFrame::Kind::SearchResults, QVariant(), title,
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
    return OpenChild(CChildFrame::Kind::IngameText, key, title,
                     [&] { return new CIngameFrame(filePath, *this); });
}

bool CMainFrame::RefreshChild(CChildFrame::Kind kind, int id, const QString& title) {
    QMdiSubWindow* window = FindChild(kind, id);
    auto* frame = window ? qobject_cast<CChildFrame*>(window->widget()) : nullptr;
    if (!frame) {
        return false;
    }
    // A renamed record's window follows the new name.
    if (!title.isEmpty() && window->windowTitle() != title) {
        window->setWindowTitle(title);
        UpdateTitle();
    }
    frame->Refresh(id);
    return true;
}

bool CMainFrame::RefreshLeague(int leagueId) {
    return RefreshChild(CChildFrame::Kind::League, leagueId, LeagueTitle(leagueId));
}

bool CMainFrame::RefreshTeam(int teamId) {
    const auto kind = teamId == CGameDatabase::kNoTeamId ? CChildFrame::Kind::PlayersList
                                                         : CChildFrame::Kind::Team;
    return RefreshChild(kind, teamId, TeamTitle(teamId));
}

bool CMainFrame::RefreshPlayer(int playerId) {
    return RefreshChild(CChildFrame::Kind::Player, playerId, PlayerTitle(playerId));
}

void CMainFrame::RefreshLeaguesList() {
    if (m_workspace && m_databaseLoaded) {
        m_workspace->RefreshLeagues();
    }
}

void CMainFrame::BeginSquadChanges() {
    ++m_squadBatchDepth;
}

void CMainFrame::EndSquadChanges() {
    if (m_squadBatchDepth > 0 && --m_squadBatchDepth == 0) {
        RefreshSquadWindows();
    }
}

void CMainFrame::OnSquadChanged(int32_t playerId, int32_t teamId) {
    m_changedTeams.insert(teamId);
    m_changedPlayers.insert(playerId);
    if (m_squadBatchDepth == 0) {
        RefreshSquadWindows();
    }
}

void CMainFrame::RefreshSquadWindows() {
    const QSet<int32_t> teams = std::exchange(m_changedTeams, {});
    const QSet<int32_t> players = std::exchange(m_changedPlayers, {});
    if (teams.isEmpty() && players.isEmpty()) {
        return;
    }
    for (int32_t team : teams) {
        RefreshTeam(team);
    }
    // A player who joined his first team or left his last one comes or goes there.
    if (!teams.contains(CGameDatabase::kNoTeamId)) {
        RefreshTeam(CGameDatabase::kNoTeamId);
    }
    for (int32_t player : players) {
        RefreshPlayer(player);
    }
    // The teams lists count the squads; the all-players table shows each player's team.
    QSet<int32_t> leagues;
    if (const CGameDatabase* db = Database()) {
        for (int32_t team : teams) {
            if (const CTeam* record = db->FindTeam(team)) {
                leagues.unite(QSet<int32_t>(record->Leagues().begin(), record->Leagues().end()));
            }
        }
    }
    for (int32_t league : leagues) {
        RefreshLeague(league);
    }
    RefreshChild(CChildFrame::Kind::AllPlayers, 0, {});
    RefreshLeaguesList();
}

std::filesystem::path CMainFrame::BackupFolder() const {
    return m_safety->BackupFolder();
}

int CMainFrame::BackupCount() const {
    return m_safety->BackupCount();
}

void CMainFrame::RefreshPictures() {
    const auto windows = m_mdi->subWindowList();
    for (QMdiSubWindow* window : windows)
        if (auto* team = qobject_cast<CTeamFrame*>(window->widget()))
            team->RefreshPictures();
    RefreshLeaguesList();
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
    for (int32_t team : teams) {
        RefreshTeam(team);
    }
    for (int32_t league : leagues) {
        RefreshLeague(league);
    }
    if (!teams.empty() || !leagues.empty()) {
        RefreshLeaguesList();
    }
}

bool CMainFrame::IsGameTextDb(const QString& filePath) const {
    const QString gameTexts = m_workspace ? m_workspace->TextDbPath() : QString();
    const QString canonical = QFileInfo(filePath).canonicalFilePath();
    return !gameTexts.isEmpty() && !canonical.isEmpty() &&
           canonical == QFileInfo(gameTexts).canonicalFilePath();
}

void CMainFrame::Warn(QWidget* parent, const QString& text) {
    CUserPrompts::Warn(parent ? parent : this, text);
}

// ---- commands

bool CMainFrame::SaveDatabase() {
    CGameDatabase* db = Database();
    if (!db) {
        CUserPrompts::Warn(this, Text("Message_NoDatabase"));
        return false;
    }
    if (!m_safety->CheckBeforeSave()) {
        ShowStatus(Text("Message_NotSaved"));
        return false;
    }
    ShowStatus(Text("Message_Saving"));
    bool saved = false;
    {
        CWaitCursor wait;
        CMessageBoxSink sink(m_app.Localisation(), this);
        saved = db->SaveGameDatabase(m_workspace->DatabasePath().toStdString(),
                                     m_workspace->TextDbPath().toStdString(), sink);
    }
    ShowStatus(Text(saved ? "Message_Saved" : "Message_NotSaved"));
    UpdateTitle();
    return saved;
}

bool CMainFrame::SaveActive() {
    // While an in-game text window is active, the save command writes its file.
    if (auto* texts = qobject_cast<CIngameFrame*>(ActiveFrame())) {
        const bool saved = texts->Save();
        UpdateTitle();
        return saved;
    }
    return SaveDatabase();
}

bool CMainFrame::ReloadDatabase() {
    m_mdi->closeAllSubWindows();
    CWaitCursor wait;
    CMessageBoxSink sink(m_app.Localisation(), this);
    const bool loaded = m_workspace->LoadDatabase(m_workspace->DatabasePath(),
                                                  m_workspace->TextDbPath(), sink, {});
    UpdateTitle();
    return loaded;
}

void CMainFrame::Find() {
    CFindDialog dialog(m_app.Localisation(), m_findSettings, this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    m_findSettings = dialog.Settings();
    OpenSearchResults(m_findSettings);
}

int CMainFrame::AddPlayer() {
    CGameDatabase* db = Database();
    if (!db) {
        return 0;
    }
    // -1: the new player belongs to no team.
    int teamId = -1;
    if (const auto* teamFrame = qobject_cast<const CTeamFrame*>(ActiveFrame())) {
        teamId = teamFrame->TeamId();
    } else if (const auto chosen =
                   CTeamSelectDialog::ChooseTeam(*this, "Caption_SelectTeamToAddPlayer", this)) {
        teamId = *chosen;
    }
    const int playerId = db->NewPlayer(teamId);
    if (playerId <= 0) {
        CUserPrompts::Warn(this, Text("Message_PlayerNotCreated"));
        return 0;
    }
    if (teamId != -1) {
        RefreshTeam(teamId);
    }
    RefreshTeam(CGameDatabase::kNoTeamId);
    RefreshLeaguesList();
    RefreshPlayerTables();
    OpenPlayer(playerId);
    return playerId;
}

bool CMainFrame::DeletePlayers(const QList<int32_t>& playerIds) {
    CGameDatabase* db = Database();
    if (!db || playerIds.isEmpty()) {
        return false;
    }
    // The question names them; a long selection names the first few.
    constexpr int kNamesShown = 10;
    const auto names = [db, &playerIds](auto&& keep) {
        QStringList shown;
        qsizetype matching = 0;
        for (int32_t id : playerIds) {
            if (!keep(id)) {
                continue;
            }
            if (++matching <= kNamesShown) {
                shown << QString::fromStdString(db->PlayerDisplayName(id));
            }
        }
        if (matching > kNamesShown) {
            shown << QStringLiteral("\u2026");
        }
        return shown.join(u'\n');
    };
    const std::vector<int32_t> ids(playerIds.begin(), playerIds.end());
    if (!db->CanDeletePlayers(ids)) {
        const auto inTeams = db->PlayersInTeams();
        CUserPrompts::Warn(this, Text("Message_PlayerInTeam") + QStringLiteral("\n\n") +
                                     names([&](int32_t id) { return inTeams.contains(id); }));
        return false;
    }
    const QString question = playerIds.size() == 1
                                 ? Text("Message_DeletePlayer")
                                 : Text("Message_DeletePlayers").arg(playerIds.size());
    if (CUserPrompts::AskYesNo(this, question + QStringLiteral("\n\n") +
                                         names([](int32_t) { return true; }),
                               CUserPrompts::Answer::No) != CUserPrompts::Answer::Yes) {
        return false;
    }
    for (int32_t id : playerIds) {
        if (QMdiSubWindow* window = FindChild(CChildFrame::Kind::Player, id)) {
            window->close();
        }
    }
    if (!db->DeletePlayers(ids)) {
        return false;
    }
    RefreshTeam(CGameDatabase::kNoTeamId);
    RefreshLeaguesList();
    RefreshPlayerTables();
    return true;
}

void CMainFrame::RefreshPlayerTables() {
    for (QMdiSubWindow* window : m_mdi->subWindowList()) {
        auto* frame = qobject_cast<CChildFrame*>(window->widget());
        if (frame && (frame->FrameKind() == CChildFrame::Kind::AllPlayers ||
                      frame->FrameKind() == CChildFrame::Kind::SearchResults)) {
            frame->Refresh(0);
        }
    }
}

void CMainFrame::OpenIngameTextFromDialog() {
    const QString path = QFileDialog::getOpenFileName(this, Text("Caption_IngameText"),
                                                      m_app.InstallFolder(), kDatabaseFilter);
    if (!path.isEmpty()) {
        OpenIngameText(path);
    }
}

void CMainFrame::SetEditorLanguage(const QString& language) {
    m_app.SetEditorLanguage(language);
    for (QAction* action : m_languageGroup ? m_languageGroup->actions() : QList<QAction*>()) {
        action->setChecked(action->data().toString() == language);
    }
    CUserPrompts::Inform(this, Text("Message_RestartAfterNewLanguage"));
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

// ---- menus and tool bar

QAction* CMainFrame::MakeAction(const QString& key, const std::function<void()>& handler) {
    auto* action = new QAction(key, this);
    action->setProperty(kKeyProperty, key);
    action->setObjectName(key);
    connect(action, &QAction::triggered, this, [handler] { handler(); });
    m_actions.insert(key, action);
    return action;
}

QAction* CMainFrame::ActionForKey(const QString& key) const {
    return m_actions.value(key, nullptr);
}

void CMainFrame::ForwardToFocus(const char* slot) {
    if (QWidget* focus = QApplication::focusWidget()) {
        QMetaObject::invokeMethod(focus, slot);
    }
    UpdatePasteAction();
}

void CMainFrame::UpdatePasteAction() {
    bool canPaste = true;
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus->metaObject()->indexOfMethod("CanPaste()") >= 0) {
        QMetaObject::invokeMethod(focus, "CanPaste", Q_RETURN_ARG(bool, canPaste));
    }
    if (QAction* paste = ActionForKey(QStringLiteral("Menu_EditPaste"))) {
        paste->setEnabled(canPaste);
    }
}

void CMainFrame::EditStateChanged() {
    UpdatePasteAction();
}

void CMainFrame::BuildActions() {
    QAction* save = MakeAction(QStringLiteral("Menu_FileSaveDB"), [this] { SaveActive(); });
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    save->setIcon(CToolBarIcons::Save());
    QAction* ingame = MakeAction(QStringLiteral("Menu_FileOpenIngameText"),
                                 [this] { OpenIngameTextFromDialog(); });
    ingame->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    MakeAction(QStringLiteral("Menu_FileRestoreBackup"), [this] { m_safety->RestoreBackup(); });
    MakeAction(QStringLiteral("Menu_FileBackupCount"), [this] { m_safety->ChooseBackupCount(); });
    MakeAction(QStringLiteral("Menu_ViewCheckDatabase"), [this] { m_safety->CheckDatabase(); })
        ->setShortcut(QKeySequence(Qt::Key_F7));
    MakeAction(QStringLiteral("Menu_FileExit"), [this] {
        close();
    })->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));

    QAction* undo = MakeAction(QStringLiteral("Menu_EditUndo"), [this] {
        if (CChildFrame* frame = ActiveFrame(); frame && frame->CanUndo()) {
            frame->Undo();
        }
    });
    undo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    QAction* redo = MakeAction(QStringLiteral("Menu_EditRedo"), [this] {
        if (CChildFrame* frame = ActiveFrame(); frame && frame->CanRedo()) {
            frame->Redo();
        }
    });
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    QAction* cut = MakeAction(QStringLiteral("Menu_EditCut"), [this] { ForwardToFocus("cut"); });
    cut->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)});
    cut->setIcon(CToolBarIcons::Cut());
    QAction* copy = MakeAction(QStringLiteral("Menu_EditCopy"), [this] { ForwardToFocus("copy"); });
    copy->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    copy->setIcon(CToolBarIcons::Copy());
    QAction* paste =
        MakeAction(QStringLiteral("Menu_EditPaste"), [this] { ForwardToFocus("paste"); });
    paste->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
    paste->setIcon(CToolBarIcons::Paste());
    MakeAction(QStringLiteral("Menu_EditFind"), [this] {
        // An in-game text window searches its own texts.
        if (auto* texts = qobject_cast<CIngameFrame*>(ActiveFrame())) {
            texts->Find();
        } else {
            Find();
        }
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    MakeAction(QStringLiteral("Menu_EditAddPlayer"), [this] {
        AddPlayer();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    MakeAction(QStringLiteral("Menu_EditEditSelected"), [this] {
        if (auto* table = qobject_cast<CAllPlayersFrame*>(ActiveFrame())) {
            table->EditSelected();
        }
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));

    QAction* leagues = MakeAction(QStringLiteral("Menu_ViewLeaguesList"),
                                  [this] { m_workspace->setVisible(!m_workspace->isVisible()); });
    leagues->setCheckable(true);
    leagues->setChecked(true);
    QAction* status = MakeAction(QStringLiteral("Menu_ViewStatusBar"),
                                 [this] { statusBar()->setVisible(!statusBar()->isVisible()); });
    status->setCheckable(true);
    status->setChecked(true);
    MakeAction(QStringLiteral("Menu_ViewNextWindow"), [this] {
        m_mdi->activateNextSubWindow();
    })->setShortcut(QKeySequence(Qt::Key_F6));
    MakeAction(QStringLiteral("Menu_ViewPreviousWindow"), [this] {
        m_mdi->activatePreviousSubWindow();
    })->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
    MakeAction(QStringLiteral("Menu_ViewPlayersWithoutTeam"),
               [this] { OpenTeam(CGameDatabase::kNoTeamId); });
    MakeAction(QStringLiteral("Menu_ViewAllPlayers"), [this] {
        OpenAllPlayers();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));

    QAction* about = MakeAction(QStringLiteral("Menu_HelpAbout"), [this] { m_app.ShowAbout(); });
    about->setIcon(CToolBarIcons::About());
}

void CMainFrame::BuildMenus() {
    auto menu = [this](const QString& key) {
        QMenu* m = menuBar()->addMenu(key);
        m->menuAction()->setProperty(kKeyProperty, key);
        m->setObjectName(key);
        return m;
    };
    auto a = [this](const char* key) { return ActionForKey(QString::fromLatin1(key)); };

    QMenu* file = menu(QStringLiteral("Menu_File"));
    file->addAction(a("Menu_FileSaveDB"));
    file->addAction(a("Menu_FileOpenIngameText"));
    file->addAction(a("Menu_FileRestoreBackup"));
    file->addAction(a("Menu_FileBackupCount"));
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
    connect(qApp, &QApplication::focusChanged, this, &CMainFrame::UpdatePasteAction);
    edit->addSeparator();
    edit->addAction(a("Menu_EditFind"));
    edit->addAction(a("Menu_EditEditSelected"));
    m_addPlayerSeparator = edit->addSeparator();
    edit->addAction(a("Menu_EditAddPlayer"));
    connect(edit, &QMenu::aboutToShow, this, [this] { UpdateMenusForChild(); });

    QMenu* view = menu(QStringLiteral("Menu_View"));
    view->addAction(a("Menu_ViewLeaguesList"));
    view->addAction(a("Menu_ViewPlayersWithoutTeam"));
    view->addAction(a("Menu_ViewAllPlayers"));
    view->addAction(a("Menu_ViewCheckDatabase"));
    view->addAction(a("Menu_ViewStatusBar"));
    view->addSeparator();
    view->addAction(a("Menu_ViewNextWindow"));
    view->addAction(a("Menu_ViewPreviousWindow"));

    QMenu* help = menu(QStringLiteral("Menu_Help"));
    help->addAction(a("Menu_HelpAbout"));
}

void CMainFrame::BuildToolBar() {
    QToolBar* bar = addToolBar(Text("Caption_ToolBarStandard"));
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

void CMainFrame::BuildLanguageMenu() {
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

void CMainFrame::LocaliseMenus() {
    BuildLanguageMenu();
    const auto localise = [this](QAction* action) {
        const QString key = action->property(kKeyProperty).toString();
        if (key.isEmpty()) {
            return;
        }
        const std::string text =
            LocalisationText::ApplyTabRule(m_app.Localisation().Lookup(key.toStdString()));
        action->setText(QString::fromStdString(text));
        // The status bar shows what a command does while the pointer is over it.
        const std::string help =
            m_app.Localisation().Lookup((key + QStringLiteral("_Help")).toStdString());
        if (help != (key + QStringLiteral("_Help")).toStdString()) {
            action->setStatusTip(QString::fromStdString(help));
            action->setToolTip(QString::fromStdString(help));
        }
    };
    for (QAction* top : menuBar()->actions()) {
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
    if (m_workspace) {
        m_workspace->setWindowTitle(ActionForKey(QStringLiteral("Menu_ViewLeaguesList"))
                                        ->text()
                                        .remove(u'&')
                                        .split(u'\t')
                                        .first());
    }
}

QString CMainFrame::MenuKind() const {
    const CChildFrame* frame = ActiveFrame();
    if (!frame) {
        return QStringLiteral("main");
    }
    if (frame->HasUndoHistory()) {
        return QStringLiteral("record");
    }
    return frame->TakesNewPlayers() ? QStringLiteral("main") : QStringLiteral("noplayer");
}

void CMainFrame::UpdateMenusForChild() {
    const QString kind = MenuKind();
    const bool record = kind == QStringLiteral("record");
    const bool players = kind != QStringLiteral("noplayer");
    QAction* undo = ActionForKey(QStringLiteral("Menu_EditUndo"));
    QAction* redo = ActionForKey(QStringLiteral("Menu_EditRedo"));
    QAction* add = ActionForKey(QStringLiteral("Menu_EditAddPlayer"));
    if (!undo) {
        return;
    }
    const CChildFrame* frame = ActiveFrame();
    undo->setVisible(record);
    redo->setVisible(record);
    undo->setEnabled(record && frame && frame->CanUndo());
    redo->setEnabled(record && frame && frame->CanRedo());
    m_undoSeparator->setVisible(record);
    add->setVisible(players);
    m_addPlayerSeparator->setVisible(players);
    add->setEnabled(m_databaseLoaded);
    ActionForKey(QStringLiteral("Menu_ViewAllPlayers"))->setEnabled(m_databaseLoaded);
    const auto* table = qobject_cast<const CAllPlayersFrame*>(frame);
    ActionForKey(QStringLiteral("Menu_EditEditSelected"))
        ->setEnabled(table && table->HasSelection());
}

void CMainFrame::UpdateTitle() {
    // The document shown and the database's modified mark; the platform adds the program's
    // name (the application display name), so it is not repeated here.
    QString document;
    if (QMdiSubWindow* active = m_mdi->activeSubWindow()) {
        document = active->windowTitle().remove(QStringLiteral("[*]"));
    } else if (m_workspace && m_databaseLoaded) {
        document = QFileInfo(m_workspace->DatabasePath()).fileName();
    }
    setWindowTitle(document.isEmpty() ? QString() : document + QStringLiteral("[*]"));
    // The mark says what the save command would write: a text window's file, or the database.
    if (const CChildFrame* frame = ActiveFrame();
        frame && frame->FrameKind() == CChildFrame::Kind::IngameText) {
        setWindowModified(frame->IsModified());
        return;
    }
    const CGameDatabase* db = m_workspace && m_databaseLoaded ? m_workspace->Database() : nullptr;
    setWindowModified(db && db->IsDirty());
}

void CMainFrame::OnDirtyChanged(bool) {
    UpdateTitle();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Windows with unsaved files of their own ask first; one kept open keeps the editor open.
    const auto windows = m_mdi->subWindowList();
    for (QMdiSubWindow* window : windows) {
        const auto* frame = qobject_cast<const CChildFrame*>(window->widget());
        if (!frame || !frame->IsModified()) {
            continue;
        }
        m_mdi->setActiveSubWindow(window);
        if (!window->close()) {
            event->ignore();
            return;
        }
    }
    const CGameDatabase* db = Database();
    if (db && db->IsDirty()) {
        switch (CUserPrompts::AskSaveDiscardCancel(this, Text("Message_SaveChanges"))) {
        case CUserPrompts::Answer::Save:
            if (!SaveDatabase()) {
                // Nothing is lost: the editor stays open with the changes.
                event->ignore();
                return;
            }
            break;
        case CUserPrompts::Answer::Discard:
            break;
        default:
            event->ignore();
            return;
        }
    }
    {
        const auto settings = CKestrelApp::EditorSettings();
        CWindowPlacement::Store(*this, *settings);
    }
    m_mdi->closeAllSubWindows();
    event->accept();
    emit Closed();
}
