#include "CLeagueInfoForm.h"

#include "editor/model/CGameDatabase.h"
#include "editor/toolkit/CArrowRangeSpinBox.h"
#include "editor/windows/CFieldNumbers.h"
#include "editor/windows/CFrameHost.h"
#include "editor/windows/CInGameNameCheck.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <limits>

namespace {

QLineEdit* AddTextRow(QGridLayout* grid, int row, const char* key, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(key), parent);
    auto* box = new QLineEdit(parent);
    label->setBuddy(box);
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1);
    return box;
}

std::string Utf8(const QLineEdit* box) {
    return box->text().toStdString();
}

} // namespace

CLeagueInfoForm::CLeagueInfoForm(int32_t leagueId, CFrameHost& host, QWidget* parent)
    : CColourFormView(host.Lookup(), parent), m_leagueId(leagueId), m_host(host) {
    auto* grid = new QGridLayout(Body());
    m_id = new QLabel(Body());
    QFont small = m_id->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_id->setFont(small);
    grid->addWidget(m_id, 0, 0, 1, 2);
    m_name = AddTextRow(grid, 1, "Caption_League", Body());
    m_mediumName = AddTextRow(grid, 2, "Caption_LeagueNameMedium", Body());
    m_shortName = AddTextRow(grid, 3, "Caption_LeagueNameShort", Body());
    auto* levelLabel = new QLabel(QStringLiteral("Caption_LeagueLevel"), Body());
    m_level = new CArrowRangeSpinBox(std::numeric_limits<int>::min(),
                                     std::numeric_limits<int>::max(), Body());
    // The level is stored as it is typed: any 32-bit number.
    m_level->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    levelLabel->setBuddy(m_level);
    grid->addWidget(levelLabel, 4, 0);
    grid->addWidget(m_level, 4, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(5, 1);
}

void CLeagueInfoForm::Fill() {
    if (const CLeague* league = m_host.FindLeague(m_leagueId)) {
        FillFrom(*league);
    }
}

void CLeagueInfoForm::FillFrom(const CLeague& league) {
    m_id->setText(QStringLiteral("ID=%1").arg(league.id));
    m_name->setText(QString::fromStdString(league.name));
    m_mediumName->setText(QString::fromStdString(league.mediumName));
    m_shortName->setText(QString::fromStdString(league.shortName));
    if (const CGameDatabase* db = m_host.Database()) {
        CFieldNumbers::Fill(m_level, m_host, *db, "leagues", CLeague::kLevelColumn, league.Level());
    } else {
        m_level->setValue(league.Level());
    }
}

bool CLeagueInfoForm::Apply() {
    CLeague* league = m_host.FindLeague(m_leagueId);
    if (!league) {
        return false;
    }
    m_level->interpretText();
    if (!CInGameNameCheck::Accept(
            m_host, this,
            {{"Caption_League", m_name->text(), league->name},
             {"Caption_LeagueNameMedium", m_mediumName->text(), league->mediumName},
             {"Caption_LeagueNameShort", m_shortName->text(), league->shortName}})) {
        return false;
    }
    league->name = Utf8(m_name);
    league->mediumName = Utf8(m_mediumName);
    league->shortName = Utf8(m_shortName);
    league->SetLevel(m_level->value());
    return true;
}
