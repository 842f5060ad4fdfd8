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
    explicit CWorkspaceBar(CDatabaseDocument& document, QWidget* parent = nullptr);
    ~CWorkspaceBar() override;

    QTreeWidget* LeaguesList() { return m_list; }
    // The width that shows every league's whole name, the counts and the bar's title.
    int ContentWidth() const;

signals:
    void LeagueActivated(int leagueId);
    // A team of another installation was dropped on the list: on a league's row (leagueId) or
    // below the leagues (-1: no league).
    void TeamDropped(const QString& folder, int teamId, int leagueId);

protected:
    QSize sizeHint() const override;
    // The list is named after the bar's title, for screen readers.
    void changeEvent(QEvent* event) override;
    // Drops of teams from a Compare window onto the list.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnItemActivated(QTreeWidgetItem* item);
    void OnChanged(const SChange& change);
    // Brings the leagues list in step with the database: rows of leagues that stay are updated
    // in place, so the selection and scroll position stay.
    void ShowLeagues();

    CDatabaseDocument& m_document;
    QTreeWidget* m_list = nullptr;
};
