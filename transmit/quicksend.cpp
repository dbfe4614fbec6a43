#include "mainwindow.h"

void MainWindow::on_pushButtonNECSend_pressed() {}
void MainWindow::on_pushButtonNECSend_released() {}
void MainWindow::on_pushButtonITTSend_pressed() {}
void MainWindow::on_pushButtonJVCSend_pressed() {}
void MainWindow::on_pushButtonJVCSend_released() {}
void MainWindow::on_pushButtonNRC17Send_pressed() {}
void MainWindow::on_pushButtonNRC17Send_released() {}
void MainWindow::on_pushButtonRCASend_pressed() {}
void MainWindow::necTick() {}
void MainWindow::jvcTick() {}
void MainWindow::nrc17Tick() {}
