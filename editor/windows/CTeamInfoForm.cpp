#include "CTeamInfoForm.h"

#include "editor/dialogs/CUserPrompts.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CRivalRules.h"
#include "editor/toolkit/CArrowRangeSpinBox.h"
#include "editor/toolkit/CIdComboBox.h"
#include "editor/windows/CFieldNumbers.h"
#include "editor/windows/CFrameHost.h"
#include "editor/windows/CInGameNameCheck.h"
#include "editor/windows/CTeamSelectDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>
#include <optional>

namespace {

constexpr int kTeamIdRole = Qt::UserRole + 1;

QLabel* AddRow(QGridLayout* grid, int row, const char* key, QWidget* control) {
    auto* label = new QLabel(QString::fromLatin1(key), control->parentWidget());
    label->setBuddy(control);
    grid->addWidget(label, row, 0);
    grid->addWidget(control, row, 1);
    return label;
}

QString TeamName(const CGameDatabase& db, int32_t teamId) {
    const CTeam* team = db.FindTeam(teamId);
    return team ? QString::fromStdString(team->Name()) : QStringLiteral("(%1)").arg(teamId);
}

} // namespace

CTeamInfoForm::CTeamInfoForm(int32_t teamId, CFrameHost& host, QWidget* parent)
    : CColourFormView(host.Lookup(), parent), m_teamId(teamId), m_host(host) {
    auto* columns = new QHBoxLayout(Body());
    columns->setContentsMargins(0, 0, 0, 0);
    auto* grid = new QGridLayout;
    m_id = new QLabel(Body());
    QFont small = m_id->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_id->setFont(small);
    grid->addWidget(m_id, 0, 0, 1, 2);
    m_name = new QLineEdit(Body());
    m_mediumName = new QLineEdit(Body());
    m_shortName = new QLineEdit(Body());
    m_stadium = new CIdComboBox(Body());
    m_trainingStadium = new CIdComboBox(Body());
    m_opponent = new CIdComboBox(Body());
    m_elite = new QCheckBox(QStringLiteral("Caption_EliteTeam"), Body());
    m_prestige = new CArrowRangeSpinBox(std::numeric_limits<int>::min(),
                                        std::numeric_limits<int>::max(), Body());
    // Prestige is stored as typed: any 32-bit number.
    m_prestige->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    AddRow(grid, 1, "Caption_TeamName", m_name);
    AddRow(grid, 2, "Caption_TeamNameMed", m_mediumName);
    AddRow(grid, 3, "Caption_TeamNameShort", m_shortName);
    AddRow(grid, 4, "Caption_Stadium", m_stadium);
    AddRow(grid, 5, "Caption_TrainingStadium", m_trainingStadium);
    AddRow(grid, 6, "Caption_Opponent", m_opponent);
    grid->addWidget(m_elite, 7, 1);
    AddRow(grid, 8, "Caption_TeamPrestige", m_prestige);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(9, 1);
    columns->addLayout(grid, 2);

    auto* rivalsBox = new QGroupBox(QStringLiteral("Caption_Rivals"), Body());
    auto* rivalsLayout = new QVBoxLayout(rivalsBox);
    m_rivalItems = new QStandardItemModel(this);
    m_rivals = new QListView(rivalsBox);
    m_rivals->setModel(m_rivalItems);
    m_rivals->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_rivals->setAccessibleName(QStringLiteral("Caption_Rivals"));
    rivalsLayout->addWidget(m_rivals, 1);
    auto* buttons = new QHBoxLayout;
    m_addRival = new QPushButton(QStringLiteral("Caption_Add"), rivalsBox);
    m_removeRival = new QPushButton(QStringLiteral("Caption_Remove"), rivalsBox);
    buttons->addWidget(m_addRival);
    buttons->addWidget(m_removeRival);
    rivalsLayout->addLayout(buttons);
    // Rivals are a few short names; the names and the stadiums need the room.
    columns->addWidget(rivalsBox, 1);

    connect(m_addRival, &QPushButton::clicked, this, &CTeamInfoForm::AddRival);
    connect(m_removeRival, &QPushButton::clicked, this, &CTeamInfoForm::RemoveSelectedRival);
    connect(m_rivals, &QListView::activated, this,
            [this](const QModelIndex& index) { ReplaceRival(index.row()); });
    BuildChoices();
}

void CTeamInfoForm::BuildChoices() {
    const CGameDatabase* db = m_host.Database();
    if (!db) {
        return;
    }
    for (const auto& [id, stadium] : db->Stadiums()) {
        CIdComboBox* box = stadium.Kind() == 0   ? m_stadium
                           : stadium.Kind() == 1 ? m_trainingStadium
                                                 : nullptr;
        if (box) {
            box->AddEntry(QString::fromStdString(stadium.name), id);
        }
    }
    // The opponent list is sorted by name.
    std::vector<std::pair<QString, int32_t>> teams;
    teams.reserve(db->Teams().size());
    for (const auto& [id, team] : db->Teams()) {
        teams.emplace_back(QString::fromStdString(team.Name()), id);
    }
    std::sort(teams.begin(), teams.end(),
              [](const auto& a, const auto& b) { return a.first.localeAwareCompare(b.first) < 0; });
    for (const auto& [name, id] : teams) {
        m_opponent->AddEntry(name, id);
    }
}

void CTeamInfoForm::Fill() {
    if (const CTeam* team = m_host.FindTeam(m_teamId)) {
        FillFrom(*team);
    }
}

