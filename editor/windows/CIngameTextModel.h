#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <cstddef>
#include <set>
#include <vector>

class CIngameTextDb;

// The non-empty texts of an in-game text database, one row per entry, sorted by text and
// editable in place. Each row edits its own entry, also when an earlier entry has the same id;
// such rows are greyed, since the game reads only the first text of an id.
class CIngameTextModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kTextIdRole = Qt::UserRole + 1;
    static constexpr int kEntryIndexRole = Qt::UserRole + 2;
    static constexpr int kShadowedRole = Qt::UserRole + 3;

    // header: the column's caption; shadowedTip: the tool tip of a greyed row, "%d" for the id.
    CIngameTextModel(CIngameTextDb& texts, QString header, QString shadowedTip,
                     QObject* parent = nullptr);

    // Lists the entries again; texts emptied since the last fill drop out.
    void Fill();
    bool IsModified() const { return m_modified; }
    // Unmodified forgets which entries were edited.
    void SetModified(bool modified);
    // The entries edited since the texts were last read or saved.
    const std::set<std::size_t>& EditedEntries() const { return m_edited; }
    // The row of an entry; -1 when it is not listed.
    int RowOfEntry(std::size_t entry) const;
    // The first row from `from` downwards, round from the top, whose text contains `text` in
    // any letter case of any script; -1 when none does.
    int FindRow(const QString& text, int from) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Refuses a text the file cannot hold (see TextTooLong); an unchanged text changes nothing.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    void ModifiedChanged(bool modified);
    // An edit was refused: its UTF-8 form is longer than a stored string holds.
    void TextTooLong(const QString& text);

private:
    struct SRow {
        std::size_t entry = 0;
        bool shadowed = false;
        // The entry's bytes as shown; compared with edits so an untouched text keeps its bytes.
        QString text;
    };

    CIngameTextDb& m_texts;
    QString m_header;
    QString m_shadowedTip;
    std::vector<SRow> m_rows;
    std::set<std::size_t> m_edited;
    bool m_modified = false;
};
