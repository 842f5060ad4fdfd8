#include "CCopiedTeamPictures.h"

#include "editor/assets/CPictureImport.h"
#include "editor/assets/CPictureRequests.h"
#include "editor/assets/CTeamPictureCopy.h"
#include "editor/dialogs/CWaitCursor.h"
#include "editor/document/CBackupWarnings.h"
#include "editor/document/CDatabaseDocument.h"
#include "editor/model/CBackupStore.h"
#include "editor/model/CTeam.h"
#include "editor/model/CTeamKit.h"
#include "editor/windows/CFrameHost.h"
#include "editor/windows/CTeamKitsForm.h"

#include <QDir>

#include <vector>

namespace {

QString Plain(const QString& caption) {
    return QString(caption).remove(u'&');
}

QString Native(const std::string& path) {
    return QDir::toNativeSeparators(QString::fromStdString(path));
}

} // namespace

CCopiedTeamPictures::SReport CCopiedTeamPictures::Copy(CFrameHost& host, const QString& fromFolder,
                                                       int32_t there, int32_t here) {
    const CPictureRequests* pictures = host.Pictures();
    if (!pictures)
        return {host.Text("Message_ImportPicturesNoLibrary"), {}};
    std::vector<int> kits;
    if (const CTeam* team = host.FindTeam(here))
        for (int slot = 0; slot < CTeamKit::kSlotCount; ++slot)
            if (team->FindKit(slot))
                kits.push_back(slot);
    // The other installation's archives through the same reader as this one's pictures.
    const CPictureArchive::Fetcher fetch = [pictures](const std::string& archive,
                                                      const std::string& container,
                                                      const std::string& shape) {
        const QImage image =
            pictures->Fetch(QString::fromStdString(archive), QByteArray::fromStdString(container),
                            QByteArray::fromStdString(shape));
        return image.isNull() ? std::nullopt
                              : std::optional<wren::BgraImage>(CPictureImport::ToBgra(image));
    };
    const CBackupWarnings warnings;
    std::vector<CTeamPictureCopy::SItem> items;
    {
        CWaitCursor wait;
        const CBackupStore backups(host.BackupFolder());
        items = CTeamPictureCopy::Copy(fetch, fromFolder.toStdString(), there,
                                       pictures->InstallFolder().toStdString(), here, kits, backups,
                                       host.BackupCount());
    }
    QStringList copied, absent, failed, archives;
    SReport report;
    for (const CTeamPictureCopy::SItem& item : items) {
        const QString name = item.kit == CTeamPictureCopy::kCrest
                                 ? host.Text("Caption_CopiedCrest")
                                 : host.Text("Caption_CopiedKit")
                                       .arg(Plain(host.Text(CTeamKitsForm::KitTypeKey(item.kit))));
        switch (item.outcome) {
        case CTeamPictureCopy::EOutcome::Copied:
            copied.append(name);
            // The first picture into an archive made its backup.
            if (!archives.contains(Native(item.written.archive))) {
                archives.append(Native(item.written.archive));
                report.details.append(
                    item.written.backup.empty()
                        ? host.Text("Message_ImportPictureWritten").arg(archives.back())
                        : host.Text("Message_ImportPictureBackedUp")
                              .arg(archives.back(), Native(item.written.backup)));
            }
            break;
        case CTeamPictureCopy::EOutcome::Absent:
            absent.append(name);
            break;
        case CTeamPictureCopy::EOutcome::Failed:
            failed.append(name);
            report.details.append(host.Text("Message_ImportPictureFailed")
                                      .arg(name, QString::fromStdString(item.reason)));
            break;
        }
    }
    QStringList summary;
    const QString separator = QStringLiteral(", ");
    if (!copied.isEmpty()) {
        summary.append(host.Text("Message_ImportPicturesCopied").arg(copied.size()));
        report.details.prepend(host.Text("Message_ImportPicturesList").arg(copied.join(separator)));
    }
    if (!absent.isEmpty())
        summary.append(host.Text("Message_ImportPicturesAbsent").arg(absent.join(separator)));
    if (!failed.isEmpty())
        summary.append(host.Text("Message_ImportPicturesFailed").arg(failed.join(separator)));
    report.summary = summary.join(u' ');
    if (!warnings.Texts().isEmpty()) {
        report.details.append(host.Text("Message_BackupWarnings"));
        report.details.append(warnings.Texts());
    }
    if (!copied.isEmpty()) {
        SChange change;
        change.what = SChange::Pictures;
        change.teams = {here};
        host.Document().NotifyChanged(change);
    }
    return report;
}

CCopiedTeamPictures::SReport CCopiedTeamPictures::LeftBehind(CFrameHost& host) {
    return {host.Text("Message_ImportPicturesLeftBehind"), {}};
}
