#pragma once

#include <QTableView>

// The table of the all-players window. Its copy slot is what Edit › Copy (Ctrl+C) calls on the
// focused widget: the selected rows go to the clipboard as tab-separated text with a header.
// Rows dragged onto a team of a teams list join that team.
class CPlayersTableView : public QTableView {
    Q_OBJECT
public:
    explicit CPlayersTableView(QWidget* parent = nullptr);

    // Selected rows in the order shown.
    std::vector<int> SelectedRows() const;
    // Room for twenty rows and the columns shown.
    QSize sizeHint() const override;

public slots:
    void copy();

protected:
    // Rows dragged onto a team of a teams list join it, keeping the teams they are in.
    void startDrag(Qt::DropActions supportedActions) override;
};
