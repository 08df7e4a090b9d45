#include "core/places.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "core/accepted_ranges.h"
#include "core/cp932.h"
#include "core/kana.h"
#include "core/places_data.h"
#include "core/presets.h"
#include "core/typed_text.h"
#include "core/utf8.h"

namespace tolmeri {

namespace {

constexpr std::array<std::string_view, kPlaceKinds.size()> kKindNames = {
    "都市", "宿場", "城下", "国府", "関所", "奉行所", "港"};

// A route's names: the first is the one shown; all of them, their
// readings' romaji too, find it.
struct RouteNames {
    PlaceRoute route;
    std::string_view name, reading, alias;
};
constexpr RouteNames kRouteNames[] = {
    {PlaceRoute::kTokaido, "東海道", "とうかいどう", ""},
    {PlaceRoute::kNakasendo, "中山道", "なかせんどう", "中仙道"},
};

// The endings that make a place's name out of a shorter one, with their
// readings: 品川宿 is 品川 and 宿 (しながわ and しゅく). The short name finds the
// place too, below the whole names. A station's 宿 is read しゅく or じゅく by
// place; romaji and kana are accepted in either form.
struct Suffix {
    std::string_view name;
    std::string_view readings[2];
};
constexpr Suffix kSuffixes[] = {
    {"宿", {"しゅく", "じゅく"}},     {"城下", {"じょうか", ""}},
    {"関所", {"せきしょ", ""}},       {"陣屋", {"じんや", ""}},
    {"奉行所", {"ぶぎょうしょ", ""}}, {"代官所", {"だいかんしょ", ""}},
    {"国府", {"こくふ", ""}},
};

// The column names of a places file.
enum Column {
    kName,
    kReading,
    kKind,
    kRoute,
    kStationNo,
    kLatitude,
    kLongitude,
    kSourceDataset,
    kSourceId,
    kSourceName,
    kMunicipality,
    kNote,
    kColumnCount
};
constexpr std::string_view kColumnNames[kColumnCount] = {
    "name",      "reading",        "kind",      "route",       "station_no",          "latitude",
    "longitude", "source_dataset", "source_id", "source_name", "modern_municipality", "note"};

// Where each column stands in a file's rows (-1: absent), and how many the
// header has.
struct ColumnMap {
    int at[kColumnCount];
    std::size_t count = 0;
};

// The plain vowel of a Latin vowel with a length mark (ā, â, Ō), or 0.
char PlainVowel(char32_t c) {
    switch (c) {
    case U'ā':
    case U'â':
    case U'Ā':
    case U'Â':
        return 'a';
    case U'ī':
    case U'î':
    case U'Ī':
    case U'Î':
        return 'i';
    case U'ū':
    case U'û':
    case U'Ū':
    case U'Û':
        return 'u';
    case U'ē':
    case U'ê':
    case U'Ē':
    case U'Ê':
        return 'e';
    case U'ō':
    case U'ô':
    case U'Ō':
    case U'Ô':
        return 'o';
    default:
        return 0;
    }
}

// What a key compares as: the text as typed made plain (full-width letters
// and digits as ASCII), katakana as hiragana, Latin letters in lower case
// without length marks, and without the spaces, hyphens, apostrophes, dots
// and middle dots that names are written with or without.
std::string PlaceKey(std::string_view text) {
    const std::string kana = HiraganaOf(PlainTypedText(text));
    std::string key;
    key.reserve(kana.size());
    for (std::size_t pos = 0; pos < kana.size();) {
        const Utf8Char ch = DecodeUtf8(kana, pos);
        pos += ch.length;
        const char32_t c = ch.code;
        if (!ch.valid) {
            key += kana.substr(pos - ch.length, ch.length);
        } else if (c == ' ' || c == '-' || c == '\'' || c == '.' || c == U'’' || c == U'・' ||
                   c == U'･') {
            continue;
        } else if (c >= 'A' && c <= 'Z') {
            key += static_cast<char>(c - 'A' + 'a');
        } else if (const char vowel = PlainVowel(c)) {
            key += vowel;
        } else {
            AppendUtf8(key, c);
        }
    }
    return key;
}

// ` "value"` for a message, escaped and shortened as every message quotes.
std::string Quoted(std::string_view value) {
    return " " + QuotedForMessage(value);
}

// "U+202E".
std::string CodePointText(char32_t code) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string digits;
    for (int shift = code > 0xFFFF ? 20 : 12; shift >= 0; shift -= 4)
        digits += kHex[(code >> shift) & 0xF];
    return "U+" + digits;
}

// The first character of text that a row may not hold: a byte that is not
// UTF-8 (returned as U+FFFD), or a control or format character, which would
// act on the terminal or the window the row is shown in. 0 for none.
char32_t ForbiddenCharacter(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const Utf8Char ch = DecodeUtf8(text, pos);
        if (!ch.valid)
            return kReplacementCharacter;
        if (IsControlOrFormat(ch.code))
            return ch.code;
        pos += ch.length;
    }
    return 0;
}

