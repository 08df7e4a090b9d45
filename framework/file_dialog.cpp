#include "framework/file_dialog.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QRegularExpression>
#include <QTreeView>

namespace afx {

namespace {
SaveFileDialog& Hook() {
    static SaveFileDialog hook;
    return hook;
}

// The file list's dates as the program writes dates, "2026/06/21 15:00",
// whatever language the system's locale has (QFileSystemModel writes them
// in that locale's words).
class CFileDateProxy : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::DisplayRole && index.column() == kDateColumn)
            if (const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel()))
                return FileDateText(files->lastModified(mapToSource(index)));
        return QIdentityProxyModel::data(index, role);
    }

private:
    static constexpr int kDateColumn = 3; // name, size, type, date
};
} // namespace

QString FileDateText(const QDateTime& time) {
    return time.isValid() ? time.toString(QStringLiteral("yyyy/MM/dd HH:mm")) : QString();
}

QAbstractProxyModel* NewFileDateProxy(QObject* parent) {
    return new CFileDateProxy(parent);
}

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
    // Qt's own dialog everywhere, so its list is the one set up here.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(NewFileDateProxy(&dialog));
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
    // Room for Japanese names and whole dates: the name column takes what
    // the others leave, the others fit their contents.
    dialog.resize(dialog.sizeHint().expandedTo(QSize(760, 460)));
    if (auto* list = dialog.findChild<QTreeView*>()) {
        QHeaderView* header = list->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    }
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
