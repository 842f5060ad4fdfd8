#pragma once

#include <QTableView>

// The list of an in-game text window: one column with gridlines, as wide as the view, the
// selection shown also without focus, texts edited in place (F2 or a double click).
class CIngameTextView : public QTableView {
    Q_OBJECT
public:
    explicit CIngameTextView(QWidget* parent = nullptr);

    // Takes the text of an editor still open into the model, so a save or close keeps it.
    void CommitOpenEditor();
    bool IsEditing() const { return state() == EditingState; }
    // Room for twenty texts.
    QSize sizeHint() const override;
};
