#include "mainwindow.h"

void MainWindow::setupPlot(QwtPlot *, int, double, double) {}
void MainWindow::setupPlotItems() {}
void MainWindow::showWaveform(const double *, int) {}
