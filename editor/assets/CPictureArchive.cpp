#include "CPictureArchive.h"

#include "CPictureNames.h"

#include "editor/database/CInstallationLock.h"
#include "editor/database/Utf8Path.h"
#include "editor/model/CBackupStore.h"
#include "editor/model/CGameInstallation.h"
#include "wren_utils/archive/BigArchiveUpdate.h"
#include "wren_utils/shapes/ShapeFormat.h"

#include <system_error>

namespace {

bool IsFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(Utf8Path(path), ec);
}

} // namespace

std::optional<wren::BgraImage> CPictureArchive::Read(const Fetcher& fetch,
                                                     const std::string& folder,
                                                     const std::string& container,
                                                     const std::string& shape) {
    for (const char* archive : CPictureNames::kArchives)
        if (auto image = fetch(ResolveFile(folder, archive), container, shape))
            return image;
    return std::nullopt;
}

CPictureArchive::STarget CPictureArchive::KitTarget(const std::string& installFolder, int team,
                                                    int kit) {
    return Locate(installFolder, CPictureNames::KitContainer(team, kit),
                  CPictureNames::KitShape(kit));
}

CPictureArchive::STarget CPictureArchive::CrestTarget(const std::string& installFolder,
                                                      int team) {
    return Locate(installFolder, CPictureNames::LogoContainer(team), CPictureNames::LogoShape());
}

std::string CPictureArchive::ResolveFile(const std::string& folder, const std::string& relative) {
    std::string text = folder.empty() ? "." : folder;
    std::filesystem::path current = Utf8Path(text);
    std::error_code ec;
    bool exists = std::filesystem::is_directory(current, ec);
    size_t start = 0;
    while (start < relative.size()) {
        const size_t end = std::min(relative.find_first_of("/\\", start), relative.size());
        std::string part = relative.substr(start, end - start);
        start = end + 1;
        if (part.empty())
            continue;
        if (exists) {
            if (const auto found = CGameInstallation::FindEntry(current, part))
                part = Utf8Text(found->filename());
        }
        current /= Utf8Path(part);
        exists = exists && std::filesystem::exists(current, ec);
        if (text.back() != '/' && text.back() != '\\')
            text += '/';
        text += part;
    }
    return text;
}

CPictureArchive::STarget CPictureArchive::Locate(const std::string& installFolder,
                                                 const std::string& container,
                                                 const std::string& shape) {
    STarget target;
    target.container = container;
    target.shape = shape;
    // The order of the picture requests: the first archive that holds the entry is the one
    // the game and the editor read it from.
    for (const char* relative : CPictureNames::kArchives) {
        const std::string archive = ResolveFile(installFolder, relative);
        if (!IsFile(archive))
            continue;
        std::string error;
        const auto directory = wren::BIG_readdirectory(archive, error);
        if (directory && directory->Find(container)) {
            target.archive = archive;
            target.entryExists = true;
            return target;
        }
    }
    target.archive = ResolveFile(installFolder, CPictureNames::kArchives[0]);
    return target;
}

std::optional<CPictureArchive::SPrepared>
CPictureArchive::Prepare(const STarget& target, const wren::BgraImage& picture,
                         const wren::ShapeImportRequest& options, std::string& error) {
    if (picture.width == 0 || picture.height == 0) {
        error = "the picture is empty";
        return std::nullopt;
    }
    std::optional<std::vector<uint8_t>> oldEntry;
    if (IsFile(target.archive)) {
        // Read before anything is made: a damaged archive is refused here, not half-way.
        if (!wren::BIG_readdirectory(target.archive, error))
            return std::nullopt;
        if (target.entryExists) {
            oldEntry = wren::BIG_readfileentry(target.archive, target.container, error);
            if (!oldEntry)
                return std::nullopt;
        }
    }
    wren::ShapeImportRequest request = options;
    request.shape = target.shape;
    auto shape = oldEntry ? wren::ShapeImporter::Import(*oldEntry, picture, request, error)
                          : wren::ShapeImporter::Import(std::nullopt, picture, request, error);
    if (!shape)
        return std::nullopt;
    return SPrepared{target, std::move(*shape)};
}

bool CPictureArchive::Write(const SPrepared& prepared, const CBackupStore& backups, int keep,
                            SWritten& written, std::string& error, EBackup backup) {
    // The installation's writers take turns: the archive is read and replaced under its lock.
    CInstallationLock lock;
    if (!lock.Acquire(backups.Folder().parent_path(), error))
        return false;
    wren::BigPutOptions options;
    options.keepBackup = false;
    if (backup == EBackup::Make)
        options.backup = [&backups, keep](const std::string& archive, std::string& backupPath,
                                          std::string& reason) {
            const std::filesystem::path file = Utf8Path(archive);
            std::string made;
            if (!backups.Backup(file, keep, made, reason))
                return false;
            // An identical newest copy was not made again: that one holds the old archive.
            if (made.empty()) {
                const auto copies = backups.List(Utf8Text(file.filename()));
                if (!copies.empty())
                    made = copies.front().name;
            }
            if (!made.empty())
                backupPath = Utf8Text(backups.Folder() / Utf8Path(made));
            return true;
        };
    wren::BigPutResult result;
    if (!wren::BIG_putentry(prepared.target.archive, prepared.target.container,
                            prepared.shape.entry, result, error, options))
        return false;
    written.archive = prepared.target.archive;
    written.backup = result.backupPath;
    written.appended = result.appended || result.created;
    return true;
}

std::string CPictureArchive::FormatName(uint8_t type) {
    switch (type) {
    case wren::kShapeTypeDxt1:
        return "DXT1";
    case wren::kShapeTypeDxt3:
        return "DXT3";
    case wren::kShapeTypeDxt5:
        return "DXT5";
    default:
        return "32-bit";
    }
}
