#include "framework/cp932.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "core/cp932_bytes.h"
#include "core/utf8.h"
#include "framework/cp932_table.h"

namespace afx {

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
            if (!tolmeri::IsCp932LeadByte(static_cast<unsigned char>(lead)))
                continue;
            for (int trail = kFirstTrail; trail <= kLastTrail; ++trail)
                if (const char16_t c = kDouble[tolmeri::Cp932LeadIndex(
                        static_cast<unsigned char>(lead))][trail - kFirstTrail])
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

QByteArray ToCp932(const QString& text, bool* ok) {
    const QByteArray utf8 = text.toUtf8();
    const std::string_view all(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    QByteArray out;
    out.reserve(utf8.size());
    bool clean = true;
    for (std::size_t i = 0; i < all.size();) {
        const tolmeri::Utf8Char ch = tolmeri::DecodeUtf8(all, i);
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

QString FromCp932(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    const auto n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (tolmeri::IsCp932LeadByte(b) && i + 1 < n) {
            const auto trail = static_cast<unsigned char>(bytes[i + 1]);
            const char16_t c = trail >= kFirstTrail && trail <= kLastTrail
                                   ? kDouble[tolmeri::Cp932LeadIndex(b)][trail - kFirstTrail]
                                   : u'\0';
            if (c != 0) {
                text += QChar(c);
                i += 2;
                continue;
            }
        }
        // A lead byte without its second byte, or a byte that is no character,
        // is one replacement mark; the next byte starts afresh.
        text += kSingle[b] != 0 || b == 0 ? QChar(kSingle[b]) : QChar(QChar::ReplacementCharacter);
        ++i;
    }
    return text;
}

int Cp932Length(const QString& text) {
    bool ok = false;
    const QByteArray bytes = ToCp932(text, &ok);
    return ok ? static_cast<int>(bytes.size()) : -1;
}

} // namespace afx
