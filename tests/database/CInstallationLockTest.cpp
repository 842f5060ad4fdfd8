#include "editor/database/CInstallationLock.h"

#include "tests/support/CTempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#ifndef _WIN32
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace std::chrono_literals;

namespace {

bool TakenFromAnotherThread(const std::filesystem::path& folder, std::chrono::milliseconds wait,
                            std::string& error) {
    bool taken = false;
    std::thread other([&] {
        CInstallationLock lock;
        taken = lock.Acquire(folder, wait, error);
    });
    other.join();
    return taken;
}

} // namespace

TEST(CInstallationLockTest, OneHolderAtATimeReentrantForItsOwnThread) {
    CTempFolder folder;
    std::string error;
    CInstallationLock outer;
    ASSERT_TRUE(outer.Acquire(folder.Path(), 0ms, error)) << error;
    EXPECT_TRUE(std::filesystem::is_regular_file(folder.Path() / CInstallationLock::kFileName));
    {
        // A save inside a command's span: no waiting for itself.
        CInstallationLock inner;
        EXPECT_TRUE(inner.Acquire(folder.Path(), 0ms, error)) << error;
    }
    // The inner release kept the outer hold.
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(TakenFromAnotherThread(folder.Path(), 200ms, error));
    EXPECT_GE(std::chrono::steady_clock::now() - started, 200ms);
    EXPECT_NE(error.find("did not finish within 0.2 seconds"), std::string::npos) << error;

    // Moving passes the hold on; releasing the last holder frees the folder.
    CInstallationLock moved = std::move(outer);
    EXPECT_FALSE(outer.IsHeld());
    EXPECT_TRUE(moved.IsHeld());
    moved.Release();
    EXPECT_TRUE(TakenFromAnotherThread(folder.Path(), 0ms, error)) << error;
}

TEST(CInstallationLockTest, AWaiterGetsTheLockOnceTheHolderReleasesIt) {
    CTempFolder folder;
    std::string error;
    auto holder = std::make_unique<CInstallationLock>();
    ASSERT_TRUE(holder->Acquire(folder.Path(), 0ms, error));
    std::atomic<bool> taken = false;
    std::thread waiter([&] {
        CInstallationLock lock;
        std::string reason;
        taken = lock.Acquire(folder.Path(), 5s, reason);
    });
    std::this_thread::sleep_for(100ms);
    EXPECT_FALSE(taken);
    holder.reset();
    waiter.join();
    EXPECT_TRUE(taken);
}

TEST(CInstallationLockTest, AMissingFolderOrALinkInPlaceOfTheLockFileIsAnError) {
    CTempFolder folder;
    std::string error;
    CInstallationLock lock;
    EXPECT_FALSE(lock.Acquire(folder.Path() / "missing", 0ms, error));
    EXPECT_NE(error.find("cannot open the lock file"), std::string::npos) << error;
    EXPECT_FALSE(lock.IsHeld());
#ifndef _WIN32
    // Never followed: a link could point the lock's bookkeeping at any file.
    const std::filesystem::path victim = folder.Path() / "victim";
    std::filesystem::create_directory(folder.Path() / "game");
    std::filesystem::create_symlink(victim, folder.Path() / "game" / CInstallationLock::kFileName);
    EXPECT_FALSE(lock.Acquire(folder.Path() / "game", 0ms, error));
    EXPECT_FALSE(std::filesystem::exists(victim));
#endif
}

#ifndef _WIN32
// Another process holds the lock: waiters are told which, and the lock is free again as soon as
// that process dies, without any clean-up of its own.
TEST(CInstallationLockTest, AnotherProcessHoldsItUntilItDies) {
    CTempFolder folder;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CInstallationLock::SetHolderName("lock-test-holder");
        CInstallationLock lock;
        std::string reason;
        const char state = lock.Acquire(folder.Path(), 0ms, reason) ? 'y' : 'n';
        (void)!::write(ready[1], &state, 1);
        ::pause();
        ::_exit(0);
    }
    char state = 0;
    ASSERT_EQ(::read(ready[0], &state, 1), 1);
    ASSERT_EQ(state, 'y');
    std::string error;
    CInstallationLock lock;
    EXPECT_FALSE(lock.Acquire(folder.Path(), 100ms, error));
    EXPECT_NE(error.find("(lock-test-holder, process " + std::to_string(child) + ")"),
              std::string::npos)
        << error;
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_TRUE(lock.Acquire(folder.Path(), 0ms, error)) << error;
}
#endif
