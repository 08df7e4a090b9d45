#include "core/hour_names.h"

#include <algorithm>
#include <array>

#include "core/utf8.h"

namespace tolmeri {

namespace {

constexpr std::array<std::string_view, 12> kBranches = {"子", "丑", "寅", "卯", "辰", "巳",
                                                        "午", "未", "申", "酉", "戌", "亥"};
constexpr char32_t kBranchChars[] = {U'子', U'丑', U'寅', U'卯', U'辰', U'巳',
                                     U'午', U'未', U'申', U'酉', U'戌', U'亥'};

// The numbered hour of each boundary as a reading names it; 24 is the
// midnight ending the date's night (夜九つ), 25 its 半.
constexpr std::array<std::string_view, 26> kNumberedNames = {
    "暁九つ",   "暁九つ半", "暁八つ",   "暁八つ半", "暁七つ",   "暁七つ半", "明六つ",
    "明六つ半", "朝五つ",   "朝五つ半", "朝四つ",   "朝四つ半", "昼九つ",   "昼九つ半",
    "昼八つ",   "昼八つ半", "夕七つ",   "夕七つ半", "暮六つ",   "暮六つ半", "夜五つ",
    "夜五つ半", "夜四つ",   "夜四つ半", "夜九つ",   "夜九つ半"};

// What stands after a branch in a reading's name.
enum Suffix {
    kWhole,
    kQuarter1,
    kQuarter2,
    kQuarter3,
    kQuarter4,
    kFirstHalf,
    kSecondHalf,
    kUpper,
    kMiddle,
    kLower,
    kSuffixCount
};
constexpr std::array<std::string_view, kSuffixCount> kSuffixes = {
    "の刻", "一つ", "二つ", "三つ", "四つ", "の初刻", "の正刻", "の上刻", "の中刻", "の下刻"};

// "丑三つ" and the rest, made once.
std::string_view BranchName(int branch, Suffix suffix) {
    static const std::array<std::string, 12 * kSuffixCount> names = [] {
        std::array<std::string, 12 * kSuffixCount> n;
        for (std::size_t b = 0; b < 12; ++b)
            for (std::size_t s = 0; s < kSuffixCount; ++s)
                n[b * kSuffixCount + s] = std::string(kBranches[b]) + std::string(kSuffixes[s]);
        return n;
    }();
    return names[static_cast<std::size_t>(branch * kSuffixCount + suffix)];
}

// A prefix of the numbered hours and the numbers it takes, with their
// boundaries.
struct Prefix {
    char32_t mark;
    std::string_view text;
    std::array<int, 3> numbers; // 0: none
    std::array<int, 3> boundaries;
};
constexpr Prefix kPrefixes[] = {
    {U'暁', "暁", {9, 8, 7}, {0, 2, 4}},   {U'明', "明", {7, 6, 0}, {4, 6, 0}},
    {U'朝', "朝", {6, 5, 4}, {6, 8, 10}},  {U'昼', "昼", {9, 8, 7}, {12, 14, 16}},
    {U'夕', "夕", {7, 6, 0}, {16, 18, 0}}, {U'暮', "暮", {6, 5, 0}, {18, 20, 0}},
    {U'宵', "宵", {5, 4, 0}, {20, 22, 0}}, {U'夜', "夜", {5, 4, 9}, {20, 22, 24}},
};
// A bare number: the hour of the small hours or the morning, and of the
// afternoon or the evening.
constexpr std::array<std::array<int, 2>, 10> kBareBoundaries = {{{-1, -1},
                                                                 {-1, -1},
                                                                 {-1, -1},
                                                                 {-1, -1},
                                                                 {10, 22},
                                                                 {8, 20},
                                                                 {6, 18},
                                                                 {4, 16},
                                                                 {2, 14},
                                                                 {0, 12}}};

constexpr std::array<std::string_view, 10> kKanjiNumbers = {"",   "一", "二", "三", "四",
                                                            "五", "六", "七", "八", "九"};

// 1 to 9 for a numeral of one character (kanji, ASCII or full width), else 0.
int Numeral(char32_t c) {
    static constexpr char32_t kKanji[] = {U'一', U'二', U'三', U'四', U'五',
                                          U'六', U'七', U'八', U'九'};
    for (int i = 0; i < 9; ++i)
        if (kKanji[i] == c)
            return i + 1;
    if (c >= U'1' && c <= U'9')
        return static_cast<int>(c - U'0');
    if (c >= U'１' && c <= U'９')
        return static_cast<int>(c - U'０');
    return 0;
}

bool IsBlank(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\u3000';
}

// The text's characters, without the blanks around it.
class Characters {
public:
    static constexpr std::size_t kMost = 24;

