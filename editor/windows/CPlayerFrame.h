#pragma once

#include "editor/model/CPlayer.h"
#include "editor/windows/CSnapshotFrame.h"

#include <QString>

class CPlayerBannerForm;
class CPlayerPage;
class QTabWidget;

// Child window of kind Player: a banner over three pages (information, appearance,
// abilities). Pages write into the record only on Apply; each applied change is a snapshot.
class CPlayerFrame : public CSnapshotFrame<CPlayer> {
    Q_OBJECT
public:
    CPlayerFrame(int playerId, CFrameHost& host, QWidget* parent = nullptr);

    int PlayerId() const { return RecordId(); }
    QTabWidget* Tabs() const { return m_tabs; }
    CPlayerPage* Page(int index) const;

    void Fill() override;

    // The record, looked up by id each time; null when it was deleted elsewhere.
    CPlayer* Record();
    // The record as the window opened it.
    const CPlayer& OpenedRecord() const { return History().First(); }
    // After a page wrote into the record: a snapshot when something changed, the other windows
    // told.
    void Commit();
    CFrameHost& FrameHost() { return Host(); }

    // Copies every field the window edits (never the team list).
    static void CopyEditedFields(CPlayer& into, const CPlayer& from);
    // Whether restoring `snapshot` would change any field the window edits.
    static bool DiffersInEditedFields(const CPlayer& record, const CPlayer& snapshot);

protected:
    void OutsideChange(const SChange& change) override;
    bool Differs(const CPlayer& before, const CPlayer& after) const override;
    bool Renamed(const CPlayer& before, const CPlayer& after) const override;
    bool CopyIntoRecord(const CPlayer& snapshot) override;
    uint32_t Restored(const CPlayer& current, const CPlayer& snapshot) override;
    // His teams' squads, the tables and his title show him.
    SChange Touched(uint32_t what) const override;

private:
    void FillPages();
    // Another window changed the player (a squad move, a bulk edit): show it again.
    void TakeOutsideChange();

    CPlayerBannerForm* m_banner;
    QTabWidget* m_tabs;
    std::vector<CPlayerPage*> m_pages;
};
