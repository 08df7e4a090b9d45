// Reading and atomically replacing a profile file with plain POSIX calls.
#include "profile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tolmeri::profile {
namespace {

std::string ErrnoText(int error) {
    return std::generic_category().message(error);
}

std::string Failure(std::string_view what, const std::string& path, int error) {
    std::string text(what);
    text += ' ';
    text += path;
    text += ": ";
    text += ErrnoText(error);
    return text;
}

// The directory part of path with its trailing '/', or "" for a bare name.
std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Closes the descriptor on every path out of a function.
class CFileDescriptor {
public:
    explicit CFileDescriptor(int fd) : m_nFd(fd) {}
    ~CFileDescriptor() {
        if (m_nFd >= 0)
            ::close(m_nFd);
    }
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;
    int Get() const { return m_nFd; }
    // Closes now and reports the result: a delayed write error can surface here.
    bool Close() {
        const int fd = m_nFd;
        m_nFd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_nFd;
};

// Follows symbolic links at path until it names something that is not a link
// (or does not exist yet, for a dangling link). Only the last component is
// followed, so the new file is made in the directory the data really lives in.
bool ResolveLinks(const std::string& path, std::string& target, std::string& error) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0) {
            if (errno == ENOENT)
                return true;
            error = Failure("cannot examine", target, errno);
            return false;
        }
        if (!S_ISLNK(info.st_mode))
            return true;
        std::string link(static_cast<std::size_t>(info.st_size) + 256, '\0');
        const ssize_t length = ::readlink(target.c_str(), link.data(), link.size());
        if (length < 0) {
            error = Failure("cannot read the link", target, errno);
            return false;
        }
        if (static_cast<std::size_t>(length) == link.size()) {
            error = Failure("cannot read the link", target, ENAMETOOLONG);
            return false;
        }
        link.resize(static_cast<std::size_t>(length));
        target = (!link.empty() && link.front() == '/') ? link : DirectoryOf(target) + link;
    }
    error = Failure("cannot follow", path, ELOOP);
    return false;
}

bool ReadAll(int fd, std::string& content, int& error) {
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        if (got == 0)
            return true;
        if (content.size() + static_cast<std::size_t>(got) > kMaxFileSize) {
            error = EFBIG;
            return false;
        }
        content.append(buffer, static_cast<std::size_t>(got));
    }
}

bool WriteAll(int fd, std::string_view data, int& error) {
    while (!data.empty()) {
        const ssize_t put = ::write(fd, data.data(), data.size());
        if (put < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        if (put == 0) {
            error = ENOSPC;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

// Reads an opened file; info receives what fstat says about it.
ReadStatus ReadOpened(int fd, const std::string& path, std::string& content, std::string& error,
                      struct stat& info) {
    if (::fstat(fd, &info) != 0) {
        error = Failure("cannot examine", path, errno);
        return ReadStatus::kFailed;
    }
    if (!S_ISREG(info.st_mode)) {
        error = "not a regular file: " + path;
        return ReadStatus::kFailed;
    }
    int readError = 0;
    if (!ReadAll(fd, content, readError)) {
        content.clear();
        error = Failure("cannot read", path, readError);
        return ReadStatus::kFailed;
    }
    return ReadStatus::kRead;
}

// A fresh file beside target; O_EXCL makes sure it is ours alone. Mode 0666
// lets the umask decide, as for any new file.
int CreateSibling(const std::string& target, std::string& name, int& error) {
    const std::string directory = DirectoryOf(target);
    const std::string base = target.substr(directory.size());
    static unsigned s_nCounter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = directory + "." + base + ".tmp" + std::to_string(::getpid()) + "-" +
               std::to_string(++s_nCounter);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST) {
            error = errno;
            return -1;
        }
    }
    error = EEXIST;
    return -1;
}

// Everything after the temporary file exists; the caller removes it on failure.
bool FillAndReplace(CFileDescriptor& file, const std::string& temporary, const std::string& target,
                    std::string_view data, const struct stat* old, std::string& error) {
    const int fd = file.Get();
    int writeError = 0;
    if (old != nullptr) {
        // Keeping the owner needs privileges; without them the new file is
        // simply the saving user's, as any newly written file would be. The
        // owner goes first because a change of owner clears set-id bits.
        if (::fchown(fd, old->st_uid, old->st_gid) != 0) {
            // deliberately ignored
        }
        if (::fchmod(fd, old->st_mode & 07777) != 0) {
            error = Failure("cannot set the permissions of", temporary, errno);
            return false;
        }
    }
    if (!WriteAll(fd, data, writeError)) {
        error = Failure("cannot write", temporary, writeError);
        return false;
    }
    if (::fsync(fd) != 0) {
        error = Failure("cannot flush", temporary, errno);
        return false;
    }
    if (!file.Close()) {
        error = Failure("cannot close", temporary, errno);
        return false;
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        error = Failure("cannot replace", target, errno);
        return false;
    }
    return true;
}

// Makes the rename itself durable. The new file is already in place, so a
// failure here is not worth reporting as a failed save.
void SyncDirectoryOf(const std::string& target) {
    const std::string directory = DirectoryOf(target);
    const CFileDescriptor dir(
        ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0)
        (void)::fsync(dir.Get());
}

} // namespace

ReadStatus ReadProfileFile(const std::string& path, std::string& content, std::string& error) {
    content.clear();
    error.clear();
    const CFileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() < 0) {
        if (errno == ENOENT)
            return ReadStatus::kAbsent;
        error = Failure("cannot open", path, errno);
        return ReadStatus::kFailed;
    }
    struct stat info {};
    return ReadOpened(file.Get(), path, content, error, info);
}

bool UpdateProfileFile(const std::string& path, const std::function<void(std::string&)>& edit,
                       std::string& error) {
    error.clear();
    if (path.empty()) {
        error = "no settings file path";
        return false;
    }
    std::string target;
    if (!ResolveLinks(path, target, error))
        return false;

    std::string content;
    struct stat old {};
    bool exists = false;
    {
        const CFileDescriptor file(::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        if (file.Get() >= 0) {
            if (ReadOpened(file.Get(), target, content, error, old) != ReadStatus::kRead)
                return false;
            exists = true;
        } else if (errno != ENOENT) {
            error = Failure("cannot open", target, errno);
            return false;
        }
    }
    // Writing in place would fail on a read-only file; replacing it must not
    // quietly succeed instead.
    if (exists && ::access(target.c_str(), W_OK) != 0) {
        error = Failure("cannot write", target, errno);
        return false;
    }

    edit(content);

    std::string temporary;
    int createError = 0;
    const int fd = CreateSibling(target, temporary, createError);
    if (fd < 0) {
        error = Failure("cannot create a temporary file beside", target, createError);
        return false;
    }
    CFileDescriptor file(fd);
    if (!FillAndReplace(file, temporary, target, content, exists ? &old : nullptr, error)) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncDirectoryOf(target);
    return true;
}

} // namespace tolmeri::profile