std::string LineText(int line) {
    return std::to_string(line) + " 行目: ";
}

std::string KindList() {
    std::string list;
    for (std::string_view name : kKindNames) {
        if (!list.empty())
            list += "、";
        list += name;
    }
    return list;
}

std::string RouteList() {
    std::string list;
    for (const RouteNames& r : kRouteNames) {
        if (!list.empty())
            list += "、";
        list += r.name;
    }
    return list;
}

ColumnMap ReadHeader(std::string_view header) {
    ColumnMap map;
    std::fill(std::begin(map.at), std::end(map.at), -1);
    std::size_t index = 0;
    for (std::size_t start = 0;; ++index) {
        const std::size_t tab = header.find('\t', start);
        const std::string_view field = TrimTypedBlanks(header.substr(start, tab - start));
        for (int c = 0; c < kColumnCount; ++c)
            if (field == kColumnNames[c] && map.at[c] < 0)
                map.at[c] = static_cast<int>(index);
        if (tab == std::string_view::npos)
            break;
        start = tab + 1;
    }
    map.count = index + 1;
    return map;
}

// The fields of a row; false when it has more than the header.
bool SplitRow(std::string_view line, const ColumnMap& map,
              std::string_view (&fields)[kColumnCount]) {
    std::vector<std::string_view> cells;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos)
            break;
        start = tab + 1;
    }
    if (cells.size() > map.count)
        return false;
    for (int c = 0; c < kColumnCount; ++c)
        fields[c] = map.at[c] >= 0 && static_cast<std::size_t>(map.at[c]) < cells.size()
                        ? TrimTypedBlanks(cells[static_cast<std::size_t>(map.at[c])])
                        : std::string_view();
    return true;
}

