// core: the historical places a reader of old texts meets (江戸, 大坂, the
// stations of the 東海道 and 中山道, castle towns, 国府, 関所, the offices of
// the shogunate, ports), from the table generated into places_data.cpp, and
// the user's own places in the same columns. A place is found by its name, its
// reading in kana, its romaji or its route and station number; lists search
// them as the user types. Text in, values out: reading the user's file is the
// front ends' (settings/). Standard library only.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/place.h"

namespace tolmeri {

// The kinds of the table, in its order.
enum class PlaceKind {
    kCity,              // 都市
    kStation,           // 宿場
    kCastleTown,        // 城下
    kProvincialCapital, // 国府
    kBarrier,           // 関所
    kOffice,            // 奉行所 (also 代官所, 陣屋 of the shogunate)
    kPort,              // 港
    kNone,              // a place of the user's without a kind
};
inline constexpr std::array<PlaceKind, 7> kPlaceKinds = {
    PlaceKind::kCity,    PlaceKind::kStation, PlaceKind::kCastleTown, PlaceKind::kProvincialCapital,
    PlaceKind::kBarrier, PlaceKind::kOffice,  PlaceKind::kPort};
// "宿場"; empty for kNone.
std::string_view PlaceKindName(PlaceKind kind);
// The kind a name ("宿場") stands for.
std::optional<PlaceKind> PlaceKindFromName(std::string_view name);

enum class PlaceRoute { kTokaido, kNakasendo };
inline constexpr std::array<PlaceRoute, 2> kPlaceRoutes = {PlaceRoute::kTokaido,
                                                           PlaceRoute::kNakasendo};
// "東海道", "中山道".
std::string_view PlaceRouteName(PlaceRoute route);
// A route by its name, its reading or its romaji (東海道, とうかいどう,
// tokaido, Tōkaidō; 中山道 also as 中仙道).
std::optional<PlaceRoute> PlaceRouteFromName(std::string_view name);

// A station's place on a route: 日本橋 is 0 on both, 品川宿 1 on the 東海道.
struct RouteStop {
    PlaceRoute route = PlaceRoute::kTokaido;
    int number = 0;
    bool operator==(const RouteStop&) const = default;
};
// "東海道1".
std::string RouteStopText(const RouteStop& stop);

enum class PlaceOrigin { kTable, kUser };

// All historical places keep Japan's standard time.
inline constexpr int kHistoricalTimeDifference = 9;

// One place as its row gives it. The texts point into the row's text (the
// generated table, or the user's file the book keeps).
struct PlaceRecord {
    std::string_view name;    // as a historian writes it: 江戸, 品川宿, 彦根城下
    std::string_view reading; // in hiragana; may be empty in the user's rows
    PlaceKind kind = PlaceKind::kNone;
    std::vector<RouteStop> stops; // a station's routes, in the row's order
    // The coordinates as the source gives them, in decimal degrees, and the
    // same to the nearest minute of arc, as the program's places hold them.
    std::string_view latitude, longitude;
    int latArcMinutes = 0, lonArcMinutes = 0;
    // Where the point comes from: the dataset (nrct-poi, nrct), the row's id
    // and name there; the present-day municipality; what the point is.
    std::string_view sourceDataset, sourceId, sourceName, municipality, note;
    PlaceOrigin origin = PlaceOrigin::kTable;
    int line = 0; // the row's line in its text, the header's being 1
    // The reading in romaji, made from it by rule, with a hyphen before a
    // suffix such as 宿 or 城下: "shinagawa-shuku", "ōsaka", "hikone-jōka";
    // and as a Latin name, without length marks or apostrophes
    // ("shinagawa-shuku", "osaka"). Empty without a reading.
    std::string romaji, latinName;

    // The place with its name, its minutes of arc and the time difference 9.
    Place ToPlace() const;
};

// A line of text that could not be read, and why (one line in Japanese).
struct PlaceRowProblem {
    int line = 0; // 1 for the header
    std::string message;
};

// What a list shows: everything, or one kind, one route (in its order), or
// one origin.
struct PlaceFilter {
    std::optional<PlaceKind> kind;
    std::optional<PlaceRoute> route;
    std::optional<PlaceOrigin> origin;
    bool Accepts(const PlaceRecord& place) const;
};

// The historical places, with the user's own after them, and their keys.
class CPlaceBook {
public:
    // The table alone, made at the first call.
    static const CPlaceBook& Historical();

    // The table and the places of userText, the text of a file in the
    // table's columns: a header row naming them (name, latitude and longitude
    // at least; unknown ones are ignored), then a place a line, TAB-separated,
    // in UTF-8. Blank lines and lines starting with # are skipped. A row that
    // cannot be read is left out and named in Problems(); a header without the
    // columns it needs leaves out the whole text, with one problem.
    explicit CPlaceBook(std::string userText);
    CPlaceBook(CPlaceBook&&) noexcept;
    CPlaceBook& operator=(CPlaceBook&&) noexcept;
    ~CPlaceBook();

    // The table's places in its order, then the user's in theirs.
    const std::vector<PlaceRecord>& Places() const { return m_places; }
    const std::vector<PlaceRowProblem>& Problems() const { return m_problems; }
    std::size_t UserPlaceCount() const;

