#pragma once

#include <QAbstractTableModel>

#include <cstdint>
#include <vector>

// The rows of a record list, one a record, each a TRow whose `id` is the record's id; the
// columns and what they show are the list's own.
template <typename TRow> class CRecordRowsModel : public QAbstractTableModel {
public:
    // -1 for a row that is not there.
    int32_t IdAt(int row) const {
        return row >= 0 && row < static_cast<int>(m_rows.size()) ? m_rows[row].id : -1;
    }
    // -1 when the record has no row.
    int RowOf(int32_t id) const {
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            if (m_rows[i].id == id) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : m_columns;
    }

protected:
    CRecordRowsModel(int columns, QObject* parent)
        : QAbstractTableModel(parent), m_columns(columns) {}

    // Null for an index that is not one of the rows.
    const TRow* RowAt(const QModelIndex& index) const {
        return index.isValid() && index.row() < static_cast<int>(m_rows.size())
                   ? &m_rows[static_cast<std::size_t>(index.row())]
                   : nullptr;
    }
    // The views see the old rows go and the new ones come as one reset.
    void SetRows(std::vector<TRow> rows) {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }

private:
    int m_columns;
    std::vector<TRow> m_rows;
};
