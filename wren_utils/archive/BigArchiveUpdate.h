#pragma once

#include "wren_utils/archive/BigArchiveView.h"
#include "wren_utils/archive/BigOutput.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Replacing or adding one entry of an archive file without holding the archive in memory: a
// new archive is streamed beside the old one (the other entries' bytes copied in chunks),
// flushed to the disk and renamed over the old one. Whatever fails before the rename leaves
// the old archive as it was.
namespace wren {

struct BigFileEntry {
    std::string name;
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
};

// An archive file's directory, read from the file's header alone.
struct BigFileDirectory {
    BigKind kind = BigKind::Bigf;
    std::size_t offsetWidth = 4;
    std::size_t sizeWidth = 4;
    std::uint8_t magic[4] = {};
    std::uint64_t headerLength = 0;
    std::uint64_t fileSize = 0;
    std::optional<std::vector<std::uint8_t>> marker; // the 8 bytes of a version marker
    std::vector<BigFileEntry> entries;

    // The first entry of exactly that name (letter case counts, as the streamed reader's).
    const BigFileEntry* Find(std::string_view name) const;
};

// Nothing, with the reason in error, when the file cannot be read or is not an archive whose
// entries all lie inside it; a whole archive stored as one packed stream is refused as such.
std::optional<BigFileDirectory> BIG_readdirectory(const std::string& path, std::string& error);

// The bytes of one entry (exact name), read from the file; nothing when it is absent.
std::optional<std::vector<std::uint8_t>>
BIG_readfileentry(const std::string& path, std::string_view name, std::string& error);

struct BigPutOptions {
    // The old archive stays beside the new one as PATH.bak (an earlier .bak is replaced), for
    // callers without a backups folder of their own; not used when backup is set.
    bool keepBackup = true;
    // Backs the old archive up instead, e.g. into a backups folder: called with the archive's
    // path (as given) once the new archive is complete on the disk, before it replaces the old
    // one. False, with the reason in error, stops the update with the old archive unchanged;
    // backupPath names the copy for BigPutResult.
    std::function<bool(const std::string& archivePath, std::string& backupPath,
                       std::string& error)>
        backup;
    // Wraps the output into the temporary file, e.g. to count progress.
    std::function<std::unique_ptr<BigOutput>(std::unique_ptr<BigOutput>)> wrapOutput;
    // Called when the new archive is complete on the disk, just before it replaces the old one.
    std::function<void()> beforeSwap;
};

struct BigPutResult {
    bool appended = false;  // the archive had no entry of that name
    bool created = false;   // there was no archive: a new one holds the entry alone
    std::string backupPath; // where the old archive was kept, empty when it was not
    std::uint64_t archiveSize = 0;
    // Temporary files of earlier updates killed before their rename, removed first.
    int removedTemporaries = 0;
};

// Puts data into the archive at path as the entry name: the first entry of that name gets the
// new bytes, or the entry is added at the end; the other entries keep their bytes, names and
// order. A missing archive is made ("BIGF"). False with the reason in error when the archive
// is damaged, read-only, or the new one cannot be written; the old archive is then unchanged
// and no temporary file is left behind. Temporary files that updates of this archive left when
// they were killed are removed first; those of updates still running are not touched.
bool BIG_putentry(const std::string& path, std::string_view name,
                  std::span<const std::uint8_t> data, BigPutResult& result, std::string& error,
                  const BigPutOptions& options = {});

} // namespace wren
