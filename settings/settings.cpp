#include "settings/settings.h"

#include "core/cp932_bytes.h"
#include "core/presets.h"
#include "settings/profile.h"

#include <array>

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
    int& (*field)(CSettingsValues&);
};

// The eight integers in the order they are read and written, after the name.
constexpr std::array<IntegerKey, 8> kIntegerKeys = {{
    {kLocation, "Latitude Degrees", [](CSettingsValues& v) -> int& { return v.place.latDeg; }},
    {kLocation, "Latitude Minutes", [](CSettingsValues& v) -> int& { return v.place.latMin; }},
    {kLocation, "Longitude Degrees", [](CSettingsValues& v) -> int& { return v.place.lonDeg; }},
    {kLocation, "Longitude Minutes", [](CSettingsValues& v) -> int& { return v.place.lonMin; }},
    {kLocation, "Time Difference", [](CSettingsValues& v) -> int& { return v.place.timeDiff; }},
    {kTime, "Year", [](CSettingsValues& v) -> int& { return v.date.year; }},
    {kTime, "Month", [](CSettingsValues& v) -> int& { return v.date.month; }},
    {kTime, "Day", [](CSettingsValues& v) -> int& { return v.date.day; }},
}};

} // namespace

CSettingsValues DefaultSettings() {
    CSettingsValues values{DefaultPlace(), kDefaultDate};
    values.place.name = "\x89\xA1\x95\x6C"; // 横浜 in CP932
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

CSettingsValues ParseSettings(std::string_view content) {
    CSettingsValues defaults = DefaultSettings();
    CSettingsValues values;
    values.place.name = DropDanglingLeadByte(profile::GetPrivateProfileString(
        content, kLocation, kNameKey, defaults.place.name, kNameBuffer));
    for (const IntegerKey& entry : kIntegerKeys) {
        entry.field(values) =
            profile::GetPrivateProfileInt(content, entry.section, entry.key, entry.field(defaults));
    }
    return values;
}

void StoreSettings(std::string& content, const CSettingsValues& values) {
    CSettingsValues stored = values;
    profile::WritePrivateProfileString(content, kLocation, kNameKey, stored.place.name);
    for (const IntegerKey& entry : kIntegerKeys) {
        profile::WritePrivateProfileString(content, entry.section, entry.key,
                                           std::to_string(entry.field(stored)));
    }
}

} // namespace tolmeri
