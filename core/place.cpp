#include "core/place.h"

#include <algorithm>
#include <cstdlib>

namespace tolmeri {

double DegreesAndMinutes(int degrees, int minutes) {
    const double whole = static_cast<double>(degrees);
    return degrees < 0 ? whole - minutes / 60.0 : whole + minutes / 60.0;
}

int ArcMinutes(int degrees, int minutes) {
    return degrees < 0 ? degrees * 60 - minutes : degrees * 60 + minutes;
}

void SplitArcMinutes(int arcMinutes, int& degrees, int& minutes) {
    degrees = arcMinutes / 60;
    minutes = std::abs(arcMinutes) % 60;
    if (degrees == 0 && arcMinutes < 0)
        minutes = -minutes;
}

bool ReadDegreeFraction(std::string_view digits, long long& minutes) {
    if (digits.empty() || digits.size() > 15)
        return false;
    long long value = 0, scale = 1;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
        scale *= 10;
    }
    // value / scale of a degree in minutes, rounded half up: (60 v + s/2) / s.
    minutes = (value * 120 + scale) / (2 * scale);
    return true;
}

bool ReadDecimalDegrees(std::string_view text, int& arcMinutes) {
    int sign = 1;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        sign = text[0] == '-' ? -1 : 1;
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    if (whole.empty() || whole.size() > 3 ||
        !std::all_of(whole.begin(), whole.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    long long degrees = 0, minutes = 0;
    for (char c : whole)
        degrees = degrees * 10 + (c - '0');
    if (point != std::string_view::npos && !ReadDegreeFraction(text.substr(point + 1), minutes))
        return false;
    arcMinutes = static_cast<int>(sign * (degrees * 60 + minutes));
    return true;
}

} // namespace tolmeri
