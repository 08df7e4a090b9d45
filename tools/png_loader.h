// tools: the chart as a PNG file. Finds tolmeri-png.so beside tolmeri-hours
// (the build folder) or in the installed program's folder (lib/tolmeri under
// the prefix, set when the build is configured), asks it for the picture and
// puts the picture in place of the file.
#pragma once

#include <string>

#include "hours_options.h"

namespace tolmeri {

// The exit status: 0 when the file was written; 2 when the target is not a
// file that may be replaced (a directory, a pipe, a device), left untouched;
// 1 when the picture could not be drawn or written, the old file untouched.
// message says why, in one line of Japanese.
int WriteChartPng(const HoursRequest& request, std::string& message);

} // namespace tolmeri
