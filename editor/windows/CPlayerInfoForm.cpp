#include "CPlayerInfoForm.h"

#include "editor/dialogs/CUserPrompts.h"
#include "editor/model/CColumnRange.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CGameRanges.h"
#include "editor/toolkit/CPropertyList.h"
#include "editor/windows/CFrameHost.h"
#include "editor/windows/CPlayerFrame.h"
#include "editor/windows/CPositionComboBox.h"
#include "editor/windows/CRecordIcons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QListWidget>
#include <QSpinBox>
#include <QTreeView>

#include <array>

namespace {

using C = EPlayerColumn;

struct STrait {
    const char* key;
    C column;
    bool flag;
};

// The property list, in its order; numbers take the game's range of their column.
constexpr std::array kTraits = {
    STrait{"Caption_Leadership", C::Leadership, false},
    STrait{"Caption_Talent", C::Talent, false},
    STrait{"Caption_Consistency", C::Consistency, false},
    STrait{"Caption_ClinicalFinisher", C::ClinicalFinisher, true},
    STrait{"Caption_SpeedKing", C::SpeedKing, true},
    STrait{"Caption_Reckless", C::Reckless, true},
    STrait{"Caption_BallWinner", C::BallWinner, true},
    STrait{"Caption_Greed", C::Greed, true},
    STrait{"Caption_InjuryProne", C::InjuryProne, true},
    STrait{"Caption_HotTemper", C::HotTemper, true},
    STrait{"Caption_Calm", C::Calm, true},
    STrait{"Caption_WorkRate", C::WorkRate, true},
    STrait{"Caption_PrimaDonna", C::PrimaDonna, true},
    STrait{"Caption_Tacticaliconid1", C::TacticalIconId1, false},
    STrait{"Caption_Tacticaliconid2", C::TacticalIconId2, false},
    STrait{"Caption_Tacticaliconid3", C::TacticalIconId3, false},
    STrait{"Caption_Tacticaliconid4", C::TacticalIconId4, false},
    STrait{"Caption_AgeRate1", C::AgeRate1, false},
    STrait{"Caption_AgeRate2", C::AgeRate2, false},
};

constexpr std::array kPositionColumns = {C::PreferredPosition1, C::PreferredPosition2,
                                         C::PreferredPosition3};

// The other fields of the page, for Reset and Undo.
constexpr std::array kPlainColumns = {C::BirthDayNumber, C::Height, C::Weight, C::Footed,
                                      C::StarPlayer};

CGameRanges::SRange RangeOf(C column) {
    const auto range = CGameRanges::Find("players", CPlayer::Columns()[static_cast<int>(column)].name);
    return range ? *range : CGameRanges::SRange{0, 255};
}

QDate ToQDate(const CDate& date) {
    return date.IsValid() ? QDate(date.Year(), date.Month(), date.Day()) : QDate();
}

} // namespace

