#pragma once

#include "wren_utils/engine/FileSystem.h"

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

// Internal records of the file system, shared by its translation units.
namespace wren {

constexpr std::uint8_t kOpOwnsName = 0x01;
constexpr std::uint8_t kOpCancelled = 0x02;
constexpr std::uint8_t kOpHasCallback = 0x04;
constexpr std::uint8_t kOpCalledBack = 0x08;

struct FileOperation {
    FileOpHandle handle = 0;
    FileOpType type = FileOpType::NoOperation;
    std::uint8_t flags = 0;
    std::uint8_t status = kFileOpPending;
    std::uint8_t priority = 0;
    int error = 0;
    FileHandle file = 0;
    void* user = nullptr;
    FileOpCallback callback = nullptr;
    std::int64_t offset = 0; // offset, open flags, size or position
    std::int64_t length = 0; // length or count
    void* buffer = nullptr;
    std::string name;
    std::int64_t result = 0;
    int device = 0;
    std::vector<std::uint8_t> archiveData; // an opened archive's bytes until completion

    std::uint64_t Key() const { return (std::uint64_t{priority} << 24) + (handle >> 5); }
};

struct FileSlot {
    bool inUse = false;
    int device = 0;
    std::atomic<bool> transfer{false};
    unsigned flags = 0;
    std::FILE* file = nullptr;
    std::size_t pieceSize = kFilePieceSize;
    bool mapped = false;
    std::vector<std::uint8_t> view;
    std::int64_t position = 0;
    std::int64_t size = 0;
    bool bounded = true;
    std::string path;
};

struct FileDevice {
    std::atomic<bool> active{false};
    std::thread worker;
    FileOperation* current = nullptr;
    FileOperation* inCallback = nullptr;
    std::deque<FileOperation*> pending;   // ascending key
    std::deque<FileOperation*> completed; // newest first
    std::mutex queueLock;
    std::condition_variable wake;
    std::condition_variable done;
    std::recursive_mutex atomicLock;
    std::uint32_t sequence = 1;
    int priorityFloor = 255;
};

struct MountedArchive {
    std::int32_t id = 0;
    std::string name;
    std::vector<std::uint8_t> data;
};

struct FileSystemState {
    std::atomic<bool> stop{false};
    std::mutex globalLock; // device start-up
    std::mutex freeLock;
    std::vector<FileOperation> operations;
    std::vector<FileOperation*> freeList;
    std::mutex slotLock;
    std::vector<std::unique_ptr<FileSlot>> slots;
    std::mutex archiveLock;
    std::list<MountedArchive> archives;
    std::int32_t nextArchiveId = -1;
    FileDevice devices[kFileDeviceCount];
};

// The live file system, or null before FILESYS_init and after FILESYS_shutdown.
FileSystemState* FileSystemInstance();

// The slot of an open-file handle, or null.
FileSlot* FileSlotOf(FileSystemState& fs, FileHandle file);

// Runs one operation on its device's worker thread (status, error and result set).
void FileExecuteOperation(FileSystemState& fs, FileOperation& op);

// The result FILESYS_completeop hands back, closing what a completed operation leaves open.
std::int64_t FileFinishOperation(FileSystemState& fs, FileOperation& op);

} // namespace wren
