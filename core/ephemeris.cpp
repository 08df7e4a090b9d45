#include "core/ephemeris.h"

#include <cmath>
#include <numbers>

#include "core/solar_terms.h"

namespace tolmeri {

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;
constexpr double kArcsec = kDeg / 3600.0;

double SinDeg(double degrees) {
    return std::sin(degrees * kDeg);
}

// VSOP87D, the Earth's heliocentric ecliptic longitude and radius of date:
// {amplitude in 1e-8 rad or au, phase, frequency per Julian millennium}.
struct VsopTerm {
    double a, b, c;
};

constexpr VsopTerm kL0[] = {
    {175347046, 0, 0},           {3341656, 4.6692568, 6283.07585},
    {34894, 4.6261, 12566.1517}, {3497, 2.7441, 5753.3849},
    {3418, 2.8289, 3.5231},      {3136, 3.6277, 77713.7715},
    {2676, 4.4181, 7860.4194},   {2343, 6.1352, 3930.2097},
    {1324, 0.7425, 11506.7698},  {1273, 2.0371, 529.691},
    {1199, 1.1096, 1577.3435},   {990, 5.233, 5884.927},
    {902, 2.045, 26.298},        {857, 3.508, 398.149},
    {780, 1.179, 5223.694},      {753, 2.533, 5507.553},
    {505, 4.583, 18849.228},     {492, 4.205, 775.523},
    {357, 2.92, 0.067},          {317, 5.849, 11790.629},
    {284, 1.899, 796.298},       {271, 0.315, 10977.079},
    {243, 0.345, 5486.778},      {206, 4.806, 2544.314},
    {205, 1.869, 5573.143},      {202, 2.458, 6069.777},
    {156, 0.833, 213.299},       {132, 3.411, 2942.463},
    {126, 1.083, 20.775},        {115, 0.645, 0.98},
    {103, 0.636, 4694.003},      {102, 0.976, 15720.839},
    {102, 4.267, 7.114},         {99, 6.21, 2146.17},
    {98, 0.68, 155.42},          {86, 5.98, 161000.69},
    {85, 1.3, 6275.96},          {85, 3.67, 71430.7},
    {80, 1.81, 17260.15},        {79, 3.04, 12036.46},
    {75, 1.76, 5088.63},         {74, 3.5, 3154.69},
    {74, 4.68, 801.82},          {70, 0.83, 9437.76},
    {62, 3.98, 8827.39},         {61, 1.82, 7084.9},
    {57, 2.78, 6286.6},          {56, 4.39, 14143.5},
    {56, 3.47, 6279.55},         {52, 0.19, 12139.55},
    {52, 1.33, 1748.02},         {51, 0.28, 5856.48},
    {49, 0.49, 1194.45},         {41, 5.37, 8429.24},
    {41, 2.4, 19651.05},         {39, 6.17, 10447.39},
    {37, 6.04, 10213.29},        {37, 2.57, 1059.38},
    {36, 1.71, 2352.87},         {36, 1.78, 6812.77},
    {33, 0.59, 17789.85},        {30, 0.44, 83996.85},
    {30, 2.74, 1349.87},         {25, 3.16, 4690.48},
};
constexpr VsopTerm kL1[] = {
    {628331966747.0, 0, 0},     {206059, 2.678235, 6283.07585},
    {4303, 2.6351, 12566.1517}, {425, 1.59, 3.523},
    {119, 5.796, 26.298},       {109, 2.966, 1577.344},
    {93, 2.59, 18849.23},       {72, 1.14, 529.69},
    {68, 1.87, 398.15},         {67, 4.41, 5507.55},
    {59, 2.89, 5223.69},        {56, 2.17, 155.42},
    {45, 0.4, 796.3},           {36, 0.47, 775.52},
    {29, 2.65, 7.11},           {21, 5.34, 0.98},
    {19, 1.85, 5486.78},        {19, 4.97, 213.3},
    {17, 2.99, 6275.96},        {16, 0.03, 2544.31},
    {16, 1.43, 2146.17},        {15, 1.21, 10977.08},
    {12, 2.83, 1748.02},        {12, 3.26, 5088.63},
    {12, 5.27, 1194.45},        {12, 2.08, 4694.0},
    {11, 0.77, 553.57},         {10, 1.3, 6286.6},
    {10, 4.24, 1349.87},        {9, 2.7, 242.73},
    {9, 5.64, 951.72},          {8, 5.3, 2352.87},
    {6, 2.65, 9437.76},         {6, 4.67, 4690.48},
};
constexpr VsopTerm kL2[] = {
    {52919, 0, 0},     {8720, 1.0721, 6283.0758}, {309, 0.867, 12566.152}, {27, 0.05, 3.52},
    {16, 5.19, 26.3},  {16, 3.68, 155.42},        {10, 0.76, 18849.23},    {9, 2.06, 77713.77},
    {7, 0.83, 775.52}, {5, 4.66, 1577.34},        {4, 1.03, 7.11},         {4, 3.44, 5573.14},
    {3, 5.14, 796.3},  {3, 6.05, 5507.55},        {3, 1.19, 242.73},       {3, 6.12, 529.69},
    {3, 0.31, 398.15}, {3, 2.28, 553.57},         {2, 4.38, 5223.69},      {2, 3.75, 0.98},
};
constexpr VsopTerm kL3[] = {
    {289, 5.844, 6283.076}, {35, 0, 0},         {17, 5.49, 12566.15}, {3, 5.2, 155.42},
    {1, 4.72, 3.52},        {1, 5.3, 18849.23}, {1, 5.97, 242.73},
};
constexpr VsopTerm kL4[] = {{114, 3.142, 0}, {8, 4.13, 6283.08}, {1, 3.84, 12566.15}};
constexpr VsopTerm kL5[] = {{1, 3.14, 0}};
// The radius to 1e-7 au, enough for the aberration and the Sun's radius.
constexpr VsopTerm kR0[] = {
    {100013989, 0, 0},
    {1670700, 3.0984635, 6283.07585},
    {13956, 3.05525, 12566.1517},
    {3084, 5.1985, 77713.7715},
    {1628, 1.1739, 5753.3849},
    {1576, 2.8469, 7860.4194},
    {925, 5.453, 11506.77},
    {542, 4.564, 3930.21},
    {472, 3.661, 5884.927},
};
constexpr VsopTerm kR1[] = {{103019, 1.10749, 6283.07585}, {1721, 1.0644, 12566.1517}};
constexpr VsopTerm kR2[] = {{4359, 5.7846, 6283.0758}};

template <std::size_t N> double Series(const VsopTerm (&terms)[N], double tau) {
    double sum = 0.0;
    for (const VsopTerm& t : terms)
        sum += t.a * std::cos(t.b + t.c * tau);
    return sum;
}

// Perturbations of the short series, {amplitude in degrees, phase at J2000,
// degrees per Julian year}.
struct Perturbation {
    double amplitude, phase, rate;
};
constexpr Perturbation kPerturbations[] = {
    {0.0020, 247.1, 329.64}, {0.0018, 297.8, 4452.67}, {0.0018, 251.3, 0.20},
    {0.0015, 343.2, 450.37}, {0.0013, 81.4, 225.18},   {0.0008, 132.5, 659.29},
    {0.0007, 153.3, 90.38},  {0.0007, 206.8, 30.35},   {0.0006, 29.8, 337.18},
    {0.0005, 207.4, 1.50},   {0.0005, 291.2, 22.81},   {0.0004, 234.9, 315.56},
    {0.0004, 157.3, 299.30}, {0.0003, 329.7, 44.43},
};

// Aberration of the Sun's light, 20.4898″ at 1 au.
double Aberration(double distance) {
    return -20.4898 / 3600.0 / distance;
}

} // namespace

