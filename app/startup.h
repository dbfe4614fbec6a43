// What main does once the application object exists.
#ifndef STARTUP_H
#define STARTUP_H

#include <QStringList>

class MainWindow;

// Shows the window and opens the files of the command line (the
// application's arguments, which Qt has already rid of its own options;
// the desktop entry passes the files it opens the same way).
void showWindow(MainWindow &window, const QStringList &arguments);

#endif // STARTUP_H