CPlayerInfoForm::CPlayerInfoForm(CPlayerFrame& frame) : CPlayerPage(frame) {
    CFrameHost& host = frame.FrameHost();
    m_id = new QLabel;
    QFont small = m_id->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_id->setFont(small);
    m_firstName = new QLineEdit;
    m_lastName = new QLineEdit;
    m_commonName = new QLineEdit;
    m_birthDate = new QDateEdit;
    m_birthDate->setCalendarPopup(true);
    m_birthDate->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_birthDate->setMinimumDate(QDate(1583, 1, 1));
    m_height = new QSpinBox;
    m_weight = new QSpinBox;
    m_height->setRange(RangeOf(C::Height).low, RangeOf(C::Height).high);
    m_weight->setRange(RangeOf(C::Weight).low, RangeOf(C::Weight).high);
    for (size_t i = 0; i < std::size(m_positions); ++i) {
        // Only the first position must name one.
        m_positions[i] = new CPositionComboBox(host, i > 0);
    }
    m_footed = new QComboBox;
    m_footed->addItems({QStringLiteral("Caption_Right"), QStringLiteral("Caption_Left"),
                        QStringLiteral("Caption_Either")});
    m_star = new QCheckBox(QStringLiteral("Caption_StarPlayer"));
    m_teams = new QListWidget;
    m_teams->setMinimumHeight(60);

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    const auto addRow = [form](const char* key, QWidget* field) {
        auto* label = new QLabel(QString::fromLatin1(key));
        label->setBuddy(field);
        form->addRow(label, field);
    };
    form->addRow(m_id);
    addRow("Caption_FirstName", m_firstName);
    addRow("Caption_LastName", m_lastName);
    addRow("Caption_Pseudonym", m_commonName);
    addRow("Caption_DateOfBirth", m_birthDate);
    addRow("Caption_Height", m_height);
    addRow("Caption_Weight", m_weight);
    addRow("Caption_PreferredPosition1", m_positions[0]);
    addRow("Caption_PreferredPosition2", m_positions[1]);
    addRow("Caption_PreferredPosition3", m_positions[2]);
    addRow("Caption_Footed", m_footed);
    form->addRow(m_star);
    addRow("Caption_InTeams", m_teams);

    m_traits = new CPropertyList;
    m_traits->View()->setAccessibleName(QStringLiteral("Caption_PlayerInfo"));
    CPropertyModel* model = m_traits->Model();
    model->AddHeading(QStringLiteral("Caption_PlayerInfo"));
    for (const STrait& trait : kTraits) {
        if (trait.flag) {
            model->AddBool(QString::fromLatin1(trait.key));
        } else {
            const CGameRanges::SRange usual = RangeOf(trait.column);
            // Kept to what the file's column takes.
            const CColumnRange range =
                host.Database() ? CColumnRange::Of(*host.Database(), "players",
                                                   static_cast<int>(trait.column))
                                      .Narrowed(usual.low, usual.high)
                                : CColumnRange{usual.low, usual.high};
            model->AddNumber(QString::fromLatin1(trait.key), range.low, range.high);
        }
    }

    auto* columns = new QHBoxLayout(Body());
    columns->setContentsMargins(0, 0, 0, 0);
    columns->addLayout(form, 1);
    columns->addWidget(m_traits, 1);
    // Tab order: the table's order, then the traits, then Apply and Reset.
    QWidget* previous = m_firstName;
    for (QWidget* next : std::initializer_list<QWidget*>{
             m_lastName, m_commonName, m_birthDate, m_height, m_weight, m_positions[0],
             m_positions[1], m_positions[2], m_footed, m_star, m_teams, m_traits->View(),
             ApplyButton(), ResetButton()}) {
        setTabOrder(previous, next);
        previous = next;
    }
    connect(m_star, &QCheckBox::clicked, this, &CPlayerInfoForm::OnStarClicked);
    connect(m_teams, &QListWidget::itemActivated, this, &CPlayerInfoForm::OnTeamActivated);
}

QIcon CPlayerInfoForm::TabIcon() const {
    return CRecordIcons::Information();
}

void CPlayerInfoForm::Fill(const CPlayer& player) {
    m_id->setText(QStringLiteral("ID=%1").arg(player.Id()));
    m_shown.firstName = QString::fromUtf8(player.FirstName());
    m_shown.lastName = QString::fromUtf8(player.LastName());
    m_shown.commonName = QString::fromUtf8(player.CommonName());
    m_firstName->setText(m_shown.firstName);
    m_lastName->setText(m_shown.lastName);
    m_commonName->setText(m_shown.commonName);
    // A date the picker cannot show stays as stored unless the user picks one.
    const QDate birth = ToQDate(player.BirthDate());
    m_birthDate->setDate(birth.isValid() ? birth : m_birthDate->minimumDate());
    m_shown.birthDate = m_birthDate->date();
    m_height->setValue(player.Value(C::Height));
    m_weight->setValue(player.Value(C::Weight));
    m_shown.height = m_height->value();
    m_shown.weight = m_weight->value();
    for (size_t i = 0; i < kPositionColumns.size(); ++i) {
        m_positions[i]->SetCode(player.Value(kPositionColumns[i]));
        m_shown.positions[i] = m_positions[i]->Code();
    }
    const int footed = player.Value(C::Footed);
    m_footed->setCurrentIndex(footed >= 0 && footed < m_footed->count() ? footed : -1);
    m_shown.footed = m_footed->currentIndex();
    m_star->setChecked(player.Value(C::StarPlayer) != 0);

    FillTeams(player);

    CPropertyModel* model = m_traits->Model();
    for (size_t i = 0; i < kTraits.size(); ++i) {
        model->SetValue(static_cast<int>(i) + 1, player.Value(kTraits[i].column));
    }
}