double TerrestrialTime(double jdUT) {
    return jdUT + DeltaTSeconds(2000.0 + (jdUT - kJ2000) / 365.25) / 86400.0;
}

Nutation NutationAt(double jdTT) {
    const double t = (jdTT - kJ2000) / 36525.0;
    auto arg = [](double arcsec) { return std::fmod(arcsec, 1296000.0) * kArcsec; };
    const double lp = arg(1287104.79305 + t * 129596581.0481);
    const double f = arg(335779.526232 + t * 1739527262.8478);
    const double d = arg(1072260.70369 + t * 1602961601.2090);
    const double om = arg(450160.398036 - t * 6962890.5431);
    struct Row {
        double angle, ps, pst, pc, ec, ect, es;
    };
    const Row rows[] = {
        {om, -172064161.0, -174666.0, 33386.0, 92052331.0, 9086.0, 15377.0},
        {2.0 * (f - d + om), -13170906.0, -1675.0, -13696.0, 5730336.0, -3015.0, -4587.0},
        {2.0 * (f + om), -2276413.0, -234.0, 2796.0, 978459.0, -485.0, 1374.0},
        {2.0 * om, 2074554.0, 207.0, -698.0, -897492.0, 470.0, -291.0},
        {lp, 1475877.0, -3633.0, 11817.0, 73871.0, -184.0, -1924.0},
    };
    double dp = 0.0, de = 0.0;
    for (const Row& r : rows) {
        const double s = std::sin(r.angle), c = std::cos(r.angle);
        dp += (r.ps + r.pst * t) * s + r.pc * c;
        de += (r.ec + r.ect * t) * c + r.es * s;
    }
    Nutation n;
    n.longitude = (-0.000135 + dp * 1e-7) / 3600.0;
    n.obliquity = (0.000388 + de * 1e-7) / 3600.0;
    const double mean =
        (84381.406 + t * (-46.836769 +
                          t * (-0.0001831 + t * (0.00200340 + t * (-0.000000576 - t * 4.34e-8))))) /
        3600.0;
    n.trueObliquity = mean + n.obliquity;
    return n;
}

