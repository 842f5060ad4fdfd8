#include "wren_utils/engine/FileSystem.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace wren {
namespace {

std::int64_t RunSync(FileOpHandle handle) {
    if (handle == 0)
        return 0;
    const int status = FILESYS_wait(handle);
    const std::int64_t result = FILESYS_completeop(handle);
    return status == kFileOpDone ? result : 0;
}

// A read or write in pieces: each piece's callback completes it and queues the next.
struct ChunkedTransfer {
    std::mutex lock;
    std::condition_variable finished;
    bool write = false;
    FileHandle file = 0;
    int priority = 0;
    std::uint8_t* bytes = nullptr;
    std::int64_t position = 0;
    std::int64_t remaining = 0;
    std::int64_t total = 0;
    std::int64_t asked = 0;
    bool outstanding = false;
};

void PieceDone(FileOpHandle handle, int status, void* user);

// Queues the next piece; false when it could not be queued.
bool QueuePiece(ChunkedTransfer& transfer) {
    const std::int64_t offset = transfer.position;
    std::uint8_t* at = transfer.bytes + transfer.total;
    const std::int64_t piece =
        std::min<std::int64_t>(transfer.remaining, static_cast<std::int64_t>(kFilePieceSize));
    {
        std::lock_guard guard(transfer.lock);
        transfer.asked = piece;
        transfer.outstanding = true;
    }
    const FileOpHandle handle =
        transfer.write
            ? FILESYS_queuewrite(transfer.file, offset, at, piece, transfer.priority, &transfer)
            : FILESYS_queueread(transfer.file, offset, at, piece, transfer.priority, &transfer);
    if (handle == 0 || !FILESYS_callbackop(handle, PieceDone)) {
        std::lock_guard guard(transfer.lock);
        transfer.outstanding = false;
        transfer.finished.notify_all();
        return false;
    }
    return true;
}

void PieceDone(FileOpHandle handle, int status, void* user) {
    auto& transfer = *static_cast<ChunkedTransfer*>(user);
    const std::int64_t moved = FILESYS_completeop(handle);
    bool more = false;
    {
        std::lock_guard guard(transfer.lock);
        if (status == kFileOpDone) {
            transfer.total += moved;
            transfer.position += moved;
            transfer.remaining -= moved;
        }
        more = status == kFileOpDone && moved == transfer.asked && transfer.remaining > 0;
        if (!more) {
            transfer.outstanding = false;
            transfer.finished.notify_all();
        }
    }
    if (more)
        QueuePiece(transfer);
}

std::int64_t Chunked(bool write, FileHandle file, std::int64_t offset, std::uint8_t* bytes,
                     std::int64_t length, int priority) {
    if (length <= 0 || offset < 0)
        return 0;
    ChunkedTransfer transfer;
    transfer.write = write;
    transfer.file = file;
    transfer.priority = priority;
    transfer.bytes = bytes;
    transfer.position = offset;
    transfer.remaining = length;
    QueuePiece(transfer);
    std::unique_lock lock(transfer.lock);
    transfer.finished.wait(lock, [&] { return !transfer.outstanding; });
    return transfer.total;
}

} // namespace

FileHandle FILESYS_open(const std::string& name, unsigned flags, int priority) {
    return static_cast<FileHandle>(RunSync(FILESYS_queueopen(name, flags, priority)));
}

bool FILESYS_close(FileHandle file, int priority) {
    return RunSync(FILESYS_queueclose(file, priority)) != 0;
}

std::int64_t FILESYS_read(FileHandle file, std::int64_t offset, void* buffer, std::int64_t length,
                          int priority) {
    return RunSync(FILESYS_queueread(file, offset, buffer, length, priority));
}

std::int64_t FILESYS_write(FileHandle file, std::int64_t offset, const void* buffer,
                           std::int64_t length, int priority) {
    return RunSync(FILESYS_queuewrite(file, offset, buffer, length, priority));
}

std::int64_t FILESYS_size(FileHandle file, int priority) {
    return RunSync(FILESYS_queuesize(file, priority));
}

bool FILESYS_seteof(FileHandle file, std::int64_t position, int priority) {
    return RunSync(FILESYS_queueseteof(file, position, priority)) != 0;
}

bool FILESYS_exists(const std::string& name, int priority) {
    return RunSync(FILESYS_queueexists(name, priority)) != 0;
}

std::int64_t FILESYS_readchunked(FileHandle file, std::int64_t offset, void* buffer,
                                 std::int64_t length, int priority) {
    return Chunked(false, file, offset, static_cast<std::uint8_t*>(buffer), length, priority);
}

std::int64_t FILESYS_writechunked(FileHandle file, std::int64_t offset, const void* buffer,
                                  std::int64_t length, int priority) {
    // The worker only reads from a write's buffer.
    return Chunked(true, file, offset,
                   const_cast<std::uint8_t*>(static_cast<const std::uint8_t*>(buffer)), length,
                   priority);
}

} // namespace wren
