// web: the page's link as text. A link's query holds the place, the date,
// the choices of the reckoning, the fields the page answers as typed and
// the open view, each as key=value with the key tolmeri-hours' own option
// (place, date, dawn, time, at...), so a cited link reads as the command
// that gives the same numbers. This is the query's grammar alone: escapes,
// separators, a bound on what is read; CPageDialog gives the keys their
// meaning. Standard library and core only.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tolmeri {

struct LinkParameter {
    std::string key;
    std::string value;
    bool operator==(const LinkParameter&) const = default;
};

// At most this many parameters are read from a query, and a value is at
// most this many bytes: a link is a few short values, and anything longer
// is no link of the page's.
inline constexpr std::size_t kLinkMostParameters = 32;
inline constexpr std::size_t kLinkValueMostBytes = 256;

// The query's parameters in order: a leading '?' dropped, split at '&',
// each at its first '=' (none: an empty value), "+" read as a space and
// "%XX" as the byte it names (a '%' without two hexadecimal digits stays as
// it is). The bytes are not checked here.
std::vector<LinkParameter> DecodeLinkQuery(std::string_view query);

// "?key=value&..." (empty for no parameters): every byte but ASCII letters,
// digits and "-._~:" as %XX, so the link survives mail, chat and citations.
std::string EncodeLinkQuery(const std::vector<LinkParameter>& parameters);

} // namespace tolmeri
