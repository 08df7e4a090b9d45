#include "ui/xml_text.h"

namespace tolmeri {

QString XmlCharacters(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
            continue;
        }
        const char16_t u = c.unicode();
        const bool allowed = (u >= 0x20 || u == u'\t' || u == u'\n' || u == u'\r') &&
                             !c.isSurrogate() && u != 0xFFFE && u != 0xFFFF;
        if (allowed)
            out += c;
    }
    return out;
}

QString XmlEscaped(const QString& text) {
    QString out;
    for (const QChar c : XmlCharacters(text)) {
        switch (c.unicode()) {
        case u'&':
            out += QLatin1String("&amp;");
            break;
        case u'<':
            out += QLatin1String("&lt;");
            break;
        case u'>':
            out += QLatin1String("&gt;");
            break;
        case u'"':
            out += QLatin1String("&quot;");
            break;
        case u'\'':
            out += QLatin1String("&apos;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace tolmeri
