// Reading and atomically replacing a profile file with plain POSIX calls.
#include "profile.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <dirent.h>
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

// Temporary files are named ".<name>.tmp<pid>-<count>" beside their target.
std::string TemporaryPrefix(const std::string& target) {
    std::string prefix(1, '.');
    prefix.append(target, DirectoryOf(target).size());
    prefix += ".tmp";
    return prefix;
}

// The process id in a temporary file's name of target's pattern, or 0 when
// the name is not one.
pid_t TemporaryOwner(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix))
        return 0;
    name.remove_prefix(prefix.size());
    const std::size_t dash = name.find('-');
    if (dash == std::string_view::npos)
        return 0;
    const std::string_view count = name.substr(dash + 1);
    pid_t pid = 0;
    const auto [end, result] = std::from_chars(name.data(), name.data() + dash, pid);
    if (result != std::errc() || end != name.data() + dash || pid <= 0 || count.empty() ||
        count.find_first_not_of("0123456789") != std::string_view::npos)
        return 0;
    return pid;
}

// Removes the temporary files of target's pattern that saves of ended
// processes left behind (a save killed between naming its file and the
// rename). A file of a live process, or of another user, stays.
void SweepStaleTemporaries(const std::string& target) {
    const std::string directory = DirectoryOf(target);
    const std::string prefix = TemporaryPrefix(target);
    DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
    if (dir == nullptr)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t owner = TemporaryOwner(entry->d_name, prefix);
        if (owner <= 0 || owner == ::getpid() || ::kill(owner, 0) == 0 || errno != ESRCH)
            continue;
        struct stat info {};
        if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_uid == ::geteuid())
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

// Gives temporary a name of target's pattern that no other file has: with
// create, a new empty file is made there and opened (O_EXCL makes sure it is
// ours alone; mode 0666 lets the umask decide, as for any new file); without,
// the unnamed file fd is linked there.
int NameTemporary(const std::string& target, int fd, bool create, std::string& temporary,
                  int& error) {
    const std::string base = DirectoryOf(target) + TemporaryPrefix(target);
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    static unsigned s_nCounter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = base + std::to_string(::getpid()) + "-" + std::to_string(++s_nCounter);
        const int result =
            create
                ? ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666)
                : ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW);
        if (result >= 0)
            return create ? result : fd;
        if (errno != EEXIST) {
            error = errno;
            return -1;
        }
    }
    error = EEXIST;
    return -1;
}

// Owner, permissions and data of the new file, all on the disk.
bool Fill(int fd, const std::string& target, std::string_view data, const struct stat* old,
          std::string& error) {
    if (old != nullptr) {
        // Keeping the owner needs privileges; without them the new file is
        // simply the saving user's, as any newly written file would be. The
        // owner goes first because a change of owner clears set-id bits.
        if (::fchown(fd, old->st_uid, old->st_gid) != 0) {
            // deliberately ignored
        }
        if (::fchmod(fd, old->st_mode & 07777) != 0) {
            error = Failure("cannot set the permissions of", target, errno);
            return false;
        }
    }
    int writeError = 0;
    if (!WriteAll(fd, data, writeError)) {
        error = Failure("cannot write", target, writeError);
        return false;
    }
    if (::fsync(fd) != 0) {
        error = Failure("cannot flush", target, errno);
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

// What is at target now: nothing (exists false), a regular file we may
// replace (old filled in), or something else, refused.
ReplaceStatus ExamineTarget(const std::string& target, struct stat& old, bool& exists,
                            std::string& error) {
    exists = false;
    if (::lstat(target.c_str(), &old) != 0) {
        if (errno == ENOENT)
            return ReplaceStatus::kReplaced;
        error = Failure("cannot examine", target, errno);
        return ReplaceStatus::kFailed;
    }
    if (!S_ISREG(old.st_mode)) {
        error = "not a regular file: " + target;
        return ReplaceStatus::kRefused;
    }
    // Writing in place would fail on a read-only file; replacing it must not
    // quietly succeed instead.
    if (::access(target.c_str(), W_OK) != 0) {
        error = Failure("cannot write", target, errno);
        return ReplaceStatus::kFailed;
    }
    exists = true;
    return ReplaceStatus::kReplaced;
}

// Puts data in place of target (a resolved path): a new file in the same
// directory, filled, synced and renamed over target. The new file has no
// name while it is written (O_TMPFILE) where the file system allows, so a
// process killed meanwhile leaves nothing behind; it is named only just
// before the rename, and a name left by a kill in between is swept away by
// the next write beside the same target.
ReplaceStatus WriteReplacement(const std::string& target, std::string_view data,
                               const struct stat* old, std::string& error) {
    SweepStaleTemporaries(target);
    const std::string directory = DirectoryOf(target);
    std::string temporary;
    int openError = 0;
    int fd =
        ::open(directory.empty() ? "." : directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    const bool unnamed = fd >= 0;
    if (!unnamed) {
        // File systems without unnamed files say so in one of these ways.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            error = Failure("cannot create a temporary file beside", target, errno);
            return ReplaceStatus::kFailed;
        }
        fd = NameTemporary(target, -1, true, temporary, openError);
        if (fd < 0) {
            error = Failure("cannot create a temporary file beside", target, openError);
            return ReplaceStatus::kFailed;
        }
    }
    CFileDescriptor file(fd);
    const auto fail = [&](ReplaceStatus status) {
        if (!temporary.empty())
            ::unlink(temporary.c_str());
        return status;
    };
    if (!Fill(fd, target, data, old, error))
        return fail(ReplaceStatus::kFailed);
    if (unnamed && NameTemporary(target, fd, false, temporary, openError) < 0) {
        error = Failure("cannot name the new file beside", target, openError);
        return fail(ReplaceStatus::kFailed);
    }
    if (!file.Close()) {
        error = Failure("cannot close", target, errno);
        return fail(ReplaceStatus::kFailed);
    }
    // Whatever took target's place since it was examined is not replaced
    // unless it is a regular file.
    struct stat now {};
    bool exists = false;
    const ReplaceStatus examined = ExamineTarget(target, now, exists, error);
    if (examined != ReplaceStatus::kReplaced)
        return fail(examined);
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        error = Failure("cannot replace", target, errno);
        return fail(ReplaceStatus::kFailed);
    }
    SyncDirectoryOf(target);
    return ReplaceStatus::kReplaced;
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
    if (exists && ::access(target.c_str(), W_OK) != 0) {
        error = Failure("cannot write", target, errno);
        return false;
    }

    edit(content);
    return WriteReplacement(target, content, exists ? &old : nullptr, error) ==
           ReplaceStatus::kReplaced;
}

ReplaceStatus ReplaceFile(const std::string& path,
                          const std::function<bool(std::string& data, std::string& error)>& make,
                          std::string& error) {
    error.clear();
    if (path.empty()) {
        error = "no file name";
        return ReplaceStatus::kFailed;
    }
    std::string target;
    if (!ResolveLinks(path, target, error))
        return ReplaceStatus::kFailed;
    struct stat old {};
    bool exists = false;
    if (const ReplaceStatus examined = ExamineTarget(target, old, exists, error);
        examined != ReplaceStatus::kReplaced)
        return examined;
    std::string data;
    if (!make(data, error))
        return ReplaceStatus::kFailed;
    return WriteReplacement(target, data, exists ? &old : nullptr, error);
}

} // namespace tolmeri::profile