double MeanSiderealTime(double jdUT) {
    const double d = jdUT - kJ2000;
    const double T = d / 36525.0;
    return 280.46061837 + 360.98564736629 * d + T * T * (0.000387933 - T / 38710000.0);
}

double ApparentSiderealTime(double jdUT, const Nutation& nutation) {
    const double gast = std::fmod(MeanSiderealTime(jdUT) +
                                      nutation.longitude * std::cos(nutation.trueObliquity * kDeg),
                                  360.0);
    return gast < 0.0 ? gast + 360.0 : gast;
}

SunPlace SunFull(double jdTT) {
    const double tau = (jdTT - kJ2000) / 365250.0;
    const double L = (Series(kL0, tau) +
                      tau * (Series(kL1, tau) +
                             tau * (Series(kL2, tau) +
                                    tau * (Series(kL3, tau) +
                                           tau * (Series(kL4, tau) + tau * Series(kL5, tau)))))) *
                     1e-8;
    const double R = (Series(kR0, tau) + tau * (Series(kR1, tau) + tau * Series(kR2, tau))) * 1e-8;
    // Geocentric, to the FK5 frame (-0.09033″), nutation, aberration.
    const double geometric = L / kDeg + 180.0 - (0.09033 + 0.40 * tau * 10.0) / 3600.0;
    const Nutation n = NutationAt(jdTT);
    return {geometric + n.longitude + Aberration(R * R), R, n.longitude, n.trueObliquity};
}

