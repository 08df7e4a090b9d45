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

TOLMERI_EXPORT const char* tolmeri_open_link(const char* query) {
    return Answer(g_dialog.OpenLink(query ? query : ""));
}

TOLMERI_EXPORT const char* tolmeri_link() {
    return Answer(g_dialog.LinkQuery());
}

TOLMERI_EXPORT const char* tolmeri_view() {
    return Answer(g_dialog.ViewJson());
}

TOLMERI_EXPORT const char* tolmeri_choices() {
    return Answer(tolmeri::PageChoicesJson());
}

TOLMERI_EXPORT const char* tolmeri_read_date(const char* text) {
    return Answer(g_dialog.ReadDate(text ? text : ""));
}

TOLMERI_EXPORT const char* tolmeri_use_date(const char* text) {
    return Answer(g_dialog.UseDate(text ? text : ""));
}

TOLMERI_EXPORT const char* tolmeri_set_time(const char* text) {
    return Answer(g_dialog.SetTime(text ? text : ""));
}

TOLMERI_EXPORT const char* tolmeri_set_at(const char* text) {
    return Answer(g_dialog.SetAt(text ? text : ""));
}

TOLMERI_EXPORT const char* tolmeri_set_choice(int choice, const char* value) {
    return Answer(g_dialog.SetChoice(choice, value ? value : ""));
}

TOLMERI_EXPORT const char* tolmeri_set_view(const char* name) {
    return Answer(g_dialog.SetView(name ? name : ""));
}

TOLMERI_EXPORT const char* tolmeri_set_year_moon(int moon) {
    return Answer(g_dialog.SetYearMoon(moon != 0));
}

TOLMERI_EXPORT const char* tolmeri_set_export(const char* format, int bom, const char* days,
                                              const char* to) {
    tolmeri::PageExport settings;
    settings.format = format ? format : "";
    settings.byteOrderMark = bom != 0;
    settings.days = days ? days : "";
    settings.to = to ? to : "";
    return Answer(g_dialog.SetExport(settings));
}

TOLMERI_EXPORT const char* tolmeri_download() {
    return Answer(g_dialog.Download());
}

TOLMERI_EXPORT const char* tolmeri_historical_choices() {
    return Answer(tolmeri::HistoricalChoicesJson());
}

TOLMERI_EXPORT const char* tolmeri_historical_places(const char* query, int choice) {
    return Answer(tolmeri::HistoricalPlacesJson(query ? query : "", choice));
}

TOLMERI_EXPORT const char* tolmeri_historical_detail(int index) {
    return Answer(tolmeri::HistoricalPlaceDetail(index));
}

TOLMERI_EXPORT const char* tolmeri_historical_credits() {
    return Answer(std::string(tolmeri::HistoricalCredits()));
}

TOLMERI_EXPORT const char* tolmeri_choose_historical(int index) {
    return Answer(g_dialog.ChooseHistorical(index));
}

TOLMERI_EXPORT const char* tolmeri_year_chart(int width, int height) {
    return Answer(g_dialog.YearChartJson(width, height));
}

TOLMERI_EXPORT const char* tolmeri_year_readout(int x, int y) {
    return Answer(g_dialog.YearChartReadoutAt(x, y));
}

TOLMERI_EXPORT const char* tolmeri_year_cursor(int day, int minute) {
    return Answer(g_dialog.YearChartCursor(day, minute));
}
