// libFuzzer target for the reader of typed dates and the plain-text step
// before it. Besides the sanitizers' own checks it aborts when
//  - bytes that are not UTF-8 make a date;
//  - a date read is not a day the options accept;
//  - a refusal is not one line;
//  - the plain-text step changes its own result, or the date read from
//    the plain text differs from the date read from the text (its day, its
//    note or how it was written).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/accepted_ranges.h"
#include "core/typed_date.h"
#include "core/typed_text.h"
#include "core/utf8.h"

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolmeri;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string plain = PlainTypedText(text);
    Check(PlainTypedText(plain) == plain);

    const Result<TypedDate> date = ReadTypedDate(text);
    if (!IsWellFormedUtf8(text)) {
        Check(!date);
        return 0;
    }
    if (!date) {
        Check(date.Message().find('\n') == std::string::npos);
        Check(IsWellFormedUtf8(date.Message()));
        return 0;
    }
    Check(IsAcceptedDate(date->date));
    Check(date->note.find('\n') == std::string::npos);
    const Result<TypedDate> again = ReadTypedDate(plain);
    Check(again && again->date == date->date && again->note == date->note &&
          again->writing == date->writing);
    return 0;
}
