// Where the settings file lives: beside the executable, or in the user's
// configuration folder when the program's folder cannot be written.
#include "settings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "profile.h"

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
    std::string name = (directory.empty() ? std::string(".") : directory) + "/.tolmeri-XXXXXX";
    const int fd = ::mkstemp(name.data());
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

CSettingsValues LoadSettingsFile(const SettingsLocation& location) {
    std::string content;
    std::string error;
    switch (profile::ReadProfileFile(location.path, content, error)) {
    case profile::ReadStatus::kRead:
        return ParseSettings(content);
    case profile::ReadStatus::kAbsent:
        return location.seedPath.empty() ? DefaultSettings() : LoadSettingsFile(location.seedPath);
    case profile::ReadStatus::kFailed:
        break;
    }
    return DefaultSettings();
}

SaveResult SaveSettingsFile(const SettingsLocation& location, const CSettingsValues& values) {
    std::string current;
    std::string error;
    if (location.seedPath.empty() ||
        profile::ReadProfileFile(location.path, current, error) != profile::ReadStatus::kAbsent)
        return SaveSettingsFile(location.path, values);

    // The first save here: the folders, then the seed's lines with the new values.
    SaveResult result;
    const std::string folder = FolderOf(location.path);
    if (!MakeFolders(folder)) {
        result.error = "cannot create the folder " + folder + ": " + std::strerror(errno);
        return result;
    }
    std::string seed;
    if (profile::ReadProfileFile(location.seedPath, seed, error) != profile::ReadStatus::kRead)
        seed.clear();
    result.ok = profile::UpdateProfileFile(
        location.path,
        [&](std::string& content) {
            if (content.empty())
                content = seed;
            StoreSettings(content, values);
        },
        result.error);
    return result;
}

} // namespace tolmeri
