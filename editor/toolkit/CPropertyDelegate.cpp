#include "CPropertyDelegate.h"

#include "editor/toolkit/CPropertyColours.h"
#include "editor/toolkit/CPropertyModel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>

namespace {

constexpr char kEdited[] = "kestrelEdited";
constexpr char kFilling[] = "kestrelFilling";

const CPropertyModel* PropertyModel(const QModelIndex& index) {
    return qobject_cast<const CPropertyModel*>(index.model());
}

} // namespace

void CPropertyDelegate::MarkEdited(QWidget* editor) const {
    if (editor->property(kFilling).toBool()) {
        return;
    }
    editor->setProperty(kEdited, true);
    // Live: pictures and other views follow the value before the editor closes.
    emit const_cast<CPropertyDelegate*>(this)->commitData(editor);
}

QWidget* CPropertyDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                         const QModelIndex& index) const {
    const CPropertyModel* model = PropertyModel(index);
    if (!model) {
        return nullptr;
    }
    const int row = index.row();
    QWidget* editor = nullptr;
    switch (model->KindOf(row)) {
    case CPropertyModel::Kind::Heading:
        return nullptr;
    case CPropertyModel::Kind::Number: {
        auto* spin = new QSpinBox(parent);
        spin->setRange(model->Minimum(row), model->Maximum(row));
        connect(spin, &QSpinBox::valueChanged, this, [this, spin] { MarkEdited(spin); });
        editor = spin;
        break;
    }
    case CPropertyModel::Kind::Bool:
    case CPropertyModel::Kind::Choice: {
        auto* combo = new QComboBox(parent);
        if (model->KindOf(row) == CPropertyModel::Kind::Bool) {
            combo->addItem(model->Text(QStringLiteral("Caption_False")));
            combo->addItem(model->Text(QStringLiteral("Caption_True")));
        } else {
            combo->addItems(model->ChoiceTexts(row));
        }
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this, combo] { MarkEdited(combo); });
        editor = combo;
        break;
    }
    case CPropertyModel::Kind::Colour: {
        const CPropertyColours* colours = model->Colours();
        if (!colours) {
            return nullptr;
        }
        editor = colours->CreateEditor(parent);
        colours->OnEditorPicked(editor, [this, editor] { MarkEdited(editor); });
        break;
    }
    case CPropertyModel::Kind::Text: {
        auto* line = new QLineEdit(parent);
        connect(line, &QLineEdit::textEdited, this, [this, line] { MarkEdited(line); });
        editor = line;
        break;
    }
    }
    editor->setAccessibleName(model->Text(model->KeyOf(row)));
    editor->setAutoFillBackground(true);
    return editor;
}

void CPropertyDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const CPropertyModel* model = PropertyModel(index);
    if (!model) {
        return;
    }
    const QVariant value = model->Value(index.row());
    editor->setProperty(kFilling, true);
    if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
        spin->setValue(value.toInt());
    } else if (auto* combo = qobject_cast<QComboBox*>(editor);
               combo && model->KindOf(index.row()) != CPropertyModel::Kind::Colour) {
        combo->setCurrentIndex(value.toInt());
    } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setText(value.toString());
    } else if (model->Colours()) {
        model->Colours()->SetEditorValue(editor, value.toInt());
    }
    editor->setProperty(kFilling, false);
}

void CPropertyDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                     const QModelIndex& index) const {
    const CPropertyModel* properties = PropertyModel(index);
    if (!properties || !editor->property(kEdited).toBool()) {
        return;
    }
    QVariant value;
    if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
        spin->interpretText();
        value = spin->value();
    } else if (auto* combo = qobject_cast<QComboBox*>(editor);
               combo && properties->KindOf(index.row()) != CPropertyModel::Kind::Colour) {
        value = combo->currentIndex();
    } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        value = line->text();
    } else if (properties->Colours()) {
        value = properties->Colours()->EditorValue(editor);
    }
    model->setData(index, value, Qt::EditRole);
}
