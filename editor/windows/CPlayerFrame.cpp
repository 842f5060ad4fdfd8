#include "CPlayerFrame.h"

#include "editor/windows/CPlayerAppearanceForm.h"
#include "editor/windows/CPlayerAttributesForm.h"
#include "editor/windows/CPlayerBannerForm.h"
#include "editor/windows/CPlayerInfoForm.h"

#include <QLayout>
#include <QTabWidget>

CPlayerFrame::CPlayerFrame(int playerId, CFrameHost& host, QWidget* parent)
    : CRecordFrame<CPlayer>(Kind::Player, host, parent), m_playerId(playerId) {
    // The frame's placeholder makes way for the banner and the pages.
    QLayout* frameLayout = layout();
    while (QLayoutItem* item = frameLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    m_banner = new CPlayerBannerForm(host, this);
    m_tabs = new QTabWidget(this);
    m_tabs->setAccessibleName(host.Text("Caption_Player"));
    m_pages = {new CPlayerInfoForm(*this), new CPlayerAppearanceForm(*this),
               new CPlayerAttributesForm(*this)};
    for (CPlayerPage* page : m_pages) {
        m_tabs->addTab(page, page->TabIcon(), host.Text(page->TabKey()));
    }
    frameLayout->addWidget(m_banner);
    frameLayout->addWidget(m_tabs);
}

CPlayerPage* CPlayerFrame::Page(int index) const {
    return m_pages.at(static_cast<size_t>(index));
}

CPlayer* CPlayerFrame::Record() {
    CGameDatabase* db = Host().Database();
    return db ? db->FindPlayer(m_playerId) : nullptr;
}

void CPlayerFrame::Fill() {
    if (const CPlayer* player = Record()) {
        StartHistory(*player);
    }
    FillPages();
}

void CPlayerFrame::Refresh(int hint) {
    // Another window changed the player (a squad move, a bulk edit): show it again.
    if (hint == 0) {
        return;
    }
    const CPlayer* player = Record();
    if (!player) {
        return;
    }
    if (History().IsEmpty()) {
        FillPages();
        return;
    }
    if (!DiffersInEditedFields(*player, History().Current())) {
        // Only his teams changed (a squad move): the pages keep what the user is typing.
        m_banner->Fill(*player);
        static_cast<CPlayerInfoForm*>(m_pages.front())->FillTeams(*player);
        return;
    }
    // What changed elsewhere goes into every snapshot, so this window's Undo and Redo never
    // take back a change it did not make.
    const CPlayer base = History().Current();
    const CPlayer live = *player;
    EditHistory([&](CPlayer& snapshot) { snapshot.TakeChangesSince(base, live); });
    FillPages();
}

void CPlayerFrame::FillPages() {
    const CPlayer* player = Record();
    if (!player) {
        return;
    }
    m_banner->Fill(*player);
    for (CPlayerPage* page : m_pages) {
        page->Fill(*player);
    }
}

void CPlayerFrame::Commit() {
    CPlayer* player = Record();
    if (!player || History().IsEmpty() || !DiffersInEditedFields(*player, History().Current())) {
        return;
    }
    FollowNameAndStarChanges(History().Current(), *player);
    PushSnapshot(*player);
    m_banner->Fill(*player);
}

void CPlayerFrame::Restore(const CPlayer& current, const CPlayer& snapshot) {
    CPlayer* player = Record();
    if (!player) {
        return;
    }
    CopyEditedFields(*player, snapshot);
    MarkChanged();
    FollowNameAndStarChanges(current, snapshot);
    FillPages();
}

void CPlayerFrame::FollowNameAndStarChanges(const CPlayer& before, const CPlayer& after) {
    if (before.FirstName() == after.FirstName() && before.LastName() == after.LastName() &&
        before.Value(EPlayerColumn::StarPlayer) == after.Value(EPlayerColumn::StarPlayer) &&
        before.CommonName() == after.CommonName()) {
        return;
    }
    Retitle();
    // The live record's teams: the snapshots' team lists may be out of date.
    if (const CPlayer* player = Record()) {
        const std::vector<int32_t> teams = player->Teams();
        for (int32_t teamId : teams) {
            Host().RefreshTeam(teamId);
        }
    }
}

void CPlayerFrame::Retitle() {
    // The main window finds a player's window by its title: it follows the name.
    const CGameDatabase* db = Host().Database();
    QWidget* window = parentWidget();
    if (db && window && !window->windowTitle().isEmpty()) {
        window->setWindowTitle(QStringLiteral("%1 - %2").arg(
            Host().Text("Caption_Player"),
            QString::fromStdString(db->PlayerDisplayName(m_playerId))));
    }
}

void CPlayerFrame::CopyEditedFields(CPlayer& into, const CPlayer& from) {
    CPlayerInfoForm::CopyFields(into, from);
    CPlayerAppearanceForm::CopyFields(into, from);
    CPlayerAttributesForm::CopyFields(into, from);
}

bool CPlayerFrame::DiffersInEditedFields(const CPlayer& record, const CPlayer& snapshot) {
    CPlayer restored = record;
    CopyEditedFields(restored, snapshot);
    return !(restored == record);
}
