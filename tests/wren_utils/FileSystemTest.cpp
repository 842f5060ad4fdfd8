#include "WrenTestFiles.h"

#include "wren_utils/engine/DebugPrint.h"
#include "wren_utils/engine/FileSystem.h"
#include "wren_utils/pack/PackEncoder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using namespace wren;
using Bytes = std::vector<std::uint8_t>;

// Initialises the file system for one test and collects the error channel's messages.
class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override { Start(4, 48); }
    void TearDown() override {
        FILESYS_shutdown();
        PRINT_setlistener({});
    }
    void Start(int slots, int operations) {
        FILESYS_shutdown();
        ASSERT_TRUE(FILESYS_init(slots, operations));
        PRINT_setlistener([this](int channel, const std::string& text) {
            if (channel == kPrintChannelError) {
                std::lock_guard guard(lock_);
                errors_.push_back(text);
            }
        });
    }
    std::vector<std::string> Errors() {
        std::lock_guard guard(lock_);
        return errors_;
    }

    CTempFolder folder_;

private:
    std::mutex lock_;
    std::vector<std::string> errors_;
};

// Callback log shared by the operations of a test.
struct RunLog {
    std::mutex lock;
    std::vector<std::pair<int, int>> entries; // tag, status
};

struct Tagged {
    RunLog* log;
    int tag;
};

void Record(FileOpHandle, int status, void* user) {
    auto* tagged = static_cast<Tagged*>(user);
    std::lock_guard guard(tagged->log->lock);
    tagged->log->entries.emplace_back(tagged->tag, status);
}

TEST_F(FileSystemTest, QueueRunsByPriorityThenQueueingOrder) {
    RunLog log;
    std::vector<Tagged> tags;
    tags.reserve(5);
    const int priorities[] = {10, 5, 10, 200, 5};
    std::vector<FileOpHandle> handles;
    // The section holds the device's floor at 0, so everything queued inside waits.
    ASSERT_TRUE(FILESYS_atomic(
        [&](int) {
            for (int i = 0; i < 5; ++i) {
                tags.push_back({&log, i});
                const FileOpHandle handle = FILESYS_queuenop(0, priorities[i], &tags.back());
                ASSERT_NE(handle, 0u);
                ASSERT_TRUE(FILESYS_callbackop(handle, Record));
                EXPECT_EQ(FILESYS_status(handle), kFileOpPending);
                handles.push_back(handle);
            }
        },
        0, 0));
    for (const FileOpHandle handle : handles) {
        EXPECT_EQ(FILESYS_wait(handle), kFileOpDone);
        EXPECT_EQ(FILESYS_completeop(handle), 0);
    }
    const std::vector<std::pair<int, int>> expected = {{1, 1}, {4, 1}, {0, 1}, {2, 1}, {3, 1}};
    EXPECT_EQ(log.entries, expected);
}

TEST_F(FileSystemTest, HandlesCarryDeviceAndSequence) {
    const FileOpHandle first = FILESYS_queuenop(3, 100);
    const FileOpHandle second = FILESYS_queuenop(3, 100);
    ASSERT_NE(first, 0u);
    EXPECT_EQ(first & 31, 3u);
    EXPECT_EQ(second & 31, 3u);
    EXPECT_EQ((second >> 5) - (first >> 5), 1u);
    for (const FileOpHandle handle : {first, second}) {
        EXPECT_EQ(FILESYS_wait(handle), kFileOpDone);
        FILESYS_completeop(handle);
    }
    EXPECT_EQ(FILE_makehandle(7, 2), 7u + 64u);
    EXPECT_EQ(FILE_nextsequence(5), 6u);
    EXPECT_EQ(FILE_nextsequence(0xFFFFFF), 1u); // wraps past 0
    EXPECT_EQ(FILE_device("pack|entry"), 0);
#if defined(_WIN32)
    EXPECT_EQ(FILE_device("x:\\data\\zdata_05.big"), 24);
    EXPECT_EQ(FILE_device("C:/game"), 3);
#endif
    EXPECT_EQ(FILESYS_status(first), kFileOpUnknown);
    EXPECT_EQ(FILESYS_wait(0), kFileWaitNoDevice);
}

