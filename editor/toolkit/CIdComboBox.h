#pragma once

#include <QComboBox>

#include <optional>

// A drop-down of records named by id. It remembers the id it was filled with, so a form
// writes the field only when the user chose another entry: an id the list lacks shows as
// no entry and stays as stored.
class CIdComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit CIdComboBox(QWidget* parent = nullptr);

    void AddEntry(const QString& text, int id);
    // Selects the entry of that id (none when absent) and takes it as the unchanged state.
    void SetFilledId(int id);
    std::optional<int> SelectedId() const;
    // The id the user chose, or nothing while the selection is the one filled.
    std::optional<int> ChangedId() const;

private:
    int m_filledIndex = -1;
};
