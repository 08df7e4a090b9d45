#include "core/presets.h"

#include <algorithm>
#include <cstdlib>

namespace tolmeri {

const std::array<std::string_view, kPresetPlaceCount> kPresetPlaces = {
    "根室\t+43:20\t+145:35\t+09",    "札幌\t+43:04\t+141:21\t+09",
    "青森\t+40:49\t+140:44\t+09",    "秋田\t+39:43\t+140:07\t+09",
    "盛岡\t+39:42\t+141:09\t+09",    "仙台\t+38:16\t+140:52\t+09",
    "山形\t+38:15\t+140:21\t+09",    "福島\t+37:45\t+140:28\t+09",
    "宇都宮\t+36:34\t+139:53\t+09",  "前橋\t+36:23\t+139:04\t+09",
    "水戸\t+36:22\t+140:29\t+09",    "浦和\t+35:51\t+139:39\t+09",
    "千葉\t+35:36\t+140:07\t+09",    "東京\t+35:39\t+139:45\t+09",
    "横浜\t+35:27\t+139:39\t+09",    "甲府\t+35:40\t+138:34\t+09",
    "新潟\t+37:55\t+139:02\t+09",    "静岡\t+34:58\t+138:23\t+09",
    "長野\t+36:39\t+138:11\t+09",    "富山\t+36:41\t+137:13\t+09",
    "名古屋\t+35:10\t+136:55\t+09",  "岐阜\t+35:25\t+136:46\t+09",
    "津\t+34:44\t+136:31\t+09",      "金沢\t+36:34\t+136:39\t+09",
    "福井\t+36:04\t+136:13\t+09",    "大津\t+35:00\t+135:52\t+09",
    "京都\t+35:01\t+135:45\t+09",    "奈良\t+34:41\t+135:50\t+09",
    "大阪\t+34:41\t+135:29\t+09",    "神戸\t+34:41\t+135:11\t+09",
    "和歌山\t+34:14\t+135:10\t+09",  "鳥取\t+35:30\t+134:14\t+09",
    "岡山\t+34:40\t+133:56\t+09",    "松江\t+35:28\t+133:03\t+09",
    "広島\t+34:23\t+132:27\t+09",    "山口\t+34:11\t+131:28\t+09",
    "徳島\t+34:04\t+134:33\t+09",    "高松\t+34:21\t+134:03\t+09",
    "高知\t+33:33\t+133:32\t+09",    "松山\t+33:50\t+132:46\t+09",
    "福岡\t+33:35\t+130:24\t+09",    "佐賀\t+33:15\t+130:18\t+09",
    "大分\t+33:14\t+131:37\t+09",    "宮崎\t+31:54\t+131:25\t+09",
    "熊本\t+32:48\t+130:43\t+09",    "長崎\t+32:45\t+129:52\t+09",
    "鹿児島\t+31:36\t+130:33\t+09",  "那覇\t+26:13\t+127:40\t+09",
    "Hamburg\t+53:38\t+010:00\t+01", "Wien\t+48:15\t+016:22\t+01",
    "Sydney\t-33:52\t+151:12\t+10",  "New York\t+40:46\t-073:52\t-05",
    "Lima\t-12:01\t-077:07\t-05",
};

const std::array<std::string_view, kPresetPlaceCount> kPresetLatinNames = {
    "nemuro",    "sapporo",    "aomori",    "akita",    "morioka",   "sendai",  "yamagata",
    "fukushima", "utsunomiya", "maebashi",  "mito",     "urawa",     "chiba",   "tokyo",
    "yokohama",  "kofu",       "niigata",   "shizuoka", "nagano",    "toyama",  "nagoya",
    "gifu",      "tsu",        "kanazawa",  "fukui",    "otsu",      "kyoto",   "nara",
    "osaka",     "kobe",       "wakayama",  "tottori",  "okayama",   "matsue",  "hiroshima",
    "yamaguchi", "tokushima",  "takamatsu", "kochi",    "matsuyama", "fukuoka", "saga",
    "oita",      "miyazaki",   "kumamoto",  "nagasaki", "kagoshima", "naha",    "Hamburg",
    "Wien",      "Sydney",     "New York",  "Lima",
};

namespace {

// substr that never throws: cut at the end, empty when it starts past it.
std::string_view Piece(std::string_view text, std::size_t pos, std::size_t count) {
    return pos > text.size() ? std::string_view() : text.substr(pos, count);
}

// The C library's decimal reading of a short piece. The pieces are at most
// four bytes, so the value always fits an int.
int DecimalValue(std::string_view piece) {
    const std::string terminated(piece);
    return static_cast<int>(std::strtol(terminated.c_str(), nullptr, 10));
}

} // namespace

Place ParseLocationEntry(std::string_view entry) {
    Place f;
    const std::size_t tab = entry.find('\t');
    std::string_view rest = entry;
    if (tab != std::string_view::npos) {
        f.name = std::string(entry.substr(0, tab));
        rest = entry.substr(tab + 1);
    }
    f.latDeg = DecimalValue(Piece(rest, 0, 3));
    f.latMin = DecimalValue(Piece(rest, 4, 2));
    f.lonDeg = DecimalValue(Piece(rest, 7, 4));
    f.lonMin = DecimalValue(Piece(rest, 12, 2));
    f.timeDiff = DecimalValue(rest.size() < 3 ? rest : rest.substr(rest.size() - 3));
    return f;
}

const std::string_view* FindPreset(std::string_view name) {
    const auto it =
        std::find_if(kPresetPlaces.begin(), kPresetPlaces.end(), [name](std::string_view entry) {
            return entry.substr(0, entry.find('\t')) == name;
        });
    return it == kPresetPlaces.end() ? nullptr : &*it;
}

Place DefaultPlace() {
    return ParseLocationEntry(*FindPreset("横浜"));
}

} // namespace tolmeri
