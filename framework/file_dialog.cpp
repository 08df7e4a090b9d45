#include "framework/file_dialog.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace afx {

namespace {
SaveFileDialog& Hook() {
    static SaveFileDialog hook;
    return hook;
}
} // namespace

QString FilterExtension(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral(R"(\*\.([A-Za-z0-9]+))"));
    const QRegularExpressionMatch m = pattern.match(filter);
    return m.hasMatch() ? m.captured(1) : QString();
}

SaveFileAnswer GetSaveFileName(const SaveFileRequest& request) {
    if (Hook())
        return Hook()(request);
    QFileDialog dialog(request.owner, request.caption, request.path,
                       request.filters.join(QStringLiteral(";;")));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The caller asks about replacing a file: it knows where a link leads.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.selectedFilter.isEmpty())
        dialog.selectNameFilter(request.selectedFilter);
    // A name typed without an extension gets the chosen kind's.
    dialog.setDefaultSuffix(FilterExtension(dialog.selectedNameFilter()));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog](const QString& filter) { dialog.setDefaultSuffix(FilterExtension(filter)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {dialog.selectedFiles().first(), dialog.selectedNameFilter()};
}

SaveFileDialog SetSaveFileDialog(SaveFileDialog dialog) {
    SaveFileDialog previous = std::move(Hook());
    Hook() = std::move(dialog);
    return previous;
}

} // namespace afx
