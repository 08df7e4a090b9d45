#include "web/page_dialog.h"

#include <cstdio>

#include "core/box_rules.h"
#include "core/cp932.h"
#include "core/day_chart.h"
#include "core/period_hours.h"
#include "core/presets.h"
#include "core/utf8.h"
#include "report/hours_output.h"
#include "report/hours_text.h"
#include "settings/settings.h"

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

// UTF-16 of UTF-8 text; a byte that is not UTF-8 becomes U+FFFD.
std::u16string Utf16Of(std::string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Char c = DecodeUtf8(text, i);
        i += c.length;
        if (c.code >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c.code - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c.code - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c.code);
        }
    }
    return out;
}

std::string Utf8Of(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        AppendUtf8(out, c);
    }
    return out;
}

bool ValidBox(int box) {
    return box >= 0 && box < kMainBoxCount;
}

} // namespace

std::string CPageDialog::Open(std::string_view stored) {
    const CSettingsValues values = ParseSettings(ToCp932(stored));
    m_fields = MainFields::Of(values.place, values.date);
    m_fields.name = FromCp932(values.place.name);
    m_boxes = BoxTextsOf(m_fields);
    Recompute();
    return "{\"boxes\": " + BoxesJson(m_boxes) + ", \"chart\": " + ChartJson() + "}";
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
    m_hours.Recompute(m_fields.ToPlace(), m_fields.ToDate());
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
    const DayChartLayout L = LayoutDayChart(m_hours.Day(), m_fields.name, m_fields.ToDate(),
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
    const LimitedEdit r = LimitInsertion(Utf16Of(before), Utf16Of(after), cursor, limit);
    std::string out = "{\"text\": " + JsonString(Utf8Of(r.text)) + ", ";
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
