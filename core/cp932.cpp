#include "core/cp932.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "core/cp932_bytes.h"
#include "core/cp932_table.h"
#include "core/utf8.h"

namespace tolmeri {

namespace {

using namespace cp932;

// Every character CP932 writes with its code (a byte, or lead << 8 | second
// byte), in character order: the first code that reads as it, or the
// converter's own choice where that differs. Made on first use.
const std::vector<std::pair<char16_t, unsigned short>>& Codes() {
    static const std::vector<std::pair<char16_t, unsigned short>> codes = [] {
        std::vector<std::pair<char16_t, unsigned short>> all;
        for (int b = 0; b < 256; ++b)
            if (kSingle[b] != 0 || b == 0)
                all.push_back({kSingle[b], static_cast<unsigned short>(b)});
        for (int lead = 0; lead < 256; ++lead) {
            if (!IsCp932LeadByte(static_cast<unsigned char>(lead)))
                continue;
            for (int trail = kFirstTrail; trail <= kLastTrail; ++trail)
                if (const char16_t c = kDouble[Cp932LeadIndex(static_cast<unsigned char>(lead))]
                                              [trail - kFirstTrail])
                    all.push_back({c, static_cast<unsigned short>(lead << 8 | trail)});
        }
        // Byte order within a character, so the first code comes first.
        std::stable_sort(all.begin(), all.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        all.erase(std::unique(all.begin(), all.end(),
                              [](const auto& a, const auto& b) { return a.first == b.first; }),
                  all.end());
        for (std::size_t i = 0; i < kExceptionCount; ++i) {
            const Cp932Exception e = kExceptions[i];
            const auto at =
                std::lower_bound(all.begin(), all.end(), e.character,
                                 [](const auto& entry, char16_t c) { return entry.first < c; });
            const bool listed = at != all.end() && at->first == e.character;
            if (e.code == 0 && e.character != 0) {
                if (listed)
                    all.erase(at);
            } else if (listed) {
                at->second = e.code;
            } else {
                all.insert(at, {e.character, e.code});
            }
        }
        return all;
    }();
    return codes;
}

// The CP932 code of a character, or -1 where it has none.
int CodeOf(char32_t c) {
    if (c > 0xFFFF)
        return -1;
    const auto& codes = Codes();
    const auto at =
        std::lower_bound(codes.begin(), codes.end(), static_cast<char16_t>(c),
                         [](const auto& entry, char16_t ch) { return entry.first < ch; });
    return at != codes.end() && at->first == c ? at->second : -1;
}

} // namespace

std::string ToCp932(std::string_view utf8, bool* ok) {
    std::string out;
    out.reserve(utf8.size());
    bool clean = true;
    for (std::size_t i = 0; i < utf8.size();) {
        const Utf8Char ch = DecodeUtf8(utf8, i);
        i += ch.length;
        const int code = ch.valid ? CodeOf(ch.code) : -1;
        if (code < 0) {
            clean = false;
            out += '?';
        } else {
            if (code > 0xFF)
                out += static_cast<char>(code >> 8);
            out += static_cast<char>(code & 0xFF);
        }
    }
    if (ok)
        *ok = clean;
    return out;
}

std::string FromCp932(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() * 3 / 2);
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n;) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (IsCp932LeadByte(b) && i + 1 < n) {
            const auto trail = static_cast<unsigned char>(bytes[i + 1]);
            const char16_t c = trail >= kFirstTrail && trail <= kLastTrail
                                   ? kDouble[Cp932LeadIndex(b)][trail - kFirstTrail]
                                   : u'\0';
            if (c != 0) {
                AppendUtf8(text, c);
                i += 2;
                continue;
            }
        }
        // A lead byte without its second byte, or a byte that is no character,
        // is one replacement mark; the next byte starts afresh.
        AppendUtf8(text, kSingle[b] != 0 || b == 0 ? char32_t{kSingle[b]} : kReplacementCharacter);
        ++i;
    }
    return text;
}

int Cp932Length(std::string_view utf8) {
    bool ok = false;
    const std::string bytes = ToCp932(utf8, &ok);
    return ok ? static_cast<int>(bytes.size()) : -1;
}

} // namespace tolmeri