    // False when the text is not UTF-8 or longer than any name.
    bool Read(std::string_view text) {
        for (std::size_t pos = 0; pos < text.size();) {
            const Utf8Char c = DecodeUtf8(text, pos);
            if (!c.valid)
                return false;
            if (m_count == kMost)
                return false;
            m_offset[m_count] = pos;
            m_code[m_count++] = c.code;
            pos += c.length;
        }
        m_end = m_count;
        while (m_begin < m_end && IsBlank(m_code[m_begin]))
            ++m_begin;
        while (m_end > m_begin && IsBlank(m_code[m_end - 1]))
            --m_end;
        m_pos = m_begin;
        m_text = text;
        return true;
    }
    bool AtEnd() const { return m_pos >= m_end; }
    bool Empty() const { return m_begin == m_end; }
    char32_t Peek() const { return AtEnd() ? 0 : m_code[m_pos]; }
    void Skip() { ++m_pos; }
    bool Take(char32_t c) {
        if (Peek() != c || AtEnd())
            return false;
        ++m_pos;
        return true;
    }
    bool TakeEither(char32_t a, char32_t b) { return Take(a) || Take(b); }
    // The text without its blanks, and what is left of it from here.
    std::string_view Whole() const { return Slice(m_begin); }
    std::string_view Rest() const { return Slice(m_pos); }

private:
    std::string_view Slice(std::size_t from) const {
        const std::size_t first = from < m_count ? m_offset[from] : m_text.size();
        const std::size_t last = m_end < m_count ? m_offset[m_end] : m_text.size();
        return m_text.substr(first, last > first ? last - first : 0);
    }

