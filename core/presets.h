// core: the preset places of the location list. Each entry is one text line
// of four TAB-separated fields, name, latitude, longitude and time
// difference ("横浜\t+35:27\t+139:39\t+09"), in UTF-8. After the first TAB an
// entry is plain ASCII at fixed positions, so it is taken apart by byte
// position the same way whatever encoding its name is in.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "core/civil_date.h"
#include "core/place.h"

namespace tolmeri {

inline constexpr std::size_t kPresetPlaceCount = 53;

// The presets in the order the list shows them: 48 places in Japan from
// north-east to south-west, then five abroad.
extern const std::array<std::string_view, kPresetPlaceCount> kPresetPlaces;

// The name of each preset in Latin letters, in the same order: the
// Japanese places in lower-case romaji without length marks ("tokyo",
// "kochi"), the places abroad as the list writes them ("New York"). Each is
// unique without regard to case; tolmeri-hours accepts them for --place.
extern const std::array<std::string_view, kPresetPlaceCount> kPresetLatinNames;

// Takes an entry apart by byte position after its first TAB: latitude
// degrees at 0 (3 bytes), minutes at 4 (2), longitude degrees at 7 (4),
// minutes at 12 (2), and the time difference in the last 3 bytes. Each piece
// is read as the C library reads a decimal number (blanks, a sign, digits up
// to the first non-digit; no digits give 0). Pieces that reach past the end
// are cut short, and ones that start past it are empty; an entry without a
// TAB has an empty name and its whole text as the numeric part.
Place ParseLocationEntry(std::string_view entry);

// The preset whose name is exactly name, or null.
const std::string_view* FindPreset(std::string_view name);

// The place and the date of a first start: 横浜 on 2000-01-01.
Place DefaultPlace();
inline constexpr CivilDate kDefaultDate{2000, 1, 1};

} // namespace tolmeri