TEST_F(FileSystemTest, ReadsGoInPiecesAndStopAtTheEnd) {
    const Bytes content = CountingBytes(20000);
    const std::string path = folder_.Write("data.bin", content);
    const FileHandle file = FILESYS_open(path, kFileReadOnly);
    ASSERT_EQ(file, -1); // the first slot
    EXPECT_EQ(FILESYS_size(file), 20000);

    // The file's own device (on Windows one per drive) numbers the pieces.
    const int device = FILE_device(path);
    const FileOpHandle before = FILESYS_queuenop(device, 100);
    FILESYS_wait(before);
    FILESYS_completeop(before);
    Bytes buffer(20000);
    EXPECT_EQ(FILESYS_readchunked(file, 0, buffer.data(), 20000), 20000);
    EXPECT_EQ(buffer, content);
    const FileOpHandle after = FILESYS_queuenop(device, 100);
    FILESYS_wait(after);
    FILESYS_completeop(after);
    EXPECT_EQ((after >> 5) - (before >> 5), 4u); // three pieces: 8192, 8192, 3616

    // A piece that returns fewer bytes ends the read.
    Bytes tail(30000);
    EXPECT_EQ(FILESYS_readchunked(file, 15000, tail.data(), 30000), 5000);
    EXPECT_TRUE(std::equal(tail.begin(), tail.begin() + 5000, content.begin() + 15000));
    EXPECT_TRUE(FILESYS_close(file));

    // Bounded read at 100 of a 150-byte file; a raw open is not bounded by the recorded size.
    const std::string small = folder_.Write("small.bin", CountingBytes(150));
    const FileHandle bounded = FILESYS_open(small, kFileReadOnly);
    Bytes part(200);
    EXPECT_EQ(FILESYS_read(bounded, 100, part.data(), 200), 50);
    EXPECT_TRUE(FILESYS_close(bounded));
    const FileHandle mapped = FILESYS_open(small, kFileReadOnly | kFileMapped);
    EXPECT_EQ(FILESYS_read(mapped, 100, part.data(), 200), 50);
    EXPECT_EQ(part[0], CountingBytes(150)[100]);
    EXPECT_TRUE(FILESYS_close(mapped));
}

TEST_F(FileSystemTest, CancelAndCallbacks) {
    RunLog log;
    Tagged queued{&log, 1};
    Tagged done{&log, 2};
    FileOpHandle cancelled = 0;
    ASSERT_TRUE(FILESYS_atomic(
        [&](int) {
            cancelled = FILESYS_queuenop(0, 50, &queued);
            ASSERT_TRUE(FILESYS_callbackop(cancelled, Record));
            FILESYS_cancel(cancelled);
            EXPECT_EQ(FILESYS_status(cancelled), kFileOpCancelled);
        },
        0, 0));
    EXPECT_EQ(FILESYS_wait(cancelled), kFileOpCancelled);
    FILESYS_cancel(cancelled); // completed: left alone
    EXPECT_EQ(FILESYS_completeop(cancelled), 0);

    // A callback set after completion is called at once with the final status.
    const FileOpHandle finished = FILESYS_queuenop(0, 100, &done);
    EXPECT_EQ(FILESYS_wait(finished), kFileOpDone);
    ASSERT_TRUE(FILESYS_callbackop(finished, Record));
    FILESYS_completeop(finished);
    const std::vector<std::pair<int, int>> expected = {{1, kFileOpCancelled}, {2, kFileOpDone}};
    EXPECT_EQ(log.entries, expected);

    // A cancelled open gives no file and leaves its slot free.
    const std::string path = folder_.Write("f.bin", CountingBytes(10));
    FileOpHandle open = 0;
    ASSERT_TRUE(FILESYS_atomic(
        [&](int) {
            open = FILESYS_queueopen(path, kFileReadOnly, 50);
            FILESYS_cancel(open);
        },
        FILE_device(path), 0));
    FILESYS_wait(open);
    EXPECT_EQ(FILESYS_completeop(open), 0);
    EXPECT_EQ(FILESYS_open(path, kFileReadOnly), -1);
    EXPECT_TRUE(Errors().empty());

    EXPECT_FALSE(FILESYS_callbackop(finished, Record));
    EXPECT_FALSE(FILESYS_callbackop(finished, nullptr));
    const std::vector<std::string> errors = {"ERROR: FILESYS_callbackop - UNKNOWN FILEOP.\n",
                                             "ERROR: FILESYS_callbackop - can not specify a NULL "
                                             "callback.\n"};
    EXPECT_EQ(Errors(), errors);
}

