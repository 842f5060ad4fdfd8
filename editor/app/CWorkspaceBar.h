#pragma once

#include <QDockWidget>

class CDatabaseDocument;
struct SChange;
class QTreeWidget;
class QTreeWidgetItem;

// The docking bar on the left of the main window: the document's leagues with their level,
// teams and players, kept in step with its changes.
class CWorkspaceBar : public QDockWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 250;

    explicit CWorkspaceBar(CDatabaseDocument& document, QWidget* parent = nullptr);
    ~CWorkspaceBar() override;

    QTreeWidget* LeaguesList() { return m_list; }
    // Fills the leagues list again from the database, keeping the selected league.
    void RefreshLeagues();

signals:
    void LeagueActivated(int leagueId);

protected:
    QSize sizeHint() const override;

private:
    void OnItemActivated(QTreeWidgetItem* item);
    void OnChanged(const SChange& change);

    CDatabaseDocument& m_document;
    QTreeWidget* m_list = nullptr;
};
