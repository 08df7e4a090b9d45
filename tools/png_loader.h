// tools: the chart as a PNG file. Finds tolmeri-png.so beside tolmeri-hours
// (the build folder) or in the installed program's folder (lib/tolmeri under
// the prefix, set when the build is configured), asks it for the picture and
// puts the picture in place of the file.
#pragma once

#include "core/result.h"
#include "tools/hours_arguments.h"

namespace tolmeri {

// Draws the chart of request's place and first day into request.pngPath.
// Refused (kRefused) when the target is not a file that may be replaced (a
// directory, a pipe, a device), left untouched; kFailed when the picture
// could not be drawn or written, the old file untouched. The message says
// why, in one line of Japanese.
Status WriteChartPng(const HoursRequest& request);

} // namespace tolmeri
