#include "CMenuGrid.h"

#include <QAction>
#include <QGridLayout>
#include <QKeyEvent>
#include <QToolButton>

CMenuGrid::CMenuGrid(const QList<QAction*>& actions, int rows, QWidget* parent)
    : QWidget(parent), m_rows(std::max(rows, 1)) {
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    for (int i = 0; i < actions.size(); ++i) {
        QAction* action = actions.at(i);
        auto* button = new QToolButton(this);
        button->setDefaultAction(action);
        button->setAutoRaise(true);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        button->setStyleSheet(QStringLiteral("QToolButton { text-align: left; padding: 1px 6px; }"
                                             "QToolButton:checked { font-weight: bold; }"));
        button->setAccessibleName(action->text());
        button->installEventFilter(this);
        layout->addWidget(button, i % m_rows, i / m_rows);
        m_buttons.append(button);
        connect(action, &QAction::triggered, this, [this, action] { emit Triggered(action); });
    }
    setFocusProxy(m_buttons.isEmpty() ? nullptr : m_buttons.first());
}

QToolButton* CMenuGrid::ButtonFor(const QAction* action) const {
    for (QToolButton* button : m_buttons) {
        if (button->defaultAction() == action) {
            return button;
        }
    }
    return nullptr;
}

bool CMenuGrid::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    const int index = static_cast<int>(m_buttons.indexOf(qobject_cast<QToolButton*>(watched)));
    if (index < 0) {
        return false;
    }
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Up:
        MoveFocus(index, -1, 0);
        return true;
    case Qt::Key_Down:
        MoveFocus(index, 1, 0);
        return true;
    case Qt::Key_Left:
        MoveFocus(index, 0, -1);
        return true;
    case Qt::Key_Right:
        MoveFocus(index, 0, 1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_buttons.at(index)->isEnabled()) {
            m_buttons.at(index)->defaultAction()->trigger();
        }
        return true;
    default:
        return false;
    }
}

void CMenuGrid::MoveFocus(int from, int rowStep, int columnStep) {
    // Skip disabled entries in the direction of travel; stay put at the edge.
    const int count = static_cast<int>(m_buttons.size());
    int index = from;
    for (;;) {
        int row = index % m_rows + rowStep;
        int column = index / m_rows + columnStep;
        if (row < 0 || row >= m_rows || column < 0) {
            return;
        }
        index = column * m_rows + row;
        if (index >= count) {
            return;
        }
        if (m_buttons.at(index)->isEnabled()) {
            m_buttons.at(index)->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}
