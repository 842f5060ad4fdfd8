#include "CPlayerAttributesForm.h"

#include "editor/model/CPlayer.h"
#include "editor/toolkit/CAttributeBar.h"
#include "editor/windows/CPlayerFrame.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPainter>
#include <QSlider>

#include <algorithm>
#include <array>

namespace {

using C = EPlayerColumn;

struct SAttribute {
    const char* key;
    C column;
};

// Left column, then right column; the overall rating closes the right one.
constexpr std::array<SAttribute, CPlayerAttributesForm::kAttributeCount> kAttributes = {{
    {"Caption_Acceleration", C::Acceleration},
    {"Caption_Aggression", C::Aggression},
    {"Caption_Pace", C::Pace},
    {"Caption_Stamina", C::Stamina},
    {"Caption_Strength", C::Strength},
    {"Caption_Balance", C::Balance},
    {"Caption_Marking", C::Marking},
    {"Caption_Tackling", C::Tackling},
    {"Caption_BallControl", C::BallControl},
    {"Caption_Dribbling", C::Dribbling},
    {"Caption_Crossing", C::Crossing},
    {"Caption_Heading", C::Heading},
    {"Caption_Jumping", C::Jumping},
    {"Caption_Passing", C::Passing},
    {"Caption_Longballs", C::LongBalls},
    {"Caption_ShotAccuracy", C::ShotAccuracy},
    {"Caption_ShotPower", C::ShotPower},
    {"Caption_Anticipation", C::Anticipation},
    {"Caption_Awareness", C::Awareness},
    {"Caption_Determination", C::Determination},
    {"Caption_Punching", C::Punching},
    {"Caption_Reflexes", C::Reflexes},
    {"Caption_Rushing", C::Rushing},
    {"Caption_Handling", C::Handling},
    {"Caption_Throwing", C::Throwing},
}};

constexpr int kLeftColumn = 13;

QIcon AbilitiesIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const std::array<int, 4> heights = {6, 10, 8, 13};
    for (size_t i = 0; i < heights.size(); ++i) {
        painter.fillRect(QRect(1 + static_cast<int>(i) * 4, 15 - heights[i], 3, heights[i]),
                         QColor(40, 110, 200));
    }
    return QIcon(pixmap);
}

} // namespace

CPlayerAttributesForm::CPlayerAttributesForm(CPlayerFrame& frame) : CPlayerPage(frame) {
    const QString refusal = Text(QStringLiteral("Message_Number_0_To_100_Only"));
    auto* grid = new QGridLayout(Body());
    grid->setHorizontalSpacing(24);
    for (int i = 0; i < kAttributeCount; ++i) {
        auto* bar = new CAttributeBar(QString::fromLatin1(kAttributes[static_cast<size_t>(i)].key),
                                      refusal);
        m_bars.push_back(bar);
        grid->addWidget(bar, i < kLeftColumn ? i : i - kLeftColumn, i < kLeftColumn ? 0 : 1);
    }
    m_overall = new CAttributeBar(QStringLiteral("Caption_Overall"), refusal);
    m_overall->SetReadOnly(true);
    grid->addWidget(m_overall, kAttributeCount - kLeftColumn, 1);
    grid->setRowStretch(kLeftColumn, 1);
    m_shown.assign(kAttributeCount, 0);
    // Tab order: down the left column, then down the right one; each box before its bar.
    QWidget* previous = nullptr;
    for (CAttributeBar* bar : m_bars) {
        for (QWidget* next : {static_cast<QWidget*>(bar->Box()), static_cast<QWidget*>(bar->Bar())}) {
            if (previous) {
                setTabOrder(previous, next);
            }
            previous = next;
        }
    }
    setTabOrder(previous, ApplyButton());
    setTabOrder(ApplyButton(), ResetButton());
}

void CPlayerAttributesForm::showEvent(QShowEvent* event) {
    // One caption width for every bar, the longest caption's in the user's language, so the
    // bars line up and no caption is cut.
    int width = m_overall->Label()->sizeHint().width();
    for (const CAttributeBar* bar : m_bars)
        width = std::max(width, bar->Label()->sizeHint().width());
    m_overall->Label()->setMinimumWidth(width);
    for (CAttributeBar* bar : m_bars)
        bar->Label()->setMinimumWidth(width);
    CPlayerPage::showEvent(event);
}

QIcon CPlayerAttributesForm::TabIcon() const {
    return AbilitiesIcon();
}

void CPlayerAttributesForm::Fill(const CPlayer& player) {
    for (size_t i = 0; i < kAttributes.size(); ++i) {
        m_bars[i]->SetValue(player.Value(kAttributes[i].column));
        m_shown[i] = m_bars[i]->Value();
    }
    m_overall->SetValue(player.ComputeOverall());
}

bool CPlayerAttributesForm::WriteChanges(CPlayer& player) {
    // A stored value over 100 shows as 100 and stays as stored until the user moves it.
    for (size_t i = 0; i < kAttributes.size(); ++i) {
        if (m_bars[i]->Value() != m_shown[i]) {
            player.SetValue(kAttributes[i].column, m_bars[i]->Value());
        }
    }
    return true;
}

void CPlayerAttributesForm::CopyFields(CPlayer& into, const CPlayer& from) {
    for (const SAttribute& attribute : kAttributes) {
        into.SetValue(attribute.column, from.Value(attribute.column));
    }
}

void CPlayerAttributesForm::CopyPageFields(CPlayer& into, const CPlayer& from) const {
    CopyFields(into, from);
}
