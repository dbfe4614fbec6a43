#include "mainwindow.h"

#include <QModelIndex>

void MainWindow::setupFrameTable() {}
void MainWindow::appendFrameRows(int, int) {}
void MainWindow::on_tableViewIRData_clicked(const QModelIndex &) {}
void MainWindow::on_pushButtonClearData_clicked() {}
