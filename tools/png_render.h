// tools: the one entry point of tolmeri-png.so, the module that draws the
// chart into a PNG picture with the window's own painter. tolmeri-hours loads
// it only when a picture is asked for, so its tables never load Qt; where the
// picture's bytes go is the tool's business.
#pragma once

#include <cstddef>

extern "C" {

struct TolmeriPngRequest {
    int structSize; // sizeof(TolmeriPngRequest), checked by the module
    int width;      // 0 and 0: the main window's client size
    int height;
    const char* name; // UTF-8, the chart's title
    int latDeg, latMin, lonDeg, lonMin, timeDiff;
    int year, month, day;
    // Receives the whole encoded picture, once, before a 0 return.
    void (*accept)(void* context, const char* data, std::size_t size);
    void* context;
};

// 0 when the picture went to accept. Otherwise nonzero, accept was not
// called, and message holds why, in UTF-8.
int tolmeri_render_png(const TolmeriPngRequest* request, char* message, int messageSize);

using TolmeriRenderPng = int (*)(const TolmeriPngRequest*, char*, int);
inline constexpr const char* kTolmeriRenderPngSymbol = "tolmeri_render_png";
inline constexpr const char* kTolmeriPngModule = "tolmeri-png.so";
}
