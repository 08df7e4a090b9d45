// core: the one value type of a place: a name, latitude and longitude in
// signed whole degrees and minutes of arc, and the time difference of its
// standard time. The main dialog's boxes, the settings file, the preset
// list and tolmeri-hours all hand places around as this. Standard library
// only.
#pragma once

#include <string>
#include <string_view>

namespace tolmeri {

// One angle in degrees from signed whole degrees and minutes of arc: the
// minutes take the sign of the degrees, so -33 and 52 give -33.8667°, the
// way "-33:52" is written for 33°52′ S. With 0 degrees the minutes carry
// their own sign: 0 and 30 give 0.5°, 0 and -30 give -0.5°. The window's
// boxes never hold negative minutes (they take 0 to 59); tolmeri-hours
// writes an angle between -1° and 0° that way.
double DegreesAndMinutes(int degrees, int minutes);

// The same angle in whole minutes of arc (-33 and 52 give -2032; 0 and -30
// give -30), and back: degrees toward zero, the minutes 0 to 59, negative
// only when the degrees are 0 and the angle is negative.
int ArcMinutes(int degrees, int minutes);
void SplitArcMinutes(int arcMinutes, int& degrees, int& minutes);

// The digits after the decimal point of degrees (1 to 15 of them) as the
// whole minutes of arc that fraction of a degree makes, rounded half up:
// exact integer arithmetic, so ".675" is 41′ and ".674999" 40′. False for
// anything else.
bool ReadDegreeFraction(std::string_view digits, long long& minutes);

// Decimal degrees as a table writes them ("35.688371", "-73.5", "139") in
// whole minutes of arc, to the nearest minute, half a minute away from zero:
// exact integer arithmetic, so "35.675" is 35°41′ and "35.674999" 35°40′.
// An optional sign, 1 to 3 digits, and optionally a point and 1 to 15
// digits; false for anything else.
bool ReadDecimalDegrees(std::string_view text, int& arcMinutes);

struct Place {
    // UTF-8 as the program shows it; only the settings file's own values
    // carry its CP932 bytes.
    std::string name;
    int latDeg = 0; // north positive
    int latMin = 0;
    int lonDeg = 0; // east positive
    int lonMin = 0;
    int timeDiff = 0; // hours of its standard time ahead of universal time

    bool operator==(const Place&) const = default;
};

} // namespace tolmeri
