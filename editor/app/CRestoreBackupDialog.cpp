#include "CRestoreBackupDialog.h"

#include "editor/database/CMessageSink.h"
#include "editor/model/CBackupStore.h"
#include "editor/model/CDatabaseDiff.h"
#include "editor/model/CGameDatabase.h"
#include "editor/toolkit/CCountText.h"
#include "editor/windows/CFrameHost.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

qint64 CountOf(const SBackupInfo& info, const char* key) {
    const auto found = info.counts.find(key);
    return found == info.counts.end() ? 0 : static_cast<qint64>(found->second);
}

QString Count(const SBackupInfo& info, const char* key) {
    const auto found = info.counts.find(key);
    return found == info.counts.end() ? QStringLiteral("-") : QString::number(found->second);
}

} // namespace

CRestoreBackupDialog::CRestoreBackupDialog(CFrameHost& host, std::filesystem::path folder,
                                           std::string textsPath, QWidget* parent)
    : QDialog(parent), m_host(host), m_folder(std::move(folder)), m_textsPath(std::move(textsPath)) {
    setObjectName(QStringLiteral("restoreBackupDialog"));
    setWindowTitle(host.Text("Caption_RestoreBackup"));
    m_backups = CBackupStore(m_folder).List();

    m_model = new QStandardItemModel(0, 7, this);
    m_model->setHorizontalHeaderLabels(
        {host.Text("Caption_BackupTime"), host.Text("Caption_BackupFile"),
         host.Text("Caption_BackupSize"), host.Text("Caption_Players"),
         host.Text("Caption_Teams"), host.Text("Caption_Comps"), host.Text("Caption_Original")});
    for (const SBackupInfo& info : m_backups) {
        QList<QStandardItem*> row = {
            new QStandardItem(QString::fromStdString(info.time)),
            new QStandardItem(QString::fromStdString(info.file)),
            new QStandardItem(QLocale().formattedDataSize(static_cast<qint64>(info.size))),
            new QStandardItem(Count(info, "players")),
            new QStandardItem(Count(info, "teams")),
            new QStandardItem(Count(info, "leagues")),
            new QStandardItem(info.original ? host.Text("Caption_Original") : QString())};
        row[0]->setToolTip(QString::fromStdString(info.name));
        m_model->appendRow(row);
    }
    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("backupsView"));
    m_view->setAccessibleName(host.Text("Caption_RestoreBackup"));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->resizeColumnsToContents();

    m_differences = new QLabel(m_backups.empty() ? host.Text("Message_NoBackups") : QString(),
                               this);
    m_differences->setObjectName(QStringLiteral("backupDifferences"));
    m_differences->setWordWrap(true);
    m_differences->setMinimumHeight(48);

    auto* buttons = new QDialogButtonBox(this);
    m_restore = buttons->addButton(host.Text("Caption_Restore"), QDialogButtonBox::AcceptRole);
    m_restore->setObjectName(QStringLiteral("restoreButton"));
    m_restore->setEnabled(false);
    buttons->addButton(host.Text("Caption_Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CRestoreBackupDialog::ShowDifferences);
    connect(m_view, &QAbstractItemView::doubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addWidget(m_differences);
    layout->addWidget(buttons);
    resize(720, 400);
}

std::optional<SBackupInfo> CRestoreBackupDialog::Chosen() const {
    const QModelIndexList rows = m_view->selectionModel()->selectedRows();
    if (rows.isEmpty() || rows.first().row() >= static_cast<int>(m_backups.size()))
        return std::nullopt;
    return m_backups[static_cast<size_t>(rows.first().row())];
}

// A copy of the game database is loaded to say what restoring it would change.
void CRestoreBackupDialog::ShowDifferences() {
    const std::optional<SBackupInfo> chosen = Chosen();
    m_restore->setEnabled(chosen.has_value());
    if (!chosen)
        return;
    if (CBackupStore::IsArchive(chosen->file)) {
        m_differences->setText(
            m_host.Text("Message_BackupOfArchive").arg(QString::fromStdString(chosen->file)));
        return;
    }
    const CGameDatabase* loaded = m_host.Database();
    if (chosen->counts.count("texts") || !loaded) {
        m_differences->setText(
            CCountText::Of(m_host.Lookup(), "Message_BackupOfTexts", CountOf(*chosen, "texts")));
        return;
    }
    CGameDatabase copy;
    CIgnoringSink sink;
    if (!copy.LoadGameDatabase((m_folder / chosen->name).string(), m_textsPath, sink)) {
        m_differences->setText(m_host.Text("Message_BackupUnreadable"));
        return;
    }
    const CDatabaseDiff diff = CDatabaseDiff::Compare(*loaded, copy);
    auto line = [&](const char* key, const CDatabaseDiff::SCounts& counts) {
        return m_host.Text(key) + QStringLiteral(": ") +
               m_host.Text("Message_AddedRemovedChanged")
                   .arg(counts.added)
                   .arg(counts.removed)
                   .arg(counts.changed);
    };
    m_differences->setText(m_host.Text("Message_BackupDifferences") + QStringLiteral("\n") +
                           line("Caption_Players", diff.players) + QStringLiteral("; ") +
                           line("Caption_Teams", diff.teams) + QStringLiteral("; ") +
                           line("Caption_Comps", diff.leagues));
}
