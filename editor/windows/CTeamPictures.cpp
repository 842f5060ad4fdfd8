#include "CTeamPictures.h"

#include "editor/assets/CPictureFile.h"
#include "editor/assets/CPictureImport.h"
#include "editor/assets/CPictureRequests.h"
#include "editor/dialogs/CWaitCursor.h"
#include "editor/document/CBackupWarnings.h"
#include "editor/model/CBackupStore.h"
#include "editor/windows/CFrameHost.h"
#include "editor/windows/CPicturePreviewDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>

CTeamPictures::CTeamPictures(CFrameHost& host, int32_t teamId, EKind kind, int kit)
    : m_host(host), m_teamId(teamId), m_kind(kind), m_kit(kit) {}

bool CTeamPictures::CanImport() const {
    return m_host.Pictures() != nullptr;
}

QImage CTeamPictures::Current() const {
    CPictureRequests* pictures = m_host.Pictures();
    if (!pictures)
        return {};
    return m_kind == EKind::Kit ? pictures->KitImage(m_teamId, m_kit) : pictures->Logo(m_teamId);
}

bool CTeamPictures::Import(QWidget* parent) const {
    CPictureRequests* pictures = m_host.Pictures();
    if (!pictures)
        return false;
    const QString file =
        QFileDialog::getOpenFileName(parent, m_host.Text("Caption_ImportPictureTitle"), QString(),
                                     m_host.Text("Caption_PictureFiles"));
    if (file.isEmpty())
        return false;
    const CPictureFile::SLoaded loaded = CPictureFile::Load(file);
    const QString shownFile = QDir::toNativeSeparators(file);
    using EProblem = CPictureFile::EProblem;
    if (loaded.problem == EProblem::Damaged) {
        m_host.Warn(parent, m_host.Text("Message_PictureDamaged").arg(shownFile, loaded.detail));
        return false;
    }
    if (loaded.problem == EProblem::TooLarge && loaded.size.isValid()) {
        m_host.Warn(parent, m_host.Text("Message_PictureTooLarge")
                                .arg(shownFile)
                                .arg(loaded.size.width())
                                .arg(loaded.size.height()));
        return false;
    }
    if (loaded.problem != EProblem::None) {
        m_host.Warn(parent, m_host.Text("Message_PictureUnreadable").arg(shownFile));
        return false;
    }
    const QImage& picture = loaded.image;
    const QString folder = pictures->InstallFolder();
    const CPictureImport::STarget target = m_kind == EKind::Kit
                                               ? CPictureImport::KitTarget(folder, m_teamId, m_kit)
                                               : CPictureImport::CrestTarget(folder, m_teamId);
    QString error;
    std::optional<CPictureImport::SPrepared> prepared;
    wren::ShapeImportRequest request;
    const auto prepare = [&](bool magentaTransparent) {
        CWaitCursor wait;
        request.magentaTransparent = magentaTransparent;
        prepared = CPictureImport::Prepare(target, picture, request, error);
        return prepared.has_value();
    };
    if (!prepare(true)) {
        m_host.Warn(parent, m_host.Text("Message_PictureImportFailed").arg(error));
        return false;
    }
    const auto details = [&] {
        return m_host.Text("Caption_PictureImportTarget")
            .arg(CPictureImport::FormatName(prepared->shape.type))
            .arg(prepared->shape.width)
            .arg(prepared->shape.height)
            .arg(QDir::toNativeSeparators(QFileInfo(target.archive).fileName()),
                 QString::fromLatin1(target.container));
    };
    CPicturePreviewDialog preview(prepared->Decoded(), details(),
                                  m_host.Text("Caption_ImportPictureTitle"),
                                  m_host.Text("Caption_PictureImportPreview"), parent);
    preview.OfferMagentaKey(m_host.Text("Caption_MagentaTransparent"),
                            m_host.Text("Caption_MagentaTransparent_Help"),
                            prepared->shape.magentaPixels > 0);
    QObject::connect(
        &preview, &CPicturePreviewDialog::magentaKeyToggled, &preview, [&](bool transparent) {
            if (prepare(transparent)) {
                preview.SetPicture(prepared->Decoded(), details());
                return;
            }
            m_host.Warn(&preview, m_host.Text("Message_PictureImportFailed").arg(error));
            preview.reject();
        });
    if (preview.exec() != QDialog::Accepted)
        return false;
    CPictureImport::SWritten written;
    bool ok = false;
    const CBackupWarnings warnings;
    {
        CWaitCursor wait;
        const CBackupStore backups(m_host.BackupFolder());
        ok = CPictureImport::Write(*prepared, backups, m_host.BackupCount(), written, error);
    }
    if (!ok) {
        m_host.Warn(parent, warnings.AppendTo(m_host.Text("Message_PictureImportFailed").arg(error),
                                              m_host.Text("Message_BackupWarnings")));
        return false;
    }
    const QString heading = m_host.Text("Message_BackupWarnings");
    m_host.ShowStatus(warnings.Texts().isEmpty()
                          ? details()
                          : details() + QStringLiteral(" ") + heading + QStringLiteral(" ") +
                                warnings.Texts().join(QStringLiteral("; ")),
                      warnings.AppendTo(QDir::toNativeSeparators(written.archive), heading));
    return true;
}

bool CTeamPictures::Export(QWidget* parent) const {
    const QImage image = Current();
    if (image.isNull())
        return false;
    const QString file = QFileDialog::getSaveFileName(parent, m_host.Text("Caption_ExportPicture"),
                                                      QString(), m_host.Text("Caption_PngFiles"));
    if (file.isEmpty())
        return false;
    if (!image.save(file, "PNG")) {
        m_host.Warn(parent,
                    m_host.Text("Message_PictureExportFailed").arg(QDir::toNativeSeparators(file)));
        return false;
    }
    return true;
}
