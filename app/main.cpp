#include "commandline.h"
#include "mainwindow.h"
#include "startup.h"

#include <QApplication>

#include <iostream>
#include <optional>
#include <string>
#include <vector>

int main(int argc, char *argv[])
{
    // --help, --version, unknown options and the modes without a window
    // (file conversion) need no display: they run before any GUI object
    // exists.
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (const std::optional<int> status = commandline::runHeadless(args, std::cout, std::cerr))
        return *status;
    QApplication app(argc, argv);
    MainWindow window;
    showWindow(window, QApplication::arguments());
    return app.exec();
}
