#include "framework/instance_lock.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "settings/profile.h"

using tolmeri::profile::IsPrivateFolder;

std::string CInstanceLock::LockDirectory() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR")) {
        if (IsPrivateFolder(runtime))
            return runtime;
    }
    const std::string fallback = "/tmp/tolmeri-" + std::to_string(geteuid());
    if (mkdir(fallback.c_str(), 0700) != 0 && errno != EEXIST)
        return {};
    return IsPrivateFolder(fallback) ? fallback : std::string();
}

CInstanceLock::Acquisition CInstanceLock::Acquire(const std::string& name) {
    if (m_fd >= 0)
        return Acquisition::kAcquired;
    const std::string dir = LockDirectory();
    if (dir.empty())
        return Acquisition::kUnavailable;
    const std::string path = dir + "/" + name;
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return Acquisition::kUnavailable;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        close(fd);
        return err == EWOULDBLOCK ? Acquisition::kHeldElsewhere : Acquisition::kUnavailable;
    }
    m_fd = fd;
    return Acquisition::kAcquired;
}

CInstanceLock::~CInstanceLock() {
    // Leaving the descriptor open until here keeps the lock for the whole
    // run; the kernel drops it with the descriptor or the process.
    if (m_fd >= 0)
        close(m_fd);
}