// The stops of a station: routes and numbers, each joined by "|".
bool ReadStops(std::string_view routes, std::string_view numbers, std::vector<RouteStop>& stops) {
    if (routes.empty() && numbers.empty())
        return true;
    for (;;) {
        const std::size_t bar = routes.find('|'), numberBar = numbers.find('|');
        const std::optional<PlaceRoute> route = PlaceRouteFromName(routes.substr(0, bar));
        const std::string_view digits = numbers.substr(0, numberBar);
        if (!route || digits.empty() || digits.size() > 3 ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        stops.push_back({*route, std::atoi(std::string(digits).c_str())});
        if ((bar == std::string_view::npos) != (numberBar == std::string_view::npos))
            return false;
        if (bar == std::string_view::npos)
            return true;
        routes.remove_prefix(bar + 1);
        numbers.remove_prefix(numberBar + 1);
    }
}

// One axis of a row: its decimal degrees in whole minutes of arc, within
// range.
bool ReadAxis(std::string_view what, std::string_view text, const IntRange& range, int line,
              int& arcMinutes, std::vector<PlaceRowProblem>& problems) {
    if (text.empty()) {
        problems.push_back({line, LineText(line) + std::string(what) + "がありません"});
        return false;
    }
    if (!ReadDecimalDegrees(text, arcMinutes)) {
        problems.push_back({line, LineText(line) + std::string(what) + Quoted(text) +
                                      " は読めません（小数の度、例 35.688371）"});
        return false;
    }
    // The whole degrees as the window's box and tolmeri-hours take them.
    int degrees = 0, minutes = 0;
    SplitArcMinutes(arcMinutes, degrees, minutes);
    if (!range.Contains(degrees)) {
        problems.push_back({line, LineText(line) + std::string(what) + Quoted(text) +
                                      " は範囲外です（度は " + std::to_string(range.first) + "～" +
                                      std::to_string(range.last) + "）"});
        return false;
    }
    return true;
}

// The row of a places file, or nothing with its problem.
std::optional<PlaceRecord> ReadRow(const ColumnMap& map, std::string_view line, int lineNumber,
                                   PlaceOrigin origin, std::vector<PlaceRowProblem>& problems) {
    std::string_view f[kColumnCount];
    const auto refuse = [&](std::string why) {
        problems.push_back({lineNumber, LineText(lineNumber) + std::move(why)});
        return std::nullopt;
    };
    if (!SplitRow(line, map, f))
        return refuse("列が見出しより多くあります（区切りは TAB）");
    PlaceRecord p;
    p.origin = origin;
    p.line = lineNumber;
    // Every text of a row goes into tables, titles and messages as it
    // stands.
    for (int c = 0; c < kColumnCount; ++c)
        if (const char32_t bad = ForbiddenCharacter(f[c]))
            return refuse(std::string(kColumnNames[c]) + " の列に使えない文字があります（" +
                          (bad == kReplacementCharacter
                               ? std::string("UTF-8 でないバイト")
                               : CodePointText(bad) + " のような制御文字や書式文字") +
                          "）");
    if (f[kName].empty())
        return refuse("名前がありません");
    if (CheckTypedName(f[kName]).fault == NameFault::kInvisible)
        return refuse("名前に目に見える文字がありません");
    p.name = f[kName];
    if (!f[kReading].empty() && !IsKanaReading(f[kReading]))
        return refuse("読み" + Quoted(f[kReading]) + " はかなではありません");
    p.reading = f[kReading];
    if (!f[kKind].empty()) {
        const std::optional<PlaceKind> kind = PlaceKindFromName(f[kKind]);
        if (!kind)
            return refuse("種類" + Quoted(f[kKind]) + " はありません（" + KindList() + "）");
        p.kind = *kind;
    }
    if (!ReadStops(f[kRoute], f[kStationNo], p.stops))
        return refuse("道" + Quoted(f[kRoute]) + " と番号" + Quoted(f[kStationNo]) +
                      " が読めません（" + RouteList() + "、番号は 0～999、二つの道は | で区切る）");
    if (!ReadAxis("緯度", f[kLatitude], kLatitudeRange, lineNumber, p.latArcMinutes, problems) ||
        !ReadAxis("経度", f[kLongitude], kLongitudeRange, lineNumber, p.lonArcMinutes, problems))
        return std::nullopt;
    p.latitude = f[kLatitude];
    p.longitude = f[kLongitude];
    const int lonDeg = p.lonArcMinutes / 60;
    if (!TimeDifferenceFits(kHistoricalTimeDifference, lonDeg))
        return refuse("経度" + Quoted(f[kLongitude]) + " は時差 " +
                      std::to_string(kHistoricalTimeDifference) +
                      " に合いません（日本の時刻の場所だけを書けます）");
    p.sourceDataset = f[kSourceDataset];
    p.sourceId = f[kSourceId];
    p.sourceName = f[kSourceName];
    p.municipality = f[kMunicipality];
    p.note = f[kNote];
    return p;
}

// The suffix a name ends in with a reading ending in one of its readings:
// the lengths to take off the name and the reading, or nothing.
struct SuffixSplit {
    const Suffix* suffix = nullptr;
    std::size_t nameLength = 0, readingLength = 0;
};
SuffixSplit SplitSuffix(std::string_view name, std::string_view hiragana) {
    for (const Suffix& s : kSuffixes) {
        if (!name.ends_with(s.name) || name.size() == s.name.size())
            continue;
        for (std::string_view r : s.readings)
            if (!r.empty() && hiragana.ends_with(r) && hiragana.size() > r.size())
                return {&s, s.name.size(), r.size()};
    }
    return {};
}

void AddUnique(std::vector<std::string>& texts, std::string text) {
    if (!text.empty() && std::find(texts.begin(), texts.end(), text) == texts.end())
        texts.push_back(std::move(text));
}

// The keys of a route: its names and their romaji.
std::vector<std::string> RouteKeys(const RouteNames& r) {
    std::vector<std::string> keys;
    AddUnique(keys, PlaceKey(r.name));
    AddUnique(keys, PlaceKey(r.reading));
    AddUnique(keys, PlaceKey(r.alias));
    AddUnique(keys, RomajiOf(r.reading, RomajiStyle::kPlain));
    AddUnique(keys, RomajiOf(r.reading, RomajiStyle::kKana));
    return keys;
}

const std::vector<std::vector<std::string>>& AllRouteKeys() {
    static const std::vector<std::vector<std::string>> keys = [] {
        std::vector<std::vector<std::string>> all;
        for (const RouteNames& r : kRouteNames)
            all.push_back(RouteKeys(r));
        return all;
    }();
    return keys;
}

// The romaji of a suffix's reading (しゅく, じょうか …) in a style, made
// once; RomajiOf for any other reading.
std::string SuffixRomaji(std::string_view reading, RomajiStyle style) {
    struct Made {
        std::string_view reading;
        std::string romaji[3]; // by RomajiStyle
    };
    static const std::vector<Made> made = [] {
        std::vector<Made> all;
        for (const Suffix& s : kSuffixes)
            for (std::string_view r : s.readings)
                if (!r.empty())
                    all.push_back(
                        {r,
                         {RomajiOf(r, RomajiStyle::kHepburn), RomajiOf(r, RomajiStyle::kPlain),
                          RomajiOf(r, RomajiStyle::kKana)}});
        return all;
    }();
    for (const Made& m : made)
        if (m.reading == reading)
            return m.romaji[static_cast<int>(style)];
    return RomajiOf(reading, style);
}

// The suffixes as keys: each name, reading and romaji, longest first.
const std::vector<std::string>& SuffixKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> all;
        for (const Suffix& s : kSuffixes) {
            AddUnique(all, PlaceKey(s.name));
            for (std::string_view r : s.readings)
                if (!r.empty()) {
                    AddUnique(all, PlaceKey(r));
                    AddUnique(all, RomajiOf(r, RomajiStyle::kPlain));
                    AddUnique(all, RomajiOf(r, RomajiStyle::kKana));
                }
        }
        std::stable_sort(all.begin(), all.end(), [](const std::string& a, const std::string& b) {
            return a.size() > b.size();
        });
        return all;
    }();
    return keys;
}

