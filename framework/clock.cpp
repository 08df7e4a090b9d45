#include "framework/clock.h"

namespace afx {

namespace {
DateSource& Source() {
    static DateSource source;
    return source;
}
} // namespace

QDate CurrentDate() {
    return Source() ? Source()() : QDate::currentDate();
}

DateSource SetDateSource(DateSource source) {
    DateSource previous = std::move(Source());
    Source() = std::move(source);
    return previous;
}

} // namespace afx
