#include "core/kana.h"

#include <array>
#include <vector>

#include "core/utf8.h"

namespace tolmeri {

namespace {

constexpr char32_t kFirstHiragana = U'\u3041'; // ぁ
constexpr char32_t kLastHiragana = U'\u3096';  // ゖ
constexpr char32_t kFirstKatakana = U'\u30A1'; // ァ
constexpr char32_t kKatakanaSmallKa = U'\u30F5';
constexpr char32_t kKatakanaSmallKe = U'\u30F6';
constexpr char32_t kKatakanaKe = U'\u30B1';
constexpr char32_t kLongMark = U'\u30FC'; // ー
constexpr char32_t kKatakanaOffset = kFirstKatakana - kFirstHiragana;

// The romaji of each hiragana from ぁ (U+3041) to ゖ (U+3096). A small kana
// is marked "_" (it changes the kana before it), っ is "!", ん is "N".
constexpr std::array<std::string_view, kLastHiragana - kFirstHiragana + 1> kSyllables = {
    "_a", "a",  "_i",  "i",  "_u", "u",   "_e",  "e",   "_o",  "o",  "ka",  "ga", "ki", "gi", "ku",
    "gu", "ke", "ge",  "ko", "go", "sa",  "za",  "shi", "ji",  "su", "zu",  "se", "ze", "so", "zo",
    "ta", "da", "chi", "ji", "!",  "tsu", "zu",  "te",  "de",  "to", "do",  "na", "ni", "nu", "ne",
    "no", "ha", "ba",  "pa", "hi", "bi",  "pi",  "fu",  "bu",  "pu", "he",  "be", "pe", "ho", "bo",
    "po", "ma", "mi",  "mu", "me", "mo",  "_ya", "ya",  "_yu", "yu", "_yo", "yo", "ra", "ri", "ru",
    "re", "ro", "_wa", "wa", "i",  "e",   "o",   "N",   "vu",  "ka", "ke",
};

bool IsKatakana(char32_t c) {
    return c >= kFirstKatakana && c <= kKatakanaSmallKe;
}

bool IsKanji(char32_t c) {
    return (c >= U'\u4E00' && c <= U'\u9FFF') || (c >= U'\u3400' && c <= U'\u4DBF') ||
           (c >= U'\uF900' && c <= U'\uFAFF') || (c >= U'\U00020000' && c <= U'\U0003134F') ||
           c == U'\u3005'; // 々
}

bool IsVowel(char c) {
    return c == 'a' || c == 'i' || c == 'u' || c == 'e' || c == 'o';
}

// One unit of a reading: a syllable's romaji, or っ, ん or ー.
enum class Unit { kSyllable, kSokuon, kN, kLong };
struct Token {
    Unit unit;
    std::string text;
};

// The reading as units, small kana folded into the syllable before them
// (きゃ kya, しょ sho, ふぁ fa); false when it is not kana only.
bool Tokenize(std::string_view reading, std::vector<Token>& tokens) {
    for (std::size_t pos = 0; pos < reading.size();) {
        const Utf8Char ch = DecodeUtf8(reading, pos);
        pos += ch.length;
        char32_t c = ch.code;
        if (!ch.valid)
            return false;
        if (c == kLongMark) {
            tokens.push_back({Unit::kLong, {}});
            continue;
        }
        if (IsKatakana(c))
            c -= kKatakanaOffset;
        if (c < kFirstHiragana || c > kLastHiragana)
            return false;
        const std::string_view romaji = kSyllables[c - kFirstHiragana];
        if (romaji == "!") {
            tokens.push_back({Unit::kSokuon, {}});
        } else if (romaji == "N") {
            tokens.push_back({Unit::kN, {}});
        } else if (romaji.starts_with('_')) {
            const std::string_view small = romaji.substr(1);
            std::string* before = !tokens.empty() && tokens.back().unit == Unit::kSyllable
                                      ? &tokens.back().text
                                      : nullptr;
            if (small.starts_with('y') && before && before->size() >= 2 && before->back() == 'i') {
                // きゃ kya; しゃ, ちゃ and じゃ lose the y: sha, cha, ja.
                before->pop_back();
                const bool dropY = *before == "sh" || *before == "ch" || *before == "j";
                *before += dropY ? small.substr(1) : small;
            } else if (!small.starts_with('y') && before && IsVowel(before->back())) {
                // ふぁ fa, てぃ ti: the small vowel takes the syllable's.
                before->back() = small.back();
                if (small.size() > 1)
                    before->insert(before->size() - 1, small.substr(0, small.size() - 1));
            } else {
                tokens.push_back({Unit::kSyllable, std::string(small)});
            }
        } else {
            tokens.push_back({Unit::kSyllable, std::string(romaji)});
        }
    }
    return !tokens.empty();
}

// The macron form of a vowel, "ō" for 'o'.
std::string_view Macron(char vowel) {
    switch (vowel) {
    case 'a':
        return "ā";
    case 'i':
        return "ī";
    case 'u':
        return "ū";
    case 'e':
        return "ē";
    default:
        return "ō";
    }
}

} // namespace

std::string HiraganaOf(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    char32_t before = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const Utf8Char ch = DecodeUtf8(text, pos);
        if (!ch.valid) {
            out.append(text.substr(pos, ch.length));
            pos += ch.length;
            before = 0;
            continue;
        }
        char32_t c = ch.code;
        const bool smallKe =
            c == kKatakanaSmallKa || c == kKatakanaSmallKe || (c == kKatakanaKe && IsKanji(before));
        if (smallKe)
            c = kKatakanaSmallKe;
        else if (IsKatakana(c))
            c -= kKatakanaOffset;
        AppendUtf8(out, c);
        before = ch.code;
        pos += ch.length;
    }
    return out;
}

