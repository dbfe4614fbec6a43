// The frame table's frames as files: the file dialogs' filters, the format
// a saved file takes, and the dialogs themselves, which tests replace.
#ifndef FRAMEFILES_H
#define FRAMEFILES_H

#include "formats.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QMimeData;
class QWidget;

namespace framefiles {

// The open dialog's filter: every format at once, then each on its own, then
// all files.
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

// The local files a drag carries, or none when it carries anything else as
// well (a web address, text only).
QStringList draggedFiles(const QMimeData *data);

// Takes drags of local files on a window, wherever they are dropped, and
// opens the files through open once the drop is over (so that a warning
// never holds up the program the files came from). Drags of anything else
// go where they went before.
class FileDrop : public QObject
{
public:
    using Open = std::function<void(const QStringList &paths)>;
    // Watches window and its widgets that take drops of their own (text
    // boxes); window then takes drops too.
    FileDrop(QWidget *window, Open open);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Open open;
};

} // namespace framefiles

#endif // FRAMEFILES_H
