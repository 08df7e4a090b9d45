// web: the page's binding as plain C functions for the page's script
// (web/page/core.js calls them through Emscripten's ccall). Texts cross as
// UTF-8; each answer is JSON, valid until the next call. One dialog lives
// for the page's life, as the window's does for the program's.
#include <string>

#include "web/page_dialog.h"

#ifdef __EMSCRIPTEN__
#include <emscripten/emscripten.h>
#define TOLMERI_EXPORT extern "C" EMSCRIPTEN_KEEPALIVE
#else
#define TOLMERI_EXPORT extern "C"
#endif

namespace {

tolmeri::CPageDialog g_dialog;
std::string g_answer;

const char* Answer(std::string text) {
    g_answer = std::move(text);
    return g_answer.c_str();
}

tolmeri::SunModel SunOf(int sun) {
    return sun == 1 ? tolmeri::SunModel::kPrecise : tolmeri::SunModel::kWindow;
}

} // namespace

TOLMERI_EXPORT const char* tolmeri_open(const char* stored) {
    return Answer(g_dialog.Open(stored ? stored : ""));
}

TOLMERI_EXPORT void tolmeri_set_box(int box, const char* text) {
    g_dialog.SetBoxText(box, text ? text : "");
}

TOLMERI_EXPORT const char* tolmeri_calculate() {
    return Answer(g_dialog.Calculate());
}

TOLMERI_EXPORT const char* tolmeri_set_today(int year, int month, int day) {
    return Answer(g_dialog.SetToday(year, month, day));
}

TOLMERI_EXPORT const char* tolmeri_read_boxes() {
    return Answer(g_dialog.ReadBoxes());
}

TOLMERI_EXPORT const char* tolmeri_choose_location(int index) {
    return Answer(g_dialog.ChooseLocation(index));
}

TOLMERI_EXPORT const char* tolmeri_save(const char* stored) {
    return Answer(g_dialog.Save(stored ? stored : ""));
}

TOLMERI_EXPORT const char* tolmeri_save_failed_message() {
    return Answer(std::string(tolmeri::SaveFailedMessage()));
}

TOLMERI_EXPORT const char* tolmeri_places() {
    return Answer(tolmeri::PresetPlacesJson());
}

TOLMERI_EXPORT const char* tolmeri_limit_edit(int box, const char* before, const char* after,
                                              int cursor) {
    return Answer(tolmeri::LimitBoxEdit(box, before ? before : "", after ? after : "", cursor));
}

TOLMERI_EXPORT const char* tolmeri_day_json(const char* name, int latDeg, int latMin, int lonDeg,
                                            int lonMin, int timeDiff, int year, int month, int day,
                                            int sun) {
    const tolmeri::Place place{name ? name : "", latDeg, latMin, lonDeg, lonMin, timeDiff};
    return Answer(tolmeri::DayJson(place, {year, month, day}, SunOf(sun)));
}

TOLMERI_EXPORT double tolmeri_time_days(int count, int sun) {
    return static_cast<double>(tolmeri::TimeDays(count, SunOf(sun)));
}