bool IsKanaReading(std::string_view text) {
    std::vector<Token> tokens;
    return Tokenize(text, tokens);
}

std::string RomajiOf(std::string_view reading, RomajiStyle style) {
    std::vector<Token> tokens;
    if (!Tokenize(reading, tokens))
        return {};
    std::string out;
    // The vowel the romaji so far ends in, if it may be lengthened: the
    // last syllable's, not yet long.
    char lastVowel = 0;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        const Token* next = i + 1 < tokens.size() ? &tokens[i + 1] : nullptr;
        switch (t.unit) {
        case Unit::kSokuon:
            // Doubles the consonant after it; before ch it is t (tchi).
            if (next && next->unit == Unit::kSyllable && !IsVowel(next->text[0]))
                out += next->text.starts_with("ch") ? 't' : next->text[0];
            lastVowel = 0;
            break;
        case Unit::kN:
            out += 'n';
            if (style == RomajiStyle::kHepburn && next && next->unit == Unit::kSyllable &&
                (IsVowel(next->text[0]) || next->text[0] == 'y'))
                out += '\'';
            lastVowel = 0;
            break;
        case Unit::kLong:
            if (lastVowel && style == RomajiStyle::kHepburn) {
                out.pop_back();
                out += Macron(lastVowel);
            } else if (lastVowel && style == RomajiStyle::kKana) {
                out += lastVowel;
            }
            lastVowel = 0;
            break;
        case Unit::kSyllable: {
            // おう, おお and うう are one long vowel (kyō, ōsaka, chū).
            const bool lengthens = style != RomajiStyle::kKana && t.text.size() == 1 &&
                                   ((lastVowel == 'o' && (t.text[0] == 'u' || t.text[0] == 'o')) ||
                                    (lastVowel == 'u' && t.text[0] == 'u'));
            if (lengthens) {
                if (style == RomajiStyle::kHepburn) {
                    out.pop_back();
                    out += Macron(lastVowel);
                }
                lastVowel = 0;
            } else {
                out += t.text;
                lastVowel = t.text.back();
                if (!IsVowel(lastVowel))
                    lastVowel = 0;
            }
            break;
        }
        }
    }
    return out;
}

} // namespace tolmeri
