// framework: the standard dialog that asks where to save a file. Every such
// question goes through here, so tests can answer it instead of a user.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QAbstractProxyModel;
class QDateTime;
class QObject;
class QWidget;

namespace afx {

struct SaveFileRequest {
    QWidget* owner = nullptr;
    QString caption;
    QString path;           // the folder and file name it opens at
    QStringList filters;    // "PNG 画像 (*.png)", ...: one kind of file each
    QString selectedFilter; // the one chosen at first
};

struct SaveFileAnswer {
    QString path;   // empty when the user cancelled
    QString filter; // the filter chosen with it
};

// Asks the user where to save, as a modal dialog over the owner. The file
// name gets the chosen filter's extension when it has none. An existing file
// is not confirmed here: the caller asks, naming the file a link would
// replace.
SaveFileAnswer GetSaveFileName(const SaveFileRequest& request);

// The extension of a filter's first pattern: "png" for "PNG 画像 (*.png)";
// empty when it names none.
QString FilterExtension(const QString& filter);

// A file's date in the dialog's list: "2026/06/21 15:00"; empty for none.
QString FileDateText(const QDateTime& time);
// The model the dialog's list shows its files through (over a
// QFileSystemModel), which writes their dates so.
QAbstractProxyModel* NewFileDateProxy(QObject* parent);

using SaveFileDialog = std::function<SaveFileAnswer(const SaveFileRequest&)>;
// Replaces the real dialog (an empty one restores it). Returns the previous.
SaveFileDialog SetSaveFileDialog(SaveFileDialog dialog);

} // namespace afx
