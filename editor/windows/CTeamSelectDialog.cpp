#include "CTeamSelectDialog.h"

#include "editor/dialogs/CUserPrompts.h"
#include "editor/assets/CPictureRequests.h"
#include "editor/model/CGameDatabase.h"
#include "editor/toolkit/CPictureScaling.h"
#include "editor/windows/CFrameHost.h"
#include "editor/windows/CRecordIcons.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QIcon>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

constexpr int kTeamIdRole = Qt::UserRole + 1;
constexpr int kLeagueIdRole = Qt::UserRole + 2;
constexpr int kCrestsLoadedRole = Qt::UserRole + 3;

} // namespace

CTeamSelectDialog::CTeamSelectDialog(CFrameHost& host, const char* promptKey, QWidget* parent)
    : QDialog(parent), m_host(host) {
    setWindowTitle(host.Text("Caption_SelectTeam"));
    m_prompt = new QLabel(host.Text(promptKey), this);
    m_prompt->setWordWrap(true);
    m_model = new QStandardItemModel(this);
    m_tree = new QTreeView(this);
    m_tree->setObjectName(QStringLiteral("TeamTree"));
    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    m_tree->setIconSize(QSize(kIconSize, kIconSize));
    m_tree->setUniformRowHeights(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    // A double click chooses; on a league it says that a team is wanted.
    m_tree->setExpandsOnDoubleClick(false);
    m_prompt->setBuddy(m_tree);
    m_tree->setAccessibleName(m_prompt->text());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(host.Text("Caption_OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(host.Text("Caption_Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_tree, &QTreeView::expanded, this, &CTeamSelectDialog::LoadCrests);
    connect(m_tree, &QTreeView::doubleClicked, this, &CTeamSelectDialog::OnDoubleClicked);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_tree, 1);
    layout->addWidget(buttons);
    resize(360, 460);
    Fill();
}

std::optional<int32_t> CTeamSelectDialog::ChooseTeam(CFrameHost& host, const char* promptKey,
                                                     QWidget* parent) {
    if (!host.Database()) {
        return std::nullopt;
    }
    CTeamSelectDialog dialog(host, promptKey, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.SelectedTeamId();
}

void CTeamSelectDialog::Fill() {
    const CGameDatabase* db = m_host.Database();
    if (!db) {
        return;
    }
    const QIcon leagueIcon = CRecordIcons::League();
    for (const auto& [leagueId, league] : db->Leagues()) {
        auto* leagueItem = new QStandardItem(leagueIcon, QString::fromStdString(league.name));
        leagueItem->setData(leagueId, kLeagueIdRole);
        for (int32_t teamId : db->TeamsOfLeague(leagueId)) {
            const CTeam* team = db->FindTeam(teamId);
            // A membership row may name a team the database lacks: nothing to choose there.
            if (!team) {
                continue;
            }
            auto* teamItem = new QStandardItem(QString::fromStdString(team->Name()));
            teamItem->setData(teamId, kTeamIdRole);
            leagueItem->appendRow(teamItem);
        }
        m_model->appendRow(leagueItem);
    }
}

void CTeamSelectDialog::LoadCrests(const QModelIndex& leagueIndex) {
    QStandardItem* league = m_model->itemFromIndex(leagueIndex);
    CPictureRequests* pictures = m_host.Pictures();
    if (!league || !pictures || league->data(kCrestsLoadedRole).toBool()) {
        return;
    }
    league->setData(true, kCrestsLoadedRole);
    for (int row = 0; row < league->rowCount(); ++row) {
        QStandardItem* team = league->child(row);
        const QImage crest = pictures->Logo(team->data(kTeamIdRole).toInt());
        if (!crest.isNull()) {
            team->setIcon(
                QIcon(QPixmap::fromImage(CPictureScaling::Fitted(crest, kCrestScale, kIconSize))));
        }
    }
}

bool CTeamSelectDialog::SelectTeam(int32_t teamId) {
    const QModelIndexList found = m_model->match(m_model->index(0, 0), kTeamIdRole, teamId, 1,
                                                 Qt::MatchExactly | Qt::MatchRecursive);
    if (found.isEmpty()) {
        return false;
    }
    m_tree->expand(found.first().parent());
    m_tree->setCurrentIndex(found.first());
    m_tree->scrollTo(found.first());
    return true;
}

void CTeamSelectDialog::OnDoubleClicked(const QModelIndex&) {
    accept();
}

void CTeamSelectDialog::accept() {
    const QModelIndexList selected = m_tree->selectionModel()->selectedIndexes();
    const QModelIndex current = selected.isEmpty() ? QModelIndex() : selected.first();
    const QVariant teamId = current.isValid() ? current.data(kTeamIdRole) : QVariant();
    if (!teamId.isValid()) {
        CUserPrompts::Warn(this, m_host.Text("Msg_SelectTeam"));
        return;
    }
    m_teamId = teamId.toInt();
    m_teamName = current.data(Qt::DisplayRole).toString();
    QDialog::accept();
}
