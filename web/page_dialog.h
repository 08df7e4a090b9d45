// web: the page's binding over the core. CPageDialog is the main window's
// dialog without a toolkit: it holds the fields and the last computation as
// CTolmeriDlg does, takes the boxes' texts from the page, and answers each
// command with what the page is to show, as JSON: the messages one at a time
// with the boxes after each, the boxes' texts, the chart's layout. Beyond
// the window it holds what tolmeri-hours is asked besides a place and a date
// (the choices of the reckoning, an hour name, a moment, a range of days)
// and the open view, and answers them as tolmeri-hours does: each request
// is made by tolmeri-hours' own reading of its options
// (tools/hours_arguments.h) from the page's state and written by the
// report's writers, so the page, its links and its downloads say what the
// command line says for the same options. Every rule it applies is the
// core's (core/main_boxes.h, core/day_chart.h, core/presets.h), the
// settings' (settings/settings.h), the command line's or the report's
// (report/hours_output.h); the page itself only shows. web/exports.cpp
// hands it to JavaScript. Standard library, core, settings' text, report
// and tolmeri-hours' option reader only.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/civil_date.h"
#include "core/day_hours.h"
#include "core/day_start.h"
#include "core/main_boxes.h"
#include "core/period_hours.h"
#include "core/period_rules.h"
#include "core/place.h"
#include "core/result.h"
#include "core/temporal_hours.h"
#include "core/year_chart.h"
#include "report/hours_request.h"
#include "web/page_link.h"

namespace tolmeri {

// The page's chart is the window's at 96 dots per inch: rows of 12 pixels
// with an average width of 6, and the window's client height.
inline constexpr int kPageChartRowPixels = 12;
inline constexpr int kPageChartAverageWidth = kPageChartRowPixels / 2;
inline constexpr int kPageChartHeight = 502;
// What the page keeps beside the texts the chart drew, on either side.
inline constexpr int kPageChartMargin = 8;

// The page's views: the day's chart with what the day is called, its Moon
// and the hour names and moments asked of it; the year chart; the
// downloads of a range of days.
enum class PageView { kDay, kYear, kExport };
inline constexpr std::array<PageView, 3> kPageViews = {PageView::kDay, PageView::kYear,
                                                       PageView::kExport};
// "day", "year", "export": the link's view=.
std::string_view PageViewName(PageView view);

// The choices of the reckoning the page offers, each one of tolmeri-hours'
// options: --dawn, --steps, --sun, --day-start.
enum class PageChoice { kDawn, kSteps, kSun, kDayStart };
inline constexpr int kPageChoiceCount = 4;

// What a download holds: tolmeri-hours' --format csv or json, with --bom for
// CSV, over --days or --to from the page's date.
struct PageExport {
    std::string format = "csv";
    bool byteOrderMark = false;
    std::string days = "7"; // used when to is empty
    std::string to;
};

class CPageDialog {
public:
    // The dialog's opening: the fields from stored (the page's settings
    // file, an INI text in UTF-8, read as the window reads its file; empty
    // or unreadable: the first-start place and date), recomputed; the
    // choices, the fields answered as typed and the view at their defaults.
    // Answers {"boxes": [...]} and ViewJson's members.
    std::string Open(std::string_view stored);

    // What a box holds now (box: a MainBox), as the exchange reads it.
    void SetBoxText(int box, std::string_view text);

    // 計算実行: the exchange, the nine checks, the recompute. Answers
    // {"messages": [...], "chart": {...}}; the rest of the view is
    // ViewJson's, which the page asks for once the chart is drawn.
    std::string Calculate();
    // 日付を今日に設定 with the computer's date. Answers {"boxes": [...]}.
    std::string SetToday(int year, int month, int day);
    // 場所をリストから選ぶ, before the list opens: the exchange (its result
    // is not looked at). Answers {"messages": [...]}.
    std::string ReadBoxes();
    // 場所をリストから選ぶ, after the list closed on preset index (-1: nothing
    // chosen). Answers {"boxes": [...]}, every box shown again.
    std::string ChooseLocation(int index);
    // 歴史地名から選ぶ, after the list closed on the historical place index
    // (of CPlaceBook::Historical's places; -1: nothing chosen): the place,
    // its name fitted to the name box, as the preset list gives one. Answers
    // {"boxes": [...]}.
    std::string ChooseHistorical(int index);
    // 保存: the exchange, then the settings written into stored, unless a box
    // was refused. Answers {"messages": [...], "stored": text or null}, and
    // with a text what the page says once it is kept ("notice").
    std::string Save(std::string_view stored);

    // The chart of the last computation under the fields' name and date.
    std::string ChartJson() const;

    // A link's query (location.search) applied over what the dialog holds
    // (the place, the date, the choices, the fields answered as typed, the
    // view), then recomputed; a parameter that cannot be used changes
    // nothing and is named in one line of "problems". Answers the boxes,
    // the view (ViewJson's members) and {"problems": [...]}.
    std::string OpenLink(std::string_view query);

    // The day's view after a computation or a change of choice: {"chart",
    // "day", "time", "at", "state"}.
    std::string ViewJson() const;

