#pragma once

#include "editor/windows/CFieldCaptions.h"

#include <QDialog>

class QTableWidget;

// The "Filter fields" help: every field by its shown name beside the name the filter language
// uses. Enter or a double click hands the chosen name back, to be typed into the filter.
class CFilterFieldsDialog : public QDialog {
    Q_OBJECT
public:
    CFilterFieldsDialog(const CFieldCaptions::Lookup& text, QWidget* parent = nullptr);

    QTableWidget* Table() const { return m_table; }

signals:
    void FieldChosen(const QString& filterName);

private:
    void ChooseCurrent();

    QTableWidget* m_table;
};
