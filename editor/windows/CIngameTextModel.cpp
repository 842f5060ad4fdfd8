#include "CIngameTextModel.h"

#include "editor/database/CDbFileReader.h"
#include "editor/database/CIngameTextDb.h"

#include <QCollator>
#include <QPalette>

#include <algorithm>

CIngameTextModel::CIngameTextModel(CIngameTextDb& texts, QString header, QString shadowedTip,
                                   QObject* parent)
    : QAbstractTableModel(parent), m_texts(texts), m_header(std::move(header)),
      m_shadowedTip(std::move(shadowedTip)) {}

void CIngameTextModel::Fill() {
    beginResetModel();
    m_rows.clear();
    const auto& entries = m_texts.Entries();
    m_rows.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i].text.empty()) {
            m_rows.push_back({i, !m_texts.IsFirstOfId(i), QString::fromStdString(entries[i].text)});
        }
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // Equal texts keep the file's order, so the entry the game reads comes first.
    std::stable_sort(m_rows.begin(), m_rows.end(), [&collator](const SRow& a, const SRow& b) {
        return collator.compare(a.text, b.text) < 0;
    });
    endResetModel();
}

void CIngameTextModel::SetModified(bool modified) {
    if (!modified) {
        m_edited.clear();
    }
    if (m_modified != modified) {
        m_modified = modified;
        emit ModifiedChanged(modified);
    }
}

int CIngameTextModel::FindRow(const QString& text, int from) const {
    const int rows = rowCount();
    if (text.isEmpty() || rows == 0) {
        return -1;
    }
    from = std::max(from, 0) % rows;
    for (int step = 0; step < rows; ++step) {
        const int row = (from + step) % rows;
        if (m_rows[static_cast<std::size_t>(row)].text.contains(text, Qt::CaseInsensitive)) {
            return row;
        }
    }
    return -1;
}

int CIngameTextModel::RowOfEntry(std::size_t entry) const {
    const auto found = std::find_if(m_rows.begin(), m_rows.end(),
                                    [entry](const SRow& row) { return row.entry == entry; });
    return found == m_rows.end() ? -1 : static_cast<int>(found - m_rows.begin());
}

int CIngameTextModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CIngameTextModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1;
}

QVariant CIngameTextModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const SRow& row = m_rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::AccessibleTextRole:
        return row.text;
    case Qt::ForegroundRole:
        return row.shadowed ? QVariant(QPalette().color(QPalette::Disabled, QPalette::Text))
                            : QVariant();
    case Qt::ToolTipRole:
        return row.shadowed
                   ? QVariant(QString(m_shadowedTip)
                                  .replace(QStringLiteral("%d"),
                                           QString::number(m_texts.Entries()[row.entry].textId)))
                   : QVariant();
    case kTextIdRole:
        return static_cast<qulonglong>(m_texts.Entries()[row.entry].textId);
    case kEntryIndexRole:
        return static_cast<qulonglong>(row.entry);
    case kShadowedRole:
        return row.shadowed;
    default:
        return {};
    }
}

QVariant CIngameTextModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section == 0) {
        return m_header;
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags CIngameTextModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemNeverHasChildren;
}

bool CIngameTextModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount()) {
        return false;
    }
    SRow& row = m_rows[static_cast<std::size_t>(index.row())];
    const QString text = value.toString();
    if (text == row.text) {
        return false;
    }
    const QByteArray utf8 = text.toUtf8();
    if (static_cast<std::size_t>(utf8.size()) > CDbFileReader::kMaxStringBytes) {
        emit TextTooLong(text);
        return false;
    }
    // This row's own entry, whatever other entries share its id.
    m_texts.SetEntryText(row.entry, utf8.toStdString());
    m_edited.insert(row.entry);
    row.text = text;
    emit dataChanged(index, index);
    SetModified(true);
    return true;
}
