#include "core/place.h"

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

bool ReadDecimalDegrees(std::string_view text, int& arcMinutes) {
    int sign = 1;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        sign = text[0] == '-' ? -1 : 1;
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    const auto digits = [](std::string_view part) {
        for (char c : part)
            if (c < '0' || c > '9')
                return false;
        return true;
    };
    if (whole.empty() || whole.size() > 3 || !digits(whole) ||
        (point != std::string_view::npos && (fraction.empty() || fraction.size() > 15)) ||
        !digits(fraction))
        return false;
    long long degrees = 0, value = 0, scale = 1;
    for (char c : whole)
        degrees = degrees * 10 + (c - '0');
    for (char c : fraction) {
        value = value * 10 + (c - '0');
        scale *= 10;
    }
    // value / scale of a degree in minutes, rounded half up: (60 v + s/2) / s.
    const long long minutes = (value * 120 + scale) / (2 * scale);
    arcMinutes = static_cast<int>(sign * (degrees * 60 + minutes));
    return true;
}

} // namespace tolmeri