void CPlayerInfoForm::FillTeams(const CPlayer& player) {
    m_teams->clear();
    for (int32_t teamId : player.Teams()) {
        const CTeam* team = Frame().FrameHost().FindTeam(teamId);
        auto* item = new QListWidgetItem(team ? QString::fromUtf8(team->Name())
                                              : QStringLiteral("%1").arg(teamId),
                                         m_teams);
        item->setData(Qt::UserRole, teamId);
    }
}

bool CPlayerInfoForm::NamesFit() {
    const std::array<std::pair<QLineEdit*, const char*>, 3> names = {
        {{m_firstName, "Caption_FirstName"},
         {m_lastName, "Caption_LastName"},
         {m_commonName, "Caption_Pseudonym"}}};
    for (const auto& [box, key] : names) {
        if (box->text().toUtf8().size() > kMaxNameBytes) {
            // Never cut: the user decides what to keep.
            CUserPrompts::Warn(this, Text(QStringLiteral("Message_NameTooLong"))
                                         .replace(QStringLiteral("%s"),
                                                  Text(QString::fromLatin1(key))));
            box->setFocus();
            return false;
        }
    }
    return true;
}

bool CPlayerInfoForm::WriteChanges(CPlayer& player) {
    const bool firstChanged = m_firstName->text() != m_shown.firstName;
    const bool lastChanged = m_lastName->text() != m_shown.lastName;
    const bool commonChanged = m_commonName->text() != m_shown.commonName;
    if ((firstChanged || lastChanged || commonChanged) && !NamesFit()) {
        return false;
    }
    if (firstChanged) {
        player.SetFirstName(m_firstName->text().toUtf8().toStdString());
    }
    if (lastChanged) {
        player.SetLastName(m_lastName->text().toUtf8().toStdString());
    }
    if (commonChanged) {
        player.SetCommonName(m_commonName->text().toUtf8().toStdString());
    }
    if (const QDate date = m_birthDate->date(); date != m_shown.birthDate) {
        player.SetBirthDate(CDate(date.year(), date.month(), date.day()));
    }
    if (m_height->value() != m_shown.height) {
        player.SetValue(C::Height, m_height->value());
    }
    if (m_weight->value() != m_shown.weight) {
        player.SetValue(C::Weight, m_weight->value());
    }
    for (size_t i = 0; i < kPositionColumns.size(); ++i) {
        if (m_positions[i]->Code() != m_shown.positions[i]) {
            player.SetValue(kPositionColumns[i], m_positions[i]->Code());
        }
    }
    if (m_footed->currentIndex() != m_shown.footed) {
        player.SetValue(C::Footed, m_footed->currentIndex());
    }
    player.SetValue(C::StarPlayer, m_star->isChecked() ? 1 : 0);
    const CPropertyModel* model = m_traits->Model();
    for (size_t i = 0; i < kTraits.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        if (model->IsChanged(row)) {
            player.SetValue(kTraits[i].column, model->Value(row).toInt());
        }
    }
    return true;
}

void CPlayerInfoForm::CopyFields(CPlayer& into, const CPlayer& from) {
    into.SetFirstName(from.FirstName());
    into.SetLastName(from.LastName());
    into.SetCommonName(from.CommonName());
    for (C column : kPlainColumns) {
        into.SetValue(column, from.Value(column));
    }
    for (C column : kPositionColumns) {
        into.SetValue(column, from.Value(column));
    }
    for (const STrait& trait : kTraits) {
        into.SetValue(trait.column, from.Value(trait.column));
    }
}

void CPlayerInfoForm::CopyPageFields(CPlayer& into, const CPlayer& from) const {
    CopyFields(into, from);
}

void CPlayerInfoForm::OnStarClicked(bool checked) {
    // Written at once, without Apply.
    if (CPlayer* player = Frame().Record()) {
        player->SetValue(C::StarPlayer, checked ? 1 : 0);
        Frame().Commit();
    }
}

void CPlayerInfoForm::OnTeamActivated(QListWidgetItem* item) {
    // After the click is done, so the release does not give the focus back to this window.
    const int teamId = item->data(Qt::UserRole).toInt();
    QMetaObject::invokeMethod(
        this, [this, teamId] { Frame().FrameHost().OpenTeam(teamId); }, Qt::QueuedConnection);
}
