#include "CPictureImport.h"

#include "CPictureRequests.h"
#include "InstallPath.h"

#include "editor/database/Utf8Path.h"
#include "editor/database/CInstallationLock.h"
#include "editor/model/CBackupStore.h"
#include "wren_utils/archive/BigArchiveUpdate.h"
#include "wren_utils/shapes/ShapeFormat.h"

#include <QFileInfo>

#include <cstring>

namespace {

std::string PathText(const QString& path) {
    return path.toUtf8().toStdString();
}

} // namespace

CPictureImport::STarget CPictureImport::KitTarget(const QString& installFolder, int team, int kit) {
    return Locate(installFolder, CPictureRequests::KitContainer(team, kit),
                  CPictureRequests::KitShape(kit));
}

CPictureImport::STarget CPictureImport::CrestTarget(const QString& installFolder, int team) {
    return Locate(installFolder, CPictureRequests::LogoContainer(team),
                  CPictureRequests::LogoShape());
}

CPictureImport::STarget CPictureImport::Locate(const QString& installFolder,
                                               const QByteArray& container,
                                               const QByteArray& shape) {
    STarget target;
    target.container = container;
    target.shape = shape;
    const QString newer = ResolveInstallPath(installFolder, QStringLiteral("data/zdata_05.big"));
    const QString older = ResolveInstallPath(installFolder, QStringLiteral("data/zdata_04.big"));
    // The order of the picture requests: the first archive that holds the entry is the one
    // the game and the editor read it from.
    for (const QString& archive : {newer, older}) {
        if (!QFileInfo::exists(archive))
            continue;
        std::string error;
        const auto directory = wren::BIG_readdirectory(PathText(archive), error);
        if (directory && directory->Find(container.toStdString())) {
            target.archive = archive;
            target.entryExists = true;
            return target;
        }
    }
    target.archive = newer;
    return target;
}

std::optional<CPictureImport::SPrepared>
CPictureImport::Prepare(const STarget& target, const QImage& picture,
                        const wren::ShapeImportRequest& options, QString& error) {
    if (picture.isNull()) {
        error = QStringLiteral("the picture is empty");
        return std::nullopt;
    }
    std::string reason;
    std::optional<std::vector<uint8_t>> oldEntry;
    if (QFileInfo::exists(target.archive)) {
        // Read before anything is made: a damaged archive is refused here, not half-way.
        const auto directory = wren::BIG_readdirectory(PathText(target.archive), reason);
        if (!directory) {
            error = QString::fromStdString(reason);
            return std::nullopt;
        }
        if (target.entryExists) {
            oldEntry = wren::BIG_readfileentry(PathText(target.archive),
                                               target.container.toStdString(), reason);
            if (!oldEntry) {
                error = QString::fromStdString(reason);
                return std::nullopt;
            }
        }
    }
    wren::ShapeImportRequest request = options;
    request.shape = target.shape.toStdString();
    auto shape = oldEntry
                     ? wren::ShapeImporter::Import(*oldEntry, ToBgra(picture), request, reason)
                     : wren::ShapeImporter::Import(std::nullopt, ToBgra(picture), request, reason);
    if (!shape) {
        error = QString::fromStdString(reason);
        return std::nullopt;
    }
    return SPrepared{target, std::move(*shape)};
}

bool CPictureImport::Write(const SPrepared& prepared, const CBackupStore& backups, int keep,
                           SWritten& written, QString& error) {
    // The installation's writers take turns: the archive is read and replaced under its lock.
    CInstallationLock lock;
    std::string lockError;
    if (!lock.Acquire(backups.Folder().parent_path(), lockError)) {
        error = QString::fromStdString(lockError);
        return false;
    }
    wren::BigPutOptions options;
    options.keepBackup = false;
    options.backup = [&backups, keep](const std::string& archive, std::string& backupPath,
                                      std::string& reason) {
        const std::filesystem::path file = Utf8Path(archive);
        std::string made;
        if (!backups.Backup(file, keep, made, reason))
            return false;
        // An identical newest copy was not made again: that one holds the old archive.
        if (made.empty()) {
            const std::u8string name = file.filename().u8string();
            const auto copies = backups.List(std::string(name.begin(), name.end()));
            if (!copies.empty())
                made = copies.front().name;
        }
        if (!made.empty()) {
            const std::u8string copy = (backups.Folder() / Utf8Path(made)).u8string();
            backupPath.assign(copy.begin(), copy.end());
        }
        return true;
    };
    wren::BigPutResult result;
    std::string reason;
    if (!wren::BIG_putentry(PathText(prepared.target.archive),
                            prepared.target.container.toStdString(), prepared.shape.entry, result,
                            reason, options)) {
        error = QString::fromStdString(reason);
        return false;
    }
    written.archive = prepared.target.archive;
    written.backup = QString::fromStdString(result.backupPath);
    written.appended = result.appended || result.created;
    return true;
}

QString CPictureImport::FormatName(uint8_t type) {
    switch (type) {
    case wren::kShapeTypeDxt1:
        return QStringLiteral("DXT1");
    case wren::kShapeTypeDxt3:
        return QStringLiteral("DXT3");
    case wren::kShapeTypeDxt5:
        return QStringLiteral("DXT5");
    default:
        return QStringLiteral("32-bit");
    }
}

wren::BgraImage CPictureImport::ToBgra(const QImage& image) {
    // ARGB32 words are bytes blue, green, red, alpha in memory on the little-endian machines
    // the game runs on.
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    wren::BgraImage out;
    out.width = static_cast<uint32_t>(argb.width());
    out.height = static_cast<uint32_t>(argb.height());
    out.pixels.resize(size_t{out.width} * out.height * 4);
    for (int y = 0; y < argb.height(); ++y)
        std::memcpy(out.pixels.data() + size_t{out.width} * 4 * static_cast<size_t>(y),
                    argb.constScanLine(y), size_t{out.width} * 4);
    return out;
}

QImage CPictureImport::ToImage(const wren::BgraImage& image) {
    if (image.width == 0 || image.height == 0 ||
        image.pixels.size() < size_t{image.width} * image.height * 4)
        return {};
    QImage out(static_cast<int>(image.width), static_cast<int>(image.height),
               QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y)
        std::memcpy(out.scanLine(y),
                    image.pixels.data() + size_t{image.width} * 4 * static_cast<size_t>(y),
                    size_t{image.width} * 4);
    return out;
}
