#include "mainwindow.h"
#include "ui_mainwindow.h"
#include "wavecurve.h"
#include "waveseries.h"

#include <qwt_plot.h>
#include <qwt_plot_grid.h>

namespace {
const QColor kPlotFrameColour(255, 255, 255);
const QColor kCanvasColour(0, 0, 0);
const QColor kCanvasTextColour(133, 190, 232);
const QColor kGridColour(50, 50, 50);
const QColor kCurveColour(0, 255, 0);
} // namespace

void MainWindow::setupPlot(QwtPlot *plot, int xMax, double yMin, double yMax)
{
    plot->setAutoFillBackground(true);
    plot->setPalette(QPalette(kPlotFrameColour));
    plot->setAxisScale(QwtPlot::xBottom, 0, xMax);
    plot->setAxisScale(QwtPlot::yLeft, yMin, yMax);
    plot->enableAxis(QwtPlot::yLeft, false);

    QPalette canvasPalette(kCanvasColour);
    canvasPalette.setBrush(QPalette::All, QPalette::WindowText, QBrush(kCanvasTextColour));
    plot->canvas()->setPalette(canvasPalette);
}

void MainWindow::setupPlotItems()
{
    auto *grid = new QwtPlotGrid;
    grid->enableX(true);
    grid->enableY(true);
    grid->setMajorPen(kGridColour, 0, Qt::DotLine);
    grid->attach(ui->qwtPlot);

    waveCurve = new WaveCurve(QString());
    waveCurve->setRenderHint(QwtPlotItem::RenderAntialiased, true);
    waveCurve->setPen(QPen(kCurveColour));
    waveCurve->attach(ui->qwtPlot);
}

void MainWindow::showWaveform(const double *levels, int count)
{
    showWaveform(waveform::fromSamples(levels, count));
}

void MainWindow::showWaveform(const waveform::Waveform &wave)
{
    // The axis spans the frame's whole length, also when it is drawn cut off.
    ui->qwtPlot->setAxisScale(QwtPlot::xBottom, 0, static_cast<double>(wave.length));
    waveCurve->setData(new WaveSeries(wave));
    ui->qwtPlot->setAutoReplot(true);
    ui->qwtPlot->replot();
}
