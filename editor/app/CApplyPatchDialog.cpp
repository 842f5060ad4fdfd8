#include "CApplyPatchDialog.h"

#include "editor/model/CDiffFields.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CPatch.h"
#include "editor/windows/CFieldCaptions.h"
#include "editor/windows/CFrameHost.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString Text(const std::string& value) {
    return QString::fromStdString(value);
}

} // namespace

CApplyPatchDialog::CApplyPatchDialog(CFrameHost& host, const CPatch& patch,
                                     const CPatchApply::SResult& preview, const CGameDatabase& db,
                                     QWidget* parent)
    : QDialog(parent), m_host(host), m_db(db) {
    setObjectName(QStringLiteral("applyPatchDialog"));
    setWindowTitle(host.Text("Caption_ApplyPatch"));
    auto* layout = new QVBoxLayout(this);

    if (!patch.header.message.empty()) {
        auto* description =
            new QLabel(host.Text("Caption_PatchDescriptionShown").arg(Text(patch.header.message)), this);
        description->setObjectName(QStringLiteral("patchDescriptionShown"));
        description->setWordWrap(true);
        description->setTextFormat(Qt::PlainText);
        layout->addWidget(description);
    }
    QStringList renumbered;
    for (const CPatchApply::SRenumber& r : preview.renumbered)
        renumbered << host.Text("Caption_PatchRenumbered")
                          .arg(KindText(r.kind))
                          .arg(r.from)
                          .arg(r.to);
    if (!renumbered.isEmpty()) {
        auto* notes = new QLabel(renumbered.join(u'\n'), this);
        notes->setObjectName(QStringLiteral("patchRenumbered"));
        notes->setTextFormat(Qt::PlainText);
        layout->addWidget(notes);
    }

    int changedFields = 0;
    for (const SRecordChange& change : preview.changes)
        changedFields += change.type == SRecordChange::EType::Changed
                             ? static_cast<int>(change.fields.size())
                             : 1;
    auto* changesLabel = new QLabel(host.Text("Caption_PatchChanges").arg(changedFields), this);
    m_changes = MakeTable("patchChanges",
                          {host.Text("Caption_PatchKind"), host.Text("Caption_PatchRecord"),
                           host.Text("Caption_PatchField"), host.Text("Caption_PatchCurrent"),
                           host.Text("Caption_PatchNew")});
    m_changes->setAccessibleName(host.Text("Caption_PatchChangesList"));
    changesLabel->setBuddy(m_changes);
    m_changes->setRowCount(changedFields);
    int row = 0;
    const auto cells = [](QTableWidget* table, int at, const QStringList& values) {
        for (int column = 0; column < values.size(); ++column) {
            auto* item = new QTableWidgetItem(values[column]);
            item->setToolTip(values[column]);
            table->setItem(at, column, item);
        }
    };
    for (const SRecordChange& change : preview.changes) {
        const QString kind = KindText(change.kind);
        const QString record = RecordText(change.kind, change.id, change.sub);
        if (change.type != SRecordChange::EType::Changed) {
            cells(m_changes, row++,
                  {kind, record,
                   host.Text(change.type == SRecordChange::EType::Added ? "Caption_PatchRecordAdded"
                                                                        : "Caption_PatchRecordRemoved"),
                   QString(), QString()});
            continue;
        }
        for (const SFieldChange& field : change.fields)
            cells(m_changes, row++,
                  {kind, record, FieldText(change.kind, field.field), Text(field.oldValue),
                   Text(field.newValue)});
    }
    m_changes->resizeColumnsToContents();
    layout->addWidget(changesLabel);
    layout->addWidget(m_changes, 2);

    const int conflicts = static_cast<int>(preview.conflicts.size());
    auto* conflictsLabel = new QLabel(host.Text("Caption_PatchConflicts").arg(conflicts), this);
    m_conflicts = MakeTable("patchConflicts",
                            {host.Text("Caption_PatchKind"), host.Text("Caption_PatchRecord"),
                             host.Text("Caption_PatchField"), host.Text("Caption_PatchBaseValue"),
                             host.Text("Caption_PatchOurs"), host.Text("Caption_PatchTheirs"),
                             host.Text("Caption_PatchKeep")});
    m_conflicts->setAccessibleName(host.Text("Caption_PatchConflictsList"));
    conflictsLabel->setBuddy(m_conflicts);
    m_conflicts->setRowCount(conflicts);
    for (int at = 0; at < conflicts; ++at) {
        const CPatchApply::SConflict& c = preview.conflicts[static_cast<size_t>(at)];
        const QString record = RecordText(c.kind, c.id, c.sub);
        const QString field = c.field == "-" ? host.Text("Caption_PatchWholeRecord")
                                             : FieldText(c.kind, c.field);
        cells(m_conflicts, at,
              {KindText(c.kind), record, field, Text(c.base), Text(c.ours), Text(c.theirs)});
        auto* choice = new QComboBox(m_conflicts);
        choice->addItems({host.Text("Caption_PatchOurs"), host.Text("Caption_PatchTheirs")});
        choice->setAccessibleName(host.Text("Caption_PatchChoice").arg(KindText(c.kind), record, field));
        m_conflicts->setCellWidget(at, 6, choice);
        m_choices.push_back(choice);
        m_keys.push_back(c.Key());
    }
    m_conflicts->resizeColumnsToContents();
    // The drop-downs need no more than their width; the record's name takes the rest.
    m_conflicts->horizontalHeader()->setStretchLastSection(false);
    m_conflicts->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_allOurs = new QPushButton(host.Text("Caption_PatchAllOurs"), this);
    m_allOurs->setObjectName(QStringLiteral("patchAllOurs"));
    m_allOurs->setAccessibleName(QString(m_allOurs->text()).remove(u'&'));
    m_allOurs->setAutoDefault(false);
    m_allTheirs = new QPushButton(host.Text("Caption_PatchAllTheirs"), this);
    m_allTheirs->setObjectName(QStringLiteral("patchAllTheirs"));
    m_allTheirs->setAccessibleName(QString(m_allTheirs->text()).remove(u'&'));
    m_allTheirs->setAutoDefault(false);
    connect(m_allOurs, &QPushButton::clicked, this, [this] { SetAll(Ours); });
    connect(m_allTheirs, &QPushButton::clicked, this, [this] { SetAll(Theirs); });
    auto* allRow = new QHBoxLayout;
    allRow->addWidget(conflictsLabel, 1);
    allRow->addWidget(m_allOurs);
    allRow->addWidget(m_allTheirs);
    layout->addLayout(allRow);
    layout->addWidget(m_conflicts, 1);
    // Nothing to settle: the conflicts part would only take room.
    for (QWidget* part : {static_cast<QWidget*>(conflictsLabel), static_cast<QWidget*>(m_conflicts),
                          static_cast<QWidget*>(m_allOurs), static_cast<QWidget*>(m_allTheirs)})
        part->setVisible(conflicts > 0);

    auto* buttons = new QDialogButtonBox(this);
    m_apply = buttons->addButton(host.Text("Caption_PatchApplyButton"), QDialogButtonBox::AcceptRole);
    m_apply->setObjectName(QStringLiteral("patchApplyButton"));
    m_apply->setAccessibleName(QString(m_apply->text()).remove(u'&'));
    m_apply->setDefault(true);
    QPushButton* cancel = buttons->addButton(host.Text("Caption_Cancel"), QDialogButtonBox::RejectRole);
    cancel->setAccessibleName(host.Text("Caption_Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(860, conflicts > 0 ? 560 : 420);
}

QTableWidget* CApplyPatchDialog::MakeTable(const char* name, const QStringList& headers) {
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()), this);
    table->setObjectName(QString::fromLatin1(name));
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setWordWrap(false);
    return table;
}

