// core: text as people type it, made plain before it is read. Input methods
// give full-width digits, letters and punctuation (２０２６－０６－２１,
// １５：００), several kinds of dash and the ideographic space; the readers of
// dates, clock times and angles take the text this makes of them. Standard
// library only.
#pragma once

#include <string>
#include <string_view>

namespace tolmeri {

// text with the full-width forms of ASCII (U+FF01 to U+FF5E) as ASCII, the
// dashes and minus signs (U+2010 to U+2015, U+2212, U+FE63) as "-", and the
// ideographic space as a space; then without blanks (spaces and tabs) around
// it, and without any run of blanks inside that has something other than an
// ASCII digit on at least one side: "安政7年 3月3日" is "安政7年3月3日" and
// "15 : 00" is "15:00", but "2026 06 21" keeps a space between each two
// numbers, as the reader cannot know which digits belong together. Bytes
// that are not UTF-8 are kept as they are, with a space where blanks stood
// beside them, so that no two pieces join. Made plain again, the text stays
// as it is.
std::string PlainTypedText(std::string_view text);

// text without the blanks around it (spaces, tabs and ideographic spaces),
// for names, whose inner spaces belong to them ("New York").
std::string_view TrimTypedBlanks(std::string_view text);

// What keeps a name (a place's, as typed for a table, a chart's title, a CSV
// line) from standing as it is: bytes that are not UTF-8, a control or
// format character (core/utf8.h: IsControlOrFormat, among them the
// bidirectional controls that turn a line around), or nothing to see at all
// (only blanks, U+00A0, fillers such as U+3164, variation selectors).
enum class NameFault { kNone, kNotUtf8, kControl, kInvisible };
struct NameCheck {
    NameFault fault = NameFault::kNone;
    char32_t code = 0; // for kControl, the first such character
};
NameCheck CheckTypedName(std::string_view name);

} // namespace tolmeri
