#include "CPropertyColours.h"

#include <QComboBox>
#include <QPainter>
#include <QPixmap>

#include <functional>

namespace {

QIcon Swatch(const QColor& colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.setBrush(colour);
    painter.drawRect(1, 1, 13, 13);
    return QIcon(pixmap);
}

} // namespace

CPropertyColours::CPropertyColours(QList<SColour> colours) : m_colours(std::move(colours)) {}

QColor CPropertyColours::Colour(int value) const {
    for (const SColour& entry : m_colours) {
        if (entry.value == value) {
            return entry.colour;
        }
    }
    return {};
}

QString CPropertyColours::Name(int value) const {
    for (const SColour& entry : m_colours) {
        if (entry.value == value) {
            return entry.name;
        }
    }
    return {};
}

QWidget* CPropertyColours::CreateEditor(QWidget* parent) const {
    auto* combo = new QComboBox(parent);
    for (const SColour& entry : m_colours) {
        combo->addItem(Swatch(entry.colour), entry.name, entry.value);
    }
    return combo;
}

void CPropertyColours::SetEditorValue(QWidget* editor, int value) const {
    auto* combo = static_cast<QComboBox*>(editor);
    combo->setCurrentIndex(combo->findData(value));
}

int CPropertyColours::EditorValue(QWidget* editor) const {
    return static_cast<QComboBox*>(editor)->currentData().toInt();
}

void CPropertyColours::OnEditorPicked(QWidget* editor, const std::function<void()>& picked) const {
    QObject::connect(static_cast<QComboBox*>(editor), &QComboBox::activated, editor,
                     [picked](int) { picked(); });
}
