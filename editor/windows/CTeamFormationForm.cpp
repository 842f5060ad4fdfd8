#include "editor/windows/CTeamFormationForm.h"

#include "editor/localisation/CLocalisationTable.h"
#include "editor/model/CGameDatabase.h"
#include "editor/toolkit/CArrowRangeSpinBox.h"
#include "editor/toolkit/CFormationView.h"
#include "editor/windows/CFieldNumbers.h"
#include "editor/windows/CFrameHost.h"
#include "editor/windows/CPositionIcon.h"
#include "editor/windows/CRatingPicture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include <limits>
#include <optional>

namespace {

const char* const kSetPieceLabels[] = {"C", "FK", "LC", "RC", "PK"};
const char* const kSetPieceCaptions[] = {"Caption_Captain", "Caption_FreeKick",
                                         "Caption_LeftCorner", "Caption_RightCorner",
                                         "Caption_PenaltyKick"};

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The localisation key of a position code, as a C string for the host's lookup.
std::string PositionKey(int32_t code) {
    return std::string(CLocalisationTable::PositionKey(code));
}

CArrowRangeSpinBox* NumberBox() {
    // The range is the file column's, set at each fill.
    return new CArrowRangeSpinBox;
}

} // namespace

CTeamFormationForm::CTeamFormationForm(int teamId, CFrameHost& host, QWidget* parent)
    : CColourFormView([&host](const QString& key) { return host.Text(key.toUtf8().constData()); },
                      parent),
      m_teamId(teamId), m_host(host) {
    BuildControls();
}

void CTeamFormationForm::BuildControls() {
    m_formation = new QComboBox;
    m_formation->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_offsideTrap = new QCheckBox(QStringLiteral("Caption_OffsideTrap"));
    m_attack = NumberBox();
    m_withoutBall = NumberBox();
    m_pitch = new CFormationView;
    m_pitch->setAccessibleName(QStringLiteral("Caption_Pitch"));
    m_pitch->SetFonts(m_host.SmallTitleFont(), m_host.SmallTitleFont());
    QList<int> slotCells;
    for (int slot = 0; slot < CLineUp::kSlotCount; ++slot)
        slotCells.push_back(CLineUp::CellOfSlot(slot));
    m_pitch->SetDropCells(std::move(slotCells));
    m_pitch->SetCellNamer([this](int cell) {
        return m_host.Text("Caption_PickedUpOver").arg(SlotName(CLineUp::SlotOfCell(cell)));
    });

    // Two short rows, so the page fits a 640-pixel-wide window without scrolling.
    auto* tactics = new QGridLayout;
    tactics->setHorizontalSpacing(8);
    const auto addLabelled = [tactics](const char* key, QWidget* control, int row, int column) {
        auto* label = new QLabel(QString::fromLatin1(key));
        label->setBuddy(control);
        tactics->addWidget(label, row, column);
        tactics->addWidget(control, row, column + 1);
    };
    addLabelled("Caption_Formation", m_formation, 0, 0);
    tactics->addWidget(m_offsideTrap, 0, 2, 1, 2);
    addLabelled("Caption_Attack", m_attack, 1, 0);
    addLabelled("Caption_WithoutBall", m_withoutBall, 1, 2);
    tactics->setColumnStretch(4, 1);

    auto* layout = new QVBoxLayout(Body());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(tactics);
    layout->addWidget(m_pitch, 1);

    connect(m_formation, &QComboBox::activated, this, &CTeamFormationForm::ChooseFormation);
    connect(m_pitch, &CFormationView::MarkerDropped, this, &CTeamFormationForm::DropMarker);
    connect(m_pitch, &CFormationView::MarkerActivated, this, &CTeamFormationForm::OpenMarker);
    connect(this, &CColourFormView::ApplyClicked, this, [this] { Apply(); });
    connect(this, &CColourFormView::ResetClicked, this, &CTeamFormationForm::ResetRequested);
}