    std::string_view m_text;
    std::array<char32_t, kMost> m_code{};
    std::array<std::size_t, kMost> m_offset{};
    std::size_t m_count = 0, m_begin = 0, m_end = 0, m_pos = 0;
};

// Text for a message: shortened, control and format characters as \x1b
// and \u202e escapes (core/utf8.h).
std::string Quoted(std::string_view text) {
    return "「" + EscapedForMessage(ShortenedForMessage(text)) + "」";
}

constexpr std::string_view kExamples = kHourNameExamples;

HourExpressionParse Failed(std::string message) {
    HourExpressionParse parse;
    parse.error = std::move(message);
    return parse;
}

HourExpressionParse NotUnderstood(const Characters& c) {
    const std::string_view rest = c.Rest();
    // Nothing left: the name stops before it is whole (辰の上).
    if (rest.empty())
        return Failed("刻の名 " + Quoted(c.Whole()) + " は途中で終わっています" +
                      std::string(kExamples));
    if (rest == c.Whole())
        return Failed("刻の名 " + Quoted(c.Whole()) + " が読めません" + std::string(kExamples));
    return Failed("刻の名 " + Quoted(c.Whole()) + " の " + Quoted(rest) + " が読めません" +
                  std::string(kExamples));
}

constexpr HourPoint Boundary(int b) {
    return {b, b, 0, 1};
}

HourReading Numbered(int boundary) {
    return {kNumberedNames[static_cast<std::size_t>(boundary)], Boundary(boundary),
            Boundary(boundary + 1), boundary < 6};
}

// After a branch: the whole 刻, a quarter, 初刻 or 正刻, 上・中・下刻.
HourExpressionParse ReadBranchTail(Characters& c, int k) {
    HourExpressionParse parse;
    const int s = 2 * k;
    const bool small = k < 3;
    const bool of = c.TakeEither(U'の', U'ノ');
    if (c.AtEnd() && !of) {
        parse.readings.push_back({BranchName(k, kWhole), Boundary(s), Boundary(s + 2), small});
        return parse;
    }
    if (c.TakeEither(U'刻', U'時')) {
        if (!c.AtEnd())
            return NotUnderstood(c);
        parse.readings.push_back({BranchName(k, kWhole), Boundary(s), Boundary(s + 2), small});
        return parse;
    }
    // The branch's half-bell: 辰の半刻 and 子半 are 朝五つ半 and 暁九つ半.
    if (c.Take(U'半')) {
        c.TakeEither(U'刻', U'時');
        if (!c.AtEnd())
            return NotUnderstood(c);
        parse.readings.push_back(Numbered(s + 1));
        return parse;
    }
    // 丑満つ: 満つ is how 三つ was often written.
    if (const int q = c.Peek() == U'満' ? 3 : Numeral(c.Peek())) {
        c.Skip();
        c.TakeEither(U'つ', U'ツ');
        c.TakeEither(U'時', U'刻');
        if (!c.AtEnd())
            return NotUnderstood(c);
        if (q > 4)
            return Failed(std::string(kBranches[static_cast<std::size_t>(k)]) + "の" +
                          std::string(kKanjiNumbers[static_cast<std::size_t>(q)]) +
                          "つという刻はありません（刻を四つに分けて一つから四つまで）");
        parse.readings.push_back({BranchName(k, static_cast<Suffix>(kQuarter1 + q - 1)),
                                  {s, s + 2, q - 1, 4},
                                  {s, s + 2, q, 4},
                                  small});
        return parse;
    }
    const char32_t part = c.Peek();
    if (part == U'初' || part == U'正') {
        c.Skip();
        if (!c.Take(U'刻') || !c.AtEnd())
            return NotUnderstood(c);
        const int half = part == U'初' ? 0 : 1;
        parse.readings.push_back({BranchName(k, half ? kSecondHalf : kFirstHalf),
                                  Boundary(s + half), Boundary(s + half + 1), small});
        return parse;
    }
    const int third = part == U'上' ? 0 : part == U'中' ? 1 : part == U'下' ? 2 : -1;
    if (third < 0)
        return NotUnderstood(c);
    c.Skip();
    if (!c.Take(U'刻') || !c.AtEnd())
        return NotUnderstood(c);
    // The 刻 in three from its start; then centred on the numbered hour:
    // two thirds of the half-hour before it, a third either side, the rest.
    parse.readings.push_back(
        {kThirdsRuling, {s, s + 2, third, 3}, {s, s + 2, third + 1, 3}, small});
    static constexpr HourPoint kCentred[4] = {
        {-1, 0, 0, 3}, {-1, 0, 2, 3}, {0, 1, 1, 3}, {0, 1, 3, 3}};
    HourPoint from = kCentred[third];
    HourPoint to = kCentred[third + 1];
    from.from += s;
    from.to += s;
    to.from += s;
    to.to += s;
    parse.readings.push_back({kThirdsCentred, from, to, small});
    return parse;
}

// A numbered hour, its prefix read (or none).
HourExpressionParse ReadNumbered(Characters& c, const Prefix* prefix) {
    const int n = Numeral(c.Peek());
    if (!n)
        return NotUnderstood(c);
    c.Skip();
    c.TakeEither(U'つ', U'ツ');
    bool half = c.Take(U'半');
    c.Take(U'時');
    if (!half)
        half = c.Take(U'半');
    if (!c.AtEnd())
        return NotUnderstood(c);
    HourExpressionParse parse;
    if (!prefix) {
        if (n < 4)
            return Failed(Quoted(c.Whole()) + " という刻はありません（数は九つから四つまで）");
        for (int b : kBareBoundaries[static_cast<std::size_t>(n)])
            parse.readings.push_back(Numbered(b + (half ? 1 : 0)));
        return parse;
    }
    for (std::size_t i = 0; i < prefix->numbers.size(); ++i) {
        if (prefix->numbers[i] == n) {
            parse.readings.push_back(Numbered(prefix->boundaries[i] + (half ? 1 : 0)));
            return parse;
        }
    }
    std::string numbers;
    for (int m : prefix->numbers) {
        if (!m)
            continue;
        numbers += numbers.empty() ? "" : "・";
        numbers += std::string(kKanjiNumbers[static_cast<std::size_t>(m)]) + "つ";
    }
    return Failed(Quoted(c.Whole()) + " という刻はありません（" + std::string(prefix->text) + "は" +
                  numbers + "）");
}

// a + (b - a) * num / den to the nearest minute, halves up.
int Between(int a, int b, int num, int den) {
    const long long span = static_cast<long long>(b - a) * num * 2 + den;
    const long long twice = 2LL * den;
    const long long q = span >= 0 ? span / twice : -((-span + twice - 1) / twice);
    return a + static_cast<int>(q);
}

int MinuteAt(const HourMarks& marks, const HourPoint& p, int shift) {
    return Between(marks.At(p.from + shift), marks.At(p.to + shift), p.num, p.den);
}

} // namespace

HourExpressionParse ParseHourExpression(std::string_view text) {
    Characters c;
    if (!c.Read(text))
        return Failed("刻の名が長すぎるか、UTF-8 として読めません");
    if (c.Empty())
        return Failed("刻の名が空です" + std::string(kExamples));
    // Words for a moment: the clock's noon and midnight, and 夜半, the bell
    // of 夜九つ that ends the night.
    static constexpr struct {
        std::string_view word;
        HourReading reading;
    } kMoments[] = {
        {"正午", {"正午（12:00）", {}, {}, false, 720}},
        {"真夜中", {"真夜中（0:00）", {}, {}, false, 0}},
        {"夜半", {"夜半（夜九つ）", Boundary(24), Boundary(24), false}},
    };
    for (const auto& moment : kMoments) {
        if (c.Whole() == moment.word) {
            HourExpressionParse parse;
            parse.readings.push_back(moment.reading);
            return parse;
        }
    }
    const char32_t first = c.Peek();
    for (int k = 0; k < 12; ++k) {
        if (kBranchChars[k] == first) {
            c.Skip();
            return ReadBranchTail(c, k);
        }
    }
    for (const Prefix& prefix : kPrefixes) {
        if (prefix.mark == first) {
            c.Skip();
            // 明け六つ, 暮れ六つ.
            if (prefix.mark == U'明')
                c.Take(U'け');
            else if (prefix.mark == U'暮')
                c.Take(U'れ');
            return ReadNumbered(c, &prefix);
        }
    }
    return ReadNumbered(c, nullptr);
}

HourSpan ResolveReading(const HourReading& reading, const HourMarks& marks, DayStart dayStart) {
    if (reading.clock >= 0) {
        // A clock time before the date's 明六つ is, under kDawn, the small
        // hours after its night.
        const int minute =
            reading.clock + (dayStart == DayStart::kDawn && reading.clock < marks.At(6) ? 1440 : 0);
        return {minute, minute};
    }
    const int shift = dayStart == DayStart::kDawn && reading.smallHours ? 24 : 0;
    return {MinuteAt(marks, reading.start, shift), MinuteAt(marks, reading.end, shift)};
}

std::vector<ResolvedReading> ResolveReadings(const std::vector<HourReading>& readings,
                                             const HourMarks& marks, DayStart dayStart) {
    std::vector<ResolvedReading> resolved;
    resolved.reserve(readings.size());
    for (const HourReading& reading : readings)
        resolved.push_back({reading, ResolveReading(reading, marks, dayStart)});
    std::stable_sort(resolved.begin(), resolved.end(),
                     [](const ResolvedReading& a, const ResolvedReading& b) {
                         return a.span.start < b.span.start;
                     });
    return resolved;
}

std::string_view NumberedHourName(int index) {
    if (index < 0 || index >= static_cast<int>(kNumberedNames.size()))
        return {};
    return kNumberedNames[static_cast<std::size_t>(index)];
}

MomentNames NameMoment(const MomentHour& hour) {
    const std::array<int, 73>& m = hour.marks.mark;
    const int i = hour.mark;
    const int t = hour.minute;
    // The part of [a, b] divided in den that t falls in, by the minutes
    // ResolveReading gives the parts' starts.
    const auto part = [t](int a, int b, int den) {
        int p = 0;
        while (p + 1 < den && t >= Between(a, b, p + 1, den))
            ++p;
        return p;
    };
    MomentNames names;
    const int first = i - i % 2;
    const int k = (first / 2) % 12;
    const int s = m[static_cast<std::size_t>(first)];
    const int e = m[static_cast<std::size_t>(first + 2)];
    names.branch = BranchName(k, kWhole);
    names.quarter = BranchName(k, static_cast<Suffix>(kQuarter1 + part(s, e, 4)));
    names.thirdRuling = BranchName(k, static_cast<Suffix>(kUpper + part(s, e, 3)));
    // Centred: the half-hour before a numbered hour holds its 上刻 and the
    // start of its 中刻, the half-hour after it the rest of 中刻 and 下刻.
    const int h0 = m[static_cast<std::size_t>(i)];
    const int h1 = m[static_cast<std::size_t>(i + 1)];
    const int centredBranch = ((i + 1) / 2) % 12;
    const Suffix centred =
        i % 2 ? (part(h0, h1, 3) < 2 ? kUpper : kMiddle) : (part(h0, h1, 3) < 1 ? kMiddle : kLower);
    names.thirdCentred = BranchName(centredBranch, centred);
    return names;
}

} // namespace tolmeri
