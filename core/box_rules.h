// core: how a dialog's box reads and takes text, for every front end that
// shows the program's boxes (the Qt windows through framework/, the web
// edition through its binding): the integer rule of a number box, the
// length rule of a text box counted in CP932 bytes with the messages of
// both, and what typing may put into a box. Standard library only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolmeri {

// The integer rule of a number box, on its text as CP932 bytes: at most the
// first 31 bytes count; blanks and tabs, a decimal integer with an optional
// sign, blanks and tabs, and nothing else. Zero only when the first non-blank
// is the digit 0 (so "", "+0" and "-0" are refused, "0" and "00" are not).
// Beyond the 32-bit range the nearest limit is taken.
std::optional<int> ParseDialogInteger(std::string_view text);

// Decimal text of a field, as the boxes show it ("%d").
std::string FormatDialogInteger(int value);

// What a number box that holds no integer says.
inline constexpr std::string_view kNotAnIntegerMessage = "整数を入力してください。";

// What a text box longer than maxBytes CP932 bytes says: "12 文字以内で入力してください。".
std::string TooLongTextMessage(int maxBytes);

// Whether UTF-8 text is longer than maxBytes in CP932 (a character CP932
// cannot hold counts as the one "?" it would be stored as).
bool TextExceeds(std::string_view utf8, int maxBytes);

// What is left of an edit of a box that turned before into after (UTF-16,
// as the toolkits hold text): of the inserted characters (the part that
// differs between the two), control characters and those CP932 cannot hold
// are dropped, and with limitBytes > 0 only as many as fit the limit in
// CP932 bytes are kept. cursor is the cursor position in after (UTF-16
// units); the result carries the new one.
struct LimitedEdit {
    std::u16string text;
    int cursor = 0;
};
LimitedEdit LimitInsertion(std::u16string_view before, std::u16string_view after, int cursor,
                           int limitBytes);

} // namespace tolmeri
