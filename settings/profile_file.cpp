// Reading and atomically replacing a profile file with plain POSIX calls.
#include "settings/profile.h"

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

// "/path を開けません：そのようなファイルやフォルダーはありません".
Failure Trouble(std::string_view what, const std::string& path, int error) {
    std::string text = path;
    text += ' ';
    text += what;
    text += "：";
    text += SystemErrorText(error);
    return Fail(std::move(text));
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

// The kernel's rule for links in shared folders (fs.protected_symlinks),
// applied whatever the kernel is set to: in a sticky folder that everyone
// may write (/tmp), a link is followed only when it belongs to the follower
// or to the folder's owner. Anyone may plant a link there; following it
// would write where its maker chose, with our rights.
bool MayFollowLink(const std::string& link, const struct stat& linkInfo) {
    const std::string directory = DirectoryOf(link);
    struct stat folder {};
    if (::stat(directory.empty() ? "." : directory.c_str(), &folder) != 0)
        return false;
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || linkInfo.st_uid == ::geteuid() || linkInfo.st_uid == folder.st_uid;
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
Result<std::string> ReadOpened(int fd, const std::string& path, struct stat& info) {
    if (::fstat(fd, &info) != 0)
        return Trouble("を調べられません", path, errno);
    if (!S_ISREG(info.st_mode))
        return Fail(path + " はふつうのファイルではありません");
    std::string content;
    int readError = 0;
    if (!ReadAll(fd, content, readError))
        return Trouble("を読めません", path, readError);
    return content;
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
Status Fill(int fd, const std::string& target, std::string_view data, const struct stat* old) {
    if (old != nullptr) {
        // Keeping the owner needs privileges; without them the new file is
        // simply the saving user's, as any newly written file would be. The
        // owner goes first because a change of owner clears set-id bits.
        if (::fchown(fd, old->st_uid, old->st_gid) != 0) {
            // deliberately ignored
        }
        if (::fchmod(fd, old->st_mode & 07777) != 0)
            return Trouble("の許可を設定できません", target, errno);
    }
    int writeError = 0;
    if (!WriteAll(fd, data, writeError))
        return Trouble("に書けません", target, writeError);
    if (::fsync(fd) != 0)
        return Trouble("をディスクに書き終えられません", target, errno);
    return {};
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
Status ExamineTarget(const std::string& target, struct stat& old, bool& exists) {
    exists = false;
    if (::lstat(target.c_str(), &old) != 0) {
        if (errno == ENOENT)
            return {};
        return Trouble("を調べられません", target, errno);
    }
    if (!S_ISREG(old.st_mode))
        return Refuse("not a regular file: " + target);
    // Writing in place would fail on a read-only file; replacing it must not
    // quietly succeed instead.
    if (::access(target.c_str(), W_OK) != 0)
        return Trouble("に書けません", target, errno);
    exists = true;
    return {};
}

// Puts data in place of target (a resolved path): a new file in the same
// directory, filled, synced and renamed over target. The new file has no
// name while it is written (O_TMPFILE) where the file system allows, so a
// process killed meanwhile leaves nothing behind; it is named only just
// before the rename, and a name left by a kill in between is swept away by
// the next write beside the same target.
Status WriteReplacement(const std::string& target, std::string_view data, const struct stat* old) {
    SweepStaleTemporaries(target);
    const std::string directory = DirectoryOf(target);
    std::string temporary;
    int openError = 0;
    int fd = OpenUnnamed(directory.empty() ? "." : directory.c_str(), O_WRONLY | O_CLOEXEC);
    const bool unnamed = fd >= 0;
    if (!unnamed) {
        if (!UnnamedFilesUnsupported(errno))
            return Trouble("の隣に一時ファイルを作れません", target, errno);
        fd = NameTemporary(target, -1, true, temporary, openError);
        if (fd < 0)
            return Trouble("の隣に一時ファイルを作れません", target, openError);
    }
    CFileDescriptor file(fd);
    const auto fail = [&](Failure failure) -> Status {
        if (!temporary.empty())
            ::unlink(temporary.c_str());
        return failure;
    };
    if (Status filled = Fill(fd, target, data, old); !filled)
        return fail(filled.Error());
    if (unnamed && NameTemporary(target, fd, false, temporary, openError) < 0)
        return fail(Trouble("の隣の新しいファイルに名前を付けられません", target, openError));
    if (!file.Close())
        return fail(Trouble("を閉じられません", target, errno));
    // Whatever took target's place since it was examined is not replaced
    // unless it is a regular file.
    struct stat now {};
    bool exists = false;
    if (Status examined = ExamineTarget(target, now, exists); !examined)
        return fail(examined.Error());
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        return fail(Trouble("を置き換えられません", target, errno));
    SyncDirectoryOf(target);
    return {};
}

} // namespace

std::string SystemErrorText(int error) {
    switch (error) {
    case EACCES:
        return "許可がありません";
    case EPERM:
        return "その操作は許されていません";
    case ENOENT:
        return "そのようなファイルやフォルダーはありません";
    case EEXIST:
        return "すでにあります";
    case ENOTDIR:
        return "途中にフォルダーでないものがあります";
    case EISDIR:
        return "フォルダーです";
    case EROFS:
        return "読み出し専用のファイルシステムです";
    case ENOSPC:
        return "ディスクに空きがありません";
    case EDQUOT:
        return "ディスクの割り当てを使い切りました";
    case EFBIG:
        return "ファイルが大きすぎます";
    case EIO:
        return "読み書きの誤りです";
    case ELOOP:
        return "リンクをたどりきれません（多すぎるか、輪になっています）";
    case ENAMETOOLONG:
        return "名前が長すぎます";
    case EMFILE:
    case ENFILE:
        return "開いているファイルが多すぎます";
    case EBUSY:
    case ETXTBSY:
        return "使用中です";
    case EXDEV:
        return "別のファイルシステムをまたげません";
    case EOPNOTSUPP:
        return "このファイルシステムではできません";
    case EINVAL:
        return "正しくない指定です";
    case ENOMEM:
        return "メモリーが足りません";
    case EPIPE:
        return "読み手のいないパイプです";
    case ENXIO:
    case ENODEV:
        return "装置がありません";
    case EAGAIN:
        return "いまは使えません";
    case EINTR:
        return "中断されました";
    case EMLINK:
        return "リンクが多すぎます";
    default:
        return "システムのエラー " + std::to_string(error);
    }
}

Result<std::string> ReadProfileFile(const std::string& path, LinkRule links) {
    const int noFollow = links == LinkRule::kRefuse ? O_NOFOLLOW : 0;
    const CFileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | noFollow));
    if (file.Get() < 0) {
        if (errno == ENOENT)
            return Fail(path + " がありません", FailureKind::kAbsent);
        return Trouble("を開けません", path, errno);
    }
    struct stat info {};
    return ReadOpened(file.Get(), path, info);
}

Status UpdateProfileFile(const std::string& path, const std::function<void(std::string&)>& edit,
                         LinkRule links) {
    if (path.empty())
        return Fail("設定ファイルの場所がわかりません");
    const Result<WriteTarget> resolved = ResolveWriteTarget(path, links);
    if (!resolved)
        return resolved.Error();
    const std::string* target = &resolved->path;

    std::string content;
    struct stat old {};
    bool exists = false;
    {
        // No link is followed any more: one that took the file's place since
        // it was resolved is refused.
        const CFileDescriptor file(
            ::open(target->c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
        if (file.Get() >= 0) {
            Result<std::string> read = ReadOpened(file.Get(), *target, old);
            if (!read)
                return read.Error();
            content = std::move(*read);
            exists = true;
        } else if (errno != ENOENT) {
            return Trouble("を開けません", *target, errno);
        }
    }
    if (exists && ::access(target->c_str(), W_OK) != 0)
        return Trouble("に書けません", *target, errno);

    edit(content);
    return WriteReplacement(*target, content, exists ? &old : nullptr);
}

Status ReplaceFile(const std::string& path, const std::function<Result<std::string>()>& make,
                   LinkRule links) {
    if (path.empty())
        return Fail("ファイル名がありません");
    const Result<WriteTarget> target = ResolveWriteTarget(path, links);
    if (!target)
        return target.Error();
    struct stat old {};
    bool exists = false;
    if (Status examined = ExamineTarget(target->path, old, exists); !examined)
        return examined;
    const Result<std::string> data = make();
    if (!data)
        return data.Error();
    return WriteReplacement(target->path, *data, exists ? &old : nullptr);
}

Result<WriteTarget> ResolveWriteTarget(const std::string& path, LinkRule links) {
    WriteTarget target{path, false, false};
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(target.path.c_str(), &info) != 0) {
            if (errno != ENOENT)
                return Trouble("を調べられません", target.path, errno);
            if (target.throughLink && links == LinkRule::kFollowExisting)
                return Refuse("a link to nothing: " + path + " -> " + target.path);
            return target;
        }
        if (!S_ISLNK(info.st_mode)) {
            target.exists = true;
            return target;
        }
        if (links == LinkRule::kRefuse)
            return Refuse("a symbolic link: " + target.path);
        if (!MayFollowLink(target.path, info))
            return Refuse("another user's link in a shared folder: " + target.path);
        std::string link(static_cast<std::size_t>(info.st_size) + 256, '\0');
        const ssize_t length = ::readlink(target.path.c_str(), link.data(), link.size());
        if (length < 0)
            return Trouble("のリンクを読めません", target.path, errno);
        if (static_cast<std::size_t>(length) == link.size())
            return Trouble("のリンクを読めません", target.path, ENAMETOOLONG);
        link.resize(static_cast<std::size_t>(length));
        target.path =
            (!link.empty() && link.front() == '/') ? link : DirectoryOf(target.path) + link;
        target.throughLink = true;
    }
    return Trouble("のリンクをたどれません", path, ELOOP);
}

bool IsPrivateFolder(const std::string& path) {
    struct stat info {};
    return !path.empty() && path[0] == '/' && ::lstat(path.c_str(), &info) == 0 &&
           S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 022) == 0;
}

int OpenUnnamed(const char* directory, int flags) {
    return ::open(directory, O_TMPFILE | flags, 0666);
}

bool UnnamedFilesUnsupported(int error) {
    // File systems and kernels without unnamed files say so in one of these ways.
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

} // namespace tolmeri::profile
