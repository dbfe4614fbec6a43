#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>

#include <numeric>
#include <vector>

namespace {
const QColor PlotFrameColour(255, 255, 255);
const QColor CanvasColour(0, 0, 0);
const QColor CanvasTextColour(133, 190, 232);
const QColor GridColour(50, 50, 50);
const QColor CurveColour(0, 255, 0);
} // namespace

void MainWindow::setupPlot(QwtPlot *plot, int xMax, double yMin, double yMax)
{
    plot->setAutoFillBackground(true);
    plot->setPalette(QPalette(PlotFrameColour));
    plot->setAxisScale(QwtPlot::xBottom, 0, xMax);
    plot->setAxisScale(QwtPlot::yLeft, yMin, yMax);
    plot->enableAxis(QwtPlot::yLeft, false);

    QPalette canvasPalette(CanvasColour);
    canvasPalette.setBrush(QPalette::All, QPalette::WindowText, QBrush(CanvasTextColour));
    plot->canvas()->setPalette(canvasPalette);
}

void MainWindow::setupPlotItems()
{
    auto *grid = new QwtPlotGrid;
    grid->enableX(true);
    grid->enableY(true);
    grid->setMajorPen(GridColour, 0, Qt::DotLine);
    grid->attach(ui->qwtPlot);

    waveCurve = new QwtPlotCurve(QString());
    waveCurve->setRenderHint(QwtPlotItem::RenderAntialiased, true);
    waveCurve->setPen(QPen(CurveColour));
    waveCurve->attach(ui->qwtPlot);
}

void MainWindow::showWaveform(const double *levels, int count)
{
    std::vector<double> x(static_cast<size_t>(count > 0 ? count : 0));
    std::iota(x.begin(), x.end(), 0.0);
    ui->qwtPlot->setAxisScale(QwtPlot::xBottom, 0, count);
    waveCurve->setSamples(x.data(), levels, static_cast<int>(x.size()));
    ui->qwtPlot->setAutoReplot(true);
    ui->qwtPlot->replot();
}
