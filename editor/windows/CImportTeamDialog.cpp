#include "CImportTeamDialog.h"

#include "editor/model/CGameDatabase.h"
#include "editor/windows/CFrameHost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr int kIdRole = Qt::UserRole + 1;

QString Plain(const QString& caption) {
    return QString(caption).remove(u'&');
}

} // namespace

CImportTeamDialog::CImportTeamDialog(CFrameHost& host, const CGameDatabase& from,
                                     const QString& source, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("ImportTeamDialog"));
    setWindowTitle(Plain(host.Text("Caption_ImportTeam")));
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(host.Text("Message_ImportTeamPrompt").arg(source), this);
    prompt->setWordWrap(true);
    layout->addWidget(prompt);

    auto* filterRow = new QHBoxLayout;
    auto* filterLabel = new QLabel(host.Text("Caption_CompareFilter"), this);
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("ImportTeamFilter"));
    m_filter->setClearButtonEnabled(true);
    m_filter->setAccessibleName(Plain(filterLabel->text()));
    filterLabel->setBuddy(m_filter);
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(m_filter, 1);
    layout->addLayout(filterRow);

    m_model = new QStandardItemModel(this);
    for (const auto& [id, team] : from.Teams()) {
        auto* item = new QStandardItem(
            QStringLiteral("%1 (%2)").arg(QString::fromStdString(team.Name())).arg(id));
        item->setData(id, kIdRole);
        item->setEditable(false);
        m_model->appendRow(item);
    }
    m_proxy = new QSortFilterProxyModel(this);
    m_proxy->setSourceModel(m_model);
    m_proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_proxy->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_proxy->sort(0);
    m_list = new QListView(this);
    m_list->setObjectName(QStringLiteral("ImportTeamList"));
    m_list->setAccessibleName(Plain(host.Text("Caption_ImportTeamList")));
    m_list->setModel(m_proxy);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setUniformItemSizes(true);
    layout->addWidget(m_list, 1);

    auto* form = new QFormLayout;
    m_withPlayers = new QCheckBox(host.Text("Caption_ImportWithPlayers"), this);
    m_withPlayers->setObjectName(QStringLiteral("ImportWithPlayers"));
    m_withPlayers->setAccessibleName(Plain(m_withPlayers->text()));
    m_withPlayers->setChecked(true);
    form->addRow(m_withPlayers);
    m_withPictures = new QCheckBox(host.Text("Caption_ImportWithPictures"), this);
    m_withPictures->setObjectName(QStringLiteral("ImportWithPictures"));
    m_withPictures->setAccessibleName(Plain(m_withPictures->text()));
    m_withPictures->setToolTip(host.Text("Caption_ImportWithPictures_Help"));
    // Without the asset library no picture can be read or written.
    m_withPictures->setChecked(host.Pictures() != nullptr);
    m_withPictures->setEnabled(host.Pictures() != nullptr);
    form->addRow(m_withPictures);
    m_league = new QComboBox(this);
    m_league->setObjectName(QStringLiteral("ImportLeague"));
    m_league->addItem(host.Text("Caption_ImportNoLeague"));
    if (const CGameDatabase* here = host.Database()) {
        std::vector<std::pair<QString, int32_t>> leagues;
        for (const auto& [id, league] : here->Leagues()) {
            leagues.emplace_back(QString::fromStdString(league.name), id);
        }
        std::sort(leagues.begin(), leagues.end());
        for (const auto& [name, id] : leagues) {
            m_league->addItem(name, id);
        }
    }
    auto* leagueLabel = new QLabel(host.Text("Caption_ImportLeague"), this);
    leagueLabel->setBuddy(m_league);
    m_league->setAccessibleName(Plain(leagueLabel->text()));
    form->addRow(leagueLabel, m_league);
    layout->addLayout(form);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(host.Text("Caption_ImportTeamCopy"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(host.Text("Caption_Cancel"));
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_filter, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_proxy->setFilterFixedString(text.trimmed());
        // The only team left over is the one meant.
        if (m_proxy->rowCount() == 1) {
            m_list->setCurrentIndex(m_proxy->index(0, 0));
        }
        UpdateButtons();
    });
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CImportTeamDialog::UpdateButtons);
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this] {
        if (TeamId()) {
            accept();
        }
    });
    UpdateButtons();
    resize(420, 480);
    m_filter->setFocus();
}

std::optional<int32_t> CImportTeamDialog::TeamId() const {
    const QModelIndex current = m_list->currentIndex();
    if (!current.isValid() || !m_list->selectionModel()->isSelected(current)) {
        return std::nullopt;
    }
    return current.data(kIdRole).toInt();
}

bool CImportTeamDialog::WithPlayers() const {
    return m_withPlayers->isChecked();
}

bool CImportTeamDialog::WithPictures() const {
    return m_withPictures->isChecked();
}

std::optional<int32_t> CImportTeamDialog::LeagueId() const {
    const QVariant id = m_league->currentData();
    return id.isValid() ? std::optional<int32_t>(id.toInt()) : std::nullopt;
}

void CImportTeamDialog::UpdateButtons() {
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(TeamId().has_value());
}
