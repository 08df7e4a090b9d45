#include "web/page_dialog.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <span>

#include "core/box_rules.h"
#include "core/cp932.h"
#include "core/day_chart.h"
#include "core/hour_names.h"
#include "core/moon_hours.h"
#include "core/period_hours.h"
#include "core/places.h"
#include "core/presets.h"
#include "core/typed_text.h"
#include "core/utf8.h"
#include "report/hours_output.h"
#include "report/hours_text.h"
#include "settings/settings.h"
#include "tools/hours_arguments.h"
#include "tools/hours_place_date.h"

namespace tolmeri {

namespace {

// The boxes' texts, indexed by MainBox.
std::string BoxesJson(const MainBoxTexts& boxes) {
    std::string out = "[";
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (i > 0)
            out += ", ";
        out += JsonString(boxes[i]);
    }
    return out + "]";
}

enum class MessageIcon { kNone, kExclamation };

// One message of a command: its text and icon, the box it is about; after
// it, either the focus goes to that box with its text selected (a refusal
// of the exchange) or every box shows boxes (a check's remedy).
void AppendMessage(std::string& messages, std::string_view text, MessageIcon icon, MainBox box,
                   const MainBoxTexts* boxes) {
    messages += messages.empty() ? "{" : ", {";
    messages += "\"text\": " + JsonString(text);
    messages +=
        icon == MessageIcon::kExclamation ? ", \"icon\": \"exclamation\"" : ", \"icon\": \"none\"";
    messages += ", \"box\": ";
    AppendInt(messages, static_cast<int>(box));
    messages += ", \"focus\": ";
    messages += boxes ? "false" : "true";
    messages += ", \"boxes\": ";
    messages += boxes ? BoxesJson(*boxes) : "null";
    messages += "}";
}

std::string HexColor(const Rgb& c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.red & 0xFF, c.green & 0xFF, c.blue & 0xFF);
    return text;
}

std::string_view KindName(ChartTextKind kind) {
    switch (kind) {
    case ChartTextKind::kRow:
        return "row";
    case ChartTextKind::kMark:
        return "mark";
    case ChartTextKind::kTitle:
        break;
    }
    return "title";
}

void AppendField(std::string& out, std::string_view name, long long value) {
    out += "\"";
    out += name;
    out += "\": ";
    AppendInt(out, value);
}

// The settings' text as the window's file holds it: the name in CP932.
CSettingsValues ValuesOf(const MainFields& fields) {
    CSettingsValues values{fields.ToPlace(), fields.ToDate()};
    values.place.name = ToCp932(values.place.name);
    return values;
}

bool ValidBox(int box) {
    return box >= 0 && box < kMainBoxCount;
}

std::vector<LinkParameter> PlaceParameters(const Place& place);

} // namespace

std::string CPageDialog::Open(std::string_view stored) {
    const CSettingsValues values = ParseSettings(ToCp932(stored));
    m_fields = MainFields::Of(values.place, values.date);
    m_fields.name = FromCp932(values.place.name);
    m_boxes = BoxTextsOf(m_fields);
    // What the page holds beyond the window starts afresh.
    m_dateText.clear();
    m_choices = {};
    m_time.clear();
    m_at.clear();
    m_view = PageView::kDay;
    m_yearMoon = false;
    m_export = {};
    Recompute();
    return "{\"boxes\": " + BoxesJson(m_boxes) + ", " + ViewJson().substr(1);
}

void CPageDialog::SetBoxText(int box, std::string_view text) {
    if (ValidBox(box))
        m_boxes[static_cast<std::size_t>(box)] = std::string(text);
}

bool CPageDialog::ControlsToFields(std::string& messages) {
    BoxExchange exchange = ExchangeBoxTexts(m_boxes, m_fields);
    m_fields = std::move(exchange.fields);
    if (!exchange.refused)
        return true;
    AppendMessage(messages, exchange.message, MessageIcon::kExclamation, *exchange.refused,
                  nullptr);
    return false;
}

void CPageDialog::Recompute() {
    m_computed = m_fields;
    m_placeParameters = PlaceParameters(m_computed.ToPlace());
    m_hours.Recompute(m_fields.ToPlace(), m_fields.ToDate());
    m_day = m_hours.Day();
    // Other choices than the window's take the command line's road (as its
    // --png does), for a place and date it takes; the window's stay its own
    // recompute.
    if (m_choices[0].empty() && m_choices[1].empty() && m_choices[2].empty())
        return;
    if (const Result<HoursRequest> request = Request({}))
        m_day = CalcDayHours(request->place, request->days.first, request->options);
}

std::string CPageDialog::Calculate() {
    const MainFields before = m_fields;
    std::string messages;
    // A refused box does not stop the command: it goes on with the fields as
    // they now stand.
    ControlsToFields(messages);
    for (const CheckStep& step : RunBoxChecks(before, m_fields)) {
        m_fields = step.fields;
        m_boxes = BoxTextsOf(m_fields);
        AppendMessage(messages, step.message, MessageIcon::kNone, step.box, &m_boxes);
    }
    Recompute();
    return "{\"messages\": [" + messages + "], \"chart\": " + ChartJson() + "}";
}

std::string CPageDialog::SetToday(int year, int month, int day) {
    // Only the fields change: whatever was typed since the last exchange is
    // replaced, and the chart keeps its date until the next 計算実行.
    m_fields.year = year;
    m_fields.month = month;
    m_fields.day = day;
    m_boxes = BoxTextsOf(m_fields);
    return "{\"boxes\": " + BoxesJson(m_boxes) + "}";
}

std::string CPageDialog::ReadBoxes() {
    std::string messages;
    ControlsToFields(messages);
    return "{\"messages\": [" + messages + "]}";
}

std::string CPageDialog::ChooseLocation(int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < kPresetPlaceCount) {
        const Place place = ParseLocationEntry(kPresetPlaces[static_cast<std::size_t>(index)]);
        m_fields = MainFields::Of(place, m_fields.ToDate());
    }
    m_boxes = BoxTextsOf(m_fields);
    return "{\"boxes\": " + BoxesJson(m_boxes) + "}";
}

