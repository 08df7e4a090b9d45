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

} // namespace tolmeri
