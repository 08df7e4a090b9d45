#include "framework/dialog_face.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

namespace afx {

const QStringList& PreferredDialogFamilies() {
    static const QStringList families = {
        QStringLiteral("MS PGothic"), QStringLiteral("ＭＳ Ｐゴシック"),
        QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
        QStringLiteral("sans-serif")};
    return families;
}

QStringList FamiliesToRequest(const QStringList& preferred, const QStringList& installed) {
    for (const QString& family : preferred)
        if (installed.contains(family, Qt::CaseInsensitive))
            return {family};
    return preferred;
}

QFont DialogFace(int pointSize) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int dpi = screen ? qRound(screen->logicalDotsPerInchY()) : 96;
    QFont font;
    font.setFamilies(FamiliesToRequest(PreferredDialogFamilies(), QFontDatabase::families()));
    font.setPixelSize(MulDiv(pointSize, dpi, 72));
    font.setStyleHint(QFont::SansSerif);
    // Text in this face needs no shaper: it has no kerning and no ligatures
    // for the dialogs' scripts, so every character is its own glyph at its
    // own advance, as the platform's dialogs draw it. Scripts that do need
    // shaping still get it.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

DluBase DialogBaseUnits(const QFont& font) {
    const QFontMetrics fm(font);
    return BaseUnitsFromMetrics(fm.horizontalAdvance(QStringLiteral(
                                    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")),
                                fm.height());
}

} // namespace afx
