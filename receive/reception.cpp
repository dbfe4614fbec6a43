#include "mainwindow.h"

void MainWindow::on_pushButtonStartReceive_clicked() {}
void MainWindow::receiveTick() {}
void MainWindow::stopReception() {}
