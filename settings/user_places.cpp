// The user's own places: places.tsv in the user's configuration folder.
#include <sys/stat.h>

#include "settings/profile.h"
#include "settings/settings.h"

namespace tolmeri {

std::string UserPlacesPath() {
    const std::string folder = UserSettingsDirectory();
    return folder.empty() ? std::string() : folder + "/places.tsv";
}

Result<std::string> ReadUserPlacesFile(const std::string& path) {
    if (path.empty())
        return Fail("自分の場所のファイルの場所がわかりません", FailureKind::kAbsent);
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == 0 ? std::string("/") : path.substr(0, slash);
    struct stat info {};
    if (slash == std::string::npos || ::lstat(folder.c_str(), &info) != 0)
        return Fail(path + " がありません", FailureKind::kAbsent);
    // Only from a folder nobody else can write into, as the settings: no one
    // else plants places there.
    if (!profile::IsPrivateFolder(folder))
        return Refuse(
            "フォルダー " + folder +
            " は自分のものでないか、ほかの人も書き込めるので、その places.tsv は読みません"
            "（持ち主を自分に、権限を 700 にしてください）");
    return profile::ReadProfileFile(path);
}

} // namespace tolmeri