std::string CPageDialog::ChooseHistorical(int index) {
    const std::vector<PlaceRecord>& places = CPlaceBook::Historical().Places();
    if (index >= 0 && static_cast<std::size_t>(index) < places.size()) {
        Place place = places[static_cast<std::size_t>(index)].ToPlace();
        place.name = FitPlaceName(place.name);
        m_fields = MainFields::Of(place, m_fields.ToDate());
    }
    m_boxes = BoxTextsOf(m_fields);
    return "{\"boxes\": " + BoxesJson(m_boxes) + "}";
}

std::string CPageDialog::Save(std::string_view stored) {
    std::string messages;
    // A refused box has told the user; nothing is written, so no mix of new
    // and old values reaches the store.
    if (!ControlsToFields(messages))
        return "{\"messages\": [" + messages + "], \"stored\": null}";
    std::string content = ToCp932(stored);
    StoreSettings(content, ValuesOf(m_fields));
    return "{\"messages\": [], \"stored\": " + JsonString(FromCp932(content)) +
           ", \"notice\": " + JsonString(SavedNotice()) + "}";
}

std::string CPageDialog::ChartJson() const {
    const DayChartLayout L = LayoutDayChart(m_day, m_fields.name, m_fields.ToDate(),
                                            ClientRect{0, 0, 0, kPageChartHeight},
                                            kPageChartRowPixels, kPageChartAverageWidth);
    std::string out = "{";
    AppendField(out, "rowFont", ChartFontPixels(96, kChartRowPoints));
    out += ", ";
    AppendField(out, "titleFont", ChartFontPixels(96, kChartTitlePoints));
    out += ", ";
    AppendField(out, "height", kPageChartHeight);
    out += ", ";
    AppendField(out, "margin", kPageChartMargin);
    out += ", \"outline\": \"" + HexColor(kChartOutlineColor) + "\"";
    out += ", \"textBox\": \"" + HexColor(kChartTextBoxColor) + "\"";
    out += ", \"bands\": [";
    for (std::size_t i = 0; i < L.bands.size(); ++i) {
        const ChartBand& b = L.bands[i];
        out += i > 0 ? ", {" : "{";
        AppendField(out, "x", b.left);
        out += ", ";
        AppendField(out, "y", b.top);
        out += ", ";
        AppendField(out, "width", b.right - b.left);
        out += ", ";
        AppendField(out, "height", b.bottom - b.top);
        out += ", \"fill\": \"" + HexColor(kChartBandColors[static_cast<std::size_t>(b.brush)]) +
               "\"}";
    }
    out += "], \"texts\": [";
    for (std::size_t i = 0; i < L.texts.size(); ++i) {
        const DayChartText& t = L.texts[i];
        out += i > 0 ? ", {" : "{";
        AppendField(out, "x", t.x);
        out += ", ";
        AppendField(out, "y", t.y);
        out += ", \"text\": " + JsonString(t.text);
        out += ", \"kind\": \"";
        out += KindName(t.kind);
        out += "\", \"color\": \"" + HexColor(ChartTextColor(t.kind)) + "\"}";
    }
    out += "]}";
    return out;
}

