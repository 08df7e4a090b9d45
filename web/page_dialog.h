// web: the page's binding over the core, the one unit of C++ the web edition
// adds. CPageDialog is the main window's dialog without a toolkit: it holds
// the fields and the last computation as CTolmeriDlg does, takes the boxes'
// texts from the page, and answers each command with what the page is to
// show, as JSON: the messages one at a time with the boxes after each, the
// boxes' texts, the chart's layout. Every rule it applies is the core's
// (core/main_boxes.h, core/day_chart.h, core/presets.h), the settings'
// (settings/settings.h) or the report's (report/hours_output.h); the page
// itself only shows. web/exports.cpp hands it to JavaScript. Standard
// library, core, settings' text and report only.
#pragma once

#include <string>
#include <string_view>

#include "core/civil_date.h"
#include "core/main_boxes.h"
#include "core/period_rules.h"
#include "core/place.h"
#include "core/temporal_hours.h"

namespace tolmeri {

// The page's chart is the window's at 96 dots per inch: rows of 12 pixels
// with an average width of 6, and the window's client height.
inline constexpr int kPageChartRowPixels = 12;
inline constexpr int kPageChartAverageWidth = kPageChartRowPixels / 2;
inline constexpr int kPageChartHeight = 502;
// What the page keeps beside the texts the chart drew, on either side.
inline constexpr int kPageChartMargin = 8;

class CPageDialog {
public:
    // The dialog's opening: the fields from stored (the page's settings
    // file, an INI text in UTF-8, read as the window reads its file; empty
    // or unreadable: the first-start place and date), recomputed. Answers
    // {"boxes": [...], "chart": {...}}.
    std::string Open(std::string_view stored);

    // What a box holds now (box: a MainBox), as the exchange reads it.
    void SetBoxText(int box, std::string_view text);

    // 計算実行: the exchange, the nine checks, the recompute. Answers
    // {"messages": [...], "chart": {...}}.
    std::string Calculate();
    // 日付を今日に設定 with the computer's date. Answers {"boxes": [...]}.
    std::string SetToday(int year, int month, int day);
    // 場所をリストから選ぶ, before the list opens: the exchange (its result
    // is not looked at). Answers {"messages": [...]}.
    std::string ReadBoxes();
    // 場所をリストから選ぶ, after the list closed on preset index (-1: nothing
    // chosen). Answers {"boxes": [...]}, every box shown again.
    std::string ChooseLocation(int index);
    // 保存: the exchange, then the settings written into stored, unless a box
    // was refused. Answers {"messages": [...], "stored": text or null}, and
    // with a text what the page says once it is kept ("notice").
    std::string Save(std::string_view stored);

    // The chart of the last computation under the fields' name and date.
    std::string ChartJson() const;

private:
    // The exchange from the boxes' texts; a refusal's message into messages.
    bool ControlsToFields(std::string& messages);
    void Recompute();

    MainFields m_fields;
    MainBoxTexts m_boxes;
    CTemporalHours m_hours;
};

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
