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
    return Host().FindPlayer(m_playerId);
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

void CPlayerFrame::DocumentChanged(const SChange& change) {
    if (change.origin == this) {
        return;
    }
    if (change.Reloaded()) {
        Fill();
    } else if (change.HasPlayer(m_playerId) && change.what != SChange::Pictures) {
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
    CPlayer* player = Record();
    if (!player || History().IsEmpty() || !DiffersInEditedFields(*player, History().Current())) {
        return;
    }
    const CPlayer before = History().Current();
    PushSnapshot(*player);
    Announce(before, *player);
    m_banner->Fill(*player);
}

void CPlayerFrame::Restore(const CPlayer& current, const CPlayer& snapshot) {
    CPlayer* player = Record();
    if (!player) {
        return;
    }
    CopyEditedFields(*player, snapshot);
    MarkChanged();
    FillPages();
    Announce(current, snapshot);
}

void CPlayerFrame::Announce(const CPlayer& before, const CPlayer& after) {
    SChange change;
    change.what = SChange::Fields;
    if (before.FirstName() != after.FirstName() || before.LastName() != after.LastName() ||
        before.CommonName() != after.CommonName()) {
        change.what |= SChange::Names;
    }
    change.players = {m_playerId};
    // The live record's teams show him in their squads (the snapshots' may be out of date).
    if (const CPlayer* player = Record()) {
        change.teams = player->Teams();
    }
    CRecordFrame::Announce(std::move(change));
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
