#pragma once

#include "editor/model/CPlayerField.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class CGameDatabase;

// Rows of players by id with any of the player fields as columns. Rows are given by the
// window's filter; sorting keeps to the core's order (numbers by value, texts without regard to
// letter case, ties by id). Cells are read from the records at every call.
class CAllPlayersModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using TextLookup = std::function<QString(const char* key)>;

    CAllPlayersModel(CGameDatabase& database, TextLookup text, QObject* parent = nullptr);

    void SetColumns(std::vector<const CPlayerField*> columns);
    const std::vector<const CPlayerField*>& Columns() const { return m_columns; }
    // Shows these players, in the current sort order. Rows that stay keep their selection when
    // the others only come or go.
    void SetPlayers(std::vector<int32_t> playerIds);
    const std::vector<int32_t>& Players() const { return m_ids; }
    int32_t PlayerAt(int row) const;
    // Team names and every cell are read again (names, values).
    void Reread();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

    // The rows as tab-separated text with a header line, for spreadsheets.
    QString TabSeparated(const std::vector<int>& rows) const;
    QString CellText(int row, int column) const;
    const CGameDatabase& Database() const { return m_database; }

private:
    void Sort(std::vector<int32_t>& ids) const;
    // The same players in another order; selected rows follow their players.
    void Reorder(std::vector<int32_t> ids);
    QString TeamName(int32_t teamId) const;

    CGameDatabase& m_database;
    TextLookup m_text;
    std::vector<const CPlayerField*> m_columns;
    std::vector<int32_t> m_ids;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    std::vector<QString> m_positionNames;
    mutable QHash<int32_t, QString> m_teamNames;
    // Scratch for text cells, so a cell costs no more than the string it returns.
    mutable std::string m_buffer;
};
