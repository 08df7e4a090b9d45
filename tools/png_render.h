// tools: the one entry point of tolmeri-png.so, the module that draws the
// chart into a PNG file with the window's own painter. tolmeri-hours loads
// it only when a picture is asked for, so its tables never load Qt.
#pragma once

extern "C" {

struct TolmeriPngRequest {
    int structSize;   // sizeof(TolmeriPngRequest), checked by the module
    const char* path; // target file, in the file system's encoding
    int width;        // 0 and 0: the main window's client size
    int height;
    const char* name; // UTF-8, the chart's title
    int latDeg, latMin, lonDeg, lonMin, timeDiff;
    int year, month, day;
};

// 0 when the file is written. Otherwise nonzero, nothing is left at path
// (an existing file there is untouched), and message holds why, in UTF-8.
int tolmeri_render_png(const TolmeriPngRequest* request, char* message, int messageSize);

using TolmeriRenderPng = int (*)(const TolmeriPngRequest*, char*, int);
inline constexpr const char* kTolmeriRenderPngSymbol = "tolmeri_render_png";
inline constexpr const char* kTolmeriPngModule = "tolmeri-png.so";
}
