// settings: where the place and the date live between runs. The settings file
// sits beside the executable and carries its base name with ".ini"; it holds
// nine values in the sections "Location" and "Time". This layer knows the
// keys, their order and their defaults; profile.h knows the file format.
// Standard library and POSIX only; no Qt.
#pragma once

#include <string>
#include <string_view>

#include "core/civil_date.h"
#include "core/place.h"
#include "core/result.h"

namespace tolmeri {

// The nine stored values: a place and a date. The place's name is CP932
// bytes, never more than 19 after a load. Nothing here is range-checked: a
// month of 13 arrives as 13.
struct CSettingsValues {
    Place place;
    CivilDate date;

    bool operator==(const CSettingsValues&) const = default;
};

// 横浜 (as CP932 bytes), 35° 27′ N, 139° 39′ E, UTC+9, 2000-01-01.
CSettingsValues DefaultSettings();

// The executable's directory and base name with ".ini": the extension is
// everything from the last '.' of the last path component, and a name
// without one gets ".ini" appended. "/opt/t/tolmeri" -> "/opt/t/tolmeri.ini".
std::string IniPathForExecutable(std::string_view exePath);

// The nine values as the file content holds them, each key absent falling
// back to its default. The name is read through a 20-byte buffer, so at most
// 19 bytes arrive; a CP932 lead byte left without its second byte at the end
// is dropped.
CSettingsValues ParseSettings(std::string_view content);

// Writes the nine keys into content in their fixed order, each value as it
// stands (integers in plain decimal), leaving every other line alone.
void StoreSettings(std::string& content, const CSettingsValues& values);

// Reads the settings file. An absent or unreadable file gives the defaults;
// the file is never created.
CSettingsValues LoadSettingsFile(const std::string& iniPath);

// Writes the nine values in one read-modify-write that replaces the file
// atomically; on failure (a short English message naming the path and the
// cause) the old file is left exactly as it was.
Status SaveSettingsFile(const std::string& iniPath, const CSettingsValues& values);

// Where the settings live. The file beside the executable, as long as its
// folder takes a new file; a program installed where the user cannot write
// (a distribution package under /usr) keeps them in the user's configuration
// folder instead, starting from the file beside the program.
struct SettingsLocation {
    std::string path;     // the file read and written
    std::string seedPath; // read in its place while path does not exist; empty: none
};

// besidePath (IniPathForExecutable's path) itself when its folder takes a
// new file, the test being the creation of a temporary file there as the
// atomic save makes one; else the file of the same name in
// UserSettingsDirectory(), seeded from besidePath.
SettingsLocation ChooseSettingsLocation(const std::string& besidePath);

// "$XDG_CONFIG_HOME/tolmeri", or "$HOME/.config/tolmeri" when that variable
// is unset, empty or not an absolute path (the home folder from the password
// database when HOME is unset). Nothing is created.
std::string UserSettingsDirectory();

// True when a new file can be made in directory ("" is the current one). An
// unnamed file is opened and closed again, so nothing is ever left there;
// where the file system has no unnamed files, a named one is made and
// removed.
bool CanCreateFileIn(const std::string& directory);

// In the user's folder (a location with a seed) the folder must be private
// as the instance lock's is (profile::IsPrivateFolder: ours, written by
// nobody else) once it exists: refused (kRefused, one Japanese line naming
// it) otherwise. Nothing to check beside the program.
Status CheckSettingsFolder(const SettingsLocation& location);

// As the path forms above, with the seed read while the file is absent. In
// the user's folder the file is opened without following a link (a link
// there is refused), and a folder CheckSettingsFolder refuses is not read:
// the seed is.
CSettingsValues LoadSettingsFile(const SettingsLocation& location);
// As the path form; in the user's folder its folders are made (mode 0700)
// when missing, a folder CheckSettingsFolder refuses is refused, a link at
// the file is refused, and a file that does not exist yet starts with the
// seed's other lines.
Status SaveSettingsFile(const SettingsLocation& location, const CSettingsValues& values);

// The user's own places, in the columns of the historical places' table
// (core/places.h): "places.tsv" in UserSettingsDirectory(), or empty when
// there is no such folder.
std::string UserPlacesPath();

// The text of the user's places file at path. Absent (kAbsent) when it or
// its folder does not exist; refused (kRefused, one Japanese line) when the
// folder is not private as CheckSettingsFolder requires; kFailed when it
// cannot be read (not a regular file, too large). Links are followed.
Result<std::string> ReadUserPlacesFile(const std::string& path);

} // namespace tolmeri
