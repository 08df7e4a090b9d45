// tools: finds tolmeri-png.so beside tolmeri-hours (the build folder) or in
// the installed program's folder (lib/tolmeri under the prefix, set when
// the build is configured) and asks it for the picture.
#pragma once

#include <string>

#include "hours_options.h"

namespace tolmeri {

// Empty when the file was written; otherwise why not, in Japanese.
std::string RenderChartPng(const HoursRequest& request);

} // namespace tolmeri