void CTeamFormationForm::Fill() {
    const CGameDatabase* db = m_host.Database();
    const CTeam* team = m_host.FindTeam(m_teamId);
    setEnabled(team != nullptr);
    m_formation->clear();
    if (!team) {
        m_lineUp = CLineUp();
        ShowMarkers();
        return;
    }
    for (const auto& [id, formation] : db->Formations())
        m_formation->addItem(FromUtf8(formation.name), id);
    m_formation->setCurrentIndex(m_formation->findData(team->Value(ETeamColumn::FormationId)));
    m_offsideTrap->setChecked(team->Value(ETeamColumn::OffsideTrap) != 0);
    CFieldNumbers::Fill(m_attack, m_host, *db, "teams", static_cast<int>(ETeamColumn::Attack),
                        team->Value(ETeamColumn::Attack));
    CFieldNumbers::Fill(m_withoutBall, m_host, *db, "teams",
                        static_cast<int>(ETeamColumn::WithoutBall),
                        team->Value(ETeamColumn::WithoutBall));
    LoadPitch();
}

void CTeamFormationForm::LoadPitch() {
    const CGameDatabase* db = m_host.Database();
    const CTeam* team = m_host.FindTeam(m_teamId);
    // The selection follows its marker (same player, same kind) through the reload.
    std::optional<SLineUpMarker> selected;
    const int index = m_pitch->SelectedMarker();
    if (index >= 0 && index < static_cast<int>(m_lineUp.Markers().size()))
        selected = m_lineUp.Markers()[static_cast<size_t>(index)];
    if (team)
        m_lineUp.Load(*db, *team);
    else
        m_lineUp = CLineUp();
    int reselect = -1;
    for (size_t i = 0; selected && i < m_lineUp.Markers().size(); ++i) {
        const SLineUpMarker& marker = m_lineUp.Markers()[i];
        if (marker.playerId == selected->playerId && marker.kind == selected->kind) {
            reselect = static_cast<int>(i);
            break;
        }
    }
    m_pitch->SetSelectedMarker(-1);
    ShowMarkers();
    m_pitch->SetSelectedMarker(reselect);
}

void CTeamFormationForm::showEvent(QShowEvent* event) {
    CColourFormView::showEvent(event);
    LoadPitch();
}

void CTeamFormationForm::Apply() {
    ApplyWith(CPositionStep());
}

void CTeamFormationForm::ResetTo(const CTeam& opened) {
    CGameDatabase* db = m_host.Database();
    CTeam* team = m_host.FindTeam(m_teamId);
    if (!team)
        return;
    const CTeam before = *team;
    CPositionStep positions;
    // Players who joined since keep their links; those who left stay gone.
    for (const CTeamPlayerLink& link : opened.Links()) {
        if (CTeamPlayerLink* live = team->FindLink(link.playerId)) {
            live->jerseyNumber = link.jerseyNumber;
            positions.Set(*team, link.playerId, link.formationPosition);
        }
    }
    for (ETaker taker : {ETaker::Captain, ETaker::FreeKick, ETaker::LeftCorner, ETaker::RightCorner,
                         ETaker::Penalty})
        team->SetTaker(taker, opened.Taker(taker));
    for (ETeamColumn column : {ETeamColumn::FormationId, ETeamColumn::Attack,
                               ETeamColumn::WithoutBall, ETeamColumn::OffsideTrap})
        team->SetValue(column, opened.Value(column));
    if (!(*team == before))
        db->MarkDirty();
    Fill();
    ApplyWith(std::move(positions));
}

void CTeamFormationForm::ApplyWith(CPositionStep positions) {
    CGameDatabase* db = m_host.Database();
    CTeam* team = m_host.FindTeam(m_teamId);
    if (!team)
        return;
    const CTeam before = *team;
    // A formation id that no entry shows stays as it is rather than becoming garbage.
    if (m_formation->currentIndex() >= 0)
        team->SetValue(ETeamColumn::FormationId, m_formation->currentData().toInt());
    team->SetValue(ETeamColumn::Attack, m_attack->value());
    team->SetValue(ETeamColumn::WithoutBall, m_withoutBall->value());
    team->SetValue(ETeamColumn::OffsideTrap, m_offsideTrap->isChecked() ? 1 : 0);
    positions.Append(m_lineUp.WriteBack(*team));
    if (!(*team == before))
        db->MarkDirty();
    LoadPitch();
    emit Applied(positions);
}

void CTeamFormationForm::ChooseFormation(int entry) {
    CGameDatabase* db = m_host.Database();
    CTeam* team = m_host.FindTeam(m_teamId);
    if (!team || entry < 0)
        return;
    std::vector<int32_t> rows;
    if (m_rows)
        rows = m_rows();
    else
        rows = db->PlayersOfTeam(m_teamId);
    const int32_t oldFormationId = team->Value(ETeamColumn::FormationId);
    const CPositionStep positions =
        CFormationTemplates::Apply(*team, entry, m_formation->itemData(entry).toInt(), rows);
    if (oldFormationId != team->Value(ETeamColumn::FormationId) || !positions.IsEmpty())
        db->MarkDirty();
    LoadPitch();
    emit FormationChanged(positions);
}

