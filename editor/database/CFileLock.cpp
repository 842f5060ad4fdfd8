#include "CFileLock.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/file.h>
#endif

#ifdef _WIN32
namespace {

// Windows locks are mandatory for the range they cover: the range lies past any real content.
OVERLAPPED FarRange() {
    OVERLAPPED range{};
    range.Offset = 0;
    range.OffsetHigh = 0x7FFFFFFF;
    return range;
}

} // namespace
#endif

bool CFileLock::TryLock(int fd) {
#ifdef _WIN32
    OVERLAPPED range = FarRange();
    return ::LockFileEx(reinterpret_cast<HANDLE>(_get_osfhandle(fd)),
                        LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                        &range) != 0;
#else
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
#endif
}

void CFileLock::Unlock(int fd) {
#ifdef _WIN32
    OVERLAPPED range = FarRange();
    ::UnlockFileEx(reinterpret_cast<HANDLE>(_get_osfhandle(fd)), 0, 1, 0, &range);
#else
    ::flock(fd, LOCK_UN);
#endif
}
