// framework: the single-instance guard. A per-user lock of a given name that
// the kernel releases when the holding process ends, however it ends.
#pragma once

#include <string>

class CInstanceLock {
public:
    enum class Acquisition {
        kAcquired,      // this process now holds the lock
        kHeldElsewhere, // another process holds it
        kUnavailable,   // no place for a lock: the program runs without the guard
    };

    CInstanceLock() = default;
    ~CInstanceLock();
    CInstanceLock(const CInstanceLock&) = delete;
    CInstanceLock& operator=(const CInstanceLock&) = delete;

    // Takes the lock in one atomic step (no test-then-create window).
    Acquisition Acquire(const std::string& name);
    bool IsHeld() const { return m_fd >= 0; }

    // Where locks live: $XDG_RUNTIME_DIR when it is a private directory of
    // this user, else /tmp/tolmeri-<uid> (made 0700). Empty if neither works.
    static std::string LockDirectory();

private:
    int m_fd = -1;
};
