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

CSettingsValues LoadSettingsFile(const SettingsLocation& location) {
    const Result<std::string> content = profile::ReadProfileFile(location.path);
    if (content)
        return ParseSettings(*content);
    if (IsAbsent(content) && !location.seedPath.empty())
        return LoadSettingsFile(location.seedPath);
    return DefaultSettings();
}

Status SaveSettingsFile(const SettingsLocation& location, const CSettingsValues& values) {
    if (location.seedPath.empty() || !IsAbsent(profile::ReadProfileFile(location.path)))
        return SaveSettingsFile(location.path, values);

    // The first save here: the folders, then the seed's lines with the new values.
    const std::string folder = FolderOf(location.path);
    if (!MakeFolders(folder))
        return Fail("フォルダー " + folder + " を作れません：" + profile::SystemErrorText(errno));
    const Result<std::string> read = profile::ReadProfileFile(location.seedPath);
    const std::string seed = read ? *read : std::string();
    return profile::UpdateProfileFile(location.path, [&](std::string& content) {
        if (content.empty())
            content = seed;
        StoreSettings(content, values);
    });
}

} // namespace tolmeri
