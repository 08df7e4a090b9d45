// tools: finds tolmeri-png.so beside tolmeri-hours (the build folder) or in
// ../lib/tolmeri (the installed layout) and asks it for the picture.
#pragma once

#include <string>

#include "hours_options.h"

namespace tolmeri {

// Empty when the file was written; otherwise why not, in Japanese.
std::string RenderChartPng(const HoursRequest& request);

} // namespace tolmeri