void CTeamInfoForm::FillFrom(const CTeam& team) {
    const CGameDatabase* db = m_host.Database();
    m_id->setText(QStringLiteral("ID=%1").arg(team.Id()));
    m_name->setText(QString::fromStdString(team.Name()));
    m_mediumName->setText(QString::fromStdString(team.MediumName()));
    m_shortName->setText(QString::fromStdString(team.ShortName()));
    m_stadium->SetFilledId(team.Value(ETeamColumn::StadiumId));
    m_trainingStadium->SetFilledId(team.Value(ETeamColumn::TrainingStadiumId));
    m_opponent->SetFilledId(team.Value(ETeamColumn::OpponentTeamId));
    m_filledElite = team.Value(ETeamColumn::EliteTeam) != 0;
    m_elite->setChecked(m_filledElite);
    if (db) {
        CFieldNumbers::Fill(m_prestige, m_host, *db, "teams",
                            static_cast<int>(ETeamColumn::Prestige),
                            team.Value(ETeamColumn::Prestige));
    } else {
        m_prestige->setValue(team.Value(ETeamColumn::Prestige));
    }
    m_rivalItems->clear();
    for (int32_t rival : team.Rivals()) {
        auto* item = new QStandardItem(db ? TeamName(*db, rival) : QString::number(rival));
        item->setData(rival, kTeamIdRole);
        m_rivalItems->appendRow(item);
    }
}

std::vector<int32_t> CTeamInfoForm::RivalIds() const {
    std::vector<int32_t> ids;
    for (int row = 0; row < m_rivalItems->rowCount(); ++row) {
        ids.push_back(m_rivalItems->item(row)->data(kTeamIdRole).toInt());
    }
    return ids;
}

bool CTeamInfoForm::Apply() {
    CTeam* team = m_host.FindTeam(m_teamId);
    if (!team) {
        return false;
    }
    m_prestige->interpretText();
    if (!CInGameNameCheck::Accept(
            m_host, this,
            {{"Caption_TeamName", m_name->text(), team->Name()},
             {"Caption_TeamNameMed", m_mediumName->text(), team->MediumName()},
             {"Caption_TeamNameShort", m_shortName->text(), team->ShortName()}})) {
        return false;
    }
    if (const auto id = m_stadium->ChangedId()) {
        team->SetValue(ETeamColumn::StadiumId, *id);
    }
    if (const auto id = m_trainingStadium->ChangedId()) {
        team->SetValue(ETeamColumn::TrainingStadiumId, *id);
    }
    if (const auto id = m_opponent->ChangedId()) {
        team->SetValue(ETeamColumn::OpponentTeamId, *id);
    }
    team->SetName(m_name->text().toStdString());
    team->SetMediumName(m_mediumName->text().toStdString());
    team->SetShortName(m_shortName->text().toStdString());
    if (m_elite->isChecked() != m_filledElite) {
        team->SetValue(ETeamColumn::EliteTeam, m_elite->isChecked() ? 1 : 0);
    }
    team->SetValue(ETeamColumn::Prestige, m_prestige->value());
    team->SetRivals(RivalIds());
    m_filledElite = m_elite->isChecked();
    return true;
}

std::optional<int32_t> CTeamInfoForm::ChooseRival(std::optional<size_t> replacedRow) {
    const auto chosen = CTeamSelectDialog::ChooseTeam(m_host, "Caption_SelectRivalTeam", this);
    if (!chosen) {
        return std::nullopt;
    }
    switch (CRivalRules::Check(m_teamId, RivalIds(), *chosen, replacedRow)) {
    case CRivalRules::EVerdict::Accepted:
        return chosen;
    case CRivalRules::EVerdict::IsTheTeamItself:
        CUserPrompts::Warn(this, m_host.Text("Message_RivalIsTheTeam"));
        return std::nullopt;
    case CRivalRules::EVerdict::AlreadyListed:
        const CGameDatabase* db = m_host.Database();
        CUserPrompts::Warn(
            this, m_host.Text("Message_RivalAlreadyListed")
                      .replace(QStringLiteral("%s"), db ? TeamName(*db, *chosen) : QString()));
        return std::nullopt;
    }
    return std::nullopt;
}

void CTeamInfoForm::SetRivalRow(int row, int32_t teamId) {
    const CGameDatabase* db = m_host.Database();
    auto* item = new QStandardItem(db ? TeamName(*db, teamId) : QString::number(teamId));
    item->setData(teamId, kTeamIdRole);
    if (row < m_rivalItems->rowCount()) {
        m_rivalItems->setItem(row, item);
    } else {
        m_rivalItems->appendRow(item);
    }
    m_rivals->setCurrentIndex(m_rivalItems->index(row, 0));
}

void CTeamInfoForm::AddRival() {
    if (const auto chosen = ChooseRival(std::nullopt)) {
        SetRivalRow(m_rivalItems->rowCount(), *chosen);
    }
}

void CTeamInfoForm::ReplaceRival(int row) {
    if (row < 0 || row >= m_rivalItems->rowCount()) {
        return;
    }
    if (const auto chosen = ChooseRival(static_cast<size_t>(row))) {
        SetRivalRow(row, *chosen);
    }
}

void CTeamInfoForm::RemoveSelectedRival() {
    const QModelIndexList selected = m_rivals->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        CUserPrompts::Warn(this, m_host.Text("Message_SelectTeamToRemove"));
        return;
    }
    m_rivalItems->removeRow(selected.first().row());
}
