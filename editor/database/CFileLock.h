#pragma once

// An exclusive advisory lock on an open file descriptor: flock on POSIX, LockFileEx on Windows
// (over one byte far past any content, so the file's bytes stay readable to others). The
// system drops it when the descriptor is closed, and so also when the holder dies.
class CFileLock {
public:
    // False when another open file holds the lock (or the system has no locks for the file).
    static bool TryLock(int fd);
    static void Unlock(int fd);
};