void CTeamFormationForm::DropMarker(int index, int cell) {
    m_lineUp.Drop(index, CLineUp::SlotOfCell(cell));
    ShowMarkers();
}

void CTeamFormationForm::OpenMarker(int index) {
    const auto& markers = m_lineUp.Markers();
    if (index >= 0 && index < static_cast<int>(markers.size()))
        m_host.OpenPlayer(markers[static_cast<size_t>(index)].playerId);
}

void CTeamFormationForm::ShowMarkers() {
    QList<SFormationMarker> views;
    for (int i = 0; i < static_cast<int>(m_lineUp.Markers().size()); ++i)
        views.push_back(MarkerView(i));
    m_pitch->SetMarkers(std::move(views));
}

QString CTeamFormationForm::SlotName(int slot) const {
    if (CLineUp::IsSetPieceSlot(slot))
        return m_host.Text(kSetPieceCaptions[slot - CLineUp::kFirstSetPieceSlot]);
    return m_host.Text(PositionKey(CLineUp::PositionOfSlot(slot)).c_str());
}

SFormationMarker CTeamFormationForm::MarkerView(int index) const {
    const SLineUpMarker& marker = m_lineUp.Markers()[static_cast<size_t>(index)];
    const CPlayer* player = m_host.Database()->FindPlayer(marker.playerId);
    SFormationMarker view;
    view.cell = CLineUp::CellOfSlot(marker.slot);
    view.stackLevel = m_lineUp.StackLevel(index);
    view.setPiece = marker.IsSetPiece();
    const QString name =
        player ? FromUtf8(player->LastName().empty() ? player->CommonName() : player->LastName())
               : QString();
    view.name = name;
    const QString fullName = FromUtf8(m_host.Database()->PlayerDisplayName(marker.playerId));
    if (view.setPiece) {
        view.boxText = kSetPieceLabels[marker.kind - CLineUp::kFirstSetPieceSlot];
        view.toolTip = SlotName(marker.kind);
        view.description = SlotName(marker.kind) + ", " + fullName;
    } else {
        view.boxText = QString::number(marker.jerseyNumber);
        if (player)
            view.icon = CPositionIcon::Of(player->PositionGroup(),
                                          player->Value(EPlayerColumn::StarPlayer) != 0);
        view.toolTip = ToolTipOf(index);
        view.description = SlotName(marker.slot) + ", " + view.boxText + ", " + fullName;
    }
    return view;
}

QString CTeamFormationForm::ToolTipOf(int index) const {
    const CGameDatabase& db = *m_host.Database();
    const SLineUpMarker& marker = m_lineUp.Markers()[static_cast<size_t>(index)];
    const CPlayer* player = db.FindPlayer(marker.playerId);
    if (!player)
        return {};
    const QString shownName = player->CommonName().empty()
                                  ? FromUtf8(player->FirstName() + " " + player->LastName())
                                  : FromUtf8(player->CommonName());
    QString html =
        QStringLiteral("<table width='100%'><tr><td><b><font color='#FF0000'>%1 "
                       "%2</font></b></td><td align='right'>%3</td></tr></table>")
            .arg(marker.jerseyNumber)
            .arg(shownName.toHtmlEscaped(),
                 m_host.Text(PositionKey(player->Value(EPlayerColumn::PreferredPosition1)).c_str())
                     .toHtmlEscaped());
    html += QStringLiteral("<hr width='100%'>%1: %2")
                .arg(m_host.Text("Caption_Rating").toHtmlEscaped(),
                     CRatingPicture::ImageTag(player->ComputeOverall()));
    // A position held twice after a formation change: say with whom, so it can be mended.
    for (size_t i = 0; i < m_lineUp.Markers().size(); ++i) {
        const SLineUpMarker& other = m_lineUp.Markers()[i];
        if (static_cast<int>(i) == index || other.IsSetPiece() || other.slot != marker.slot ||
            marker.slot >= CLineUp::kPitchSlots)
            continue;
        html += "<br><i>" +
                m_host.Text("Caption_SharedPosition")
                    .replace("%s", FromUtf8(db.PlayerDisplayName(other.playerId)))
                    .toHtmlEscaped() +
                "</i>";
    }
    return html;
}
