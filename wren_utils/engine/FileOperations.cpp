#include "wren_utils/engine/FileSystemState.h"

#include "wren_utils/engine/FilePaths.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace wren {
namespace {

bool SeekTo(std::FILE* file, std::int64_t position) {
#if defined(_WIN32)
    return _fseeki64(file, position, SEEK_SET) == 0;
#else
    return fseeko(file, static_cast<off_t>(position), SEEK_SET) == 0;
#endif
}

std::int64_t SizeOf(std::FILE* file) {
    std::fflush(file);
#if defined(_WIN32)
    if (_fseeki64(file, 0, SEEK_END) != 0)
        return -1;
    return _ftelli64(file);
#else
    if (fseeko(file, 0, SEEK_END) != 0)
        return -1;
    return static_cast<std::int64_t>(ftello(file));
#endif
}

void Fail(FileOperation& op, int error) {
    op.status = kFileOpFailed;
    op.error = error != 0 ? error : EIO;
}

// EISDIR or EINVAL for a name that is there but is no regular file (a folder, a FIFO, a
// device), else 0: opening a FIFO would wait for a writer forever, so such names are refused
// before any open.
int NotRegularError(const std::string& name) {
    std::error_code error;
    const auto status = std::filesystem::status(FILE_pathof(name), error);
    if (!std::filesystem::exists(status) || std::filesystem::is_regular_file(status))
        return 0;
    return std::filesystem::is_directory(status) ? EISDIR : EINVAL;
}

// The file opened for reading when it is a regular file; null with errno set otherwise.
std::FILE* OpenRegularToRead(const std::string& name) {
    if (const int error = NotRegularError(name); error != 0) {
        errno = error;
        return nullptr;
    }
    return FILE_fopen(name, "rb");
}

// Opens the file by the creation rule of the flags; null with errno set on failure.
std::FILE* OpenByFlags(const std::string& name, unsigned flags) {
    std::error_code error;
    const bool exists = std::filesystem::exists(FILE_pathof(name), error);
    if (const int notRegular = NotRegularError(name); notRegular != 0) {
        errno = notRegular;
        return nullptr;
    }
    const bool readOnly = (flags & kFileReadOnly) != 0;
    switch (flags & kFileCreateAlways) {
    case kFileCreateNew:
        if (exists) {
            errno = EEXIST;
            return nullptr;
        }
        break;
    case kFileTruncateExisting:
        if (!exists) {
            errno = ENOENT;
            return nullptr;
        }
        break;
    case 0:
        return FILE_fopen(name, readOnly ? "rb" : "r+b");
    default:
        break;
    }
    std::FILE* file = FILE_fopen(name, "w+b");
    if (file != nullptr && readOnly) {
        std::fclose(file);
        file = FILE_fopen(name, "rb");
    }
    return file;
}

void ExecuteOpen(FileSystemState& fs, FileOperation& op) {
    const auto flags = static_cast<unsigned>(op.offset);
    std::size_t index = 0;
    {
        std::lock_guard guard(fs.slotLock);
        while (index < fs.slots.size() && fs.slots[index]->inUse)
            ++index;
        if (index == fs.slots.size()) {
            Fail(op, EMFILE);
            return;
        }
        fs.slots[index]->inUse = true; // reserved while the file opens
    }
    FileSlot& slot = *fs.slots[index];
    errno = 0;
    std::error_code ignored;
    // Folders open as streams on some systems; they are never files to read.
    std::FILE* file = std::filesystem::is_directory(FILE_pathof(op.name), ignored)
                          ? (errno = EISDIR, nullptr)
                          : OpenByFlags(op.name, flags);
    const int error = errno;
    std::int64_t size = file != nullptr ? SizeOf(file) : -1;
    bool ok = file != nullptr && size >= 0;
    std::vector<std::uint8_t> view;
    if (ok && (flags & kFileMapped) != 0) {
        try {
            view.resize(static_cast<std::size_t>(size));
        } catch (const std::exception&) {
            ok = false;
        }
        ok = ok && SeekTo(file, 0) && std::fread(view.data(), 1, view.size(), file) == view.size();
    }
    if (!ok) {
        if (file != nullptr)
            std::fclose(file);
        std::lock_guard guard(fs.slotLock);
        slot.inUse = false;
        Fail(op, error);
        return;
    }
    if ((flags & kFileUnbuffered) != 0)
        std::setvbuf(file, nullptr, _IONBF, 0);
    slot.device = op.device;
    slot.transfer = false;
    slot.flags = flags;
    slot.file = file;
    slot.pieceSize = kFilePieceSize;
    slot.mapped = (flags & kFileMapped) != 0;
    slot.view = std::move(view);
    slot.position = 0;
    slot.size = size;
    slot.bounded = (flags & kFileRaw) == 0;
    slot.path = op.name;
    op.file = ~static_cast<FileHandle>(index);
    op.result = op.file;
    op.status = kFileOpDone;
}

// Moves the bytes of a read or write in pieces, stopping early when the transfer is cleared.
void ExecuteTransfer(FileOperation& op, FileSlot& slot) {
    const bool write = op.type == FileOpType::Write;
    if (op.offset < 0 || op.length < 0 || (write && slot.mapped)) {
        Fail(op, EINVAL);
        return;
    }
    slot.position = std::min(op.offset, slot.size);
    std::int64_t length = op.length;
    if (!write && slot.bounded)
        length = std::min(length, slot.size - slot.position);
    auto* bytes = static_cast<std::uint8_t*>(op.buffer);
    std::int64_t moved = 0;
    bool failed = false;
    slot.transfer = true;
    if (!slot.mapped && !SeekTo(slot.file, slot.position))
        failed = true;
    while (!failed && slot.transfer && moved < length) {
        const auto piece =
            static_cast<std::size_t>(std::min<std::int64_t>(length - moved, slot.pieceSize));
        std::size_t done = 0;
        if (slot.mapped) {
            const auto at = static_cast<std::size_t>(slot.position);
            done = at < slot.view.size() ? std::min(piece, slot.view.size() - at) : 0;
            std::copy_n(slot.view.data() + at, done, bytes + moved);
        } else if (write) {
            done = std::fwrite(bytes + moved, 1, piece, slot.file);
            failed = std::ferror(slot.file) != 0;
        } else {
            done = std::fread(bytes + moved, 1, piece, slot.file);
            failed = std::ferror(slot.file) != 0;
        }
        moved += static_cast<std::int64_t>(done);
        slot.position += static_cast<std::int64_t>(done);
        if (done < piece)
            break;
    }
    slot.transfer = false;
    if (write) {
        std::fflush(slot.file);
        slot.size = std::max(slot.size, slot.position);
    }
    if (failed) {
        std::clearerr(slot.file);
        Fail(op, EIO);
        return;
    }
    op.result = moved;
    op.status = kFileOpDone;
}

void ExecuteOpenArchive(FileOperation& op) {
    std::FILE* file = OpenRegularToRead(op.name);
    if (file == nullptr) {
        Fail(op, errno);
        return;
    }
    const std::int64_t size = SizeOf(file);
    bool ok = size >= 0 && SeekTo(file, 0);
    if (ok) {
        try {
            op.archiveData.resize(static_cast<std::size_t>(size));
            ok = std::fread(op.archiveData.data(), 1, op.archiveData.size(), file) ==
                 op.archiveData.size();
        } catch (const std::exception&) {
            ok = false;
        }
    }
    std::fclose(file);
    if (!ok) {
        op.archiveData.clear();
        Fail(op, ENOMEM);
        return;
    }
    op.status = kFileOpDone;
}

} // namespace

