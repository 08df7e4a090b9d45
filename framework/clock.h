// framework: the computer's current local date, through a seam tests can fix.
#pragma once

#include <QDate>
#include <functional>

namespace afx {

// Today in the operating system's clock and time zone.
QDate CurrentDate();

using DateSource = std::function<QDate()>;
// Replaces the clock (an empty source restores it). Returns the previous one.
DateSource SetDateSource(DateSource source);

} // namespace afx
