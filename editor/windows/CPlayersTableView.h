#pragma once

#include <QTableView>

// The table of the all-players window. Its copy slot is what Edit › Copy (Ctrl+C) calls on the
// focused widget: the selected rows go to the clipboard as tab-separated text with a header.
class CPlayersTableView : public QTableView {
    Q_OBJECT
public:
    explicit CPlayersTableView(QWidget* parent = nullptr);

    // Selected rows in the order shown.
    std::vector<int> SelectedRows() const;

public slots:
    void copy();
};