    // The places a query names exactly: by name, reading (hiragana or
    // katakana), romaji (with or without length marks, hyphens and
    // apostrophes; 宿 as -shuku or -juku), route and number ("東海道1",
    // "中山道 28", "tokaido1"), and, below those, by the name or reading
    // without its suffix (品川 for 品川宿, where no whole name is 品川), and
    // last with a suffix the table does not write (彦根城下 is the city
    // 彦根). The user's places come before the table's at the same rank. One place, or
    // the candidates of an ambiguous query (赤坂宿 of 三河 and 美濃), or none.
    std::vector<const PlaceRecord*> Find(std::string_view query) const;

    // The places filter lets through whose name, reading, romaji or route
    // and number hold query: whole keys first, then those that start with
    // it, then the rest, each in the list's order (a route's in the route's
    // order). An empty query gives them all in that order.
    std::vector<const PlaceRecord*> Search(std::string_view query,
                                           const PlaceFilter& filter = {}) const;

    // For a query Find has no place for: up to count names of places and
    // presets a few letters from it ("江都" gives 江戸), nearest first; for a
    // route and number without a station, that route's nearest stations
    // ("中山道31 洗馬宿"). Empty when nothing is near.
    std::vector<std::string> Suggest(std::string_view query, std::size_t count = 5) const;

private:
    // A key's text is a piece of m_keyText, so that sorting moves no text.
    struct Key {
        std::uint32_t offset, length;
        std::uint32_t place;
        std::uint8_t rank; // 0 a whole key, 1 without the suffix
    };
    std::string_view KeyText(const Key& key) const {
        return std::string_view(m_keyText).substr(key.offset, key.length);
    }

    void Index();
    // The places of the best rank a key names.
    std::vector<const PlaceRecord*> Lookup(std::string_view key) const;
    // The places with stop, the user's first if any.
    std::vector<const PlaceRecord*> AtStop(const RouteStop& stop) const;

    std::string m_userText;
    std::vector<PlaceRecord> m_places;
    std::vector<PlaceRowProblem> m_problems;
    std::string m_keyText;
    std::vector<Key> m_keys;                       // sorted by their text
    std::vector<std::vector<std::string>> m_texts; // each place's search texts
};

// The places of text (a header row, then a place a line) with origin, and
// the problems of the rows left out; the records point into text.
std::vector<PlaceRecord> ReadPlaceRows(std::string_view text, PlaceOrigin origin,
                                       std::vector<PlaceRowProblem>& problems);

// "赤坂宿（東海道36、愛知県豊川市）", "箱根関所（関所、神奈川県足柄下郡箱根町）",
// "茶屋（自分の場所 3 行目）": a place told apart from its namesakes.
std::string PlaceLabel(const PlaceRecord& place);

// Where a place's point comes from, in Japanese, for the list and the
// tool's output: the dataset with the source row's name and the decimal
// degrees ("『日本歴史地名大系』地名項目データセット(CODH作成)「北品川宿」
// 35.622020, 139.740150"), and what the point stands for where it is not the
// place itself ("宿場の位置は村の代表点（下板橋村）", "位置は不確か"), else
// empty. A place of the user's names their file's line and their note.
struct PlaceProvenance {
    std::string source;
    std::string note;
};
PlaceProvenance ProvenanceOf(const PlaceRecord& place);

// name as the main window's name box takes it: the whole name when its CP932
// bytes fit kPlaceNameMaxBytes, else as many of its first characters as fit
// (大坂西町奉行所 becomes 大坂西町奉行).
std::string FitPlaceName(std::string_view name);

// A match of a search as a front end shows it, every value its own: the
// name (and the same fitted to the name box), reading and romaji, the kind's
// name, the stations, the place in degrees and minutes with the time
// difference 9, and the provenance.
struct PlaceMatch {
    std::string name, boxName, reading, romaji, latinName;
    std::string_view kind; // "宿場"; empty for a place of the user's without one
    std::vector<RouteStop> stops;
    Place place;
    PlaceProvenance provenance;
    PlaceOrigin origin = PlaceOrigin::kTable;
};

// What a list's kind box offers, in its order: everything, then each kind,
// the stations by route, and the user's own places.
struct PlaceChoice {
    std::string_view label; // "すべて", "宿場（東海道）", "自分の場所"
    PlaceFilter filter;
};
const std::vector<PlaceChoice>& PlaceChoices();

// A list's row, column by column: "東海道1 中山道0" for a station, the kind
// for anything else, with 自分の場所 (or ・自分) for the user's own; an angle
// as the preset list writes it, "+35:37", "+139:44" (degreeDigits 2 or 3).
std::string PlaceWhere(const PlaceRecord& place);
std::string PlaceListAngle(int arcMinutes, int degreeDigits);

// The chosen place as a list describes it: "品川宿（しながわしゅく、
// shinagawa-shuku）  東海道1  緯度 35度37分  経度 139度44分  時差 9", then
// "出典: …", "地点: …" where the point stands for something else, and the
// name the name box takes where the whole name does not fit it.
std::string PlaceDetail(const PlaceRecord& place);

// The one search of every list: query (a name, reading, romaji, or route and
// number, as typed; empty for all) among the places of book that filter lets
// through, ranked as CPlaceBook::Search ranks them.
std::vector<PlaceMatch> SearchPlaces(const CPlaceBook& book, std::string_view query,
                                     const PlaceFilter& filter = {});

// The credit lines that travel with the table (CC BY 4.0), one a line.
extern const std::string_view kHistoricalPlaceCredits;

} // namespace tolmeri
