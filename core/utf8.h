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

// How much of a text a message quotes: a bad argument of any length makes a
// message of one readable line.
inline constexpr std::size_t kQuotedCharacters = 64;

// text when it has at most maxCharacters characters, else its first
// maxCharacters characters and "…". A byte that is not UTF-8 counts as one
// character and is never split from nothing: the cut falls between
// characters.
std::string ShortenedForMessage(std::string_view text,
                                std::size_t maxCharacters = kQuotedCharacters);

} // namespace tolmeri
