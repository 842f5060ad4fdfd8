#pragma once

#include "wren_utils/shapes/BgraImage.h"
#include "wren_utils/shapes/ShapeImporter.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <filesystem>
#include <optional>

class CBackupStore;

// CPictureArchive for the editor: a picture to import as a QImage, paths as QString.
class CPictureImport {
public:
    struct STarget {
        QString archive;      // the archive file written
        QByteArray container; // its entry
        QByteArray shape;
        bool entryExists = false; // else the entry is added to the archive
    };

    struct SPrepared {
        STarget target;
        wren::ShapeImportResult shape;
        // The new shape as the game decodes it, for a preview.
        QImage Decoded() const { return ToImage(shape.decoded); }
    };

    struct SWritten {
        QString archive;
        QString backup; // the copy of the old archive in the backups, empty when there was none
        bool appended = false;
    };

    static STarget KitTarget(const QString& installFolder, int team, int kit);
    static STarget CrestTarget(const QString& installFolder, int team);

    // Converts the picture to the shape the target holds (its size unless width and height
    // are given). Nothing, with a one-line reason in error, when the archive cannot be read or
    // is damaged or the picture cannot be converted.
    static std::optional<SPrepared> Prepare(const STarget& target, const QImage& picture,
                                            const wren::ShapeImportRequest& options,
                                            QString& error);
    // Stores a prepared shape after copying the old archive into backups (keeping `keep` copies
    // at most, see CBackupStore). False with the reason in error, and the archive unchanged,
    // when the copy cannot be made or the archive cannot be written.
    static bool Write(const SPrepared& prepared, const CBackupStore& backups, int keep,
                      SWritten& written, QString& error);

    // "DXT1", "DXT3", "DXT5" or "32-bit".
    static QString FormatName(uint8_t type);

    static wren::BgraImage ToBgra(const QImage& image);
    static QImage ToImage(const wren::BgraImage& image);

};