SunPlace SunShort(double jdTT) {
    const double T = (jdTT - kJ2000) / 36525.0;
    const double L0 = 280.46646 + 36000.76983 * T + 0.0003032 * T * T;
    const double M = (357.52911 + 35999.05029 * T - 0.0001537 * T * T) * kDeg;
    const double sM = std::sin(M), cM = std::cos(M);
    const double s2M = 2.0 * sM * cM;
    const double s3M = sM * (3.0 - 4.0 * sM * sM);
    const double C = (1.914602 - 0.004817 * T - 0.000014 * T * T) * sM +
                     (0.019993 - 0.000101 * T) * s2M + 0.000289 * s3M;
    double lambda = L0 + C;
    const double years = T * 100.0;
    for (const Perturbation& p : kPerturbations)
        lambda += p.amplitude * SinDeg(p.phase + p.rate * years);
    // Nutation's two largest terms (the next are 0.2″), the mean obliquity
    // of IAU 2006.
    const double omega = (125.04452 - 1934.136261 * T) * kDeg;
    const double twoL = 2.0 * L0 * kDeg;
    const double nutation = (-17.20 * std::sin(omega) - 1.32 * std::sin(twoL)) / 3600.0;
    const double nutationObliquity = (9.20 * std::cos(omega) + 0.57 * std::cos(twoL)) / 3600.0;
    const double meanObliquity =
        (84381.406 + T * (-46.836769 + T * (-0.0001831 + T * 0.00200340))) / 3600.0;
    const double e = 0.016708634 - 0.000042037 * T;
    const double cNu = std::cos(M + C * kDeg);
    const double R = 1.000001018 * (1.0 - e * e) / (1.0 + e * cNu);
    return {lambda + nutation + Aberration(R), R, nutation, meanObliquity + nutationObliquity};
}

double SunLongitudeRate(double jdTT) {
    const double T = (jdTT - kJ2000) / 36525.0;
    const double M = (357.52911 + 35999.05029 * T) * kDeg;
    const double cM = std::cos(M), c2M = std::cos(2.0 * M);
    return (36000.76983 + 35999.05029 * (1.914602 * cM + 0.039986 * c2M) * kDeg) / 36525.0;
}

