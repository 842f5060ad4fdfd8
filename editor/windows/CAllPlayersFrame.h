#pragma once

#include "editor/model/CPlayerFilter.h"
#include "editor/windows/CChildFrame.h"

#include <optional>

class CAllPlayersModel;
class CErrorLineEdit;
class CPlayersTableView;
class QAction;
class QComboBox;
class QVBoxLayout;
class QPushButton;
class QTimer;

// Every player in one table: a filter in the filter language plus quick filters for position
// group, team and league, any field as a column (header menu, kept in the settings), sorting by
// any column, Edit Selected as one step of the main window's history, copy as tab-separated text.
class CAllPlayersFrame : public CChildFrame {
    Q_OBJECT
public:
    explicit CAllPlayersFrame(CFrameHost& host, QWidget* parent = nullptr);

    void Fill() override;
    void DocumentChanged(const SChange& change) override;
    bool CanEditSelected() const override { return HasSelection(); }

    // Runs the filter now (typing runs it after a short pause).
    void ApplyFilter();
    // Opens Edit Selected for the selected players; false when none is selected.
    bool EditSelected() override;
    bool HasSelection() const;
    // "N of M players", as the status bar shows it.
    const QString& CountText() const { return m_countText; }

    CAllPlayersModel* Model() const { return m_model; }
    CPlayersTableView* View() const { return m_view; }
    CErrorLineEdit* FilterEdit() const { return m_filter; }
    QComboBox* PositionFilter() const { return m_position; }
    QComboBox* TeamFilter() const { return m_team; }
    QComboBox* LeagueFilter() const { return m_league; }
    QPushButton* EditButton() const { return m_edit; }
    // The header's column chooser, built when the menu is asked for.
    QMenu* ColumnMenu();

    static constexpr const char* kColumnsSetting = "AllPlayers/Columns";

signals:
    // Edit Selected became possible or impossible.
    void SelectionChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QVBoxLayout* BuildFilterBar();
    // Columns as wide as their header and the first rows' texts.
    void FitColumns();
    // The rows the filter bar asks for, the columns fitted to them; edits elsewhere filter
    // again without moving the columns.
    void FilterByUser();
    void FillQuickFilters();
    // Squads or players changed: who passes the filter may have changed.
    void FilterAgain();
    void CheckFilterText();
    void LoadColumns();
    void SaveColumns() const;
    void ToggleColumn(const CPlayerField* field, bool shown);
    // The list of fields the filter knows; a chosen one is typed into the filter.
    void ShowFilterFields();
    void ShowRowMenu(const QPoint& at);
    void UpdateActions();
    void ShowCount();

    CAllPlayersModel* m_model = nullptr;
    CPlayersTableView* m_view = nullptr;
    CErrorLineEdit* m_filter = nullptr;
    QComboBox* m_position = nullptr;
    QComboBox* m_team = nullptr;
    QComboBox* m_league = nullptr;
    QPushButton* m_edit = nullptr;
    QAction* m_editAction = nullptr;
    QMenu* m_columnMenu = nullptr;
    QTimer* m_filterTimer = nullptr;
    std::optional<CPlayerFilter> m_parsed;
    QString m_countText;
};
