#include "startup.h"

#include "commandline.h"
#include "mainwindow.h"

#include <QApplication>
#include <QIcon>

void showWindow(MainWindow &window, const QStringList &arguments)
{
#ifndef Q_OS_WIN
    // Windows takes the icon from the executable's IDI_ICON1 resource.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/remote.png")));
#endif
    window.show();
    // Qt's options that its platform does not read (-display away from X11)
    // are left in the arguments; they are no files either.
    std::vector<std::string> args;
    for (const QString &arg : arguments.mid(1))
        args.push_back(arg.toStdString());
    QStringList files;
    for (const std::string &file : commandline::windowFiles(args))
        files << QString::fromStdString(file);
    if (!files.isEmpty())
        window.openFrameFiles(files);
}
