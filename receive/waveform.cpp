#include "mainwindow.h"
#include "ui_mainwindow.h"
#include "wavecurve.h"
#include "waveseries.h"

#include <qwt_plot.h>
#include <qwt_plot_grid.h>

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

    waveCurve = new WaveCurve(QString());
    waveCurve->setRenderHint(QwtPlotItem::RenderAntialiased, true);
    waveCurve->setPen(QPen(CurveColour));
    waveCurve->attach(ui->qwtPlot);
}

void MainWindow::showWaveform(const double *levels, int count)
{
    showWaveform(levels::fromSamples(levels, count));
}

void MainWindow::showWaveform(const levels::Waveform &wave)
{
    // The axis spans the frame's whole length, also when it is drawn cut off.
    ui->qwtPlot->setAxisScale(QwtPlot::xBottom, 0, static_cast<double>(wave.length));
    waveCurve->setData(new WaveSeries(wave));
    ui->qwtPlot->setAutoReplot(true);
    ui->qwtPlot->replot();
}
