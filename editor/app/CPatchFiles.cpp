#include "CPatchFiles.h"

#include "CApplyPatchDialog.h"
#include "CExportPatchDialog.h"
#include "CKestrelApp.h"
#include "CMainFrame.h"
#include "editor/dialogs/CMessageBoxSink.h"
#include "editor/dialogs/CUserPrompts.h"
#include "editor/document/CDatabaseDocument.h"
#include "editor/document/CPatchCommand.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CGameInstallation.h"
#include "editor/model/COriginalDatabase.h"
#include "editor/model/COtherInstallation.h"
#include "editor/model/CPatch.h"
#include "editor/toolkit/CCountText.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <memory>

namespace {

QString Lines(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& line : lines)
        out << QString::fromStdString(line);
    return out.join(u'\n');
}

} // namespace

QString CPatchFiles::Detailed(const char* key, const QString& detail) const {
    return m_frame.Text(key) + QStringLiteral("\n\n") + detail;
}

CPatchFiles::CPatchFiles(CMainFrame& frame, CKestrelApp& app)
    : QObject(&frame), m_frame(frame), m_app(app) {}

bool CPatchFiles::LoadBase(const QString& folder, CGameDatabase& base, std::string& basePath) {
    const CDatabaseDocument& document = m_frame.Document();
    std::string error;
    if (folder.isEmpty()) {
        if (COriginalDatabase::Load(document.FilePath().toStdString(),
                                    document.TextDbPath().toStdString(), base, basePath, error))
            return true;
        m_frame.Warn(&m_frame, Detailed("Error_PatchBase", QString::fromStdString(error)));
        return false;
    }
    // The loader's own failures (and names it cannot read) are shown as it reports them.
    CMessageBoxSink sink(m_app.Localisation(), &m_frame);
    const COtherInstallation::SResult loaded =
        COtherInstallation::Load(folder.toStdString(), m_app.GameLanguage(), base, sink);
    switch (loaded.error) {
    case COtherInstallation::EError::None:
        basePath = loaded.dbPath;
        return true;
    case COtherInstallation::EError::NoFolder:
    case COtherInstallation::EError::NoDatabase:
        m_frame.Warn(&m_frame, m_frame.Text("Error_PatchNoDatabaseIn")
                                   .arg(QString::fromLatin1(CGameInstallation::kDatabaseRelativePath),
                                        QDir::toNativeSeparators(folder)));
        return false;
    case COtherInstallation::EError::Unreadable:
        return false;
    }
    return false;
}

void CPatchFiles::ExportChanges() {
    const CGameDatabase* db = m_frame.Database();
    if (!db) {
        m_frame.Warn(&m_frame, m_frame.Text("Message_NoDatabase"));
        return;
    }
    CExportPatchDialog dialog(m_frame, &m_frame);
    if (dialog.exec() != QDialog::Accepted)
        return;
    CGameDatabase base;
    std::string basePath;
    if (!LoadBase(dialog.BaseFolder(), base, basePath))
        return;
    CPatch patch;
    std::string error;
    if (!CPatch::Make(base, basePath, *db, dialog.Description().toStdString(), patch, error)) {
        m_frame.Warn(&m_frame, Detailed("Error_PatchBase", QString::fromStdString(error)));
        return;
    }
    if (patch.changes.empty()) {
        CUserPrompts::Inform(&m_frame, m_frame.Text("Message_PatchNoChanges"));
        return;
    }
    QString path = QFileDialog::getSaveFileName(
        &m_frame, m_frame.Text("Caption_ExportPatch"),
        QFileInfo(m_frame.Document().FilePath()).dir().filePath(QStringLiteral("changes.kpatch")),
        m_frame.Text("Caption_PatchFilter"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".kpatch");
    if (!patch.WriteFile(path.toStdString(), error)) {
        m_frame.Warn(&m_frame, Detailed("Error_PatchWrite", QString::fromStdString(error)));
        return;
    }
    m_frame.ShowStatus(CCountText::Of(m_frame.Lookup(), QStringLiteral("Message_PatchWritten"),
                                      static_cast<qint64>(patch.changes.size()))
                           .arg(QDir::toNativeSeparators(path)));
}

void CPatchFiles::ApplyPatch() {
    CGameDatabase* db = m_frame.Database();
    if (!db) {
        m_frame.Warn(&m_frame, m_frame.Text("Message_NoDatabase"));
        return;
    }
    const QString path = QFileDialog::getOpenFileName(
        &m_frame, m_frame.Text("Caption_ApplyPatch"),
        QFileInfo(m_frame.Document().FilePath()).dir().path(), m_frame.Text("Caption_PatchFilter"));
    if (path.isEmpty())
        return;
    auto patch = std::make_shared<CPatch>();
    std::string error;
    if (!CPatch::ReadFile(path.toStdString(), *patch, error)) {
        m_frame.Warn(&m_frame, Detailed("Error_PatchRead", QString::fromStdString(error)));
        return;
    }
    CPatchApply::SOptions options;
    options.resolve = CPatchApply::EResolve::Ours;
    options.dryRun = true;
    options.namesStorable = !m_frame.Document().TextDbPath().isEmpty();
    const CPatchApply::SResult preview = CPatchApply::Apply(*db, *patch, options);
    if (!preview.errors.empty()) {
        m_frame.Warn(&m_frame, Detailed("Error_PatchRefused", Lines(preview.errors)));
        return;
    }
    if (preview.changes.empty() && preview.conflicts.empty()) {
        CUserPrompts::Inform(&m_frame, m_frame.Text("Message_PatchNothingToApply"));
        return;
    }
    CApplyPatchDialog dialog(m_frame, *patch, preview, *db, &m_frame);
    if (dialog.exec() != QDialog::Accepted)
        return;
    options.resolve = CPatchApply::EResolve::Choose;
    options.theirs = dialog.TakenAsTheirs();
    options.dryRun = false;
    auto result = std::make_shared<CPatchApply::SResult>();
    m_frame.Document().Push(new CPatchCommand(
        m_frame.Document(), patch, options, result,
        m_frame.Text("Caption_PatchStep").arg(QFileInfo(path).fileName())));
    if (!result->errors.empty()) {
        m_frame.Warn(&m_frame, Detailed("Error_PatchRefused", Lines(result->errors)));
        return;
    }
    m_frame.ShowStatus(CCountText::Of(m_frame.Lookup(), QStringLiteral("Message_PatchApplied"),
                                      static_cast<qint64>(result->changes.size())));
}
