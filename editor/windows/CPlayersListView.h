#pragma once

#include "editor/windows/CDragDropView.h"

#include <QList>

#include <cstdint>
#include <vector>

class CFrameHost;
struct SChange;
class CPlayersListModel;
class QMenu;
class QMimeData;

// A players list: a team's squad or the players without a team, sortable, with the rating
// tool tips, the squad commands (context menu and the main window's edit commands while it has
// the focus), the jersey-number menu and dragging players onto a teams list.
class CPlayersListView : public CDragDropView {
    Q_OBJECT
public:
    explicit CPlayersListView(CFrameHost& host, QWidget* parent = nullptr);

    // Fills the list for a team (or 109998); the current player stays selected if listed.
    void Show(int32_t teamId);
    // The rows the change touches follow it; the selection and scroll position stay.
    void DocumentChanged(const SChange& change);
    int32_t TeamId() const;
    // -1 without a current row.
    int32_t CurrentPlayerId() const;
    // In the order the list shows them.
    QList<int32_t> SelectedPlayerIds() const;
    std::vector<int32_t> PlayersInShownOrder() const;
    void SelectPlayer(int32_t playerId);

    CPlayersListModel* Model() const { return m_model; }

    // What a drag of the selected rows carries; the caller owns it. Null without a selection.
    QMimeData* SelectionMimeData() const;
    // The context menu as it would show now; the caller owns it.
    QMenu* CreateContextMenu(QWidget* parent);
    // The main window asks the focused widget this before it offers Paste.
    Q_INVOKABLE bool CanPaste() const;
    // A selection in the players without a team that no team refers to.
    bool CanDeletePlayers() const;

public slots:
    // The main window's edit commands reach the focused list by these names.
    void cut();
    void copy();
    void paste();
    void NewPlayer();
    void MoveToTeam();
    void AssignToTeam();
    void AssignJerseyNumber(int number);
    // The players without a team only: deletes the selected players after asking.
    void DeletePlayers();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void OpenPlayer(const QModelIndex& index);
    void ResizeColumns();
    void AfterChange(int32_t selectPlayerId = -1);
    // The selected players, or the current one: what Cut and Copy take.
    std::vector<int32_t> ChosenPlayers() const;
    QMenu* CreateJerseyMenu(QWidget* parent);
    // Move to (or, keeping him here, assign to) the team the user chooses.
    void SendToChosenTeam(bool keepInThisTeam);

    CFrameHost& m_host;
    CPlayersListModel* m_model = nullptr;
};
