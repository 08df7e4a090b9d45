// core: the one reader of UTF-8 text. Every input that arrives as UTF-8 (an
// era date, a place name, a command-line value, a dialog's text) is decoded
// here, strictly: an overlong form, a surrogate (U+D800-U+DFFF), a value
// beyond U+10FFFF, a stray continuation byte or a cut-short sequence is not
// a character. Standard library only.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tolmeri {

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// One character of UTF-8 at the front of a text.
struct Utf8Char {
    char32_t code = kReplacementCharacter; // the code point; U+FFFD when not well formed
    std::size_t length = 1;                // bytes it takes (1 for a bad byte)
    bool valid = false;                    // the bytes are a well-formed character
};

// The character at text[pos] (pos < text.size()). A byte that does not start
// a well-formed character reads as one invalid byte, so that a reader always
// moves on.
Utf8Char DecodeUtf8(std::string_view text, std::size_t pos);

// Appends the UTF-8 bytes of code (a code point up to U+10FFFF that is not
// a surrogate; anything else appends U+FFFD).
void AppendUtf8(std::string& out, char32_t code);

// Every byte of text belongs to a well-formed character.
bool IsWellFormedUtf8(std::string_view text);

// UTF-8 of UTF-16 text (a browser's or an edit box's); a lone surrogate is
// no character (U+FFFD).
std::string Utf8FromUtf16(std::u16string_view text);
// UTF-16 of UTF-8 text; a byte that is not UTF-8 becomes U+FFFD.
std::u16string Utf16FromUtf8(std::string_view text);

// How much of a text a message quotes: a bad argument of any length makes a
// message of one readable line.
inline constexpr std::size_t kQuotedCharacters = 64;

// text when it has at most maxCharacters characters, else its first
// maxCharacters characters and "…". A byte that is not UTF-8 counts as one
// character and is never split from nothing: the cut falls between
// characters.
std::string ShortenedForMessage(std::string_view text,
                                std::size_t maxCharacters = kQuotedCharacters);

// Characters that act on how text is laid out instead of being seen: the
// controls (C0, DEL and C1), the format characters (the zero-width space and
// joiners, the byte-order mark, the bidirectional controls such as U+202E,
// the interlinear annotation marks, the tag characters) and the line and
// paragraph separators U+2028 and U+2029, which a reader of lines or CSV
// takes for a line's end.
bool IsControlOrFormat(char32_t c);

// text as a message shows it: control characters and bytes that are not
// UTF-8 as "\x1b" escapes (a C1 control as both of its bytes), the other
// characters of IsControlOrFormat as "\u202e", so that a bad value never acts
// on the terminal or the window it is shown in. QuotedForMessage adds the
// double quotes around at most kQuotedCharacters characters of text (then
// "…").
std::string EscapedForMessage(std::string_view text);
std::string QuotedForMessage(std::string_view text);

} // namespace tolmeri
