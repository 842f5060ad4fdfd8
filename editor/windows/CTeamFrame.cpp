#include "CTeamFrame.h"

#include "editor/assets/CPictureRequests.h"
#include "editor/model/CGameDatabase.h"
#include "editor/toolkit/CGradientBanner.h"
#include "editor/toolkit/CPictureScaling.h"
#include "editor/windows/CFrameHost.h"
#include "editor/windows/CGameColours.h"
#include "editor/windows/CPlayersListView.h"
#include "editor/windows/CRecordIcons.h"
#include "editor/windows/CTeamFormationForm.h"
#include "editor/windows/CTeamInfoForm.h"
#include "editor/windows/CTeamKitsForm.h"
#include "editor/windows/CTeamMiscForm.h"
#include "editor/windows/CTeamPictures.h"

#include <QMenu>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>

CTeamFrame::CTeamFrame(int teamId, CFrameHost& host, QWidget* parent)
    : CSnapshotFrame(Kind::Team, teamId, host, parent) {
    m_banner = new CGradientBanner(this);
    m_banner->SetTitleFont(host.TitleFont());
    // The crest's commands are in the banner's context menu, which the menu key opens too.
    m_banner->setContextMenuPolicy(Qt::CustomContextMenu);
    m_banner->setFocusPolicy(Qt::TabFocus);
    connect(m_banner, &QWidget::customContextMenuRequested, this, &CTeamFrame::ShowCrestMenu);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)}) {
        auto* shortcut = new QShortcut(keys, m_banner, nullptr, nullptr, Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this,
                [this] { ShowCrestMenu(m_banner->rect().center()); });
    }
    m_tabs = new QTabWidget(this);

    auto* information = new QSplitter(Qt::Vertical, m_tabs);
    m_squad = new CPlayersListView(host, information);
    // A whole first eleven and the first substitutes without scrolling.
    m_squad->SetShownRows(16);
    m_info = new CTeamInfoForm(teamId, host, information);
    information->addWidget(m_squad);
    information->addWidget(m_info);
    information->setStretchFactor(0, 2);
    information->setStretchFactor(1, 3);
    m_kits = new CTeamKitsForm(teamId, host, m_tabs);
    m_misc = new CTeamMiscForm(teamId, host, m_tabs);
    m_tabs->addTab(information, CRecordIcons::Information(), host.Text("Tab_TeamInformation"));
    m_tabs->addTab(m_kits, CRecordIcons::Kits(), host.Text("Tab_TeamKits"));
    m_tabs->addTab(m_misc, CRecordIcons::Miscellaneous(), host.Text("Tab_TeamMisc"));
    m_formation = new CTeamFormationForm(teamId, host, m_tabs);
    m_formation->SetRowOrder([this] { return SquadOrder(); });
    InsertPage(1, m_formation, CRecordIcons::Formation(), "Tab_TeamFormation");
    SetBannerAndBody(m_banner, m_tabs);

    connect(m_info, &CColourFormView::ApplyClicked, this, [this] {
        if (m_info->Apply()) {
            RecordApplied();
        }
    });
    connect(m_misc, &CColourFormView::ApplyClicked, this, [this] {
        if (m_misc->Apply()) {
            RecordApplied();
        }
    });
    connect(m_kits, &CColourFormView::ApplyClicked, m_kits, &CTeamKitsForm::Apply);
    connect(m_kits, &CTeamKitsForm::Applied, this, [this] { RecordApplied(); });
    // A formation writes at once and Apply moves players: both are steps with their positions.
    const auto recordLineUp = [this](const CPositionStep& positions) {
        RecordApplied(positions);
        if (!positions.IsEmpty())
            ShowSquad();
    };
    connect(m_formation, &CTeamFormationForm::FormationChanged, this, recordLineUp);
    connect(m_formation, &CTeamFormationForm::Applied, this, recordLineUp);
    connect(m_formation, &CTeamFormationForm::ResetRequested, this,
            [this] { m_formation->ResetTo(m_opened); });
    connect(m_info, &CColourFormView::ResetClicked, this,
            [this] { ResetPage(CTeamSnapshot::EPage::Information); });
    connect(m_kits, &CColourFormView::ResetClicked, this,
            [this] { ResetPage(CTeamSnapshot::EPage::Kits); });
    connect(m_misc, &CColourFormView::ResetClicked, this,
            [this] { ResetPage(CTeamSnapshot::EPage::Miscellaneous); });
}

void CTeamFrame::InsertPage(int index, QWidget* page, const QIcon& icon, const char* tabKey) {
    m_tabs->insertTab(index, page, icon, Host().Text(tabKey));
}

void CTeamFrame::Fill() {
    const CTeam* team = Host().FindTeam(TeamId());
    if (!team) {
        return;
    }
    m_opened = *team;
    StartHistory(CTeamSnapshot::Of(*team));
    m_positionSteps.clear();
    m_shownStep = 0;
    FillPages();
    ShowBanner();
    ShowSquad();
}

