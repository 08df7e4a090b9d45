#include "process/process.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tolmeri {

std::string ExecutablePath() {
    std::string path(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
        if (length < 0)
            return {};
        if (static_cast<std::size_t>(length) < path.size()) {
            path.resize(static_cast<std::size_t>(length));
            return path;
        }
        if (path.size() >= 65536)
            return {};
        path.resize(path.size() * 2);
    }
}

void OpenClosedStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // open() takes the lowest free descriptor: this one. Each is opened
        // for reading only, so that a write to an output the process was
        // started without still fails (EBADF), as on the closed descriptor,
        // instead of vanishing with a success.
        const int opened = ::open("/dev/null", O_RDONLY);
        if (opened != fd && opened >= 0)
            ::close(opened); // not ours to fill; nothing better to do
    }
}

} // namespace tolmeri
