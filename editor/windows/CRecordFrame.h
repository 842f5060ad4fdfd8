#pragma once

#include "editor/windows/CChildFrame.h"

#include <QString>

#include <cstdint>

class CGradientBanner;
struct SChange;

// The frame of a window that edits one record (a player, a team, a league): the record's id,
// a banner above the window's body, the title "caption - name" and the way the window hears of
// changes and tells of its own. The kinds keep their histories in CSnapshotFrame.
class CRecordFrame : public CChildFrame {
    Q_OBJECT
public:
    int RecordId() const { return m_recordId; }

    // "Caption - name" of the record of that kind (league, team, player) and id, the players
    // without a team's for team 109998; empty when there is no such record: no window opens on
    // it, and an open one closes.
    static QString TitleOf(CFrameHost& host, Kind kind, int id);

    // A change made elsewhere: after a reload the window starts over on its record; its own
    // changes it shows already.
    void DocumentChanged(const SChange& change) final;

protected:
    CRecordFrame(Kind kind, int recordId, CFrameHost& host, QWidget* parent);

    // The banner above the body, both filling the window.
    void SetBannerAndBody(CGradientBanner* banner, QWidget* body);
    // A change made elsewhere that is not a reload.
    virtual void OutsideChange(const SChange& change) = 0;
    // The database has unsaved changes made by this window.
    void MarkChanged();
    // Tells the other windows what this one changed (it shows it already).
    void Announce(SChange change);

private:
    int m_recordId;
};
