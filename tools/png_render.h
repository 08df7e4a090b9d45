// tools: the one entry point of tolmeri-png.so, the module that draws the
// pictures of tolmeri-hours with the window's own painters: the day's chart
// (PNG) and the year chart (PNG or SVG). tolmeri-hours loads it only when a
// picture is asked for, so its tables never load Qt; where the picture's
// bytes go is the tool's business.
#pragma once

#include <cstddef>

extern "C" {

enum TolmeriPictureKind {
    kTolmeriDayChartPng = 0,  // the main window's chart of one day
    kTolmeriYearChartPng = 1, // the year chart
    kTolmeriYearChartSvg = 2,
};

struct TolmeriPictureRequest {
    int structSize; // sizeof(TolmeriPictureRequest), checked by the module
    int kind;       // a TolmeriPictureKind
    int width;      // 0 and 0: the main window's client size (day chart only)
    int height;
    const char* name; // UTF-8, the chart's title
    int latDeg, latMin, lonDeg, lonMin, timeDiff;
    int year, month, day; // the day, or the year chart's first day
    int dayCount;         // the year chart's days
    int dawn;             // tolmeri::DawnDefinition
    int steps;            // tolmeri::ClockSteps
    int sun;              // tolmeri::SunModel
    // Receives the whole encoded picture, once, before a 0 return.
    void (*accept)(void* context, const char* data, std::size_t size);
    void* context;
    int moon; // the year chart draws moonrise and moonset: 1, else 0
};

// 0 when the picture went to accept. Otherwise nonzero, accept was not
// called, and message holds why, in UTF-8.
int tolmeri_render_picture(const TolmeriPictureRequest* request, char* message, int messageSize);

using TolmeriRenderPicture = int (*)(const TolmeriPictureRequest*, char*, int);
inline constexpr const char* kTolmeriRenderPictureSymbol = "tolmeri_render_picture";
inline constexpr const char* kTolmeriPngModule = "tolmeri-png.so";
}
