#include "CFindingsWindow.h"

#include "editor/model/CGameDatabase.h"
#include "editor/model/CPlayerField.h"
#include "editor/toolkit/CCountText.h"
#include "editor/windows/CFieldCaptions.h"
#include "editor/windows/CFrameHost.h"

#include <QHeaderView>
#include <QLabel>
#include <QStandardItemModel>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int kRowRole = Qt::UserRole + 1;

QString RecordName(const CGameDatabase* db, const SCheckFinding& finding) {
    if (!db)
        return {};
    using K = SCheckFinding::EKind;
    switch (finding.kind) {
    case K::Player:
        if (db->FindPlayer(finding.id))
            return QString::fromStdString(db->PlayerDisplayName(finding.id));
        break;
    case K::Team:
        if (const CTeam* team = db->FindTeam(finding.id))
            return QString::fromStdString(team->Name());
        break;
    case K::League:
        if (const CLeague* league = db->FindLeague(finding.id))
            return QString::fromStdString(league->name);
        break;
    case K::Stadium:
        if (const CStadium* stadium = db->FindStadium(finding.id))
            return QString::fromStdString(stadium->name);
        break;
    case K::Formation:
    case K::File:
        break;
    }
    return {};
}

const char* KindKey(SCheckFinding::EKind kind) {
    using K = SCheckFinding::EKind;
    switch (kind) {
    case K::Player:
        return "Caption_Player";
    case K::Team:
        return "Caption_Team";
    case K::League:
        return "Caption_League";
    case K::Stadium:
        return "Caption_Stadium";
    case K::Formation:
        return "Caption_Formation";
    case K::File:
        break;
    }
    return "Caption_File";
}

} // namespace

CFindingsWindow::CFindingsWindow(CFrameHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window), m_host(host) {
    setObjectName(QStringLiteral("findingsWindow"));
    setWindowTitle(host.Text("Caption_CheckDatabase"));
    setAccessibleName(windowTitle());
    m_model = new QStandardItemModel(0, 5, this);
    m_model->setHorizontalHeaderLabels({host.Text("Caption_Severity"), host.Text("Caption_Kind"),
                                        host.Text("Caption_Name"), host.Text("Caption_Field"),
                                        host.Text("Caption_Problem")});
    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("findingsView"));
    m_view->setAccessibleName(host.Text("Caption_CheckDatabase"));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSortingEnabled(true);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->setWordWrap(false);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("findingsSummary"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_view);
    connect(m_view, &QAbstractItemView::activated, this,
            [this](const QModelIndex& index) { OpenRow(index.data(kRowRole).toInt()); });
    resize(760, 420);
}

void CFindingsWindow::SetFindings(std::vector<SCheckFinding> findings) {
    m_findings = std::move(findings);
    m_view->setSortingEnabled(false);
    m_model->removeRows(0, m_model->rowCount());
    const CGameDatabase* db = m_host.Database();
    int errors = 0;
    for (size_t i = 0; i < m_findings.size(); ++i) {
        const SCheckFinding& finding = m_findings[i];
        const bool error = finding.severity == SCheckFinding::ESeverity::Error;
        errors += error ? 1 : 0;
        auto* severity = new QStandardItem(
            style()->standardIcon(error ? QStyle::SP_MessageBoxCritical
                                        : QStyle::SP_MessageBoxWarning),
            m_host.Text(error ? "Caption_Error" : "Caption_Warning"));
        auto* kind = new QStandardItem(m_host.Text(KindKey(finding.kind)) +
                                       QStringLiteral(" %1").arg(finding.id));
        auto* name = new QStandardItem(RecordName(db, finding));
        const CPlayerField* playerField = CPlayerField::Find(finding.playerField);
        auto* field = new QStandardItem(
            playerField ? CFieldCaptions::Of(*playerField,
                                             [this](const char* key) { return m_host.Text(key); })
                        : QString());
        if (playerField)
            field->setToolTip(QString::fromLatin1(playerField->Name()));
        auto* message = new QStandardItem(QString::fromStdString(finding.message));
        message->setToolTip(QString::fromStdString(finding.code + ": " + finding.message));
        QList<QStandardItem*> row = {severity, kind, name, field, message};
        for (QStandardItem* item : row)
            item->setData(static_cast<int>(i), kRowRole);
        m_model->appendRow(row);
    }
    m_view->setSortingEnabled(true);
    m_view->resizeColumnsToContents();
    m_summary->setText(
        m_findings.empty()
            ? m_host.Text("Message_NoFindings")
            : m_host.Text("Message_FindingsCount")
                  .arg(CCountText::Of(m_host.Lookup(), "Message_ErrorCount", errors),
                       CCountText::Of(m_host.Lookup(), "Message_WarningCount",
                                      static_cast<int>(m_findings.size()) - errors)));
}

void CFindingsWindow::OpenRow(int row) {
    if (row < 0 || static_cast<size_t>(row) >= m_findings.size())
        return;
    const SCheckFinding& finding = m_findings[static_cast<size_t>(row)];
    using K = SCheckFinding::EKind;
    if (finding.kind == K::Player)
        m_host.OpenPlayer(finding.id);
    else if (finding.kind == K::Team)
        m_host.OpenTeam(finding.id);
    else if (finding.kind == K::League)
        m_host.OpenLeague(finding.id);
}
