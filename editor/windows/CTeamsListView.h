#pragma once

#include "editor/windows/CDragDropView.h"

#include <cstdint>

class CFrameHost;
class CTeamsListModel;
struct SChange;

// The teams of a league, sorted by name. Players dragged from a players list onto a team's row
// join that team: moved, or copied while Ctrl is held; players dragged from the all-players
// table are always added. A team dragged from a Compare window is copied into the league. The row under the pointer is highlighted while players are dragged
// over it.
class CTeamsListView : public CDragDropView {
    Q_OBJECT
public:
    explicit CTeamsListView(CFrameHost& host, QWidget* parent = nullptr);

    // Fills the list for a league; the current team stays selected if listed.
    void Show(int32_t leagueId);
    // The rows the change touches follow it; the selection and scroll position stay.
    void DocumentChanged(const SChange& change);
    int32_t LeagueId() const;
    CTeamsListModel* Model() const { return m_model; }
    // The row highlighted as the drop target, -1 when none.
    int DropRow() const { return m_dropRow; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void SetDropRow(int row);
    // A team of another installation: accepted as a copy into the league; false for other data.
    bool TakeTeamDrag(QDropEvent* event);
    // Copy or move; no action for data that holds no players.
    static Qt::DropAction ActionFor(const QMimeData* data, Qt::KeyboardModifiers modifiers);
    // Says after the drop how many players the team had no place for.
    void WarnRefused(int refused, int dragged);

    CFrameHost& m_host;
    CTeamsListModel* m_model = nullptr;
    int m_dropRow = -1;
};
