#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The library's asynchronous file system: 32 file devices, each with a worker thread that runs
// queued file operations in order of priority (smaller first) and queueing order. Callers queue
// operations and collect them with FILESYS_completeop, or use the synchronous calls. Every
// failure is reported through the error routine (PRINT_error) and returned to the caller.
namespace wren {

constexpr int kFileDeviceCount = 32;
constexpr int kFileDefaultPriority = 100;
constexpr std::size_t kFilePieceSize = 8192;

using FileOpHandle = std::uint32_t; // device in bits 0-4, sequence number in bits 5-28; 0: none
using FileHandle = std::int32_t;    // complement of an open-file slot index; 0: no file

enum class FileOpType : std::uint8_t {
    Open = 0,
    Close = 1,
    Read = 2,
    Write = 3,
    Size = 4,
    SetEndOfFile = 5,
    Exists = 6,
    Delete = 7,
    NoOperation = 8,
    OpenArchive = 9,
    CloseArchive = 10,
};

// Status of an operation as FILESYS_status and FILESYS_wait report it.
constexpr int kFileOpPending = 0;
constexpr int kFileOpDone = 1;
constexpr int kFileOpUnknown = 253;
constexpr int kFileOpFailed = 254;
constexpr int kFileOpCancelled = 255;
constexpr int kFileWaitNoDevice = -3;

// Open flags. Bits 1 and 2 together: create always; bit 1 alone: create new; bit 2 alone:
// truncate an existing file; neither: open an existing file.
constexpr unsigned kFileReadOnly = 0x01;
constexpr unsigned kFileCreateNew = 0x02;
constexpr unsigned kFileTruncateExisting = 0x04;
constexpr unsigned kFileCreateAlways = kFileCreateNew | kFileTruncateExisting;
constexpr unsigned kFileMapped = 0x08;     // read from an in-memory view of the whole file
constexpr unsigned kFileUnbuffered = 0x10; // no stream buffer between the file and the caller
constexpr unsigned kFileSequential = 0x20; // a hint only
constexpr unsigned kFileRaw = 0x40;        // reads are not bounded by the file's size

// Loader allocation flag: open raw.
constexpr unsigned kLoadRaw = 0x40;

using FileOpCallback = void (*)(FileOpHandle handle, int status, void* user);

// Creates the file system (0 slots or 0 operations mean 64; more than 65536 of either is
// refused); does nothing when it exists.
bool FILESYS_init(int openFileSlots = 4, int operations = 48);
// Closes mounted archives, stops the device threads, closes open files, frees everything.
void FILESYS_shutdown();
bool FILESYS_isinitialised();

// The device of a name: 0 for names holding "|", else the drive letter's device of the full
// path ("A:" 1 ... "Z:" 26), else 0.
int FILE_device(const std::string& name);

// Handle arithmetic of the devices' sequence counters (24 bits, never 0).
FileOpHandle FILE_makehandle(int device, std::uint32_t sequence);
std::uint32_t FILE_nextsequence(std::uint32_t sequence);

// Queueing; each returns the operation's handle, or 0 when it could not be queued. The buffer
// of a read or write must stay valid until the operation is completed.
FileOpHandle FILESYS_queueopen(const std::string& name, unsigned flags, int priority,
                               void* user = nullptr);
FileOpHandle FILESYS_queueclose(FileHandle file, int priority, void* user = nullptr);
FileOpHandle FILESYS_queueread(FileHandle file, std::int64_t offset, void* buffer,
                               std::int64_t length, int priority, void* user = nullptr);
FileOpHandle FILESYS_queuewrite(FileHandle file, std::int64_t offset, const void* buffer,
                                std::int64_t length, int priority, void* user = nullptr);
FileOpHandle FILESYS_queuesize(FileHandle file, int priority, void* user = nullptr);
FileOpHandle FILESYS_queueseteof(FileHandle file, std::int64_t position, int priority,
                                 void* user = nullptr);
FileOpHandle FILESYS_queueexists(const std::string& name, int priority, void* user = nullptr);
FileOpHandle FILESYS_queuedelete(const std::string& name, int priority, void* user = nullptr);
FileOpHandle FILESYS_queuenop(int device, int priority, void* user = nullptr);
FileOpHandle FILESYS_queueopenarchive(const std::string& name, int priority, void* user = nullptr);
FileOpHandle FILESYS_queueclosearchive(std::int32_t archiveId, int priority, void* user = nullptr);

// Calls back when the operation completes, or at once when it already has. Callbacks run on
// the device's worker thread and may queue further operations, but must not wait for an
// operation of their own device (its worker is the thread running them).
bool FILESYS_callbackop(FileOpHandle handle, FileOpCallback callback);
int FILESYS_status(FileOpHandle handle);
// Returns once the operation has left the queue, the worker and its callback.
int FILESYS_wait(FileOpHandle handle);
void FILESYS_cancel(FileOpHandle handle);
// The operation's result; frees its record. Every queued operation is completed exactly once.
std::int64_t FILESYS_completeop(FileOpHandle handle);

// Synchronous calls: queue, wait, complete. Failures give 0 or false.
FileHandle FILESYS_open(const std::string& name, unsigned flags,
                        int priority = kFileDefaultPriority);
bool FILESYS_close(FileHandle file, int priority = kFileDefaultPriority);
std::int64_t FILESYS_read(FileHandle file, std::int64_t offset, void* buffer, std::int64_t length,
                          int priority = kFileDefaultPriority);
std::int64_t FILESYS_write(FileHandle file, std::int64_t offset, const void* buffer,
                           std::int64_t length, int priority = kFileDefaultPriority);
std::int64_t FILESYS_size(FileHandle file, int priority = kFileDefaultPriority);
bool FILESYS_seteof(FileHandle file, std::int64_t position, int priority = kFileDefaultPriority);
bool FILESYS_exists(const std::string& name, int priority = kFileDefaultPriority);

// Reads or writes in pieces of at most 8192 bytes, each piece queued from the previous one's
// callback; stops at a short piece. Returns the bytes moved.
std::int64_t FILESYS_readchunked(FileHandle file, std::int64_t offset, void* buffer,
                                 std::int64_t length, int priority = kFileDefaultPriority);
std::int64_t FILESYS_writechunked(FileHandle file, std::int64_t offset, const void* buffer,
                                  std::int64_t length, int priority = kFileDefaultPriority);

// Runs function(priority) on the calling thread as an atomic section of the device: while it
// runs, the device's worker only runs operations of the section's priority number or smaller.
// False when the section could not run (not initialised, illegal device, priority number above
// the device's current floor).
bool FILESYS_atomic(const std::function<void(int priority)>& function, int device,
                    int priority = kFileDefaultPriority);

// The bytes of a mounted archive (open-archive operation completed), or an empty span.
std::span<const std::uint8_t> FILESYS_archivedata(std::int32_t archiveId);

// Loaders: atomic sections on the name's device at the default priority. Failures are reported
// through the error routine and returned (nullopt, 0, false).
std::optional<std::vector<std::uint8_t>> FILE_load(const std::string& name,
                                                   unsigned allocationFlags = 0);
std::int64_t FILE_size(const std::string& name);
// Reads at most n bytes (n <= 0: the whole file), never more than the buffer holds.
std::int64_t FILE_read(const std::string& name, std::span<std::uint8_t> buffer, std::int64_t n);
// As FILE_load, then unpacks the file when it is a packed stream.
std::optional<std::vector<std::uint8_t>> FILE_loadpack(const std::string& name,
                                                       unsigned allocationFlags = 0);
// As FILE_read, unpacking a packed file into the buffer; returns the bytes placed there.
std::int64_t FILE_loadpackat(const std::string& name, std::span<std::uint8_t> buffer,
                             std::int64_t n);
// Writes a temporary file beside the target and renames it over the target when every byte
// was written, so a failed save leaves the target as it was.
bool FILE_save(const std::string& name, std::span<const std::uint8_t> data);

} // namespace wren
