#include "framefiles.h"

#include <QFileDialog>
#include <QFileInfo>

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
    const QString all = QStringLiteral("IR files (%1)").arg(patterns.join(QLatin1Char(' ')));
    return (QStringList{all} + each).join(QStringLiteral(";;"));
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

} // namespace framefiles