// A key that is a route and a number, "東海道1", "tokaido1".
std::optional<RouteStop> ReadRouteKey(std::string_view key) {
    std::size_t digits = key.size();
    while (digits > 0 && key[digits - 1] >= '0' && key[digits - 1] <= '9')
        --digits;
    if (digits == key.size() || digits == 0 || key.size() - digits > 3)
        return std::nullopt;
    const std::string_view name = key.substr(0, digits);
    const std::vector<std::vector<std::string>>& all = AllRouteKeys();
    for (std::size_t r = 0; r < all.size(); ++r)
        if (std::find(all[r].begin(), all[r].end(), name) != all[r].end())
            return RouteStop{kRouteNames[r].route,
                             std::atoi(std::string(key.substr(digits)).c_str())};
    return std::nullopt;
}

// The code points of a text, for distances.
std::u32string CodePoints(std::string_view text) {
    std::u32string out;
    for (std::size_t pos = 0; pos < text.size();) {
        const Utf8Char ch = DecodeUtf8(text, pos);
        out += ch.code;
        pos += ch.length;
    }
    return out;
}

// The edits (insert, delete, replace) that turn a into b, or limit + 1 when
// there are more than limit.
std::size_t Distance(const std::u32string& a, const std::u32string& b, std::size_t limit) {
    const std::size_t gap = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
    if (gap > limit)
        return limit + 1;
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        std::size_t best = row[0];
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = up;
            best = std::min(best, row[j]);
        }
        if (best > limit)
            return limit + 1;
    }
    return row[b.size()];
}

} // namespace

std::string_view PlaceKindName(PlaceKind kind) {
    const auto index = static_cast<std::size_t>(kind);
    return index < kKindNames.size() ? kKindNames[index] : std::string_view();
}

std::optional<PlaceKind> PlaceKindFromName(std::string_view name) {
    for (PlaceKind kind : kPlaceKinds)
        if (PlaceKindName(kind) == name)
            return kind;
    return std::nullopt;
}

std::string_view PlaceRouteName(PlaceRoute route) {
    for (const RouteNames& r : kRouteNames)
        if (r.route == route)
            return r.name;
    return {};
}

std::optional<PlaceRoute> PlaceRouteFromName(std::string_view name) {
    const std::string key = PlaceKey(name);
    const std::vector<std::vector<std::string>>& all = AllRouteKeys();
    for (std::size_t r = 0; r < all.size(); ++r)
        if (std::find(all[r].begin(), all[r].end(), key) != all[r].end())
            return kRouteNames[r].route;
    return std::nullopt;
}

std::string RouteStopText(const RouteStop& stop) {
    return std::string(PlaceRouteName(stop.route)) + std::to_string(stop.number);
}

Place PlaceRecord::ToPlace() const {
    Place p;
    p.name = name;
    SplitArcMinutes(latArcMinutes, p.latDeg, p.latMin);
    SplitArcMinutes(lonArcMinutes, p.lonDeg, p.lonMin);
    p.timeDiff = kHistoricalTimeDifference;
    return p;
}

bool PlaceFilter::Accepts(const PlaceRecord& place) const {
    if (kind && place.kind != *kind)
        return false;
    if (origin && place.origin != *origin)
        return false;
    if (route && std::none_of(place.stops.begin(), place.stops.end(),
                              [this](const RouteStop& s) { return s.route == *route; }))
        return false;
    return true;
}

