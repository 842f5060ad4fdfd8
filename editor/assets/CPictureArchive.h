#pragma once

#include "wren_utils/shapes/BgraImage.h"
#include "wren_utils/shapes/ShapeImporter.h"

#include <functional>
#include <optional>
#include <string>

class CBackupStore;

// Puts a picture into the game's archives where the picture requests find it: a kit or a crest
// of a team, in the archive that holds that container (data/zdata_05.big, else
// data/zdata_04.big), or added to data/zdata_05.big when neither does. Prepare converts without
// touching a file, so the result can be shown first; Write stores it. Paths are UTF-8.
class CPictureArchive {
public:
    struct STarget {
        std::string archive;   // the archive file written
        std::string container; // its entry
        std::string shape;
        bool entryExists = false; // else the entry is added to the archive
    };

    struct SPrepared {
        STarget target;
        wren::ShapeImportResult shape;
    };

    struct SWritten {
        std::string archive;
        std::string backup; // the copy of the old archive in the backups, empty when none
        bool appended = false;
    };

    // Answers one (archive path, container, shape) question; nothing when there is no picture.
    using Fetcher = std::function<std::optional<wren::BgraImage>(
        const std::string& archive, const std::string& container, const std::string& shape)>;

    // Whether Write copies the old archive into the backups first. Skip when the same action
    // backed that archive up already, so its one copy holds it as it was before the action.
    enum class EBackup { Make, Skip };

    // A picture of the installation in `folder` as the game asks for it: each archive in turn.
    static std::optional<wren::BgraImage> Read(const Fetcher& fetch, const std::string& folder,
                                               const std::string& container,
                                               const std::string& shape);

    static STarget KitTarget(const std::string& installFolder, int team, int kit);
    static STarget CrestTarget(const std::string& installFolder, int team);

    // `relative` ('/'-separated) under folder, each component matched exactly first and
    // otherwise without regard to letter case, as the game's Windows installation expects;
    // components not found are kept as written. The text is folder, '/' and the components.
    static std::string ResolveFile(const std::string& folder, const std::string& relative);

    // Converts the picture to the shape the target holds (its size unless width and height
    // are given). Nothing, with a one-line reason in error, when the archive cannot be read or
    // is damaged or the picture cannot be converted.
    static std::optional<SPrepared> Prepare(const STarget& target, const wren::BgraImage& picture,
                                            const wren::ShapeImportRequest& options,
                                            std::string& error);
    // Stores a prepared shape after copying the old archive into backups (keeping `keep` copies
    // at most, see CBackupStore), under the installation's lock. False with the reason in
    // error, and the archive unchanged, when the copy cannot be made or the archive cannot be
    // written.
    static bool Write(const SPrepared& prepared, const CBackupStore& backups, int keep,
                      SWritten& written, std::string& error, EBackup backup = EBackup::Make);

    // "DXT1", "DXT3", "DXT5" or "32-bit".
    static std::string FormatName(uint8_t type);

private:
    static STarget Locate(const std::string& installFolder, const std::string& container,
                          const std::string& shape);
};
