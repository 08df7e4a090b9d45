// The settings file's path forms: the file read and written through the
// profile file functions (POSIX), the values by the text forms of
// settings.cpp.
#include "settings/profile.h"
#include "settings/settings.h"

namespace tolmeri {

CSettingsValues LoadSettingsFile(const std::string& iniPath) {
    const Result<std::string> content = profile::ReadProfileFile(iniPath);
    return content ? ParseSettings(*content) : DefaultSettings();
}

Status SaveSettingsFile(const std::string& iniPath, const CSettingsValues& values) {
    return profile::UpdateProfileFile(
        iniPath, [&values](std::string& content) { StoreSettings(content, values); });
}

} // namespace tolmeri