void FileExecuteOperation(FileSystemState& fs, FileOperation& op) {
    switch (op.type) {
    case FileOpType::Open:
        ExecuteOpen(fs, op);
        return;
    case FileOpType::Exists: {
        std::FILE* file = OpenRegularToRead(op.name);
        op.result = file != nullptr ? 1 : 0;
        if (file != nullptr)
            std::fclose(file);
        op.status = kFileOpDone;
        return;
    }
    case FileOpType::Delete: {
        std::error_code error;
        if (std::filesystem::remove(FILE_pathof(op.name), error)) {
            op.result = 1;
            op.status = kFileOpDone;
        } else {
            Fail(op, error ? error.value() : ENOENT);
        }
        return;
    }
    case FileOpType::NoOperation:
        op.error = 0;
        op.status = kFileOpDone;
        return;
    case FileOpType::OpenArchive:
        ExecuteOpenArchive(op);
        return;
    case FileOpType::CloseArchive: {
        std::lock_guard guard(fs.archiveLock);
        const auto before = fs.archives.size();
        fs.archives.remove_if(
            [&](const MountedArchive& archive) { return archive.id == op.offset; });
        op.result = fs.archives.size() != before ? 1 : 0;
        op.status = kFileOpDone;
        return;
    }
    default:
        break;
    }
    FileSlot* slot = FileSlotOf(fs, op.file);
    if (slot == nullptr) {
        Fail(op, EBADF);
        return;
    }
    switch (op.type) {
    case FileOpType::Close:
        op.status = kFileOpDone;
        return;
    case FileOpType::Read:
    case FileOpType::Write:
        ExecuteTransfer(op, *slot);
        return;
    case FileOpType::Size: {
        const std::int64_t size =
            slot->mapped ? static_cast<std::int64_t>(slot->view.size()) : SizeOf(slot->file);
        if (size < 0) {
            Fail(op, EIO);
            return;
        }
        slot->size = size;
        op.result = size;
        op.status = kFileOpDone;
        return;
    }
    case FileOpType::SetEndOfFile: {
        std::error_code error;
        if (slot->mapped || op.offset < 0) {
            Fail(op, EINVAL);
            return;
        }
        std::fflush(slot->file);
        std::filesystem::resize_file(FILE_pathof(slot->path), static_cast<std::uintmax_t>(op.offset), error);
        if (error) {
            Fail(op, error.value());
            return;
        }
        slot->size = op.offset;
        op.result = 1;
        op.status = kFileOpDone;
        return;
    }
    default:
        Fail(op, EINVAL);
        return;
    }
}