std::vector<PlaceRecord> ReadPlaceRows(std::string_view text, PlaceOrigin origin,
                                       std::vector<PlaceRowProblem>& problems) {
    std::vector<PlaceRecord> places;
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    std::optional<ColumnMap> map;
    int lineNumber = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (TrimTypedBlanks(line).empty() || line.starts_with('#'))
            continue;
        if (!map) {
            map = ReadHeader(line);
            if (map->at[kName] < 0 || map->at[kLatitude] < 0 || map->at[kLongitude] < 0) {
                problems.push_back({lineNumber, LineText(lineNumber) +
                                                    "見出しの行に name, latitude, longitude の列が"
                                                    "ありません（TAB 区切りの列名）"});
                return places;
            }
            continue;
        }
        if (std::optional<PlaceRecord> place = ReadRow(*map, line, lineNumber, origin, problems))
            places.push_back(std::move(*place));
    }
    return places;
}

const CPlaceBook& CPlaceBook::Historical() {
    static const CPlaceBook book{std::string()};
    return book;
}

CPlaceBook::CPlaceBook(std::string userText) : m_userText(std::move(userText)) {
    const ColumnMap map = ReadHeader(places_data::kHeader);
    m_places.reserve(places_data::kRowCount);
    for (std::size_t i = 0; i < places_data::kRowCount; ++i)
        if (std::optional<PlaceRecord> place =
                ReadRow(map, places_data::kRows[i], static_cast<int>(i) + 2, PlaceOrigin::kTable,
                        m_problems))
            m_places.push_back(std::move(*place));
    // The table's rows are checked when they are generated; a problem here
    // would be the reader's, and its rows are simply not there.
    m_problems.clear();
    std::vector<PlaceRecord> user = ReadPlaceRows(m_userText, PlaceOrigin::kUser, m_problems);
    m_places.insert(m_places.end(), std::make_move_iterator(user.begin()),
                    std::make_move_iterator(user.end()));
    Index();
}

CPlaceBook::CPlaceBook(CPlaceBook&&) noexcept = default;
CPlaceBook& CPlaceBook::operator=(CPlaceBook&&) noexcept = default;
CPlaceBook::~CPlaceBook() = default;

std::size_t CPlaceBook::UserPlaceCount() const {
    return static_cast<std::size_t>(
        std::count_if(m_places.begin(), m_places.end(),
                      [](const PlaceRecord& p) { return p.origin == PlaceOrigin::kUser; }));
}

void CPlaceBook::Index() {
    m_keys.clear();
    m_keyText.clear();
    m_texts.assign(m_places.size(), {});
    // kPlain first: the Latin name's.
    constexpr RomajiStyle kKeyStyles[] = {RomajiStyle::kPlain, RomajiStyle::kKana};
    for (std::size_t i = 0; i < m_places.size(); ++i) {
        PlaceRecord& p = m_places[i];
        // The reading is kana only (as the row was read), so in hiragana it
        // is its own key, and so are its romaji without the hyphen: only the
        // names go through PlaceKey.
        const std::string hiragana = HiraganaOf(p.reading);
        const SuffixSplit split = SplitSuffix(p.name, hiragana);
        const std::string_view baseReading =
            std::string_view(hiragana).substr(0, hiragana.size() - split.readingLength);
        const std::string_view suffixReading =
            std::string_view(hiragana).substr(hiragana.size() - split.readingLength);
        std::string baseRomaji[std::size(kKeyStyles)];
        if (!p.reading.empty()) {
            for (std::size_t k = 0; k < std::size(kKeyStyles); ++k)
                baseRomaji[k] = RomajiOf(baseReading, kKeyStyles[k]);
            const std::string suffixPlain = SuffixRomaji(suffixReading, RomajiStyle::kPlain);
            const std::string suffixHepburn = SuffixRomaji(suffixReading, RomajiStyle::kHepburn);
            p.romaji = RomajiOf(baseReading, RomajiStyle::kHepburn);
            p.latinName = baseRomaji[0];
            if (!suffixReading.empty()) {
                (p.romaji += '-') += suffixHepburn;
                (p.latinName += '-') += suffixPlain;
            }
        }

        // Whole keys: the name, the reading and its romaji, with each
        // reading of the suffix; short ones without the suffix.
        std::vector<std::string> whole, shortened;
        AddUnique(whole, PlaceKey(p.name));
        if (!p.reading.empty()) {
            const auto addReading = [&](std::string_view suffix) {
                AddUnique(whole, std::string(baseReading) + std::string(suffix));
                for (std::size_t k = 0; k < std::size(kKeyStyles); ++k)
                    AddUnique(whole, baseRomaji[k] + SuffixRomaji(suffix, kKeyStyles[k]));
            };
            addReading(suffixReading);
            if (split.suffix) {
                for (std::string_view other : split.suffix->readings)
                    if (!other.empty() && other != suffixReading)
                        addReading(other);
                AddUnique(shortened, std::string(baseReading));
                for (std::string& romaji : baseRomaji)
                    AddUnique(shortened, std::move(romaji));
            }
        }
        if (split.suffix)
            AddUnique(shortened, PlaceKey(p.name.substr(0, p.name.size() - split.nameLength)));
        const auto add = [this, i](std::string_view text, std::uint8_t rank) {
            m_keys.push_back({static_cast<std::uint32_t>(m_keyText.size()),
                              static_cast<std::uint32_t>(text.size()),
                              static_cast<std::uint32_t>(i), rank});
            m_keyText += text;
        };
        for (const std::string& k : whole)
            add(k, 0);
        for (const std::string& k : shortened)
            if (std::find(whole.begin(), whole.end(), k) == whole.end())
                add(k, 1);

        // A list searches the whole keys and the stops in every route name.
        std::vector<std::string>& texts = m_texts[i];
        texts = std::move(whole);
        for (const RouteStop& stop : p.stops)
            for (std::size_t r = 0; r < std::size(kRouteNames); ++r)
                if (kRouteNames[r].route == stop.route)
                    for (const std::string& routeKey : AllRouteKeys()[r])
                        AddUnique(texts, routeKey + std::to_string(stop.number));
    }
    std::sort(m_keys.begin(), m_keys.end(), [this](const Key& a, const Key& b) {
        const std::string_view at = KeyText(a), bt = KeyText(b);
        return at != bt ? at < bt : a.place < b.place;
    });
}

