#include "framework/translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace afx {

QTranslator* InstallQtTranslation() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return nullptr;
    auto* translator = new QTranslator(app);
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

} // namespace afx
