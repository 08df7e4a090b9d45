// tools: the pictures of tolmeri-hours, the day's chart (--png) and the
// year chart (--year-chart). Finds tolmeri-png.so beside tolmeri-hours (the
// build folder) or in the installed program's folder (lib/tolmeri under the
// prefix, set when the build is configured), asks it for the picture and
// puts the picture in place of the file, or on standard output.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/result.h"
#include "tools/hours_arguments.h"

namespace tolmeri {

// "-": where a picture goes to standard output instead of a file.
inline constexpr std::string_view kStandardOutputName = "-";

// Makes a picture's encoded bytes, or says why it could not.
using PictureDrawing = std::function<Result<std::string>()>;

// The one way a picture leaves tolmeri-hours. destination is a file name
// (bytes as the command line gave them) or kStandardOutputName. A file is
// replaced whole (profile::ReplaceFile): refused (kRefused) when it is not
// a file that may be replaced (a directory, a pipe, a device), a link to
// nothing, or another user's link in a shared sticky folder (/tmp), left
// untouched; kFailed when it could not be written, the old file untouched.
// Standard output is refused (kRefused) when it is a terminal, before
// anything is drawn; a failed write there is kFailed. draw is called at
// most once; its failure is returned as it is. Each message is one line of
// Japanese.
// A name of standard output (/dev/stdout, /dev/fd/1, /proc/self/fd/1, a
// link to one, or the file standard output was sent to) is written as "-"
// is; that of standard error or input, or of another descriptor
// (/dev/fd/3), is refused (kRefused), as replacing the file behind it would
// drop what an appending shell kept there.
Status PutPicture(const std::string& destination, const PictureDrawing& draw);

// Why a write to standard output failed: "標準出力が閉じています" for one the
// process was started without (process/process.h opens it for reading
// only), else the system's reason.
std::string StandardOutputErrorText(int error);

// Draws the picture request asks for (kChart: the chart of its place and
// first day; kYearChart: the year chart of its days, with its options) and
// puts it at request.picturePath through PutPicture.
Status WritePicture(const HoursRequest& request);

} // namespace tolmeri