namespace {

// Table 47.A: the Moon's longitude (1e-6 degree, sine) and distance (1e-3 km,
// cosine) by multiples of D, M, M′ and F; table 47.B the latitude (sine).
struct LunarTerm {
    signed char d, m, mp, f;
    int l, r;
};
constexpr LunarTerm kLongitudeDistance[] = {
    {0, 0, 1, 0, 6288774, -20905355},
    {2, 0, -1, 0, 1274027, -3699111},
    {2, 0, 0, 0, 658314, -2955968},
    {0, 0, 2, 0, 213618, -569925},
    {0, 1, 0, 0, -185116, 48888},
    {0, 0, 0, 2, -114332, -3149},
    {2, 0, -2, 0, 58793, 246158},
    {2, -1, -1, 0, 57066, -152138},
    {2, 0, 1, 0, 53322, -170733},
    {2, -1, 0, 0, 45758, -204586},
    {0, 1, -1, 0, -40923, -129620},
    {1, 0, 0, 0, -34720, 108743},
    {0, 1, 1, 0, -30383, 104755},
    {2, 0, 0, -2, 15327, 10321},
    {0, 0, 1, 2, -12528, 0},
    {0, 0, 1, -2, 10980, 79661},
    {4, 0, -1, 0, 10675, -34782},
    {0, 0, 3, 0, 10034, -23210},
    {4, 0, -2, 0, 8548, -21636},
    {2, 1, -1, 0, -7888, 24208},
    {2, 1, 0, 0, -6766, 30824},
    {1, 0, -1, 0, -5163, -8379},
    {1, 1, 0, 0, 4987, -16675},
    {2, -1, 1, 0, 4036, -12831},
    {2, 0, 2, 0, 3994, -10445},
    {4, 0, 0, 0, 3861, -11650},
    {2, 0, -3, 0, 3665, 14403},
    {0, 1, -2, 0, -2689, -7003},
    {2, 0, -1, 2, -2602, 0},
    {2, -1, -2, 0, 2390, 10056},
    {1, 0, 1, 0, -2348, 6322},
    {2, -2, 0, 0, 2236, -9884},
    {0, 1, 2, 0, -2120, 5751},
    {0, 2, 0, 0, -2069, 0},
    {2, -2, -1, 0, 2048, -4950},
    {2, 0, 1, -2, -1773, 4130},
    {2, 0, 0, 2, -1595, 0},
    {4, -1, -1, 0, 1215, -3958},
    {0, 0, 2, 2, -1110, 0},
    {3, 0, -1, 0, -892, 3258},
    {2, 1, 1, 0, -810, 2616},
    {4, -1, -2, 0, 759, -1897},
    {0, 2, -1, 0, -713, -2117},
    {2, 2, -1, 0, -700, 2354},
    {2, 1, -2, 0, 691, 0},
    {2, -1, 0, -2, 596, 0},
    {4, 0, 1, 0, 549, -1423},
    {0, 0, 4, 0, 537, -1117},
    {4, -1, 0, 0, 520, -1571},
    {1, 0, -2, 0, -487, -1739},
    {2, 1, 0, -2, -399, 0},
    {0, 0, 2, -2, -381, -4421},
    {1, 1, 1, 0, 351, 0},
    {3, 0, -2, 0, -340, 0},
    {4, 0, -3, 0, 330, 0},
    {2, -1, 2, 0, 327, 0},
    {0, 2, 1, 0, -323, 1165},
    {1, 1, -1, 0, 299, 0},
    {2, 0, 3, 0, 294, 0},
    {2, 0, -1, -2, 0, 8752},
};
constexpr LunarTerm kLatitude[] = {
    {0, 0, 0, 1, 5128122, 0}, {0, 0, 1, 1, 280602, 0},  {0, 0, 1, -1, 277693, 0},
    {2, 0, 0, -1, 173237, 0}, {2, 0, -1, 1, 55413, 0},  {2, 0, -1, -1, 46271, 0},
    {2, 0, 0, 1, 32573, 0},   {0, 0, 2, 1, 17198, 0},   {2, 0, 1, -1, 9266, 0},
    {0, 0, 2, -1, 8822, 0},   {2, -1, 0, -1, 8216, 0},  {2, 0, -2, -1, 4324, 0},
    {2, 0, 1, 1, 4200, 0},    {2, 1, 0, -1, -3359, 0},  {2, -1, -1, 1, 2463, 0},
    {2, -1, 0, 1, 2211, 0},   {2, -1, -1, -1, 2065, 0}, {0, 1, -1, -1, -1870, 0},
    {4, 0, -1, -1, 1828, 0},  {0, 1, 0, 1, -1794, 0},   {0, 0, 0, 3, -1749, 0},
    {0, 1, -1, 1, -1565, 0},  {1, 0, 0, 1, -1491, 0},   {0, 1, 1, 1, -1475, 0},
    {0, 1, 1, -1, -1410, 0},  {0, 1, 0, -1, -1344, 0},  {1, 0, 0, -1, -1335, 0},
    {0, 0, 3, 1, 1107, 0},    {4, 0, 0, -1, 1021, 0},   {4, 0, -1, 1, 833, 0},
    {0, 0, 1, -3, 777, 0},    {4, 0, -2, 1, 671, 0},    {2, 0, 0, -3, 607, 0},
    {2, 0, 2, -1, 596, 0},    {2, -1, 1, -1, 491, 0},   {2, 0, -2, 1, -451, 0},
    {0, 0, 3, -1, 439, 0},    {2, 0, 2, 1, 422, 0},     {2, 0, -3, -1, 421, 0},
    {2, 1, -1, 1, -366, 0},   {2, 1, 0, 1, -351, 0},    {4, 0, 0, 1, 331, 0},
    {2, -1, 1, 1, 315, 0},    {2, -2, 0, -1, 302, 0},   {0, 0, 1, 3, -283, 0},
    {2, 1, 1, -1, -229, 0},   {1, 1, 0, -1, 223, 0},    {1, 1, 0, 1, 223, 0},
    {0, 1, -2, -1, -220, 0},  {2, 1, -1, -1, -220, 0},  {1, 0, 1, 1, -185, 0},
    {2, -1, -2, -1, 181, 0},  {0, 1, 2, 1, -177, 0},    {4, 0, -2, -1, 176, 0},
    {4, -1, -1, -1, 166, 0},  {1, 0, 1, -1, -164, 0},   {4, 0, 1, -1, 132, 0},
    {1, 0, -1, -1, -119, 0},  {4, -1, 0, -1, 115, 0},   {2, -2, 0, 1, 107, 0},
};

// A point of the unit circle; the sines and cosines of the 120 arguments
// come from products of the powers of four, so the series costs sixteen
// calls of sin and cos instead of 240.
struct Turn {
    double c = 1.0, s = 0.0;
    Turn operator*(const Turn& o) const { return {c * o.c - s * o.s, s * o.c + c * o.s}; }
};

// e^{ik·angle} for k = -4 to 4.
struct Powers {
    Turn p[9];
    explicit Powers(double angle) {
        p[4] = {};
        p[5] = {std::cos(angle), std::sin(angle)};
        for (int k = 2; k <= 4; ++k)
            p[4 + k] = p[4 + k - 1] * p[5];
        for (int k = 1; k <= 4; ++k)
            p[4 - k] = {p[4 + k].c, -p[4 + k].s};
    }
    const Turn& operator[](int k) const { return p[4 + k]; }
};

} // namespace

