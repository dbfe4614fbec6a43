#include "framefiles.h"

#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace framefiles {

namespace {

QString filterOf(const irfiles::FormatInfo &info)
{
    return QStringLiteral("%1 (*%2)")
        .arg(QString::fromUtf8(info.description), QString::fromUtf8(info.extension));
}

QStringList defaultOpen(QWidget *parent, const QString &filter)
{
    return QFileDialog::getOpenFileNames(parent, QStringLiteral("打开"), QString(), filter);
}

QString defaultSave(QWidget *parent, const QStringList &filters, QString *selectedFilter)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("保存"), QString(),
        filters.join(QStringLiteral(";;")), selectedFilter);
}

OpenDialog &openDialog()
{
    static OpenDialog dialog = defaultOpen;
    return dialog;
}

SaveDialog &saveDialog()
{
    static SaveDialog dialog = defaultSave;
    return dialog;
}

} // namespace

QString openFilter()
{
    QStringList patterns;
    QStringList each;
    for (const irfiles::FormatInfo &info : irfiles::formats()) {
        patterns << QLatin1Char('*') + QString::fromUtf8(info.extension);
        each << filterOf(info);
    }
    const QString ir = QStringLiteral("IR files (%1)").arg(patterns.join(QLatin1Char(' ')));
    // Files named otherwise (lircd.conf.hauppauge) open by their content.
    const QString any = QStringLiteral("All files (*)");
    return (QStringList{ir} + each + QStringList{any}).join(QStringLiteral(";;"));
}

QStringList saveFilters()
{
    QStringList filters;
    for (const irfiles::FormatInfo &info : irfiles::formats())
        filters << filterOf(info);
    return filters;
}

std::optional<irfiles::Format> saveFormat(QString &path, const QString &selectedFilter)
{
    if (const auto byPath = irfiles::formatForPath(path.toStdString()))
        return byPath;
    for (const irfiles::FormatInfo &info : irfiles::formats()) {
        if (selectedFilter != filterOf(info))
            continue;
        if (QFileInfo(path).suffix().isEmpty())
            path += QString::fromUtf8(info.extension);
        return info.format;
    }
    return std::nullopt;
}

void replaceDialogs(OpenDialog open, SaveDialog save)
{
    openDialog() = open ? std::move(open) : defaultOpen;
    saveDialog() = save ? std::move(save) : defaultSave;
}

QStringList askOpenFiles(QWidget *parent)
{
    return openDialog()(parent, openFilter());
}

QString askSaveFile(QWidget *parent, QString *selectedFilter)
{
    return saveDialog()(parent, saveFilters(), selectedFilter);
}

QStringList draggedFiles(const QMimeData *data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile())
            return QStringList();
        files << url.toLocalFile();
    }
    return files;
}

FileDrop::FileDrop(QWidget *window, Open open) : QObject(window), open(std::move(open))
{
    window->setAcceptDrops(true);
    window->installEventFilter(this);
    for (QWidget *widget : window->findChildren<QWidget *>())
        if (widget->acceptDrops())
            widget->installEventFilter(this);
}

bool FileDrop::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (draggedFiles(drag->mimeData()).isEmpty())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList files = draggedFiles(drop->mimeData());
        if (files.isEmpty())
            return false;
        drop->acceptProposedAction();
        QTimer::singleShot(0, this, [this, files] { open(files); });
        return true;
    }
    default:
        return false;
    }
}

} // namespace framefiles
