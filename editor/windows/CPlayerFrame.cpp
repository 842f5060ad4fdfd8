#include "CPlayerFrame.h"

#include "editor/windows/CFrameHost.h"
#include "editor/windows/CPlayerAppearanceForm.h"
#include "editor/windows/CPlayerAttributesForm.h"
#include "editor/windows/CPlayerBannerForm.h"
#include "editor/windows/CPlayerInfoForm.h"

#include <QTabWidget>

CPlayerFrame::CPlayerFrame(int playerId, CFrameHost& host, QWidget* parent)
    : CSnapshotFrame(Kind::Player, playerId, host, parent) {
    m_banner = new CPlayerBannerForm(host, this);
    m_tabs = new QTabWidget(this);
    m_tabs->setAccessibleName(host.Text("Caption_Player"));
    m_pages = {new CPlayerInfoForm(*this), new CPlayerAppearanceForm(*this),
               new CPlayerAttributesForm(*this)};
    for (CPlayerPage* page : m_pages) {
        m_tabs->addTab(page, page->TabIcon(), host.Text(page->TabKey()));
    }
    SetBannerAndBody(m_banner, m_tabs);
}

CPlayerPage* CPlayerFrame::Page(int index) const {
    return m_pages.at(static_cast<size_t>(index));
}

CPlayer* CPlayerFrame::Record() {
    return Host().FindPlayer(PlayerId());
}

void CPlayerFrame::Fill() {
    if (const CPlayer* player = Record()) {
        StartHistory(*player);
    }
    FillPages();
}

void CPlayerFrame::TakeOutsideChange() {
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

void CPlayerFrame::OutsideChange(const SChange& change) {
    if (change.HasPlayer(PlayerId()) && change.what != SChange::Pictures) {
        TakeOutsideChange();
    }
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
    if (const CPlayer* player = Record(); player && CommitSnapshot(*player)) {
        m_banner->Fill(*player);
    }
}

bool CPlayerFrame::Differs(const CPlayer& before, const CPlayer& after) const {
    return DiffersInEditedFields(after, before);
}

bool CPlayerFrame::Renamed(const CPlayer& before, const CPlayer& after) const {
    return before.FirstName() != after.FirstName() || before.LastName() != after.LastName() ||
           before.CommonName() != after.CommonName();
}

bool CPlayerFrame::CopyIntoRecord(const CPlayer& snapshot) {
    CPlayer* player = Record();
    if (player) {
        CopyEditedFields(*player, snapshot);
    }
    return player != nullptr;
}

uint32_t CPlayerFrame::Restored(const CPlayer&, const CPlayer&) {
    FillPages();
    return 0;
}

SChange CPlayerFrame::Touched(uint32_t what) const {
    SChange change;
    change.what = what;
    change.players = {PlayerId()};
    // The live record's teams show him in their squads (the snapshots' may be out of date).
    if (const CPlayer* player = Host().FindPlayer(PlayerId())) {
        change.teams = player->Teams();
    }
    return change;
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