std::vector<const PlaceRecord*> CPlaceBook::AtStop(const RouteStop& stop) const {
    std::vector<const PlaceRecord*> found;
    for (PlaceOrigin origin : {PlaceOrigin::kUser, PlaceOrigin::kTable}) {
        for (const PlaceRecord& p : m_places)
            if (p.origin == origin &&
                std::find(p.stops.begin(), p.stops.end(), stop) != p.stops.end())
                found.push_back(&p);
        if (!found.empty())
            break;
    }
    return found;
}

std::vector<const PlaceRecord*> CPlaceBook::Lookup(std::string_view key) const {
    const auto [first, last] =
        std::equal_range(m_keys.begin(), m_keys.end(), key, [this](const auto& a, const auto& b) {
            if constexpr (std::is_same_v<std::decay_t<decltype(a)>, Key>)
                return KeyText(a) < std::string_view(b);
            else
                return std::string_view(a) < KeyText(b);
        });
    // The best rank, the user's places before the table's.
    const auto order = [this](const Key& k) {
        return k.rank * 2 + (m_places[k.place].origin == PlaceOrigin::kUser ? 0 : 1);
    };
    int best = 4;
    for (auto k = first; k != last; ++k)
        best = std::min(best, order(*k));
    std::vector<const PlaceRecord*> found;
    for (auto k = first; k != last; ++k)
        if (order(*k) == best && (found.empty() || found.back() != &m_places[k->place]))
            found.push_back(&m_places[k->place]);
    return found;
}

std::vector<const PlaceRecord*> CPlaceBook::Find(std::string_view query) const {
    const std::string key = PlaceKey(query);
    if (key.empty())
        return {};
    if (const std::optional<RouteStop> stop = ReadRouteKey(key))
        return AtStop(*stop);
    if (std::vector<const PlaceRecord*> found = Lookup(key); !found.empty())
        return found;
    // A suffix the table does not write: 彦根城下 is the city 彦根, whose
    // castle town it is; hikone-joka and ひこねじょうか likewise.
    for (const std::string& suffix : SuffixKeys())
        if (key.size() > suffix.size() && key.ends_with(suffix))
            if (std::vector<const PlaceRecord*> found =
                    Lookup(std::string_view(key).substr(0, key.size() - suffix.size()));
                !found.empty())
                return found;
    return {};
}

std::vector<const PlaceRecord*> CPlaceBook::Search(std::string_view query,
                                                   const PlaceFilter& filter) const {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < m_places.size(); ++i)
        if (filter.Accepts(m_places[i]))
            order.push_back(i);
    if (filter.route) {
        const auto number = [this, &filter](std::size_t i) {
            for (const RouteStop& s : m_places[i].stops)
                if (s.route == *filter.route)
                    return s.number;
            return 0;
        };
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return number(a) < number(b); });
    }
    const std::string key = PlaceKey(query);
    std::vector<const PlaceRecord*> found;
    if (key.empty()) {
        for (std::size_t i : order)
            found.push_back(&m_places[i]);
        return found;
    }
    // Whole, start, inside: three runs in the list's order.
    std::vector<const PlaceRecord*> runs[3];
    for (std::size_t i : order) {
        int level = 3;
        for (const std::string& text : m_texts[i]) {
            if (text == key)
                level = 0;
            else if (text.starts_with(key))
                level = std::min(level, 1);
            else if (text.find(key) != std::string::npos)
                level = std::min(level, 2);
            if (level == 0)
                break;
        }
        if (level < 3)
            runs[level].push_back(&m_places[i]);
    }
    for (const auto& run : runs)
        found.insert(found.end(), run.begin(), run.end());
    return found;
}

