#include "framework/xpm_image.h"

#include <cstdio>

namespace afx {

std::vector<QByteArray> XpmStrings(const QByteArray& text) {
    std::vector<QByteArray> strings;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        if (text[i] == '/' && i + 1 < n && text[i + 1] == '*') {
            const qsizetype end = text.indexOf("*/", i + 2);
            if (end < 0)
                return {};
            i = end + 2;
        } else if (text[i] == '"') {
            QByteArray s;
            for (++i; i < n && text[i] != '"'; ++i) {
                if (text[i] == '\\' && i + 1 < n)
                    ++i;
                s += text[i];
            }
            if (i >= n)
                return {};
            strings.push_back(std::move(s));
            ++i;
        } else {
            ++i;
        }
    }
    return strings;
}

QImage ReadXpmImage(const QByteArray& text) {
    const std::vector<QByteArray> strings = XpmStrings(text);
    if (strings.empty())
        return {};
    // QImage reads the array without knowing its length: the header's counts
    // must be there before it is handed over.
    int width = 0, height = 0, colours = 0, charsPerPixel = 0;
    if (std::sscanf(strings[0].constData(), "%d %d %d %d", &width, &height, &colours,
                    &charsPerPixel) != 4 ||
        width <= 0 || height <= 0 || colours <= 0 || charsPerPixel <= 0 || charsPerPixel > 15)
        return {};
    const std::size_t needed = 1 + static_cast<std::size_t>(colours) + height;
    if (strings.size() < needed)
        return {};
    for (std::size_t row = 1 + colours; row < needed; ++row)
        if (strings[row].size() < static_cast<qsizetype>(width) * charsPerPixel)
            return {};
    std::vector<const char*> lines;
    lines.reserve(needed);
    for (std::size_t i = 0; i < needed; ++i)
        lines.push_back(strings[i].constData());
    return QImage(lines.data());
}

} // namespace afx
