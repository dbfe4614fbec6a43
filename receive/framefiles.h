// The frame table's frames as files: the file dialogs' filters, the format
// a saved file takes, and the dialogs themselves, which tests replace.
#ifndef FRAMEFILES_H
#define FRAMEFILES_H

#include "formats.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace framefiles {

// The open dialog's filter: every format at once, then each on its own.
QString openFilter();
// The save dialog's filters, one per format, in formats() order.
QStringList saveFilters();

// The format to save in: the path's extension where it names a format, else
// the chosen filter's, whose extension is then added to a path without one.
std::optional<irfiles::Format> saveFormat(QString &path, const QString &selectedFilter);

// The standard file dialogs. Tests replace them to answer without a user.
using OpenDialog = std::function<QStringList(QWidget *parent, const QString &filter)>;
using SaveDialog
    = std::function<QString(QWidget *parent, const QStringList &filters, QString *selectedFilter)>;
void replaceDialogs(OpenDialog open, SaveDialog save);
QStringList askOpenFiles(QWidget *parent);
QString askSaveFile(QWidget *parent, QString *selectedFilter);

} // namespace framefiles

#endif // FRAMEFILES_H
