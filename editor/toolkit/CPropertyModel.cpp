#include "CPropertyModel.h"

#include "editor/toolkit/CPropertyColours.h"

#include <QFont>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

CPropertyModel::CPropertyModel(QObject* parent) : QAbstractTableModel(parent) {}

void CPropertyModel::SetTextLookup(TextLookup lookup) {
    m_lookup = std::move(lookup);
    if (!m_rows.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, 1));
    }
}

void CPropertyModel::SetColours(std::shared_ptr<const CPropertyColours> colours) {
    m_colours = std::move(colours);
}

QString CPropertyModel::Text(const QString& key) const {
    return m_lookup ? m_lookup(key) : key;
}

int CPropertyModel::Append(SRow row) {
    const int at = rowCount();
    beginInsertRows({}, at, at);
    m_rows.push_back(std::move(row));
    endInsertRows();
    return at;
}

int CPropertyModel::AddHeading(const QString& key) {
    return Append({Kind::Heading, key, 0, 0, {}, {}, {}});
}

int CPropertyModel::AddNumber(const QString& key, int minimum, int maximum) {
    return Append({Kind::Number, key, minimum, maximum, {}, minimum, minimum});
}

int CPropertyModel::AddBool(const QString& key) {
    return Append({Kind::Bool, key, 0, 1, {}, 0, 0});
}

int CPropertyModel::AddChoice(const QString& key, const QStringList& choiceKeys) {
    return Append({Kind::Choice, key, 0, static_cast<int>(choiceKeys.size()) - 1, choiceKeys, -1,
                   -1});
}

int CPropertyModel::AddColour(const QString& key) {
    return Append({Kind::Colour, key, 0, 0, {}, 0, 0});
}

int CPropertyModel::AddText(const QString& key) {
    return Append({Kind::Text, key, 0, 0, {}, QString(), QString()});
}

QStringList CPropertyModel::ChoiceTexts(int row) const {
    QStringList texts;
    for (const QString& key : m_rows[static_cast<size_t>(row)].choices) {
        texts << Text(key);
    }
    return texts;
}

int CPropertyModel::RowOfKey(const QString& key) const {
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].key == key) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void CPropertyModel::SetValue(int row, const QVariant& value) {
    SRow& entry = m_rows[static_cast<size_t>(row)];
    entry.value = value;
    entry.filled = value;
    emit dataChanged(index(row, 1), index(row, 1));
}

bool CPropertyModel::IsChanged(int row) const {
    const SRow& entry = m_rows[static_cast<size_t>(row)];
    return entry.value != entry.filled;
}

int CPropertyModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CPropertyModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QString CPropertyModel::DisplayText(const SRow& row) const {
    switch (row.kind) {
    case Kind::Heading:
        return {};
    case Kind::Number:
        return QString::number(row.value.toInt());
    case Kind::Bool:
        return Text(row.value.toInt() ? QStringLiteral("Caption_True")
                                      : QStringLiteral("Caption_False"));
    case Kind::Choice: {
        const int choice = row.value.toInt();
        return choice >= 0 && choice < row.choices.size() ? Text(row.choices[choice]) : QString();
    }
    case Kind::Colour:
        return m_colours ? m_colours->Name(row.value.toInt()) : QString::number(row.value.toInt());
    case Kind::Text:
        return row.value.toString();
    }
    return {};
}

QVariant CPropertyModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const SRow& row = m_rows[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return index.column() == 0 ? Text(row.key) : DisplayText(row);
    case Qt::EditRole:
        return index.column() == 1 ? row.value : QVariant(Text(row.key));
    case Qt::ToolTipRole:
        return Text(row.key + QStringLiteral("_Help"));
    case HelpRole:
        return row.key + QStringLiteral("_Help");
    case KindRole:
        return static_cast<int>(row.kind);
    case Qt::FontRole:
        if (row.kind == Kind::Heading) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::DecorationRole:
        if (index.column() == 1 && row.kind == Kind::Colour && m_colours) {
            const QColor colour = m_colours->Colour(row.value.toInt());
            if (colour.isValid()) {
                QPixmap swatch(12, 12);
                swatch.fill(colour);
                QPainter(&swatch).drawRect(0, 0, 11, 11);
                return QIcon(swatch);
            }
        }
        return {};
    default:
        return {};
    }
}

bool CPropertyModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || index.column() != 1 || index.row() >= rowCount()) {
        return false;
    }
    SRow& row = m_rows[static_cast<size_t>(index.row())];
    if (row.kind == Kind::Heading) {
        return false;
    }
    QVariant accepted = value;
    if (row.kind == Kind::Number || row.kind == Kind::Bool || row.kind == Kind::Choice) {
        bool ok = false;
        const int number = value.toInt(&ok);
        if (!ok || number < row.minimum || number > row.maximum) {
            return false;
        }
        accepted = number;
    }
    if (accepted == row.value) {
        return true;
    }
    row.value = accepted;
    emit dataChanged(index, index);
    emit ValueEdited(index.row());
    return true;
}

Qt::ItemFlags CPropertyModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 1 && KindOf(index.row()) != Kind::Heading) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}