    // The date as typed in any form tolmeri-hours' --date takes, named
    // ({"text": the day's names}) or refused ({"message": ...}); empty
    // text answers {}.
    std::string ReadDate(std::string_view text) const;
    // Puts that date in the three date boxes, as typing would, and keeps
    // the text for the link and the reckoning while the chart shows its
    // day. Answers {"boxes": [...]}, or {"message": ...} and nothing changed.
    std::string UseDate(std::string_view text);
    // The hour-name field (--time) and the moment field (--at): kept for the
    // link and answered as tolmeri-hours answers them, {"text": ...}, or
    // {"message": ...}; {} when empty.
    std::string SetTime(std::string_view text);
    std::string SetAt(std::string_view text);
    // A choice of the reckoning by its option's value name; the chart and
    // the answers follow at once. Answers ViewJson, or {"message": ...} for
    // a value the option does not take.
    std::string SetChoice(int choice, std::string_view value);
    // The open view, the year chart's Moon, the download's options.
    // Answer {"state": ...} (the new link), or {"message": ...}.
    std::string SetView(std::string_view name);
    std::string SetYearMoon(bool moon);
    std::string SetExport(const PageExport& settings);
    // The download of the export's days: {"name": file name, "text": what
    // tolmeri-hours writes, "command": the command line that writes it}, or
    // {"message": ...}.
    std::string Download();

    // 一年の刻: the year chart of the computed place and the date's year by
    // the choices (the Moon's curves when asked), laid out in width x height
    // pixels with the chart font's measures estimated from each text's
    // columns, the computed day marked; its shapes and texts as the page
    // draws them in SVG: {"width", "height", "font", "titleFont",
    // "lineHeight", "plot": {left, top, right, bottom}, "days", "textBox",
    // "pens": [{"color", "opacity", "width", "dash"}], "bands": [{"fill",
    // "points"}], "lines": [{"pen", "points"}], "segments": [{"pen", "path"}],
    // "texts": [{"x", "y", "anchor", "anchorX", "text", "title", "color",
    // "box", "width"}]}, points as SVG writes them ("x,y x,y"); or
    // {"message": ...} when the request cannot be made.
    std::string YearChartJson(int width, int height);
    // What the last year chart shows under (x, y) of its picture, empty
    // outside the plot; and at the keyboard's cursor, a day (0 for the
    // chart's first) and a minute of its clock: {"x", "y", "text"}.
    std::string YearChartReadoutAt(int x, int y) const;
    std::string YearChartCursor(int day, int minute) const;

    // The link's query of what the page shows now, "?place=…&date=…".
    std::string LinkQuery() const;

private:
    // The exchange from the boxes' texts; a refusal's message into messages.
    bool ControlsToFields(std::string& messages);
    void Recompute();

    // tolmeri-hours' options for the computed place, (withDate) its date as
    // typed or in ISO, and the choices given; then extra.
    std::vector<std::string> Options(bool withDate = true) const;
    Result<HoursRequest> Request(const std::vector<std::string>& extra, bool withDate = true) const;
    std::vector<LinkParameter> LinkParameters() const;
    // The computed place as the link and tolmeri-hours' options name it,
    // made once a computation.
    std::vector<LinkParameter> m_placeParameters;
    std::string DateOption() const;
    std::string DayJson() const;
    std::string TimeJson() const;
    std::string AtJson() const;
    std::string StateJson() const;
    // Each group of a link's parameters applied, or a line into problems.
    void ApplyLinkPlace(const std::vector<LinkParameter>& parameters,
                        std::vector<std::string>& problems);
    void ApplyLinkRest(const std::vector<LinkParameter>& parameters,
                       std::vector<std::string>& problems);

    MainFields m_fields;
    MainBoxTexts m_boxes;
    CTemporalHours m_hours;
    // The place and date of the last computation, and its day: the window's
    // (m_hours), or by the choices when they are not the window's.
    MainFields m_computed;
    DayHours m_day;
    // The date as typed and the day it names; used while the chart shows
    // that day.
    std::string m_dateText;
    CivilDate m_dateTextDate;
    // Each choice's value name; empty: the option is not given.
    std::array<std::string, kPageChoiceCount> m_choices;
    std::string m_time, m_at;
    PageView m_view = PageView::kDay;
    bool m_yearMoon = false;
    // The last year chart, for its read-outs.
    YearChartInput m_yearInput;
    YearChartLayout m_yearLayout;
    PageExport m_export;
};

// 歴史地名から選ぶ's list: the kinds it offers ([label, ...], PlaceChoices'
// but the user's own places, which a browser has none of), the places of
// the table a query as typed and a kind narrow it to ({"count": "370 か所",
// "places": [{"index", "name", "reading", "where", "latitude",
// "longitude"}]}, as CPlaceBook::Search ranks them), a place's description
// (PlaceDetail) and the table's credit lines.
std::string HistoricalChoicesJson();
std::string HistoricalPlacesJson(std::string_view query, int choice);
std::string HistoricalPlaceDetail(int index);
std::string_view HistoricalCredits();

// The choices as the page lists them: [{"option": "dawn", "label":
// "明六つ・暮六つ", "values": [{"name": "depression", "label": ...}, ...],
// "default": "depression"}, ...], the labels the command line's.
std::string PageChoicesJson();

// The 53 presets as the list shows them: [{"name", "latitude",
// "longitude", "tz"}] with the entries' own texts.
std::string PresetPlacesJson();

// What typing leaves in box: before and after in UTF-8, cursor in UTF-16
// units. Answers {"text": ..., "cursor": n}.
std::string LimitBoxEdit(int box, std::string_view before, std::string_view after, int cursor);

// One day at place by sun, as tolmeri-hours --format json writes it.
std::string DayJson(const Place& place, const CivilDate& date, SunModel sun);

// What the page says once 保存 kept the place and date, and the message
// shown when the browser keeps nothing.
std::string_view SavedNotice();
std::string_view SaveFailedMessage();

// Computes count days by sun at Tokyo through 2026, one after another as
// bench/hours_bench's BM_SunDay does, for timing the core per day in the
// browser's engine against the native build; answers a sum of their
// boundaries, so none can be left out.
long long TimeDays(int count, SunModel sun);

} // namespace tolmeri
