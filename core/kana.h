// core: kana and their romaji. The readings of place names are hiragana; a
// reading typed in katakana is the same reading, and the romaji of a reading
// are made from it here by rule, never typed by hand. Standard library only.
#pragma once

#include <string>
#include <string_view>

namespace tolmeri {

// text with its full-width katakana (ァ to ヶ) as hiragana: エド is えど. ヶ
// and ヵ stay as they are, and so does ケ after a kanji, since there they are
// the small ke of names such as 保土ヶ谷 and 関ヶ原 (保土ケ谷 is 保土ヶ谷).
// Everything else is kept as it is.
std::string HiraganaOf(std::string_view text);

// True when text is one or more kana a reading can hold: hiragana, katakana
// and the long mark ー.
bool IsKanaReading(std::string_view text);

// How romaji are written:
//  - kHepburn: the modified Hepburn system, as books print it: long o and u
//    with macrons (きょう kyō, おおさか ōsaka, ちゅう chū), ん as n' before a
//    vowel or y (じんや jin'ya), っ by doubling (にっこう nikkō, っち tchi);
//  - kPlain: the same without length marks and apostrophes (kyo, osaka,
//    jinya), as names in Latin letters are often written;
//  - kKana: kana for kana as a keyboard types them (kyou, oosaka).
enum class RomajiStyle { kHepburn, kPlain, kKana };

// The romaji of a reading in lower case; empty when it is not kana only
// (IsKanaReading).
std::string RomajiOf(std::string_view reading, RomajiStyle style);

} // namespace tolmeri