void CTeamFrame::OutsideChange(const SChange& change) {
    if (change.Has(SChange::Pictures) && change.HasTeam(TeamId())) {
        ShowPictures();
    }
    const CTeam* team = Host().FindTeam(TeamId());
    if (!team || change.what == SChange::Pictures) {
        return;
    }
    // The squad list shows its players' names, positions and ratings.
    bool shown = change.HasTeam(TeamId());
    for (auto id = change.players.begin(); !shown && id != change.players.end(); ++id) {
        shown = team->FindLink(*id) != nullptr;
    }
    if (shown) {
        ShowBanner();
        m_squad->DocumentChanged(change);
        // Squad changes move markers; unapplied moves on the pitch give way to them.
        m_formation->Fill();
    }
}

void CTeamFrame::ShowPictures() {
    ShowBanner();
    m_kits->DrawPicture();
}

std::vector<int32_t> CTeamFrame::SquadOrder() const {
    return m_squad->PlayersInShownOrder();
}

void CTeamFrame::FillPages() {
    m_info->Fill();
    m_formation->Fill();
    m_kits->Fill();
    m_misc->Fill();
}

void CTeamFrame::ShowBanner() {
    const CGameDatabase* db = Host().Database();
    const CTeam* team = Host().FindTeam(TeamId());
    if (!team) {
        return;
    }
    m_banner->SetTitle(QString::fromStdString(team->Name()));
    const CTeamKit* home = team->FindKit(0);
    m_banner->SetColour(home ? CGameColours::ToColor(db->Colours().ColourOfIndex(
                                   home->Value(EKitColumn::JerseyColour1) - 1))
                             : QColor(Qt::white));
    CPictureRequests* pictures = Host().Pictures();
    const QImage crest =
        pictures ? CPictureScaling::Scaled(pictures->Logo(TeamId()), kCrestScale) : QImage();
    m_banner->SetPicture(crest.isNull() ? QPixmap() : QPixmap::fromImage(crest));
}

void CTeamFrame::ShowCrestMenu(const QPoint& position) {
    const CTeamPictures crest(Host(), TeamId(), CTeamPictures::EKind::Crest);
    QMenu menu(this);
    QAction* import = menu.addAction(Host().Text("Caption_ImportPicture"));
    QAction* exportCrest = menu.addAction(Host().Text("Caption_ExportPicture"));
    import->setEnabled(crest.CanImport());
    exportCrest->setEnabled(!m_banner->Picture().isNull());
    QAction* chosen = menu.exec(m_banner->mapToGlobal(position));
    if (chosen == import && crest.Import(this)) {
        ShowBanner();
        // The league windows' teams lists show the crest too.
        Announce(Touched(SChange::Pictures));
    } else if (chosen == exportCrest) {
        crest.Export(this);
    }
}

void CTeamFrame::ShowSquad() {
    m_squad->Show(TeamId());
}

void CTeamFrame::RecordApplied(const CPositionStep& positions) {
    const CTeam* team = Host().FindTeam(TeamId());
    if (!team ||
        !CommitSnapshot(CTeamSnapshot::Of(*team), positions.IsEmpty() ? 0u : SChange::Squad)) {
        return;
    }
    // The push dropped the steps after the current one; their positions go with them.
    m_shownStep = History().CurrentIndex();
    m_positionSteps.erase(m_positionSteps.lower_bound(m_shownStep), m_positionSteps.end());
    if (!positions.IsEmpty())
        m_positionSteps.emplace(m_shownStep, positions);
    ShowBanner();
}

void CTeamFrame::ResetPage(CTeamSnapshot::EPage page) {
    CTeam* team = Host().FindTeam(TeamId());
    if (!team || History().IsEmpty()) {
        return;
    }
    History().First().RestoreInto(*team, page);
    switch (page) {
    case CTeamSnapshot::EPage::Information:
        m_info->Fill();
        break;
    case CTeamSnapshot::EPage::Kits:
        m_kits->Fill();
        break;
    case CTeamSnapshot::EPage::Miscellaneous:
        m_misc->Fill();
        break;
    case CTeamSnapshot::EPage::Formation:
        break;
    }
    RecordApplied();
}

bool CTeamFrame::Renamed(const CTeamSnapshot& before, const CTeamSnapshot& after) const {
    return before.Name() != after.Name();
}

bool CTeamFrame::CopyIntoRecord(const CTeamSnapshot& snapshot) {
    CTeam* team = Host().FindTeam(TeamId());
    if (team) {
        snapshot.RestoreInto(*team);
    }
    return team != nullptr;
}

uint32_t CTeamFrame::Restored(const CTeamSnapshot&, const CTeamSnapshot&) {
    CTeam* team = Host().FindTeam(TeamId());
    if (!team) {
        return 0;
    }
    const int target = History().CurrentIndex();
    bool moved = false;
    for (; m_shownStep > target; --m_shownStep)
        if (auto step = m_positionSteps.find(m_shownStep); step != m_positionSteps.end()) {
            step->second.Undo(*team);
            moved = true;
        }
    for (; m_shownStep < target; ++m_shownStep)
        if (auto step = m_positionSteps.find(m_shownStep + 1); step != m_positionSteps.end()) {
            step->second.Redo(*team);
            moved = true;
        }
    if (moved)
        ShowSquad();
    FillPages();
    ShowBanner();
    return moved ? SChange::Squad : 0u;
}

SChange CTeamFrame::Touched(uint32_t what) const {
    SChange change;
    change.what = what;
    change.teams = {TeamId()};
    if (const CTeam* team = Host().FindTeam(TeamId())) {
        change.leagues = team->Leagues();
    }
    return change;
}
