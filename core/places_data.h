// core: the historical places' table as data/gen_places.py copies it from
// data/places/places.tsv into places_data.cpp: the header row and each row
// as the file writes them (TAB-separated, UTF-8). Only core/places.cpp reads
// them, with the reader of the user's own places.
#pragma once

#include <cstddef>
#include <string_view>

namespace tolmeri::places_data {

inline constexpr std::size_t kRowCount = 370;

extern const std::string_view kHeader;
extern const std::string_view kRows[kRowCount];

} // namespace tolmeri::places_data