namespace {

constexpr std::string_view kChoiceOptions[kPageChoiceCount] = {"dawn", "steps", "sun", "day-start"};
// The labels of the year-chart window's choices, and the page's own for
// where the day begins.
constexpr std::string_view kChoiceLabels[kPageChoiceCount] = {"明六つ・暮六つ", "時計", "太陽",
                                                              "日の始まり"};

// A choice's value names and labels, as the command line lists them.
struct ChoiceValue {
    std::string_view name, label;
};
std::vector<ChoiceValue> ChoiceValues(int choice) {
    std::vector<ChoiceValue> values;
    switch (static_cast<PageChoice>(choice)) {
    case PageChoice::kDawn:
        for (DawnDefinition d : kDawnDefinitions)
            values.push_back({DawnDefinitionName(d), DawnDefinitionLabel(d)});
        break;
    case PageChoice::kSteps:
        for (ClockSteps c : kClockSteps)
            values.push_back({ClockStepsName(c), ClockStepsLabel(c)});
        break;
    case PageChoice::kSun:
        for (SunModel m : kSunModels)
            values.push_back({SunModelName(m), SunModelLabel(m)});
        break;
    case PageChoice::kDayStart:
        // As the windows list them: by the date's writing (the option not
        // given), from 明六つ, from midnight.
        values.push_back({"", kDayStartChoiceLabels[0]});
        values.push_back({DayStartName(DayStart::kDawn), kDayStartChoiceLabels[1]});
        values.push_back({DayStartName(DayStart::kMidnight), kDayStartChoiceLabels[2]});
        break;
    }
    return values;
}

// The value tolmeri-hours takes without the option.
std::string_view ChoiceDefault(int choice) {
    switch (static_cast<PageChoice>(choice)) {
    case PageChoice::kDawn:
        return DawnDefinitionName(PeriodOptions{}.dawn);
    case PageChoice::kSteps:
        return ClockStepsName(PeriodOptions{}.steps);
    case PageChoice::kSun:
        return SunModelName(PeriodOptions{}.sun);
    case PageChoice::kDayStart:
        break;
    }
    return ""; // by the date's writing
}

bool ChoiceTakes(int choice, std::string_view value) {
    for (const ChoiceValue& v : ChoiceValues(choice))
        if (v.name == value)
            return true;
    return false;
}

std::optional<PageView> PageViewFromName(std::string_view name) {
    for (PageView view : kPageViews)
        if (PageViewName(view) == name)
            return view;
    return std::nullopt;
}

std::string TwoDigits(int n) {
    std::string out;
    if (n >= 0 && n < 10)
        out += '0';
    AppendInt(out, n);
    return out;
}

// "35:27", "-33:52": an angle of the boxes as --lat and --lon read it.
std::string AngleOption(int degrees, int minutes) {
    std::string out;
    AppendInt(out, degrees);
    return out + ":" + TwoDigits(minutes);
}

// The preset the place is, name and all, if any.
std::optional<std::string_view> PresetOf(const Place& place) {
    for (std::string_view entry : kPresetPlaces)
        if (ParseLocationEntry(entry) == place)
            return entry.substr(0, entry.find('\t'));
    return std::nullopt;
}

// The historical place the place is (its name fitted to the name box), by
// the shortest key --place finds it by alone: its name, else its route and
// number.
std::optional<std::string> HistoricalOf(const Place& place) {
    if (place.timeDiff != kHistoricalTimeDifference)
        return std::nullopt;
    const int lat = ArcMinutes(place.latDeg, place.latMin);
    const int lon = ArcMinutes(place.lonDeg, place.lonMin);
    const CPlaceBook& book = CPlaceBook::Historical();
    for (const PlaceRecord& record : book.Places()) {
        // The point first: only a place there is compared by its name.
        if (record.latArcMinutes != lat || record.lonArcMinutes != lon)
            continue;
        Place p = record.ToPlace();
        p.name = FitPlaceName(record.name);
        if (!(p == place))
            continue;
        std::vector<std::string> keys{std::string(record.name)};
        for (const RouteStop& stop : record.stops)
            keys.push_back(RouteStopText(stop));
        for (const std::string& key : keys)
            if (const auto found = book.Find(key); found.size() == 1 && found.front() == &record)
                return key;
    }
    return std::nullopt;
}

// The place as tolmeri-hours' options name it: a preset or a historical
// place by its name, else its coordinates and zone and, if it has one, its
// name.
std::vector<LinkParameter> PlaceParameters(const Place& place) {
    if (const std::optional<std::string_view> preset = PresetOf(place))
        return {{"place", std::string(*preset)}};
    if (std::optional<std::string> historical = HistoricalOf(place))
        return {{"place", std::move(*historical)}};
    std::vector<LinkParameter> out;
    if (!place.name.empty())
        out.push_back({"name", place.name});
    std::string tz;
    AppendInt(tz, place.timeDiff);
    out.push_back({"lat", AngleOption(place.latDeg, place.latMin)});
    out.push_back({"lon", AngleOption(place.lonDeg, place.lonMin)});
    out.push_back({"tz", tz});
    return out;
}

Result<HoursRequest> ParseOptions(const std::vector<std::string>& args) {
    std::vector<std::string_view> views(args.begin(), args.end());
    return ParseHoursArguments(std::span<const std::string_view>(views), 0);
}

// "--key=value": written whole, a value is never read as an option of its
// own ("--help", "-h" as a name or a date are a name or a date).
std::string Option(std::string_view key, std::string_view value) {
    return "--" + std::string(key) + "=" + std::string(value);
}

void AppendOption(std::vector<std::string>& args, std::string_view key, std::string_view value) {
    args.push_back(Option(key, value));
}

// {"text": text} or {"message": message}.
std::string TextJson(const char* member, std::string_view text) {
    return std::string("{\"") + member + "\": " + JsonString(text) + "}";
}

// A value as a shell takes it: in single quotes unless it is plain.
std::string ShellWord(std::string_view word) {
    bool plain = !word.empty();
    for (const char c : word) {
        const auto b = static_cast<unsigned char>(c);
        if (!(b >= 0x80 || (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') ||
              (b >= 'a' && b <= 'z') || c == '-' || c == '_' || c == '.' || c == ':' || c == '/' ||
              c == '+' || c == '='))
            plain = false;
    }
    if (plain)
        return std::string(word);
    std::string out = "'";
    for (const char c : word)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

constexpr std::string_view kPlaceKeys[] = {"place", "lat", "lon", "tz", "name"};
constexpr std::string_view kExportKeys[] = {"days", "to", "format", "bom"};
constexpr std::string_view kOtherKeys[] = {"date", "dawn", "steps", "sun", "day-start",
                                           "time", "at",   "view",  "moon"};

bool KnownKey(std::string_view key) {
    for (const auto& keys : {std::span<const std::string_view>(kPlaceKeys),
                             std::span<const std::string_view>(kExportKeys),
                             std::span<const std::string_view>(kOtherKeys)})
        for (std::string_view k : keys)
            if (k == key)
                return true;
    return false;
}

const std::string* Find(const std::vector<LinkParameter>& parameters, std::string_view key) {
    for (const LinkParameter& p : parameters)
        if (p.key == key)
            return &p.value;
    return nullptr;
}

// "リンクの date=…" as the problems name a parameter.
std::string Named(std::string_view key, std::string_view value) {
    return "リンクの " + std::string(key) + "=" + QuotedForMessage(value);
}

// Whether a value is text a link of the page's may carry: UTF-8, no
// control or format character, not longer than a link's value.
bool ReadableValue(std::string_view value) {
    return value.size() <= kLinkValueMostBytes && IsWellFormedUtf8(value) &&
           QuotedForMessage(value) == "\"" + std::string(value) + "\"";
}

} // namespace

std::string_view PageViewName(PageView view) {
    switch (view) {
    case PageView::kYear:
        return "year";
    case PageView::kExport:
        return "export";
    case PageView::kDay:
        break;
    }
    return "day";
}

std::string CPageDialog::DateOption() const {
    if (!m_dateText.empty() && m_dateTextDate == m_computed.ToDate())
        return m_dateText;
    return FormatDate(m_computed.ToDate());
}

std::vector<std::string> CPageDialog::Options(bool withDate) const {
    std::vector<std::string> args;
    for (const LinkParameter& p : m_placeParameters)
        AppendOption(args, p.key, p.value);
    if (withDate)
        AppendOption(args, "date", DateOption());
    for (int i = 0; i < kPageChoiceCount; ++i)
        if (!m_choices[static_cast<std::size_t>(i)].empty())
            AppendOption(args, kChoiceOptions[i], m_choices[static_cast<std::size_t>(i)]);
    return args;
}

Result<HoursRequest> CPageDialog::Request(const std::vector<std::string>& extra,
                                          bool withDate) const {
    std::vector<std::string> args = Options(withDate);
    args.insert(args.end(), extra.begin(), extra.end());
    return ParseOptions(args);
}

std::vector<LinkParameter> CPageDialog::LinkParameters() const {
    std::vector<LinkParameter> out = m_placeParameters;
    out.push_back({"date", DateOption()});
    for (int i = 0; i < kPageChoiceCount; ++i) {
        const std::string& value = m_choices[static_cast<std::size_t>(i)];
        if (!value.empty() && value != ChoiceDefault(i))
            out.push_back({std::string(kChoiceOptions[i]), value});
    }
    if (!m_time.empty())
        out.push_back({"time", m_time});
    if (!m_at.empty())
        out.push_back({"at", m_at});
    if (m_view != PageView::kDay)
        out.push_back({"view", std::string(PageViewName(m_view))});
    // The other views' settings wherever they are not the defaults, so the
    // link opens them as they were whichever view is open.
    if (m_yearMoon)
        out.push_back({"moon", "1"});
    const PageExport defaults;
    if (!m_export.to.empty())
        out.push_back({"to", m_export.to});
    else if (m_export.days != defaults.days)
        out.push_back({"days", m_export.days});
    if (m_export.format != defaults.format)
        out.push_back({"format", m_export.format});
    if (m_export.byteOrderMark)
        out.push_back({"bom", "1"});
    return out;
}

std::string CPageDialog::LinkQuery() const {
    return EncodeLinkQuery(LinkParameters());
}

std::string CPageDialog::DayJson() const {
    std::string out = "{\"rows\": [";
    for (int i = 0; i < kBoundaryCount; ++i) {
        out += i > 0 ? ", {" : "{";
        out += "\"label\": " + JsonString(kBoundaryLabels[i]) + ", \"time\": \"" +
               FormatClock(m_day.boundary[i]) + "\"}";
    }
    out += "], \"marks\": [{\"label\": \"日出\", \"time\": \"" + FormatClock(m_day.sunrise) +
           "\"}, {\"label\": \"日没\", \"time\": \"" + FormatClock(m_day.sunset) +
           "\"}, {\"label\": \"南中\", \"time\": \"" + FormatClock(m_day.transit) + "\"}]";
    const Result<HoursRequest> request = Request({});
    if (!request)
        return out + ", \"message\": " + JsonString(request.Message()) + "}";
    std::string names;
    WriteDayNames(*request, names);
    const MoonDayHours moon =
        CalcMoonDayHours(request->place, request->days.first, request->options);
    return out + ", \"names\": " + JsonString(names) +
           ", \"moon\": " + JsonString(FormatMoonHoursLine(moon)) + "}";
}

std::string CPageDialog::TimeJson() const {
    if (m_time.empty())
        return "{}";
    const HourExpressionParse parse = ParseHourExpression(m_time);
    if (parse.readings.empty())
        return TextJson("message", parse.error);
    const Result<HoursRequest> request = Request({Option("time", m_time)});
    if (!request)
        return TextJson("message", request.Message());
    std::string out;
    WriteTimeReadings(*request, out);
    return TextJson("text", out);
}

std::string CPageDialog::AtJson() const {
    if (m_at.empty())
        return "{}";
    const Result<MomentText> moment = ReadMomentText(m_at);
    if (!moment)
        return TextJson("message", moment.Message());
    // A moment with its own date takes the place of the page's date.
    const Result<HoursRequest> request = Request({Option("at", m_at)}, !moment->date);
    if (!request)
        return TextJson("message", request.Message());
    std::string out;
    WriteAtHour(*request, out);
    return TextJson("text", out);
}

std::string CPageDialog::StateJson() const {
    std::string out = "{\"view\": \"" + std::string(PageViewName(m_view)) + "\", \"choices\": {";
    for (int i = 0; i < kPageChoiceCount; ++i) {
        const std::string& value = m_choices[static_cast<std::size_t>(i)];
        out += i > 0 ? ", \"" : "\"";
        out += std::string(kChoiceOptions[i]) +
               "\": " + JsonString(value.empty() ? ChoiceDefault(i) : value);
    }
    out += "}, \"date\": " + JsonString(DateOption()) + ", \"time\": " + JsonString(m_time) +
           ", \"at\": " + JsonString(m_at) + ", \"moon\": " + (m_yearMoon ? "true" : "false") +
           ", \"export\": {\"format\": " + JsonString(m_export.format) +
           ", \"bom\": " + (m_export.byteOrderMark ? "true" : "false") +
           ", \"days\": " + JsonString(m_export.days) + ", \"to\": " + JsonString(m_export.to) +
           "}, \"link\": " + JsonString(LinkQuery()) + "}";
    return out;
}

std::string CPageDialog::ViewJson() const {
    return "{\"chart\": " + ChartJson() + ", \"day\": " + DayJson() + ", \"time\": " + TimeJson() +
           ", \"at\": " + AtJson() + ", \"state\": " + StateJson() + "}";
}

std::string CPageDialog::ReadDate(std::string_view text) const {
    if (TrimTypedBlanks(text).empty())
        return "{}";
    const Result<HoursRequest> request = Request({Option("date", text)}, false);
    if (!request)
        return TextJson("message", request.Message());
    std::string names;
    WriteDayNames(*request, names);
    return TextJson("text", names);
}

std::string CPageDialog::UseDate(std::string_view text) {
    const Result<HoursRequest> request = Request({Option("date", text)}, false);
    if (!request)
        return TextJson("message", request.Message());
    const CivilDate date = request->days.first;
    m_fields.year = date.year;
    m_fields.month = date.month;
    m_fields.day = date.day;
    m_boxes = BoxTextsOf(m_fields);
    m_dateText = std::string(TrimTypedBlanks(text));
    m_dateTextDate = date;
    return "{\"boxes\": " + BoxesJson(m_boxes) + "}";
}

std::string CPageDialog::SetTime(std::string_view text) {
    m_time = std::string(TrimTypedBlanks(text));
    return TimeJson();
}

std::string CPageDialog::SetAt(std::string_view text) {
    m_at = std::string(TrimTypedBlanks(text));
    return AtJson();
}

std::string CPageDialog::SetChoice(int choice, std::string_view value) {
    if (choice < 0 || choice >= kPageChoiceCount || !ChoiceTakes(choice, value))
        return TextJson("message", "--" +
                                       std::string(choice >= 0 && choice < kPageChoiceCount
                                                       ? kChoiceOptions[choice]
                                                       : "?") +
                                       " の値 " + QuotedForMessage(value) + " は使えません");
    m_choices[static_cast<std::size_t>(choice)] = std::string(value);
    // The chart shows the computed place and date by the new choice.
    const MainFields fields = m_fields;
    m_fields = m_computed;
    Recompute();
    m_fields = fields;
    return ViewJson();
}

std::string CPageDialog::SetView(std::string_view name) {
    const std::optional<PageView> view = PageViewFromName(name);
    if (!view)
        return TextJson("message", "表示 " + QuotedForMessage(name) + " はありません");
    m_view = *view;
    return "{\"state\": " + StateJson() + "}";
}

std::string CPageDialog::SetYearMoon(bool moon) {
    m_yearMoon = moon;
    return "{\"state\": " + StateJson() + "}";
}

std::string CPageDialog::SetExport(const PageExport& settings) {
    m_export = settings;
    m_export.days = std::string(TrimTypedBlanks(settings.days));
    m_export.to = std::string(TrimTypedBlanks(settings.to));
    return "{\"state\": " + StateJson() + "}";
}

std::string CPageDialog::Download() {
    std::vector<std::string> extra{Option("format", m_export.format)};
    if (m_export.to.empty())
        extra.push_back(Option("days", m_export.days));
    else
        extra.push_back(Option("to", m_export.to));
    if (m_export.byteOrderMark)
        extra.push_back("--bom");
    const Result<HoursRequest> request = Request(extra);
    if (!request)
        return TextJson("message", request.Message());
    if (request->format != HoursFormat::kCsv && request->format != HoursFormat::kJson)
        return TextJson("message", "形式 " + QuotedForMessage(m_export.format) +
                                       " は書き出せません（csv, json）");
    std::string text(OutputStart(*request));
    WriteHours(*request, text);
    std::string command = "tolmeri-hours";
    std::vector<std::string> args = Options();
    args.insert(args.end(), extra.begin(), extra.end());
    for (const std::string& a : args)
        command += " " + ShellWord(a);
    const CivilDate last =
        CivilFromDays(DaysFromCivil(request->days.first) + request->days.dayCount - 1);
    const std::string name = "tolmeri-hours-" + FormatDate(request->days.first) + "_" +
                             FormatDate(last) + "." + m_export.format;
    return "{\"name\": " + JsonString(name) + ", \"command\": " + JsonString(command) +
           ", \"text\": " + JsonString(text) + "}";
}

void CPageDialog::ApplyLinkPlace(const std::vector<LinkParameter>& parameters,
                                 std::vector<std::string>& problems) {
    std::vector<std::string> args;
    std::string given;
    for (std::string_view key : kPlaceKeys)
        if (const std::string* value = Find(parameters, key)) {
            AppendOption(args, key, *value);
            given += (given.empty() ? "" : "&") + std::string(key) + "=" + *value;
        }
    if (args.empty())
        return;
    const std::string fallback = "。場所は前のままです";
    const Result<HoursRequest> request = ParseOptions(args);
    if (!request) {
        problems.push_back("リンクの場所 " + QuotedForMessage(given) +
                           " は使えません: " + request.Message() + fallback);
        return;
    }
    Place place = request->place;
    // Coordinates without a name name no place: the name box stays empty; a
    // place's own name goes in as the name box takes it.
    if (!Find(parameters, "name"))
        place.name = Find(parameters, "place") ? FitPlaceName(place.name) : std::string();
    const MainFields fields = MainFields::Of(place, m_fields.ToDate());
    // The boxes must hold it as 計算実行 would take it.
    for (MainBox box : kCheckOrder)
        if (!BoxAccepts(box, fields)) {
            problems.push_back("リンクの場所 " + QuotedForMessage(given) +
                               " は使えません: " + BoxCheckMessage(box, fields) + fallback);
            return;
        }
    m_fields = fields;
}

void CPageDialog::ApplyLinkRest(const std::vector<LinkParameter>& parameters,
                                std::vector<std::string>& problems) {
    for (int i = 0; i < kPageChoiceCount; ++i)
        if (const std::string* value = Find(parameters, kChoiceOptions[i])) {
            if (ChoiceTakes(i, *value)) {
                m_choices[static_cast<std::size_t>(i)] = *value;
                continue;
            }
            std::vector<std::string> args;
            AppendOption(args, kChoiceOptions[i], *value);
            const Result<HoursRequest> request = ParseOptions(args);
            problems.push_back(Named(kChoiceOptions[i], *value) + " は使えません: " +
                               (request ? std::string("値がありません") : request.Message()) +
                               "。既定のままにします");
        }
    if (const std::string* date = Find(parameters, "date")) {
        m_computed = m_fields;
        const Result<HoursRequest> request = Request({Option("date", *date)}, false);
        if (request) {
            const CivilDate d = request->days.first;
            m_fields.year = d.year;
            m_fields.month = d.month;
            m_fields.day = d.day;
            m_dateText = *date;
            m_dateTextDate = d;
        } else {
            problems.push_back(Named("date", *date) + " は使えません: " + request.Message() +
                               "。日付は " + FormatDate(m_fields.ToDate()) + " のままです");
        }
    }
    if (const std::string* time = Find(parameters, "time")) {
        const HourExpressionParse parse = ParseHourExpression(*time);
        if (parse.readings.empty())
            problems.push_back(Named("time", *time) + " は使えません: " + parse.error);
        else
            m_time = *time;
    }
    if (const std::string* at = Find(parameters, "at")) {
        if (const Result<MomentText> moment = ReadMomentText(*at))
            m_at = *at;
        else
            problems.push_back(Named("at", *at) + " は使えません: " + moment.Message());
    }
    if (const std::string* view = Find(parameters, "view")) {
        if (const std::optional<PageView> v = PageViewFromName(*view))
            m_view = *v;
        else
            problems.push_back(Named("view", *view) +
                               " は使えません（day, year, export）。一日の刻を表示します");
    }
    if (const std::string* moon = Find(parameters, "moon")) {
        if (*moon == "1")
            m_yearMoon = true;
        else
            problems.push_back(Named("moon", *moon) + " は使えません（1 で月を描きます）");
    }
    PageExport settings = m_export;
    bool exportGiven = false;
    for (std::string_view key : kExportKeys)
        if (const std::string* value = Find(parameters, key)) {
            exportGiven = true;
            if (key == "days")
                settings.days = *value;
            else if (key == "to")
                settings.to = *value;
            else if (key == "format")
                settings.format = *value;
            else if (*value == "1")
                settings.byteOrderMark = true;
            else
                problems.push_back(Named("bom", *value) + " は使えません（1 で BOM を付けます）");
        }
    if (!exportGiven)
        return;
    // The download's options as a whole, as tolmeri-hours reads them.
    std::vector<std::string> extra{Option("format", settings.format)};
    if (settings.to.empty())
        extra.push_back(Option("days", settings.days));
    else
        extra.push_back(Option("to", settings.to));
    if (settings.byteOrderMark)
        extra.push_back("--bom");
    m_computed = m_fields;
    const Result<HoursRequest> request = Request(extra);
    if (!request)
        problems.push_back("リンクの書き出しの指定は使えません: " + request.Message() +
                           "。既定の指定にします");
    else if (settings.format != "csv" && settings.format != "json")
        problems.push_back(Named("format", settings.format) +
                           " は使えません（csv, json）。既定の指定にします");
    else
        m_export = settings;
}

std::string CPageDialog::OpenLink(std::string_view query) {
    std::vector<LinkParameter> all = DecodeLinkQuery(query);
    std::vector<std::string> problems;
    if (all.size() > kLinkMostParameters) {
        problems.push_back("リンクの項目が多すぎます（" + std::to_string(kLinkMostParameters) +
                           " 個まで読みます）");
        all.resize(kLinkMostParameters);
    }
    // Each key once, its first value, if it is text the page reads.
    std::vector<LinkParameter> parameters;
    bool placeRefused = false;
    for (const LinkParameter& p : all) {
        if (!KnownKey(p.key)) {
            problems.push_back("リンクの " + QuotedForMessage(p.key) +
                               " は知らない項目です（読まずにおきます）");
        } else if (Find(parameters, p.key)) {
            problems.push_back("リンクに " + p.key + " が二度あります（はじめの値を使います）");
        } else if (!ReadableValue(p.value)) {
            problems.push_back("リンクの " + p.key + " の値 " +
                               QuotedForMessage(p.value.size() > kLinkValueMostBytes
                                                    ? std::string_view(p.value).substr(0, 32)
                                                    : std::string_view(p.value)) +
                               " は読めません（" + std::to_string(kLinkValueMostBytes) +
                               " バイトまでの、制御文字のない UTF-8 の文字列）");
            // The place is its parameters together: one of them unread
            // leaves the place as it was.
            for (std::string_view key : kPlaceKeys)
                placeRefused = placeRefused || key == p.key;
        } else {
            parameters.push_back(p);
        }
    }
    if (!placeRefused)
        ApplyLinkPlace(parameters, problems);
    ApplyLinkRest(parameters, problems);
    m_boxes = BoxTextsOf(m_fields);
    Recompute();
    std::string out = "{\"boxes\": " + BoxesJson(m_boxes) + ", \"problems\": [";
    for (std::size_t i = 0; i < problems.size(); ++i)
        out += (i > 0 ? ", " : "") + JsonString(problems[i]);
    return out + "], " + ViewJson().substr(1);
}

namespace {

// The list's kinds without the user's own places.
std::vector<const PlaceChoice*> HistoricalChoices() {
    std::vector<const PlaceChoice*> out;
    for (const PlaceChoice& choice : PlaceChoices())
        if (choice.filter.origin != PlaceOrigin::kUser)
            out.push_back(&choice);
    return out;
}

} // namespace

std::string HistoricalChoicesJson() {
    std::string out = "[";
    for (const PlaceChoice* choice : HistoricalChoices())
        out += (out.size() > 1 ? ", " : "") + JsonString(choice->label);
    return out + "]";
}

std::string HistoricalPlacesJson(std::string_view query, int choice) {
    const std::vector<const PlaceChoice*> choices = HistoricalChoices();
    const PlaceFilter filter = choice >= 0 && static_cast<std::size_t>(choice) < choices.size()
                                   ? choices[static_cast<std::size_t>(choice)]->filter
                                   : PlaceFilter{};
    const CPlaceBook& book = CPlaceBook::Historical();
    const std::vector<const PlaceRecord*> found = book.Search(query, filter);
    std::string out = "{\"count\": " +
                      JsonString(found.empty() ? std::string("見つかりません")
                                               : std::to_string(found.size()) + " か所") +
                      ", \"places\": [";
    for (std::size_t i = 0; i < found.size(); ++i) {
        const PlaceRecord& p = *found[i];
        out += i > 0 ? ",\n {" : "{";
        AppendField(out, "index", found[i] - book.Places().data());
        out += ", \"name\": " + JsonString(p.name) + ", \"reading\": " + JsonString(p.reading) +
               ", \"where\": " + JsonString(PlaceWhere(p)) +
               ", \"latitude\": " + JsonString(PlaceListAngle(p.latArcMinutes, 2)) +
               ", \"longitude\": " + JsonString(PlaceListAngle(p.lonArcMinutes, 3)) + "}";
    }
    return out + "]}";
}

std::string HistoricalPlaceDetail(int index) {
    const std::vector<PlaceRecord>& places = CPlaceBook::Historical().Places();
    if (index < 0 || static_cast<std::size_t>(index) >= places.size())
        return "";
    return PlaceDetail(places[static_cast<std::size_t>(index)]);
}

std::string_view HistoricalCredits() {
    return kHistoricalPlaceCredits;
}

std::string PageChoicesJson() {
    std::string out = "[";
    for (int i = 0; i < kPageChoiceCount; ++i) {
        out += i > 0 ? ",\n {" : "{";
        out += "\"option\": \"" + std::string(kChoiceOptions[i]) +
               "\", \"label\": " + JsonString(kChoiceLabels[i]) + ", \"values\": [";
        const std::vector<ChoiceValue> values = ChoiceValues(i);
        for (std::size_t v = 0; v < values.size(); ++v)
            out += (v > 0 ? ", {" : "{") + std::string("\"name\": ") + JsonString(values[v].name) +
                   ", \"label\": " + JsonString(values[v].label) + "}";
        out += "], \"default\": " + JsonString(ChoiceDefault(i)) + "}";
    }
    return out + "]";
}

namespace {

std::string_view AnchorName(YearChartAnchor anchor) {
    switch (anchor) {
    case YearChartAnchor::kMiddle:
        return "middle";
    case YearChartAnchor::kEnd:
        return "end";
    case YearChartAnchor::kStart:
        break;
    }
    return "start";
}

// A coordinate as SVG reads it: whole pixels as integers, else to a
// hundredth.
void AppendCoordinate(std::string& out, double v) {
    if (v == static_cast<double>(static_cast<long long>(v))) {
        AppendInt(out, static_cast<long long>(v));
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", v);
    out += text;
}

template <typename Point> std::string PointsText(const std::vector<Point>& points) {
    std::string out;
    out.reserve(points.size() * 9);
    for (const Point& p : points) {
        if (!out.empty())
            out += ' ';
        AppendCoordinate(out, p.x);
        out += ',';
        AppendCoordinate(out, p.y);
    }
    return out;
}

constexpr YearChartPen kYearChartPens[] = {YearChartPen::kHour,        YearChartPen::kHalf,
                                           YearChartPen::kTransit,     YearChartPen::kSunEvent,
                                           YearChartPen::kMoonrise,    YearChartPen::kMoonset,
                                           YearChartPen::kFrame,       YearChartPen::kMarkedDay,
                                           YearChartPen::kMoonriseKey, YearChartPen::kMoonsetKey};

} // namespace

std::string CPageDialog::YearChartJson(int width, int height) {
    const Result<HoursRequest> request = Request({});
    if (!request) {
        m_yearInput = {};
        m_yearLayout = {};
        return TextJson("message", request.Message());
    }
    const CivilDate date = request->days.first;
    m_yearInput = MakeYearChartInput(request->place, date.year, request->options, m_yearMoon);
    m_yearInput.markedDay =
        static_cast<int>(DaysFromCivil(date) - DaysFromCivil({date.year, 1, 1}));
    width = std::clamp(width, 400, 4000);
    height = std::clamp(height, 300, 4000);
    // The page's face, measured as a terminal counts columns: a full-width
    // character an em, anything else half of one.
    const int font = YearChartFontPixels(width, height);
    const int titleFont = font * 7 / 5;
    YearChartMetrics metrics;
    metrics.lineHeight = font + font / 5;
    metrics.titleHeight = titleFont + titleFont / 5;
    metrics.textWidth = [font](std::string_view text) { return DisplayWidth(text) * font / 2; };
    m_yearLayout = LayoutYearChart(m_yearInput, {0, 0, width, height}, metrics);
    const YearChartLayout& L = m_yearLayout;
    const YearChartDrawing drawing = DrawYearChart(L, static_cast<int>(m_yearInput.days.size()));

    std::string out = "{";
    AppendField(out, "width", width);
    out += ", ";
    AppendField(out, "height", height);
    out += ", ";
    AppendField(out, "font", font);
    out += ", ";
    AppendField(out, "titleFont", titleFont);
    out += ", ";
    AppendField(out, "lineHeight", metrics.lineHeight);
    out += ", \"plot\": {";
    AppendField(out, "left", L.left);
    out += ", ";
    AppendField(out, "top", L.top);
    out += ", ";
    AppendField(out, "right", L.right);
    out += ", ";
    AppendField(out, "bottom", L.bottom);
    out += "}, ";
    AppendField(out, "days", static_cast<long long>(m_yearInput.days.size()));
    out += ", \"textBox\": \"" + HexColor(kChartTextBoxColor) + "\", \"pens\": [";
    for (std::size_t i = 0; i < std::size(kYearChartPens); ++i) {
        const YearChartPenStyle pen = YearChartPenOf(kYearChartPens[i]);
        char style[96];
        std::snprintf(style, sizeof style,
                      "{\"color\": \"%s\", \"opacity\": %.3f, \"width\": %.1f, \"dash\": %s}",
                      HexColor(pen.color).c_str(), pen.alpha / 255.0, pen.width,
                      pen.dashed ? "true" : "false");
        out += (i > 0 ? ", " : "") + std::string(style);
    }
    const auto penIndex = [](YearChartPen pen) {
        return static_cast<long long>(
            std::find(std::begin(kYearChartPens), std::end(kYearChartPens), pen) -
            std::begin(kYearChartPens));
    };
    out += "], \"bands\": [";
    for (std::size_t i = 0; i < drawing.bands.size(); ++i) {
        const YearChartBand& band = drawing.bands[i];
        out += (i > 0 ? ",\n {" : "{") + std::string("\"fill\": \"") +
               HexColor(kChartBandColors[static_cast<std::size_t>(band.brush)]) +
               "\", \"points\": \"" + PointsText(band.points) + "\"}";
    }
    out += "], \"lines\": [";
    for (std::size_t i = 0; i < drawing.lines.size(); ++i) {
        out += i > 0 ? ",\n {" : "{";
        AppendField(out, "pen", penIndex(drawing.lines[i].pen));
        out += ", \"points\": \"" + PointsText(drawing.lines[i].points) + "\"}";
    }
    // The segments of a pen as one path.
    out += "], \"segments\": [";
    bool firstPen = true;
    for (const YearChartPen pen : kYearChartPens) {
        std::string path;
        for (const YearChartSegment& seg : drawing.segments) {
            if (seg.pen != pen)
                continue;
            path += path.empty() ? "M" : " M";
            path += std::to_string(seg.x1) + " " + std::to_string(seg.y1) + "L" +
                    std::to_string(seg.x2) + " " + std::to_string(seg.y2);
        }
        if (path.empty())
            continue;
        out += firstPen ? "{" : ", {";
        firstPen = false;
        AppendField(out, "pen", penIndex(pen));
        out += ", \"path\": \"" + path + "\"}";
    }
    out += "], \"texts\": [";
    for (std::size_t i = 0; i < L.texts.size(); ++i) {
        const YearChartText& t = L.texts[i];
        const YearChartAnchor anchor = YearChartAnchorOf(t.kind);
        const bool title = t.kind == YearChartTextKind::kTitle;
        const int w = title ? DisplayWidth(t.text) * titleFont / 2 : metrics.textWidth(t.text);
        const int anchorX = t.x + (anchor == YearChartAnchor::kEnd      ? w
                                   : anchor == YearChartAnchor::kMiddle ? w / 2
                                                                        : 0);
        out += i > 0 ? ",\n {" : "{";
        AppendField(out, "x", t.x);
        out += ", ";
        AppendField(out, "y", t.y);
        out += ", \"anchor\": \"" + std::string(AnchorName(anchor)) + "\", ";
        AppendField(out, "anchorX", anchorX);
        out += ", \"text\": " + JsonString(t.text) + ", \"title\": " + (title ? "true" : "false") +
               ", \"color\": \"" + HexColor(YearChartTextColor(t.kind)) +
               "\", \"box\": " + (t.kind == YearChartTextKind::kMark ? "true" : "false") + ", ";
        AppendField(out, "width", w);
        out += "}";
    }
    return out + "]}";
}

std::string CPageDialog::YearChartReadoutAt(int x, int y) const {
    return YearChartReadout(m_yearInput, m_yearLayout, x, y);
}

std::string CPageDialog::YearChartCursor(int day, int minute) const {
    const YearChartLayout& L = m_yearLayout;
    const int n = static_cast<int>(m_yearInput.days.size());
    if (n == 0 || static_cast<int>(L.dayX.size()) != n + 1)
        return "{}";
    day = std::clamp(day, 0, n - 1);
    minute = std::clamp(minute, 0, 1439);
    const int x = (L.dayX[day] + L.dayX[day + 1]) / 2;
    const int y = std::min(YearChartY(L, minute), L.bottom - 1);
    std::string out = "{";
    AppendField(out, "x", x);
    out += ", ";
    AppendField(out, "y", y);
    return out + ", \"text\": " + JsonString(YearChartReadout(m_yearInput, L, x, y)) + "}";
}

std::string PresetPlacesJson() {
    std::string out = "[";
    for (std::size_t i = 0; i < kPresetPlaces.size(); ++i) {
        // The entry's four fields as the list shows them, split at its TABs.
        std::string_view rest = kPresetPlaces[i];
        std::string_view fields[4];
        for (std::string_view& field : fields) {
            const std::size_t tab = rest.find('\t');
            field = rest.substr(0, tab);
            rest = tab == std::string_view::npos ? std::string_view() : rest.substr(tab + 1);
        }
        out += i > 0 ? ",\n {" : "{";
        out += "\"name\": " + JsonString(fields[0]) + ", \"latitude\": " + JsonString(fields[1]) +
               ", \"longitude\": " + JsonString(fields[2]) + ", \"tz\": " + JsonString(fields[3]) +
               "}";
    }
    return out + "]";
}

std::string LimitBoxEdit(int box, std::string_view before, std::string_view after, int cursor) {
    const int limit = ValidBox(box) ? BoxTypingLimit(static_cast<MainBox>(box)) : 0;
    const LimitedEdit r =
        LimitInsertion(Utf16FromUtf8(before), Utf16FromUtf8(after), cursor, limit);
    std::string out = "{\"text\": " + JsonString(Utf8FromUtf16(r.text)) + ", ";
    AppendField(out, "cursor", r.cursor);
    return out + "}";
}

std::string DayJson(const Place& place, const CivilDate& date, SunModel sun) {
    HoursRequest request;
    request.place = place;
    request.days.first = date;
    request.options.sun = sun;
    request.format = HoursFormat::kJson;
    std::string out;
    WriteHours(request, out);
    return out;
}

std::string_view SavedNotice() {
    return "場所と日付を保存しました。次にこのページを開くと、この場所と日付で始まります。";
}

std::string_view SaveFailedMessage() {
    return "設定を保存できませんでした。\nこのブラウザーはこのページの保存を受け付けていません。";
}

long long TimeDays(int count, SunModel sun) {
    PeriodOptions options;
    options.sun = sun;
    CPeriodCalculator calc({"Tokyo", 35, 41, 139, 42, 9}, options);
    const std::int64_t first = DaysFromCivil({2026, 1, 1});
    long long sum = 0;
    for (int i = 0; i < count; ++i)
        sum += calc.Compute(CivilFromDays(first + i % 365)).boundary[18];
    return sum;
}

} // namespace tolmeri
