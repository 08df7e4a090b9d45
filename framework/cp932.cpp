#include "framework/cp932.h"

#include <string_view>

#include "core/cp932.h"

namespace afx {

namespace {

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace

QByteArray ToCp932(const QString& text, bool* ok) {
    return QByteArray::fromStdString(tolmeri::ToCp932(View(text.toUtf8()), ok));
}

QString FromCp932(const QByteArray& bytes) {
    const std::string utf8 = tolmeri::FromCp932(View(bytes));
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

int Cp932Length(const QString& text) {
    return tolmeri::Cp932Length(View(text.toUtf8()));
}

} // namespace afx
