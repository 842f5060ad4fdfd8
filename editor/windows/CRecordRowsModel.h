#pragma once

#include "editor/toolkit/CRowDiff.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <optional>
#include <vector>

// The rows of a record list, one a record, each a TRow whose `id` is the record's id; the
// columns and what they show are the list's own. TRow compares equal when it shows the same.
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

    const std::vector<TRow>& Rows() const { return m_rows; }
    // Null for an index that is not one of the rows.
    const TRow* RowAt(const QModelIndex& index) const {
        return index.isValid() && index.row() < static_cast<int>(m_rows.size())
                   ? &m_rows[static_cast<std::size_t>(index.row())]
                   : nullptr;
    }
    // A list of other records: the views see the old rows go and the new ones come as one reset.
    void SetRows(std::vector<TRow> rows) {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }
    // The same list after a change: the views see only the rows that come, go or show something
    // else (a reset only when most rows change or the rows that stay change their order), so
    // their selection and scroll position stay.
    void UpdateRows(std::vector<TRow> rows) {
        std::vector<int32_t> before;
        std::vector<int32_t> after;
        before.reserve(m_rows.size());
        after.reserve(rows.size());
        for (const TRow& row : m_rows) {
            before.push_back(row.id);
        }
        for (const TRow& row : rows) {
            after.push_back(row.id);
        }
        const std::optional<CRowDiff> diff = CRowDiff::Between(before, after);
        if (!diff) {
            SetRows(std::move(rows));
            return;
        }
        for (const CRowDiff::SRun& run : diff->Removals()) {
            beginRemoveRows({}, run.first, run.first + run.count - 1);
            m_rows.erase(m_rows.begin() + run.first, m_rows.begin() + run.first + run.count);
            endRemoveRows();
        }
        for (const CRowDiff::SRun& run : diff->Inserts()) {
            beginInsertRows({}, run.first, run.first + run.count - 1);
            m_rows.insert(m_rows.begin() + run.first, rows.begin() + run.first,
                          rows.begin() + run.first + run.count);
            endInsertRows();
        }
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            if (!(m_rows[i] == rows[i])) {
                m_rows[i] = std::move(rows[i]);
                RowChanged(static_cast<int>(i));
            }
        }
    }
    // The row shows something else (a picture it reads when drawn).
    void RowChanged(int row) { emit dataChanged(index(row, 0), index(row, m_columns - 1)); }

private:
    int m_columns;
    std::vector<TRow> m_rows;
};
