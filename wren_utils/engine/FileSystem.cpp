#include "wren_utils/engine/FileSystem.h"

#include "wren_utils/engine/DebugPrint.h"
#include "wren_utils/engine/FilePaths.h"
#include "wren_utils/engine/FileSystemState.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <new>

namespace wren {
namespace {

std::mutex g_instanceLock;
FileSystemState* g_instance = nullptr;

void DeviceThread(FileSystemState& fs, int number);

// Under the global lock: creates the device's worker and waits until it runs.
bool StartDevice(FileSystemState& fs, int number) {
    std::lock_guard guard(fs.globalLock);
    FileDevice& device = fs.devices[number];
    if (device.active)
        return true;
    if (device.worker.joinable())
        device.worker.join();
    device.current = nullptr;
    device.sequence = 1;
    device.priorityFloor = 255;
    try {
        device.worker = std::thread(DeviceThread, std::ref(fs), number);
    } catch (const std::system_error&) {
        PRINT_error("FILE_startdevice - FAILED TO START THREAD FOR FILE SYSTEM DEVICE.\n");
        return false;
    }
    std::unique_lock lock(device.queueLock);
    device.done.wait(lock, [&] { return device.active.load(); });
    return true;
}

void DeviceThread(FileSystemState& fs, int number) {
    FileDevice& device = fs.devices[number];
    std::unique_lock lock(device.queueLock);
    device.active = true;
    device.done.notify_all();
    while (!fs.stop) {
        if (device.pending.empty() || device.priorityFloor < device.pending.front()->priority) {
            device.wake.wait(lock);
            continue;
        }
        FileOperation* op = device.pending.front();
        device.pending.pop_front();
        device.current = op;
        const bool cancelled = (op->flags & kOpCancelled) != 0;
        lock.unlock();
        if (!cancelled)
            FileExecuteOperation(fs, *op);
        lock.lock();
        if ((op->flags & kOpCancelled) != 0)
            op->status = kFileOpCancelled;
        device.completed.push_front(op);
        device.current = nullptr;
        if ((op->flags & kOpHasCallback) != 0) {
            op->flags |= kOpCalledBack;
            device.inCallback = op;
            const FileOpCallback callback = op->callback;
            const FileOpHandle handle = op->handle;
            const int status = op->status;
            void* const user = op->user;
            lock.unlock();
            callback(handle, status, user);
            lock.lock();
            device.inCallback = nullptr;
        }
        device.done.notify_all();
    }
    device.active = false;
    device.done.notify_all();
}

// Takes a record from the free list and gives it its handle; null when none could be had.
FileOperation* AllocateOp(FileSystemState& fs, int device, FileOpType type, int priority,
                          void* user) {
    FileOperation* op = nullptr;
    {
        std::lock_guard guard(fs.freeLock);
        if (!fs.freeList.empty()) {
            op = fs.freeList.back();
            fs.freeList.pop_back();
        }
    }
    if (op == nullptr) {
        PRINT_error("FILE_allocateop - NO FREE OPS LEFT TO ALLOCATE.\n");
        return nullptr;
    }
    if (!fs.devices[device].active && !StartDevice(fs, device)) {
        std::lock_guard guard(fs.freeLock);
        fs.freeList.push_back(op);
        return nullptr;
    }
    *op = FileOperation();
    op->priority = static_cast<std::uint8_t>(std::clamp(priority, 0, 255));
    op->type = type;
    op->user = user;
    op->device = device;
    FileDevice& record = fs.devices[device];
    std::lock_guard guard(record.queueLock);
    op->handle = FILE_makehandle(device, record.sequence);
    record.sequence = FILE_nextsequence(record.sequence);
    return op;
}

FileOpHandle QueueOp(FileSystemState& fs, FileOperation* op) {
    FileDevice& device = fs.devices[op->device];
    const FileOpHandle handle = op->handle;
    {
        std::lock_guard guard(device.queueLock);
        const std::uint64_t key = op->Key();
        const auto place =
            std::find_if(device.pending.begin(), device.pending.end(),
                         [key](const FileOperation* other) { return other->Key() >= key; });
        device.pending.insert(place, op);
    }
    device.wake.notify_all();
    return handle;
}

FileSystemState* Live(const char* caller) {
    FileSystemState* fs = FileSystemInstance();
    if (fs == nullptr)
        PRINT_error("%s - FILE SYSTEM NOT INITIALIZED, CALL FILESYS_init().\n", caller);
    return fs;
}

// Queues an operation on the device of its name.
FileOpHandle QueueNamed(FileOpType type, const std::string& name, std::int64_t offset, int priority,
                        void* user) {
    FileSystemState* fs = Live("FILE_queueop");
    if (fs == nullptr)
        return 0;
    FileOperation* op = AllocateOp(*fs, FILE_device(name), type, priority, user);
    if (op == nullptr)
        return 0;
    op->name = name;
    op->flags |= kOpOwnsName;
    op->offset = offset;
    return QueueOp(*fs, op);
}

// Queues an operation on an open file's device; an unknown file still queues (on device 0) so
// the operation itself fails with the invalid-handle error.
FileOpHandle QueueOnFile(FileOpType type, FileHandle file, std::int64_t offset, std::int64_t length,
                         void* buffer, int priority, void* user) {
    FileSystemState* fs = Live("FILE_queueop");
    if (fs == nullptr)
        return 0;
    const FileSlot* slot = FileSlotOf(*fs, file);
    FileOperation* op = AllocateOp(*fs, slot != nullptr ? slot->device : 0, type, priority, user);
    if (op == nullptr)
        return 0;
    op->file = file;
    op->offset = offset;
    op->length = length;
    op->buffer = buffer;
    return QueueOp(*fs, op);
}

enum class Where { None, Current, Pending, Completed };

// Under the device's queue lock: where the operation of a handle is.
Where Locate(FileDevice& device, FileOpHandle handle, FileOperation** found) {
    if (device.current != nullptr && device.current->handle == handle) {
        *found = device.current;
        return Where::Current;
    }
    for (FileOperation* op : device.pending)
        if (op->handle == handle) {
            *found = op;
            return Where::Pending;
        }
    for (FileOperation* op : device.completed)
        if (op->handle == handle) {
            *found = op;
            return Where::Completed;
        }
    return Where::None;
}

} // namespace

FileSystemState* FileSystemInstance() {
    std::lock_guard guard(g_instanceLock);
    return g_instance;
}

FileSlot* FileSlotOf(FileSystemState& fs, FileHandle file) {
    if (file >= 0)
        return nullptr;
    const auto index = static_cast<std::size_t>(~file);
    std::lock_guard guard(fs.slotLock);
    if (index >= fs.slots.size() || !fs.slots[index]->inUse)
        return nullptr;
    return fs.slots[index].get();
}

bool FILESYS_init(int openFileSlots, int operations) {
    std::lock_guard guard(g_instanceLock);
    if (g_instance != nullptr)
        return true;
    constexpr int kMostRecords = 65536;
    if (openFileSlots > kMostRecords || operations > kMostRecords) {
        PRINT_error("FILESYS_init - AT MOST %d OPEN FILES AND %d OPERATIONS, NOT %d AND %d.\n",
                    kMostRecords, kMostRecords, openFileSlots, operations);
        return false;
    }
    const auto slotCount = static_cast<std::size_t>(openFileSlots > 0 ? openFileSlots : 64);
    const auto opCount = static_cast<std::size_t>(operations > 0 ? operations : 64);
    try {
        auto fs = std::make_unique<FileSystemState>();
        fs->operations.resize(opCount);
        for (FileOperation& op : fs->operations)
            fs->freeList.push_back(&op);
        std::reverse(fs->freeList.begin(), fs->freeList.end());
        for (std::size_t i = 0; i < slotCount; ++i)
            fs->slots.push_back(std::make_unique<FileSlot>());
        g_instance = fs.release();
    } catch (const std::bad_alloc&) {
        PRINT_error("FILESYS_init - UNABLE TO RESERVE MEMORY FOR THE FILE SYSTEM.\n");
        return false;
    }
    return true;
}

void FILESYS_shutdown() {
    FileSystemState* fs = nullptr;
    {
        std::lock_guard guard(g_instanceLock);
        fs = g_instance;
        g_instance = nullptr;
    }
    if (fs == nullptr)
        return;
    {
        std::lock_guard guard(fs->archiveLock);
        fs->archives.clear();
    }
    fs->stop = true;
    for (FileDevice& device : fs->devices) {
        {
            std::lock_guard guard(device.queueLock);
            device.wake.notify_all();
        }
        if (device.worker.joinable())
            device.worker.join();
    }
    for (const auto& slot : fs->slots)
        if (slot->file != nullptr)
            std::fclose(slot->file);
    delete fs;
}

bool FILESYS_isinitialised() {
    return FileSystemInstance() != nullptr;
}

int FILE_device(const std::string& name) {
    if (name.find('|') != std::string::npos)
        return 0;
    std::error_code error;
    const std::string full = FILE_utf8of(std::filesystem::absolute(FILE_pathof(name), error));
    if (error || full.size() < 2 || full[1] != ':')
        return 0;
    const int letter = std::toupper(static_cast<unsigned char>(full[0]));
    return letter >= 'A' && letter <= 'Z' ? letter - 64 : 0;
}

FileOpHandle FILE_makehandle(int device, std::uint32_t sequence) {
    return static_cast<FileOpHandle>(device) + 32u * (sequence & 0xFFFFFFu);
}

std::uint32_t FILE_nextsequence(std::uint32_t sequence) {
    const std::uint32_t next = (sequence + 1) & 0xFFFFFFu;
    return next == 0 ? 1 : next;
}

FileOpHandle FILESYS_queueopen(const std::string& name, unsigned flags, int priority, void* user) {
    return QueueNamed(FileOpType::Open, name, flags, priority, user);
}

FileOpHandle FILESYS_queueclose(FileHandle file, int priority, void* user) {
    return QueueOnFile(FileOpType::Close, file, 0, 0, nullptr, priority, user);
}

FileOpHandle FILESYS_queueread(FileHandle file, std::int64_t offset, void* buffer,
                               std::int64_t length, int priority, void* user) {
    return QueueOnFile(FileOpType::Read, file, offset, length, buffer, priority, user);
}

FileOpHandle FILESYS_queuewrite(FileHandle file, std::int64_t offset, const void* buffer,
                                std::int64_t length, int priority, void* user) {
    // The worker only reads from a write's buffer.
    return QueueOnFile(FileOpType::Write, file, offset, length, const_cast<void*>(buffer), priority,
                       user);
}

FileOpHandle FILESYS_queuesize(FileHandle file, int priority, void* user) {
    return QueueOnFile(FileOpType::Size, file, 0, 0, nullptr, priority, user);
}

FileOpHandle FILESYS_queueseteof(FileHandle file, std::int64_t position, int priority, void* user) {
    return QueueOnFile(FileOpType::SetEndOfFile, file, position, 0, nullptr, priority, user);
}

FileOpHandle FILESYS_queueexists(const std::string& name, int priority, void* user) {
    return QueueNamed(FileOpType::Exists, name, 0, priority, user);
}

FileOpHandle FILESYS_queuedelete(const std::string& name, int priority, void* user) {
    return QueueNamed(FileOpType::Delete, name, 0, priority, user);
}

FileOpHandle FILESYS_queuenop(int device, int priority, void* user) {
    FileSystemState* fs = Live("FILE_queueop");
    if (fs == nullptr)
        return 0;
    if (device < 0 || device >= kFileDeviceCount) {
        PRINT_error("FILE_queueop - ATTEMPT TO QUEUE FILEOP ON NON-EXISTANT DEVICE.\n");
        return 0;
    }
    FileOperation* op = AllocateOp(*fs, device, FileOpType::NoOperation, priority, user);
    if (op == nullptr)
        return 0;
    op->offset = device;
    return QueueOp(*fs, op);
}

FileOpHandle FILESYS_queueopenarchive(const std::string& name, int priority, void* user) {
    return QueueNamed(FileOpType::OpenArchive, name, 0, priority, user);
}

FileOpHandle FILESYS_queueclosearchive(std::int32_t archiveId, int priority, void* user) {
    FileSystemState* fs = Live("FILE_queueop");
    if (fs == nullptr)
        return 0;
    FileOperation* op = AllocateOp(*fs, 0, FileOpType::CloseArchive, priority, user);
    if (op == nullptr)
        return 0;
    op->offset = archiveId;
    return QueueOp(*fs, op);
}

bool FILESYS_callbackop(FileOpHandle handle, FileOpCallback callback) {
    if (callback == nullptr) {
        PRINT_error("FILESYS_callbackop - can not specify a NULL callback.\n");
        return false;
    }
    FileSystemState* fs = Live("FILESYS_callbackop");
    if (fs == nullptr)
        return false;
    FileDevice& device = fs->devices[handle & 31];
    std::unique_lock lock(device.queueLock);
    FileOperation* op = nullptr;
    const Where where = handle == 0 ? Where::None : Locate(device, handle, &op);
    if (where == Where::None) {
        lock.unlock();
        PRINT_error("FILESYS_callbackop - UNKNOWN FILEOP.\n");
        return false;
    }
    op->flags |= kOpHasCallback;
    if (where != Where::Completed) {
        op->callback = callback;
        return true;
    }
    op->flags |= kOpCalledBack;
    const int status = op->status;
    void* const user = op->user;
    lock.unlock();
    callback(handle, status, user);
    return true;
}

int FILESYS_status(FileOpHandle handle) {
    FileSystemState* fs = FileSystemInstance();
    if (fs == nullptr || handle == 0)
        return kFileOpUnknown;
    FileDevice& device = fs->devices[handle & 31];
    std::lock_guard guard(device.queueLock);
    FileOperation* op = nullptr;
    switch (Locate(device, handle, &op)) {
    case Where::Current:
    case Where::Pending:
        return kFileOpPending;
    case Where::Completed:
        return op->status;
    case Where::None:
        break;
    }
    return kFileOpUnknown;
}

int FILESYS_wait(FileOpHandle handle) {
    FileSystemState* fs = FileSystemInstance();
    if (fs == nullptr || handle == 0 || !fs->devices[handle & 31].active)
        return kFileWaitNoDevice;
    FileDevice& device = fs->devices[handle & 31];
    std::unique_lock lock(device.queueLock);
    FileOperation* op = nullptr;
    device.done.wait(lock, [&] {
        const Where where = Locate(device, handle, &op);
        return !device.active ||
               (where != Where::Current && where != Where::Pending && device.inCallback != op);
    });
    return Locate(device, handle, &op) == Where::Completed ? op->status : kFileOpUnknown;
}

void FILESYS_cancel(FileOpHandle handle) {
    FileSystemState* fs = FileSystemInstance();
    if (fs == nullptr || handle == 0)
        return;
    FileDevice& device = fs->devices[handle & 31];
    std::unique_lock lock(device.queueLock);
    FileOperation* op = nullptr;
    const Where where = Locate(device, handle, &op);
    if (where != Where::Current && where != Where::Pending)
        return;
    if (op->type == FileOpType::Close || op->type == FileOpType::SetEndOfFile ||
        op->type == FileOpType::Delete)
        return;
    if (where == Where::Current &&
        (op->type == FileOpType::Read || op->type == FileOpType::Write)) {
        if (FileSlot* slot = FileSlotOf(*fs, op->file))
            slot->transfer = false;
    }
    op->flags |= kOpCancelled;
    if (where != Where::Pending)
        return;
    device.pending.erase(std::find(device.pending.begin(), device.pending.end(), op));
    op->status = kFileOpCancelled;
    device.completed.push_front(op);
    const bool call = (op->flags & kOpHasCallback) != 0;
    const FileOpCallback callback = op->callback;
    void* const user = op->user;
    if (call)
        op->flags |= kOpCalledBack;
    lock.unlock();
    device.done.notify_all();
    if (call)
        callback(handle, kFileOpCancelled, user);
}

std::int64_t FILESYS_completeop(FileOpHandle handle) {
    FileSystemState* fs = FileSystemInstance();
    FileOperation* op = nullptr;
    if (fs != nullptr && handle != 0) {
        FileDevice& device = fs->devices[handle & 31];
        std::lock_guard guard(device.queueLock);
        if (Locate(device, handle, &op) == Where::Completed)
            device.completed.erase(std::find(device.completed.begin(), device.completed.end(), op));
        else
            op = nullptr;
    }
    if (op == nullptr) {
        PRINT_error("FILESYS_completeop - OPERATION NOT FOUND IN COMPLETED LIST.\n");
        return 0;
    }
    const std::int64_t result = FileFinishOperation(*fs, *op);
    *op = FileOperation();
    std::lock_guard guard(fs->freeLock);
    fs->freeList.push_back(op);
    return result;
}

bool FILESYS_atomic(const std::function<void(int priority)>& function, int device, int priority) {
    FileSystemState* fs = FileSystemInstance();
    if (fs == nullptr) {
        PRINT_error("FILESYS_atomic - FILE SYSTEM NOT INITIALIZED, CALL FILESYS_init().\n");
        return false;
    }
    if (device < 0 || device >= kFileDeviceCount) {
        PRINT_error("FILESYS_atomic - CALLED WITH ILLEGAL FILE DEVICE (%d).\n", device);
        return false;
    }
    FileDevice& record = fs->devices[device];
    if (!record.active && !StartDevice(*fs, device))
        return false;
    std::lock_guard section(record.atomicLock);
    int floor = 0;
    {
        std::lock_guard guard(record.queueLock);
        floor = record.priorityFloor;
        if (floor < priority) {
            PRINT_error("FILESYS_atomic - CALLED AT PRIORITY (%d) LOWER THAN CURRENT DEVICE "
                        "PRIORITY (%d).\n",
                        priority, floor);
            return false;
        }
        record.priorityFloor = priority;
    }
    function(priority);
    {
        std::lock_guard guard(record.queueLock);
        record.priorityFloor = floor;
    }
    record.wake.notify_all();
    return true;
}

std::span<const std::uint8_t> FILESYS_archivedata(std::int32_t archiveId) {
    FileSystemState* fs = FileSystemInstance();
    if (fs == nullptr)
        return {};
    std::lock_guard guard(fs->archiveLock);
    for (const MountedArchive& archive : fs->archives)
        if (archive.id == archiveId)
            return archive.data;
    return {};
}

} // namespace wren
