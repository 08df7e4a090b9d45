// Where the settings file lives: beside the executable, or in the user's
// configuration folder when the program's folder cannot be written.
#include "settings/settings.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "settings/profile.h"

namespace tolmeri {
namespace {

// The folder part of path, without its final '/'; "." for a bare name.
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    const passwd* entry = ::getpwuid(::getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "";
}

// Makes every missing folder of path, each 0700 as a configuration folder
// of its own should be. False with errno set when one cannot be made.
bool MakeFolders(const std::string& path) {
    for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
        const std::string part = path.substr(0, end);
        if (!part.empty() && ::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (end == std::string::npos)
            return true;
    }
}

} // namespace

std::string UserSettingsDirectory() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base = config && config[0] == '/' ? std::string(config) : std::string();
    if (base.empty()) {
        const std::string home = HomeFolder();
        if (home.empty())
            return {};
        base = home + "/.config";
    }
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    return base + "/tolmeri";
}

bool CanCreateFileIn(const std::string& directory) {
    const std::string folder = directory.empty() ? std::string(".") : directory;
    // An unnamed file first: a kill at any instant leaves nothing behind.
    int fd = profile::OpenUnnamed(folder.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    if (!profile::UnnamedFilesUnsupported(errno))
        return false;
    std::string name = folder + "/.tolmeri-XXXXXX";
    fd = ::mkstemp(name.data());
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(name.c_str());
    return true;
}

SettingsLocation ChooseSettingsLocation(const std::string& besidePath) {
    if (besidePath.empty() || CanCreateFileIn(FolderOf(besidePath)))
        return {besidePath, {}};
    const std::string folder = UserSettingsDirectory();
    if (folder.empty())
        return {besidePath, {}};
    return {folder + "/" + FileNameOf(besidePath), besidePath};
}

namespace {

bool IsAbsent(const Result<std::string>& read) {
    return !read && read.Kind() == FailureKind::kAbsent;
}

} // namespace

Status CheckSettingsFolder(const SettingsLocation& location) {
    if (location.seedPath.empty())
        return {};
    const std::string folder = FolderOf(location.path);
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 && errno == ENOENT)
        return {};
    if (profile::IsPrivateFolder(folder))
        return {};
    return Refuse("設定のフォルダー " + folder +
                  " は自分のものでないか、ほかの人も書き込めるので使いません（持ち主を自分に、"
                  "権限を 700 にしてください）");
}

CSettingsValues LoadSettingsFile(const SettingsLocation& location) {
    if (location.seedPath.empty())
        return LoadSettingsFile(location.path);
    // In the user's folder nothing is read through a link or from a folder
    // others can write: the file beside the program stands in.
    if (!CheckSettingsFolder(location))
        return LoadSettingsFile(location.seedPath);
    const Result<std::string> content =
        profile::ReadProfileFile(location.path, profile::LinkRule::kRefuse);
    if (content)
        return ParseSettings(*content);
    if (IsAbsent(content))
        return LoadSettingsFile(location.seedPath);
    return DefaultSettings();
}

Status SaveSettingsFile(const SettingsLocation& location, const CSettingsValues& values) {
    if (location.seedPath.empty())
        return SaveSettingsFile(location.path, values);
    const std::string folder = FolderOf(location.path);
    if (!MakeFolders(folder))
        return Fail("フォルダー " + folder + " を作れません：" + profile::SystemErrorText(errno));
    if (Status checked = CheckSettingsFolder(location); !checked)
        return checked;
    // The first save here starts from the seed's lines with the new values.
    const bool absent =
        IsAbsent(profile::ReadProfileFile(location.path, profile::LinkRule::kRefuse));
    const Result<std::string> read =
        absent ? profile::ReadProfileFile(location.seedPath) : Result<std::string>(std::string());
    const std::string seed = read ? *read : std::string();
    return profile::UpdateProfileFile(
        location.path,
        [&](std::string& content) {
            if (absent && content.empty())
                content = seed;
            StoreSettings(content, values);
        },
        profile::LinkRule::kRefuse);
}

} // namespace tolmeri
