#include "mainwindow.h"

void MainWindow::on_checkBoxRawData_clicked(bool) {}
void MainWindow::on_pushButtonSendIR_clicked() {}
