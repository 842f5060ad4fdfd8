#pragma once

#include "editor/toolkit/CPropertyModel.h"
#include "editor/toolkit/TextLookup.h"

#include <QWidget>

class QLabel;
class QTreeView;

// A property list: headings and items in a two-column view (name, value), edited in place, and
// below it the help text of the selected row.
class CPropertyList : public QWidget {
    Q_OBJECT
public:
    explicit CPropertyList(QWidget* parent = nullptr);

    CPropertyModel* Model() const { return m_model; }
    QTreeView* View() const { return m_view; }
    QLabel* HelpLabel() const { return m_help; }

    // Also re-reads the help text; the form calls it when it is first shown.
    void SetTextLookup(const TextLookup& lookup);
    // Selects the row and shows its help.
    void SelectRow(int row);
    int SelectedRow() const;
    // Room for every row (a page of properties reads best without scrolling) and the help.
    QSize sizeHint() const override;

private:
    void ShowHelp();

    CPropertyModel* m_model;
    QTreeView* m_view;
    QLabel* m_help;
};
