#pragma once

#include "editor/toolkit/TextLookup.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

class CPropertyColours;

// The rows of a property list: headings and items, each named by a localisation key, with the
// item's value in the second column. The model remembers the value each item was last set to,
// so a page can write back only what the user changed.
class CPropertyModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Kind { Heading, Number, Bool, Choice, Colour, Text };
    // The help key of a row, for the text shown below the list.
    static constexpr int HelpRole = Qt::UserRole + 1;
    static constexpr int KindRole = Qt::UserRole + 2;

    explicit CPropertyModel(QObject* parent = nullptr);

    void SetTextLookup(TextLookup lookup);
    void SetColours(std::shared_ptr<const CPropertyColours> colours);
    const CPropertyColours* Colours() const { return m_colours.get(); }

    // Each returns the row. Help keys are the item key with "_Help" appended.
    int AddHeading(const QString& key);
    int AddNumber(const QString& key, int minimum, int maximum);
    // Shows "Caption_True" or "Caption_False"; the value is 1 or 0.
    int AddBool(const QString& key);
    // The value is the index of the choice; an index outside the list shows nothing.
    int AddChoice(const QString& key, const QStringList& choiceKeys);
    int AddColour(const QString& key);
    int AddText(const QString& key);

    Kind KindOf(int row) const { return m_rows[static_cast<size_t>(row)].kind; }
    QString KeyOf(int row) const { return m_rows[static_cast<size_t>(row)].key; }
    int Minimum(int row) const { return m_rows[static_cast<size_t>(row)].minimum; }
    int Maximum(int row) const { return m_rows[static_cast<size_t>(row)].maximum; }
    QStringList ChoiceTexts(int row) const;
    QString Text(const QString& key) const;
    // -1 when no item has this key.
    int RowOfKey(const QString& key) const;

    // Fill: shows the value and takes it as the unchanged state.
    void SetValue(int row, const QVariant& value);
    QVariant Value(int row) const { return m_rows[static_cast<size_t>(row)].value; }
    // The user gave the item a value other than the one it was filled with.
    bool IsChanged(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // The user changed an item (not a fill).
    void ValueEdited(int row);

private:
    struct SRow {
        Kind kind = Kind::Heading;
        QString key;
        int minimum = 0;
        int maximum = 0;
        QStringList choices;
        QVariant value;
        QVariant filled;
    };

    int Append(SRow row);
    QString DisplayText(const SRow& row) const;

    std::vector<SRow> m_rows;
    TextLookup m_lookup;
    std::shared_ptr<const CPropertyColours> m_colours;
};