std::vector<std::string> CPlaceBook::Suggest(std::string_view query, std::size_t count) const {
    const std::string key = PlaceKey(query);
    std::vector<std::string> names;
    if (key.empty() || count == 0)
        return names;
    if (const std::optional<RouteStop> stop = ReadRouteKey(key)) {
        // The stations of that route nearest to the number, nearest first.
        std::vector<std::pair<int, std::string>> near;
        for (const PlaceRecord& p : m_places)
            for (const RouteStop& s : p.stops)
                if (s.route == stop->route)
                    near.push_back({std::abs(s.number - stop->number),
                                    RouteStopText(s) + " " + std::string(p.name)});
        std::stable_sort(near.begin(), near.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (std::size_t i = 0; i < near.size() && names.size() < std::min<std::size_t>(count, 2);
             ++i)
            names.push_back(near[i].second);
        return names;
    }
    const std::u32string typed = CodePoints(key);
    const std::size_t limit = std::max<std::size_t>(1, typed.size() / 4);
    // (distance, order, name) of every name within the limit.
    std::vector<std::pair<std::size_t, std::string>> near;
    const auto consider = [&](std::string_view candidate, std::string_view name) {
        const std::size_t d = Distance(typed, CodePoints(candidate), limit);
        if (d <= limit)
            near.push_back({d, std::string(name)});
    };
    for (std::size_t i = 0; i < kPresetPlaceCount; ++i) {
        const std::string_view entry = kPresetPlaces[i];
        const std::string_view name = entry.substr(0, entry.find('\t'));
        consider(PlaceKey(name), name);
        consider(PlaceKey(kPresetLatinNames[i]), name);
    }
    for (const Key& k : m_keys)
        consider(KeyText(k), m_places[k.place].name);
    std::stable_sort(near.begin(), near.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [distance, name] : near) {
        if (names.size() == count)
            break;
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    }
    return names;
}

std::string PlaceLabel(const PlaceRecord& place) {
    std::string parts;
    for (const RouteStop& stop : place.stops) {
        if (!parts.empty())
            parts += "・";
        parts += RouteStopText(stop);
    }
    if (parts.empty())
        parts = PlaceKindName(place.kind);
    const auto add = [&parts](std::string_view part) {
        if (!parts.empty())
            parts += "、";
        parts += part;
    };
    if (place.origin == PlaceOrigin::kUser)
        add("自分の場所 " + std::to_string(place.line) + " 行目");
    else if (!place.municipality.empty())
        add(place.municipality);
    return std::string(place.name) + "（" + parts + "）";
}

PlaceProvenance ProvenanceOf(const PlaceRecord& place) {
    PlaceProvenance p;
    const std::string decimals = std::string(place.latitude) + ", " + std::string(place.longitude);
    if (place.origin == PlaceOrigin::kUser) {
        p.source = "自分の場所（places.tsv " + std::to_string(place.line) + " 行目）";
        if (!place.sourceDataset.empty() || !place.sourceName.empty())
            p.source +=
                " " + std::string(place.sourceDataset) +
                (place.sourceName.empty() ? "" : "「" + std::string(place.sourceName) + "」");
        p.source += " " + decimals;
        p.note = place.note;
        return p;
    }
    const std::string_view dataset =
        place.sourceDataset == "nrct-poi"
            ? "『日本歴史地名大系』施設・地点項目データセット(CODH作成)"
            : "『日本歴史地名大系』地名項目データセット(CODH作成)";
    p.source = std::string(dataset) + "「" + std::string(place.sourceName) + "」 " + decimals;
    // What the point stands for, from the table's note: a proxy is another
    // point of the place (the village or town a station was part of), a
    // doubtful one may lie off by some kilometres.
    const std::string_view note = place.note;
    if (note.find("proxy") != std::string_view::npos) {
        const std::string name = std::string(place.sourceName);
        if (place.kind == PlaceKind::kStation)
            p.note = place.sourceName.ends_with("村") ? "宿場の位置は村の代表点（" + name + "）"
                     : place.sourceName.ends_with("町") ? "宿場の位置は町の代表点（" + name + "）"
                                                        : "宿場の位置は近くの地点（" + name + "）";
        else
            p.note = "位置は代わりの地点（" + name + "）";
    }
    if (note.find("doubtful") != std::string_view::npos) {
        if (!p.note.empty())
            p.note += "、";
        p.note += "位置は不確か";
    }
    return p;
}

std::string FitPlaceName(std::string_view name) {
    const auto fits = [](std::string_view text) {
        return ToCp932(text).size() <= static_cast<std::size_t>(kPlaceNameMaxBytes);
    };
    if (fits(name))
        return std::string(name);
    // Whole characters only: a byte that is not UTF-8 counts as one.
    std::size_t end = 0;
    for (std::size_t pos = 0; pos < name.size();) {
        pos += DecodeUtf8(name, pos).length;
        if (!fits(name.substr(0, pos)))
            break;
        end = pos;
    }
    return std::string(name.substr(0, end));
}

std::vector<PlaceMatch> SearchPlaces(const CPlaceBook& book, std::string_view query,
                                     const PlaceFilter& filter) {
    std::vector<PlaceMatch> matches;
    for (const PlaceRecord* p : book.Search(query, filter))
        matches.push_back({std::string(p->name), FitPlaceName(p->name), std::string(p->reading),
                           p->romaji, p->latinName, PlaceKindName(p->kind), p->stops, p->ToPlace(),
                           ProvenanceOf(*p), p->origin});
    return matches;
}

const std::vector<PlaceChoice>& PlaceChoices() {
    static const std::vector<PlaceChoice> choices = [] {
        std::vector<PlaceChoice> list{{"すべて", {}}};
        for (PlaceKind kind : kPlaceKinds) {
            if (kind == PlaceKind::kStation) {
                list.push_back({"宿場（東海道）", {kind, PlaceRoute::kTokaido, {}}});
                list.push_back({"宿場（中山道）", {kind, PlaceRoute::kNakasendo, {}}});
                continue;
            }
            list.push_back({PlaceKindName(kind), {kind, {}, {}}});
        }
        list.push_back({"自分の場所", {{}, {}, PlaceOrigin::kUser}});
        return list;
    }();
    return choices;
}

std::string PlaceWhere(const PlaceRecord& place) {
    std::string stops;
    for (const RouteStop& stop : place.stops)
        stops += (stops.empty() ? "" : " ") + RouteStopText(stop);
    if (stops.empty())
        stops = PlaceKindName(place.kind);
    if (place.origin == PlaceOrigin::kUser)
        stops += stops.empty() ? "自分の場所" : "・自分";
    return stops;
}

std::string PlaceListAngle(int arcMinutes, int degreeDigits) {
    const int whole = arcMinutes < 0 ? -arcMinutes : arcMinutes;
    std::string degrees = std::to_string(whole / 60);
    if (degrees.size() < static_cast<std::size_t>(degreeDigits))
        degrees.insert(0, static_cast<std::size_t>(degreeDigits) - degrees.size(), '0');
    const int minutes = whole % 60;
    return (arcMinutes < 0 ? "-" : "+") + degrees + ":" + (minutes < 10 ? "0" : "") +
           std::to_string(minutes);
}

namespace {

// "35度37分" as the boxes will hold it.
std::string BoxAngle(int arcMinutes) {
    int degrees = 0, minutes = 0;
    SplitArcMinutes(arcMinutes, degrees, minutes);
    return (arcMinutes < 0 ? "-" : "") + std::to_string(degrees < 0 ? -degrees : degrees) + "度" +
           std::to_string(minutes < 0 ? -minutes : minutes) + "分";
}

} // namespace

std::string PlaceDetail(const PlaceRecord& place) {
    std::string text(place.name);
    if (!place.reading.empty())
        text += "（" + std::string(place.reading) + "、" + place.romaji + "）";
    text += "  " + PlaceWhere(place) + "  緯度 " + BoxAngle(place.latArcMinutes) + "  経度 " +
            BoxAngle(place.lonArcMinutes) + "  時差 " + std::to_string(kHistoricalTimeDifference);
    const PlaceProvenance provenance = ProvenanceOf(place);
    text += "\n出典: " + provenance.source;
    if (!provenance.note.empty())
        text += "\n地点: " + provenance.note;
    if (const std::string fitted = FitPlaceName(place.name); fitted != place.name)
        text += "\n名前の欄には「" + fitted + "」と入ります（全角 " +
                std::to_string(kPlaceNameMaxBytes / 2) + " 文字まで）";
    return text;
}

const std::string_view kHistoricalPlaceCredits =
    "「『日本歴史地名大系』施設・地点項目データセット(CODH作成)」 doi:10.20676/00000456, CC BY "
    "4.0\n"
    "「『日本歴史地名大系』地名項目データセット(CODH作成)」 doi:10.20676/00000448, CC BY 4.0\n"
    "Historical places table, selected and arranged by this project's contributors from the two "
    "CODH datasets above, CC BY 4.0\n";

} // namespace tolmeri