std::set<std::string> CApplyPatchDialog::TakenAsTheirs() const {
    std::set<std::string> keys;
    for (size_t i = 0; i < m_choices.size(); ++i)
        if (m_choices[i]->currentIndex() == Theirs)
            keys.insert(m_keys[i]);
    return keys;
}

void CApplyPatchDialog::SetAll(EChoice choice) {
    for (QComboBox* box : m_choices)
        box->setCurrentIndex(choice);
}

QString CApplyPatchDialog::KindText(ERecordKind kind) const {
    switch (kind) {
    case ERecordKind::Formation: return m_host.Text("Caption_PatchKindFormation");
    case ERecordKind::Kit: return m_host.Text("Caption_PatchKindKit");
    case ERecordKind::League: return m_host.Text("Caption_PatchKindLeague");
    case ERecordKind::Player: return m_host.Text("Caption_PatchKindPlayer");
    case ERecordKind::Squad: return m_host.Text("Caption_PatchKindSquad");
    case ERecordKind::Stadium: return m_host.Text("Caption_PatchKindStadium");
    case ERecordKind::Team: return m_host.Text("Caption_PatchKindTeam");
    }
    return {};
}

QString CApplyPatchDialog::RecordText(ERecordKind kind, int32_t id, int32_t sub) const {
    const QString key = Text(CDiffFields::IdText(kind, id, sub));
    std::string name;
    if (kind == ERecordKind::Player) {
        if (const CPlayer* player = m_db.FindPlayer(id))
            name = player->DisplayName();
    } else if (kind == ERecordKind::Team || kind == ERecordKind::Kit || kind == ERecordKind::Squad) {
        if (const CTeam* team = m_db.FindTeam(id))
            name = team->Name();
        if (kind == ERecordKind::Squad)
            if (const CPlayer* player = m_db.FindPlayer(sub))
                name += (name.empty() ? "" : ", ") + player->DisplayName();
    } else if (kind == ERecordKind::League) {
        if (const CLeague* league = m_db.FindLeague(id))
            name = league->name;
    }
    return name.empty() ? key : QStringLiteral("%1 %2").arg(key, Text(name));
}

QString CApplyPatchDialog::FieldText(ERecordKind kind, const std::string& field) const {
    return CFieldCaptions::OfRecordField(kind, field,
                                         [this](const char* key) { return m_host.Text(key); });
}