TEST_F(FileSystemTest, ExhaustionAndMisuseAreReportedAndSurvived) {
    Start(2, 4);
    std::vector<FileOpHandle> handles;
    ASSERT_TRUE(FILESYS_atomic(
        [&](int) {
            for (int i = 0; i < 4; ++i)
                handles.push_back(FILESYS_queuenop(0, 100));
            EXPECT_EQ(FILESYS_queuenop(0, 100), 0u);
        },
        0, 0));
    for (const FileOpHandle handle : handles) {
        EXPECT_EQ(FILESYS_wait(handle), kFileOpDone);
        FILESYS_completeop(handle);
    }
    EXPECT_EQ(FILESYS_completeop(handles[0]), 0); // completed twice
    EXPECT_FALSE(FILESYS_atomic([](int) {}, 32));
    bool inner = true;
    EXPECT_TRUE(FILESYS_atomic([&](int) { inner = FILESYS_atomic([](int) {}, 5, 60); }, 5, 50));
    EXPECT_FALSE(inner);
    EXPECT_EQ(FILESYS_queuenop(40, 100), 0u);
    FILESYS_shutdown();
    EXPECT_FALSE(FILESYS_init(4, 1 << 30));
    EXPECT_FALSE(FILESYS_isinitialised());
    ASSERT_TRUE(FILESYS_init(2, 4));
    const std::vector<std::string> expected = {
        "ERROR: FILE_allocateop - NO FREE OPS LEFT TO ALLOCATE.\n",
        "ERROR: FILESYS_completeop - OPERATION NOT FOUND IN COMPLETED LIST.\n",
        "ERROR: FILESYS_atomic - CALLED WITH ILLEGAL FILE DEVICE (32).\n",
        "ERROR: FILESYS_atomic - CALLED AT PRIORITY (60) LOWER THAN CURRENT DEVICE PRIORITY "
        "(50).\n",
        "ERROR: FILE_queueop - ATTEMPT TO QUEUE FILEOP ON NON-EXISTANT DEVICE.\n",
        "ERROR: FILESYS_init - AT MOST 65536 OPEN FILES AND 65536 OPERATIONS, NOT 4 AND "
        "1073741824.\n"};
    EXPECT_EQ(Errors(), expected);

    // Two slots: a third open fails; an invalid handle fails its operations.
    const std::string path = folder_.Write("f.bin", CountingBytes(10));
    const FileHandle a = FILESYS_open(path, kFileReadOnly);
    const FileHandle b = FILESYS_open(path, kFileReadOnly);
    EXPECT_EQ(a, -1);
    EXPECT_EQ(b, -2);
    EXPECT_EQ(FILESYS_open(path, kFileReadOnly), 0);
    EXPECT_TRUE(FILESYS_close(a));
    EXPECT_FALSE(FILESYS_close(a));
    Bytes buffer(4);
    EXPECT_EQ(FILESYS_read(-7, 0, buffer.data(), 4), 0);
    EXPECT_EQ(FILESYS_size(0), 0);
    EXPECT_TRUE(FILESYS_close(b));
}

TEST_F(FileSystemTest, WriteSizeEndOfFileExistsDelete) {
    const std::string path = folder_.File("new.bin");
    EXPECT_FALSE(FILESYS_exists(path));
    EXPECT_EQ(FILESYS_open(path, kFileTruncateExisting), 0); // must exist
    const FileHandle file = FILESYS_open(path, kFileCreateNew);
    ASSERT_NE(file, 0);
    const Bytes content = CountingBytes(30000);
    EXPECT_EQ(FILESYS_writechunked(file, 0, content.data(), 30000), 30000);
    EXPECT_EQ(FILESYS_size(file), 30000);
    EXPECT_TRUE(FILESYS_seteof(file, 1000));
    EXPECT_EQ(FILESYS_size(file), 1000);
    EXPECT_TRUE(FILESYS_close(file));
    EXPECT_EQ(FILESYS_open(path, kFileCreateNew), 0); // exists now
    EXPECT_TRUE(FILESYS_exists(path));
    EXPECT_EQ(FILE_size(path), 1000);
    const auto loaded = FILE_load(path);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(*loaded, Bytes(content.begin(), content.begin() + 1000));

    const FileOpHandle removal = FILESYS_queuedelete(path, 100);
    EXPECT_EQ(FILESYS_wait(removal), kFileOpDone);
    EXPECT_EQ(FILESYS_completeop(removal), 1);
    EXPECT_FALSE(FILESYS_exists(path));

    // A folder is not a file: no open, no load, no archive.
    const std::string folder = folder_.File("");
    EXPECT_FALSE(FILESYS_exists(folder));
    EXPECT_EQ(FILESYS_open(folder, kFileReadOnly), 0);
    EXPECT_FALSE(FILE_load(folder).has_value());
    const FileOpHandle mount = FILESYS_queueopenarchive(folder, 100);
    EXPECT_EQ(FILESYS_wait(mount), kFileOpFailed);
    EXPECT_EQ(FILESYS_completeop(mount), 0);
}

