#include "framework/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <string_view>

#include "core/utf8.h"

namespace afx {

namespace {

// One conversion descriptor per direction and thread, opened on first use.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (Valid())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as possible; an unconvertible or invalid input unit
    // of skipBytes bytes is replaced by replacement in the output. Returns false if
    // anything was replaced.
    bool Convert(const QByteArray& in, QByteArray& out, int skipBytes,
                 const QByteArray& replacement) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        out.clear();
        out.reserve(in.size() * 2 + 4);
        char* src = const_cast<char*>(in.constData());
        size_t srcLeft = static_cast<size_t>(in.size());
        bool clean = true;
        char buffer[256];
        while (srcLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            const size_t r = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<qsizetype>(dst - buffer));
            if (r != static_cast<size_t>(-1))
                break;
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL: skip the offending unit.
            clean = false;
            out.append(replacement);
            const size_t skip = srcLeft < static_cast<size_t>(skipBytes) ? srcLeft : skipBytes;
            src += skip;
            srcLeft -= skip;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        return clean;
    }

private:
    iconv_t m_cd;
};

} // namespace

QByteArray ToCp932(const QString& text, bool* ok) {
    thread_local Converter conv("CP932", "UTF-8");
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    bool clean = true;
    if (!conv.Valid()) {
        clean = false;
        out = utf8;
    } else {
        // Convert character by character only after a failure, so the
        // replaced unit is exactly one character.
        clean = conv.Convert(utf8, out, 1, "?");
        if (!clean) {
            out.clear();
            for (qsizetype i = 0; i < utf8.size();) {
                const std::string_view all(utf8.constData(), static_cast<std::size_t>(utf8.size()));
                const int n =
                    static_cast<int>(tolmeri::DecodeUtf8(all, static_cast<std::size_t>(i)).length);
                QByteArray piece;
                if (!conv.Convert(utf8.mid(i, n), piece, n, "?"))
                    piece = "?";
                out += piece;
                i += n;
            }
        }
    }
    if (ok)
        *ok = clean;
    return out;
}

QString FromCp932(const QByteArray& bytes) {
    thread_local Converter conv("UTF-8", "CP932");
    if (!conv.Valid())
        return QString::fromLatin1(bytes);
    QByteArray utf8;
    conv.Convert(bytes, utf8, 1, "\xEF\xBF\xBD"); // U+FFFD
    return QString::fromUtf8(utf8);
}

int Cp932Length(const QString& text) {
    bool ok = false;
    const QByteArray bytes = ToCp932(text, &ok);
    return ok ? static_cast<int>(bytes.size()) : -1;
}

} // namespace afx
