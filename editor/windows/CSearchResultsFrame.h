#pragma once

#include "editor/windows/CChildFrame.h"
#include "editor/windows/CFindSettings.h"

class CSearchResultsModel;
class QTreeView;

// Child window with the results of one Find: name and type of every league, team and player
// found; a double click (or Return) opens the record's window.
class CSearchResultsFrame : public CChildFrame {
    Q_OBJECT
public:
    CSearchResultsFrame(const CFindSettings& settings, CFrameHost& host, QWidget* parent = nullptr);

    const CFindSettings& Settings() const { return m_settings; }
    QTreeView* List() const { return m_list; }

    // Searches (again: players added or deleted since come or go).
    void Fill() override;
    bool TakesNewPlayers() const override { return false; }
    void DocumentChanged(const SChange& change) override;
    // Room for sixteen results.
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Open(const QModelIndex& index);

    CFindSettings m_settings;
    CSearchResultsModel* m_model = nullptr;
    QTreeView* m_list = nullptr;
};
