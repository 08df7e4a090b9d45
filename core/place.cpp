#include "core/place.h"

namespace tolmeri {

double DegreesAndMinutes(int degrees, int minutes) {
    const double whole = static_cast<double>(degrees);
    return degrees < 0 ? whole - minutes / 60.0 : whole + minutes / 60.0;
}

} // namespace tolmeri