MoonPlace MoonAt(double jdTT) {
    const double T = (jdTT - kJ2000) / 36525.0;
    const double Lp = 218.3164477 + T * (481267.88123421 +
                                         T * (-0.0015786 + T * (1.0 / 538841.0 - T / 65194000.0)));
    const double D = 297.8501921 + T * (445267.1114034 +
                                        T * (-0.0018819 + T * (1.0 / 545868.0 - T / 113065000.0)));
    const double M = 357.5291092 + T * (35999.0502909 + T * (-0.0001536 + T / 24490000.0));
    const double Mp =
        134.9633964 + T * (477198.8675055 + T * (0.0087414 + T * (1.0 / 69699.0 - T / 14712000.0)));
    const double F = 93.2720950 + T * (483202.0175233 +
                                       T * (-0.0036539 + T * (-1.0 / 3526000.0 + T / 863310000.0)));
    const double A1 = 119.75 + 131.849 * T;
    const double A2 = 53.09 + 479264.290 * T;
    const double A3 = 313.45 + 481266.484 * T;
    const double E = 1.0 - T * (0.002516 + T * 0.0000074);
    const double eFactor[3] = {1.0, E, E * E};

    const Powers pd(std::fmod(D, 360.0) * kDeg), pm(std::fmod(M, 360.0) * kDeg),
        pmp(std::fmod(Mp, 360.0) * kDeg), pf(std::fmod(F, 360.0) * kDeg);
    double sl = 0.0, sr = 0.0, sb = 0.0;
    for (const LunarTerm& t : kLongitudeDistance) {
        const Turn a = pd[t.d] * pm[t.m] * pmp[t.mp] * pf[t.f];
        const double e = eFactor[t.m < 0 ? -t.m : t.m];
        sl += t.l * e * a.s;
        sr += t.r * e * a.c;
    }
    for (const LunarTerm& t : kLatitude) {
        const Turn a = pd[t.d] * pm[t.m] * pmp[t.mp] * pf[t.f];
        sb += t.l * eFactor[t.m < 0 ? -t.m : t.m] * a.s;
    }
    // Venus, Jupiter and the Earth's flattening.
    sl += 3958.0 * SinDeg(A1) + 1962.0 * SinDeg(Lp - F) + 318.0 * SinDeg(A2);
    sb += -2235.0 * SinDeg(Lp) + 382.0 * SinDeg(A3) + 175.0 * SinDeg(A1 - F) +
          175.0 * SinDeg(A1 + F) + 127.0 * SinDeg(Lp - Mp) - 115.0 * SinDeg(Lp + Mp);
    MoonPlace place;
    place.nutation = NutationAt(jdTT);
    place.longitude = Lp + sl / 1e6 + place.nutation.longitude;
    place.latitude = sb / 1e6;
    place.distanceKm = 385000.56 + sr / 1000.0;
    return place;
}

Equatorial EquatorialOf(double lambda, double beta, double eps) {
    const double sl = std::sin(lambda), cl = std::cos(lambda);
    const double sb = std::sin(beta), cb = std::cos(beta);
    const double se = std::sin(eps), ce = std::cos(eps);
    double ra = std::atan2(sl * ce * cb - sb * se, cl * cb);
    if (ra < 0.0)
        ra += 2.0 * std::numbers::pi;
    return {ra, std::asin(sb * ce + cb * se * sl)};
}

} // namespace tolmeri
