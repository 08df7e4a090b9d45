// settings: the private-profile (INI) file, read and written byte for byte
// with the Windows rules, so that a tolmeri.ini carried over from Windows or
// edited by hand reads the same and keeps every line the program does not
// own. Standard library and POSIX only; no Qt.
//
// Reading rules, as the Windows functions apply them:
//  - lines end in CRLF, LF or CR, freely mixed;
//  - a line whose first non-blank byte is ';' is a comment and never matches;
//  - a line whose first non-blank byte is '[' is a section line; the name
//    runs to the first ']' (to the end of the line when there is none) and
//    is trimmed;
//  - any other line with a '=' is a key line, split at the first '=', key
//    and value trimmed of blanks and tabs; '#' and ';' inside it are
//    ordinary bytes; a line without '=' never matches;
//  - section and key names compare without regard to ASCII letter case; the
//    first matching section is the only one consulted, and its first
//    matching key wins;
//  - one outer pair of equal quotes ('...' or "...") around a value of two
//    bytes or more is removed;
//  - bytes are bytes: a UTF-8 byte-order mark, CP932 text or a UTF-16 file
//    are taken as they come.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "core/result.h"

namespace tolmeri::profile {

// The value of key in section, cut to at most bufferSize - 1 bytes (nothing
// when bufferSize is 0). When the section or the key is absent the result is
// defaultValue with its trailing spaces removed, cut the same way. A NUL byte
// ends the value, as it ends the C string the Windows caller receives.
std::string GetPrivateProfileString(std::string_view content, std::string_view section,
                                    std::string_view key, std::string_view defaultValue,
                                    std::size_t bufferSize);

// The value of key in section as a decimal integer: leading blanks, an
// optional sign, then the decimal digits up to the first other byte ("12abc"
// is 12, "abc" is 0). defaultValue when the key is absent or its value empty.
// A number beyond the 32-bit range wraps modulo 2^32, as the Windows
// conversion does: 2147483648 reads as -2147483648 and 4294967297 as 1.
int GetPrivateProfileInt(std::string_view content, std::string_view section, std::string_view key,
                         int defaultValue);

// Sets key in section to value, changing as little of content as it can:
//  - an existing key (the first match in the first matching section) gets
//    its line replaced by "key=value", with the key spelled as in the file;
//  - a new key becomes a line right after the last key line of its section,
//    or right after the section line when the section holds no key;
//  - a new section goes at the end, after a line break when the content does
//    not end with one.
// The value is written as given. New lines take the line ending the content
// already uses (LF for empty content); every other byte stays as it was.
void WritePrivateProfileString(std::string& content, std::string_view section, std::string_view key,
                               std::string_view value);

// Files ---------------------------------------------------------------------

// What becomes of a symbolic link at the end of a path that is read or
// written. Links are followed as the kernel follows them with its rule for
// shared folders (fs.protected_symlinks) applied whatever the kernel is set
// to: in a sticky folder that everyone may write (/tmp), only a link of the
// follower's own or of the folder's owner is followed; another's is refused.
enum class LinkRule {
    kFollow,         // followed; a link to nothing makes the file it names
    kFollowExisting, // followed; a link to nothing is refused
    kRefuse,         // a link is refused (the file is opened O_NOFOLLOW)
};

// Where a write to path lands: path with the links at its end followed by
// the rule. A link the rule does not follow is refused (kRefused).
struct WriteTarget {
    std::string path;         // the name the new bytes take; no link there
    bool exists = false;      // something (a file, a folder, a device) is there now
    bool throughLink = false; // path is not the name given: a link led here
};
Result<WriteTarget> ResolveWriteTarget(const std::string& path, LinkRule links);

// The whole file at path. A Failure of kind kAbsent when there is no such
// file; kFailed when it exists but cannot be read, is not a regular file, is
// larger than kMaxFileSize, or is a link that links refuses.
Result<std::string> ReadProfileFile(const std::string& path, LinkRule links = LinkRule::kFollow);

// A settings file is a few hundred bytes; anything far larger is refused
// rather than loaded into memory.
inline constexpr std::size_t kMaxFileSize = 64u * 1024u * 1024u;

// One read-modify-write of the file at path: reads it (a missing file reads
// as empty), lets edit change the bytes and puts them in its place as
// ReplaceFile does. A symbolic link at path is followed by links, so the
// link stays a link and its target is replaced; an existing file keeps its
// permission bits. Fails, with the old file untouched, when any step fails,
// and also when the existing file is not writable, cannot be read or is not
// a regular file.
Status UpdateProfileFile(const std::string& path, const std::function<void(std::string&)>& edit,
                         LinkRule links = LinkRule::kFollow);

// Replaces the whole file at path with the bytes make produces. Links at
// path are resolved by ResolveWriteTarget under links; a link it refuses is
// refused (kRefused) before make runs. Only a regular file is replaced, or a
// new one made: a directory, a pipe or a device is refused (kRefused) before
// make runs. The new bytes go to a file beside the target that is renamed
// over it only once every write and the flush to the disk succeeded; on a
// failure (make's own, or a write's) the old file is as it was, no temporary
// file is left, and the message says why. An existing file keeps its
// permission bits and, where the process may, its owner.
//
// While the new file is written it has no name where the file system
// allows; where it does not, or when the process is killed in the instant
// between naming and renaming, a ".<name>.tmp<pid>-<n>" file remains, and
// the next replacement beside the same target removes it once its process
// has ended.
Status ReplaceFile(const std::string& path, const std::function<Result<std::string>()>& make,
                   LinkRule links);

// path is absolute and names a directory itself (not a link to one) that
// this user owns and nobody else may write into: a folder whose files no
// one else can plant, replace or link.
bool IsPrivateFolder(const std::string& path);

// An unnamed file (O_TMPFILE) in directory opened with flags, or -1 with
// errno set; UnnamedFilesUnsupported(errno) then tells a file system or
// kernel that has no unnamed files from a directory that takes no file.
int OpenUnnamed(const char* directory, int flags);
bool UnnamedFilesUnsupported(int error);

// What an errno value means, in Japanese, for the messages of the window
// and the tool: 「許可がありません」 for EACCES; a value without a text of
// its own as 「システムのエラー 95」.
std::string SystemErrorText(int error);

} // namespace tolmeri::profile
