#include "CBulkEditDialog.h"

#include "editor/model/CGameDatabase.h"
#include "editor/model/CPlayerField.h"
#include "editor/toolkit/CCountText.h"
#include "editor/windows/CFieldCaptions.h"
#include "editor/windows/CFrameHost.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Operators in the order of the operation list.
constexpr std::array<const char*, 4> kOperators = {"=", "+=", "-=", "*="};
constexpr std::array<const char*, 4> kOperationKeys = {
    "Caption_BulkSet", "Caption_BulkAdd", "Caption_BulkSubtract", "Caption_BulkMultiply"};

} // namespace

CBulkEditDialog::CBulkEditDialog(CFrameHost& host, std::vector<int32_t> playerIds, QWidget* parent)
    : QDialog(parent), m_host(host), m_database(*host.Database()), m_ids(std::move(playerIds)) {
    setObjectName(QStringLiteral("BulkEditDialog"));
    setWindowTitle(host.Text("Caption_BulkEdit"));
    auto* layout = new QVBoxLayout(this);
    auto* chosen = new QLabel(
        CCountText::Of(host.Lookup(), "Caption_BulkChosen", static_cast<qint64>(m_ids.size())),
        this);
    layout->addWidget(chosen);

    m_grid = new QGridLayout();
    const std::array<const char*, 3> headings = {"Caption_Field", "Caption_Operation",
                                                 "Caption_Value"};
    for (int c = 0; c < 3; ++c)
        m_grid->addWidget(new QLabel(host.Text(headings[c]), this), 0, c);
    layout->addLayout(m_grid);

    m_add = new QPushButton(host.Text("Caption_AddChange"), this);
    m_add->setObjectName(QStringLiteral("AddChange"));
    connect(m_add, &QPushButton::clicked, this, [this] { AddRow(); });
    auto* addRow = new QHBoxLayout();
    addRow->addWidget(m_add);
    addRow->addStretch();
    layout->addLayout(addRow);

    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("BulkPreview"));
    m_preview->setWordWrap(true);
    m_preview->setAccessibleName(host.Text("Caption_BulkPreviewName"));
    layout->addWidget(m_preview);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(host.Text("Caption_OK"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(host.Text("Caption_Cancel"));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(m_buttons);
    AddRow();
    setMinimumWidth(460);
}

void CBulkEditDialog::AddRow() {
    SRow row;
    row.field = new QComboBox(this);
    const CFieldCaptions::Lookup text = [this](const char* key) { return m_host.Text(key); };
    std::vector<std::pair<QString, const CPlayerField*>> fields;
    for (const CPlayerField& field : CPlayerField::All())
        if (field.IsColumn())
            fields.emplace_back(CFieldCaptions::Of(field, text), &field);
    std::stable_sort(fields.begin(), fields.end(), [](const auto& a, const auto& b) {
        return QString::localeAwareCompare(a.first, b.first) < 0;
    });
    // Shown by name; the change itself is written with the field's filter name.
    for (const auto& [caption, field] : fields) {
        row.field->addItem(caption, QString::fromLatin1(field->Name()));
        row.field->setItemData(row.field->count() - 1, CFieldCaptions::WithFilterName(*field, text),
                               Qt::ToolTipRole);
    }
    row.field->setAccessibleName(m_host.Text("Caption_Field"));
    row.operation = new QComboBox(this);
    for (const char* key : kOperationKeys)
        row.operation->addItem(m_host.Text(key));
    row.operation->setAccessibleName(m_host.Text("Caption_Operation"));
    row.value = new QLineEdit(this);
    row.value->setAccessibleName(m_host.Text("Caption_Value"));
    row.remove = new QPushButton(m_host.Text("Caption_RemoveChange"), this);
    row.remove->setAccessibleName(m_host.Text("Caption_RemoveChange"));
    const int line = static_cast<int>(m_rows.size()) + 1;
    m_grid->addWidget(row.field, line, 0);
    m_grid->addWidget(row.operation, line, 1);
    m_grid->addWidget(row.value, line, 2);
    m_grid->addWidget(row.remove, line, 3);
    connect(row.field, &QComboBox::currentIndexChanged, this, [this] { UpdatePreview(); });
    connect(row.operation, &QComboBox::currentIndexChanged, this, [this] { UpdatePreview(); });
    connect(row.value, &QLineEdit::textChanged, this, [this] { UpdatePreview(); });
    QPushButton* remove = row.remove;
    connect(remove, &QPushButton::clicked, this, [this, remove] { RemoveRow(remove); });
    m_rows.push_back(row);
    row.value->setFocus();
    UpdatePreview();
}

void CBulkEditDialog::RemoveRow(QPushButton* button) {
    auto it = std::find_if(m_rows.begin(), m_rows.end(),
                           [button](const SRow& row) { return row.remove == button; });
    if (it == m_rows.end() || m_rows.size() == 1)
        return;
    for (QWidget* widget : {static_cast<QWidget*>(it->field), static_cast<QWidget*>(it->operation),
                            static_cast<QWidget*>(it->value), static_cast<QWidget*>(it->remove)})
        widget->deleteLater();
    m_rows.erase(it);
    UpdatePreview();
}

QStringList CBulkEditDialog::ChangeTexts() const {
    QStringList texts;
    for (const SRow& row : m_rows)
        texts << row.field->currentData().toString() +
                     QString::fromLatin1(kOperators[static_cast<size_t>(
                         std::max(0, row.operation->currentIndex()))]) +
                     row.value->text().trimmed();
    return texts;
}

QStringList CBulkEditDialog::ShownChangeTexts() const {
    QStringList texts;
    for (const SRow& row : m_rows)
        texts << QStringLiteral("%1 %2 %3")
                     .arg(row.field->currentText(),
                          QString::fromLatin1(kOperators[static_cast<size_t>(
                              std::max(0, row.operation->currentIndex()))]),
                          row.value->text().trimmed());
    return texts;
}

QString CBulkEditDialog::ProblemText(const SQueryError& error, int operation) const {
    using P = SQueryError::EProblem;
    const QString op = QString::fromLatin1(kOperators[static_cast<size_t>(std::max(0, operation))]);
    switch (error.problem) {
    case P::NumberExpected:
        return m_host.Text("Message_BulkNumberExpected").arg(op);
    case P::WholeNumberExpected:
        return m_host.Text("Message_BulkWholeNumberExpected").arg(op);
    case P::NumberTooLarge:
        return m_host.Text("Message_BulkNumberTooLarge").arg(op);
    case P::EndExpected:
    case P::Other:
        break;
    }
    return m_host.Text("Message_BulkOnlyNumber").arg(op);
}

void CBulkEditDialog::UpdatePreview() {
    m_plan = {};
    std::vector<CBulkChange> changes;
    QString problem;
    const QStringList texts = ChangeTexts();
    for (qsizetype i = 0; i < texts.size(); ++i) {
        SQueryError error;
        const std::string utf8 = texts[i].toStdString();
        auto change = CBulkChange::Parse(utf8, error);
        if (!change) {
            const SRow& row = m_rows[static_cast<size_t>(i)];
            problem = QStringLiteral("%1: %2").arg(
                row.field->currentText(), ProblemText(error, row.operation->currentIndex()));
            break;
        }
        changes.push_back(*change);
    }
    for (const SRow& row : m_rows)
        row.remove->setEnabled(m_rows.size() > 1);
    if (!problem.isEmpty()) {
        m_preview->setText(problem);
        m_buttons->button(QDialogButtonBox::Ok)->setEnabled(false);
        return;
    }
    m_plan = SBulkPlan::Make(m_database, m_ids, changes);
    const TextLookup text = m_host.Lookup();
    m_preview->setText(m_host.Text("Caption_BulkPreview")
                           .arg(CCountText::Of(text, "Caption_ValueCount",
                                               static_cast<qint64>(m_plan.changes.size())),
                                CCountText::Of(text, "Caption_PlayerCount",
                                               static_cast<qint64>(m_plan.playersChanged)),
                                QString::number(m_plan.valuesClamped)));
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!m_plan.changes.empty());
}
