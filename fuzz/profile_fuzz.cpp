// libFuzzer target for the settings-file reader and writer. The input is a
// settings file; its last bytes choose a read, a write and a set of values.
// Besides the sanitizers' own checks it aborts when
//  - a read returns more than the buffer allows, or a name a dangling byte;
//  - a write changes bytes outside the one line it edits;
//  - a write changes what another key reads;
//  - a value written with ordinary names does not read back.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/cp932_bytes.h"
#include "settings/profile.h"
#include "settings/settings.h"

namespace {

using namespace tolmeri;

using namespace std::string_view_literals;

// Names worth mixing: the real ones, other spellings, and ones that cannot
// survive a round trip (blanks, brackets, '=', line breaks, an empty name).
constexpr std::string_view kSections[] = {"Location"sv, "Time"sv, "location"sv, "TIME"sv,
                                          "Extra"sv,    ""sv,     " Time"sv,    "a]b"sv,
                                          "[x"sv,       "S\nT"sv, "\x89\xA1"sv};
constexpr std::string_view kKeys[] = {"Location Name"sv, "Year"sv,    "year"sv, "Month"sv,
                                      "DAY"sv,           "Unknown"sv, ""sv,     ";c"sv,
                                      "a=b"sv,           " Day"sv,    "K\rL"sv, "#k"sv};
constexpr std::string_view kValues[] = {
    ""sv,         "2001"sv,  "-33"sv,   "\x89\xA1\x95\x6C"sv,
    " padded "sv, "\"q\""sv, "'a'"sv,   "x\ny=z"sv,
    "12abc"sv,    "a\0b"sv,  "#;=[]"sv, "value with some length to it"sv};

template <typename T, std::size_t N> const T& Pick(FuzzedDataProvider& input, const T (&list)[N]) {
    return list[input.ConsumeIntegralInRange<std::size_t>(0, N - 1)];
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool HasAny(std::string_view s, std::string_view bytes) {
    return s.find_first_of(bytes) != std::string_view::npos;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (fold(a[i]) != fold(b[i]))
            return false;
    }
    return true;
}

// A name that reads back as written.
bool PlainName(std::string_view name, std::string_view forbidden) {
    return !name.empty() && !IsBlank(name.front()) && !IsBlank(name.back()) &&
           name.front() != ';' && name.front() != '[' &&
           !HasAny(name, std::string_view("\r\n\0", 3)) && !HasAny(name, forbidden);
}

// A value that reads back as written.
bool PlainValue(std::string_view value) {
    if (HasAny(value, std::string_view("\r\n\0", 3)))
        return false;
    if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back())))
        return false;
    return !(value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
             value.back() == value.front());
}

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// Only one line of before may differ in after: the bytes both share at the
// start and at the end leave, of before, at most part of one line.
void CheckOneLineChanged(const std::string& before, const std::string& after) {
    const std::size_t limit = std::min(before.size(), after.size());
    std::size_t head = 0;
    while (head < limit && before[head] == after[head])
        ++head;
    std::size_t tail = 0;
    while (tail < limit - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    const std::string_view removed =
        std::string_view(before).substr(head, before.size() - head - tail);
    Check(!HasAny(removed, "\r\n"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    // Choices come off the end of the input, so an ini file of the corpus
    // stays a recognisable file.
    const std::string section(Pick(input, kSections));
    const std::string key(Pick(input, kKeys));
    const std::string value = input.ConsumeBool() ? std::string(Pick(input, kValues))
                                                  : std::to_string(input.ConsumeIntegral<int>());
    const std::string otherSection(Pick(input, kSections));
    const std::string otherKey(Pick(input, kKeys));
    const std::size_t bufferSize = input.ConsumeIntegralInRange<std::size_t>(0, 40);
    // Braced lists take their values left to right.
    CSettingsValues values{
        {std::string(Pick(input, kValues)).substr(0, 19), input.ConsumeIntegral<int>(),
         input.ConsumeIntegral<int>(), input.ConsumeIntegral<int>(), input.ConsumeIntegral<int>(),
         input.ConsumeIntegral<int>()},
        {input.ConsumeIntegral<int>(), input.ConsumeIntegral<int>(), input.ConsumeIntegral<int>()}};
    const std::string original = input.ConsumeRemainingBytesAsString();

    // Reading.
    const std::string read =
        profile::GetPrivateProfileString(original, section, key, value, bufferSize);
    Check(read.size() + 1 <= std::max<std::size_t>(bufferSize, 1));
    (void)profile::GetPrivateProfileInt(original, section, key, -1);
    const CSettingsValues loaded = ParseSettings(original);
    Check(loaded.place.name.size() <= 19);
    Check(DropDanglingLeadByte(loaded.place.name) == loaded.place.name);

    // Writing one key.
    const std::string otherBefore =
        profile::GetPrivateProfileString(original, otherSection, otherKey, "\x01", 4096);
    std::string content = original;
    profile::WritePrivateProfileString(content, section, key, value);
    CheckOneLineChanged(original, content);
    const bool plainNames = PlainName(section, "]") && PlainName(key, "=");
    if (plainNames && PlainValue(value))
        Check(profile::GetPrivateProfileString(content, section, key, "\x01", 4096) == value);
    if (plainNames && !HasAny(value, "\r\n") && PlainName(otherSection, "]") &&
        PlainName(otherKey, "=") &&
        !(SameIgnoringCase(section, otherSection) && SameIgnoringCase(key, otherKey))) {
        Check(profile::GetPrivateProfileString(content, otherSection, otherKey, "\x01", 4096) ==
              otherBefore);
    }

    // Writing all nine, then reading them back.
    content = original;
    StoreSettings(content, values);
    if (PlainValue(values.place.name) &&
        DropDanglingLeadByte(values.place.name) == values.place.name)
        Check(ParseSettings(content) == values);
    return 0;
}
