#include "convert.h"
#include "mainwindow.h"

#include <QApplication>
#include <QIcon>

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char *argv[])
{
    // File conversion needs no display: it runs before any GUI object exists.
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (irfiles::isConvertCommand(args))
        return irfiles::convertMain(args, std::cout, std::cerr);
    QApplication app(argc, argv);
#ifndef Q_OS_WIN
    // Windows takes the icon from the executable's IDI_ICON1 resource.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/remote.png")));
#endif
    MainWindow window;
    window.show();
    // Files named on the command line (and by the desktop entry's %F) open
    // into the frame table; Qt's own options are gone from arguments() by now.
    const QStringList files = QApplication::arguments().mid(1);
    if (!files.isEmpty())
        window.openFrameFiles(files);
    return app.exec();
}