std::int64_t FileFinishOperation(FileSystemState& fs, FileOperation& op) {
    const bool cancelled = (op.flags & kOpCancelled) != 0;
    switch (op.type) {
    case FileOpType::Open:
        if (cancelled && op.status == kFileOpDone) {
            if (FileSlot* slot = FileSlotOf(fs, op.file)) {
                std::fclose(slot->file);
                std::lock_guard guard(fs.slotLock);
                slot->file = nullptr;
                slot->view.clear();
                slot->inUse = false;
            }
            return 0;
        }
        return op.status == kFileOpDone ? op.file : 0;
    case FileOpType::Close: {
        FileSlot* slot = op.status == kFileOpDone ? FileSlotOf(fs, op.file) : nullptr;
        if (slot == nullptr)
            return 0;
        const bool closed = std::fclose(slot->file) == 0;
        std::lock_guard guard(fs.slotLock);
        slot->file = nullptr;
        slot->view.clear();
        slot->view.shrink_to_fit();
        slot->inUse = false;
        return closed ? 1 : 0;
    }
    case FileOpType::OpenArchive: {
        if (cancelled || op.status != kFileOpDone)
            return 0;
        std::lock_guard guard(fs.archiveLock);
        MountedArchive archive;
        archive.id = fs.nextArchiveId--;
        archive.name = op.name;
        archive.data = std::move(op.archiveData);
        fs.archives.push_back(std::move(archive));
        return fs.archives.back().id;
    }
    default:
        return op.status == kFileOpDone ? op.result : 0;
    }
}

} // namespace wren
