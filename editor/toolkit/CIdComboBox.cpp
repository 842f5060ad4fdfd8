#include "CIdComboBox.h"

CIdComboBox::CIdComboBox(QWidget* parent) : QComboBox(parent) {}

void CIdComboBox::AddEntry(const QString& text, int id) {
    addItem(text, id);
}

void CIdComboBox::SetFilledId(int id) {
    m_filledIndex = findData(id);
    setCurrentIndex(m_filledIndex);
}

std::optional<int> CIdComboBox::SelectedId() const {
    if (currentIndex() < 0) {
        return std::nullopt;
    }
    return currentData().toInt();
}

std::optional<int> CIdComboBox::ChangedId() const {
    if (currentIndex() == m_filledIndex) {
        return std::nullopt;
    }
    return SelectedId();
}
