#pragma once

#include <QList>
#include <QWidget>

class QAction;
class QToolButton;

// Menu entries laid out in columns, for menus too long for one (jersey numbers 0-99). Each
// entry is a QAction shown as a flat button; the arrow keys move between them, Return or a
// click triggers one. Put it in a menu through a QWidgetAction; triggering closes the menu.
class CMenuGrid : public QWidget {
    Q_OBJECT
public:
    // A new column starts after every `rows` entries.
    CMenuGrid(const QList<QAction*>& actions, int rows, QWidget* parent = nullptr);

    QToolButton* ButtonFor(const QAction* action) const;
    int Rows() const { return m_rows; }

signals:
    void Triggered(QAction* action);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void MoveFocus(int from, int rowStep, int columnStep);

    QList<QToolButton*> m_buttons;
    int m_rows;
};
