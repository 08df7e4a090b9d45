#include "settings.h"

#include "profile.h"

#include <array>
#include <unistd.h>

namespace tolmeri {
namespace {

constexpr std::string_view kLocation = "Location";
constexpr std::string_view kTime = "Time";
constexpr std::string_view kNameKey = "Location Name";
// The name read goes through a buffer of this many bytes, terminator included.
constexpr std::size_t kNameBuffer = 20;

struct IntegerKey {
    std::string_view section;
    std::string_view key;
    int CSettingsValues::*field;
};

// The eight integers in the order they are read and written, after the name.
constexpr std::array<IntegerKey, 8> kIntegerKeys = {{
    {kLocation, "Latitude Degrees", &CSettingsValues::nLatitudeDegrees},
    {kLocation, "Latitude Minutes", &CSettingsValues::nLatitudeMinutes},
    {kLocation, "Longitude Degrees", &CSettingsValues::nLongitudeDegrees},
    {kLocation, "Longitude Minutes", &CSettingsValues::nLongitudeMinutes},
    {kLocation, "Time Difference", &CSettingsValues::nTimeDifference},
    {kTime, "Year", &CSettingsValues::nDateYear},
    {kTime, "Month", &CSettingsValues::nDateMonth},
    {kTime, "Day", &CSettingsValues::nDateDay},
}};

} // namespace

CSettingsValues DefaultSettings() {
    CSettingsValues values;
    values.strLocationName = "\x89\xA1\x95\x6C"; // 横浜
    values.nLatitudeDegrees = 35;
    values.nLatitudeMinutes = 27;
    values.nLongitudeDegrees = 139;
    values.nLongitudeMinutes = 39;
    values.nTimeDifference = 9;
    values.nDateYear = 2000;
    values.nDateMonth = 1;
    values.nDateDay = 1;
    return values;
}

std::string IniPathForExecutable(std::string_view exePath) {
    const std::size_t slash = exePath.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::size_t dot = exePath.rfind('.');
    const std::size_t stem =
        (dot == std::string_view::npos || dot < nameStart) ? exePath.size() : dot;
    std::string path(exePath.substr(0, stem));
    path += ".ini";
    return path;
}

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

std::string DropDanglingLeadByte(std::string text) {
    std::size_t i = 0;
    while (i < text.size())
        i += IsCp932LeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    if (i > text.size())
        text.pop_back();
    return text;
}

CSettingsValues ParseSettings(std::string_view content) {
    const CSettingsValues defaults = DefaultSettings();
    CSettingsValues values;
    values.strLocationName = DropDanglingLeadByte(profile::GetPrivateProfileString(
        content, kLocation, kNameKey, defaults.strLocationName, kNameBuffer));
    for (const IntegerKey& entry : kIntegerKeys) {
        values.*entry.field =
            profile::GetPrivateProfileInt(content, entry.section, entry.key, defaults.*entry.field);
    }
    return values;
}

void StoreSettings(std::string& content, const CSettingsValues& values) {
    profile::WritePrivateProfileString(content, kLocation, kNameKey, values.strLocationName);
    for (const IntegerKey& entry : kIntegerKeys) {
        profile::WritePrivateProfileString(content, entry.section, entry.key,
                                           std::to_string(values.*entry.field));
    }
}

CSettingsValues LoadSettingsFile(const std::string& iniPath) {
    std::string content;
    std::string error;
    if (profile::ReadProfileFile(iniPath, content, error) != profile::ReadStatus::kRead)
        return DefaultSettings();
    return ParseSettings(content);
}

SaveResult SaveSettingsFile(const std::string& iniPath, const CSettingsValues& values) {
    SaveResult result;
    result.ok = profile::UpdateProfileFile(
        iniPath, [&values](std::string& content) { StoreSettings(content, values); }, result.error);
    return result;
}

} // namespace tolmeri