#ifndef _WIN32
// Opens the FIFO's writing end now and then, which frees whoever waits to read it; a reader
// that was waiting shows the FIFO was opened when it should have been refused.
class CFifoWatch {
public:
    explicit CFifoWatch(const std::string& path) : thread_([this, path] {
        while (!stop_) {
            const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                opened_ = true;
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }) {}
    ~CFifoWatch() {
        stop_ = true;
        thread_.join();
    }
    bool SomeoneWaited() const { return opened_; }

private:
    std::atomic<bool> stop_{false};
    std::atomic<bool> opened_{false};
    std::thread thread_;
};

TEST_F(FileSystemTest, FifosAreRefusedWithoutWaiting) {
    const std::string fifo = folder_.File("pipe.big");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const CFifoWatch watch(fifo);
    EXPECT_FALSE(FILESYS_exists(fifo));
    EXPECT_EQ(FILESYS_open(fifo, kFileReadOnly), 0);
    EXPECT_EQ(FILESYS_open(fifo, kFileCreateAlways), 0);
    EXPECT_FALSE(FILE_load(fifo).has_value());
    const FileOpHandle mount = FILESYS_queueopenarchive(fifo, 100);
    EXPECT_EQ(FILESYS_wait(mount), kFileOpFailed);
    EXPECT_EQ(FILESYS_completeop(mount), 0);
    EXPECT_FALSE(watch.SomeoneWaited());
}

#endif

TEST_F(FileSystemTest, LoadersReadPackedAndPlainFiles) {
    const Bytes content = CountingBytes(50000);
    const std::string plain = folder_.Write("plain.bin", content);
    const std::string packed = folder_.Write("packed.bin", *PACK_pack(content));
    EXPECT_EQ(FILE_loadpack(plain), content);
    EXPECT_EQ(FILE_loadpack(packed), content);

    Bytes buffer(60000);
    EXPECT_EQ(FILE_loadpackat(packed, buffer, 0), 50000);
    EXPECT_TRUE(std::equal(content.begin(), content.end(), buffer.begin()));
    EXPECT_EQ(FILE_loadpackat(plain, buffer, 100), 100);
    Bytes small(10);
    EXPECT_EQ(FILE_read(plain, small, 0), 10);       // never past the buffer
    EXPECT_EQ(FILE_loadpackat(packed, small, 0), 0); // does not fit

    Bytes damaged = *PACK_pack(content);
    damaged.resize(damaged.size() / 2);
    const std::string broken = folder_.Write("broken.bin", damaged);
    EXPECT_FALSE(FILE_loadpack(broken).has_value());
    EXPECT_FALSE(FILE_load(folder_.File("missing.bin")).has_value());

    const std::string saved = folder_.File("saved.bin");
    EXPECT_TRUE(FILE_save(saved, content));
    EXPECT_EQ(FILE_load(saved), content);
    EXPECT_FALSE(FILE_save(folder_.File("no/such/folder/x.bin"), content));

    const std::vector<std::string> expected = {
        "ERROR: FILE_loadpackat - unable to unpack file " + packed + "\n",
        "ERROR: FILE_loadpack - unable to unpack file " + broken + "\n",
        "ERROR: FILE_load - unable to open file " + folder_.File("missing.bin") + "\n",
        "ERROR: FILE_save - unable to write file " + folder_.File("no/such/folder/x.bin") + "\n"};
    EXPECT_EQ(Errors(), expected);
}

TEST_F(FileSystemTest, ArchivesMountWithFallingIds) {
    const std::string path = folder_.Write("a.big", CountingBytes(3000));
    const FileOpHandle first = FILESYS_queueopenarchive(path, 100);
    const FileOpHandle second = FILESYS_queueopenarchive(path, 100);
    FILESYS_wait(first);
    FILESYS_wait(second);
    EXPECT_EQ(FILESYS_completeop(first), -1);
    EXPECT_EQ(FILESYS_completeop(second), -2);
    EXPECT_EQ(FILESYS_archivedata(-1).size(), 3000u);
    const FileOpHandle close = FILESYS_queueclosearchive(-1, 100);
    FILESYS_wait(close);
    EXPECT_EQ(FILESYS_completeop(close), 1);
    EXPECT_TRUE(FILESYS_archivedata(-1).empty());
    const FileOpHandle missing = FILESYS_queueopenarchive(folder_.File("none.big"), 100);
    EXPECT_EQ(FILESYS_wait(missing), kFileOpFailed);
    EXPECT_EQ(FILESYS_completeop(missing), 0);
}

TEST_F(FileSystemTest, DevicesWorkInParallelThreads) {
    std::vector<std::thread> threads;
    std::atomic<int> good{0};
    const std::string path = folder_.Write("shared.bin", CountingBytes(40000));
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 10; ++i)
                if (FILE_load(path) == CountingBytes(40000))
                    ++good;
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(good.load(), 40);
}

} // namespace
