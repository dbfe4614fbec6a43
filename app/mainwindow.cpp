#include "mainwindow.h"

#include "frametablemodel.h"
#include "ui_mainwindow.h"

#include <QMessageBox>
#include <QTimerEvent>

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(new Ui::MainWindow)
{
    ui->setupUi(this);
    setupRawTimingBox();
    setupFrameTable();
    setupFrameActions();
    setupPlot(ui->qwtPlot, 2000, -0.5, 1.5);
    setupPlotItems();
}

MainWindow::~MainWindow()
{
    // A running reception is stopped first, so that no callback can reach
    // the receive queue once the window is gone.
    stopReception();
    // Closing during an NRC17 hold ends it as a release does: with the stop
    // frame, which no later tick would send.
    endNrc17Hold();
    delete ui;
    delete irDataModel;
}

void MainWindow::timerEvent(QTimerEvent *event)
{
    const int id = event->timerId();
    // 0 is the "no timer" value of the ids below, never a running timer.
    if (id == 0)
        return;
    if (id == necTimerId)
        necTick();
    else if (id == jvcTimerId)
        jvcTick();
    else if (id == nrc17TimerId)
        nrc17Tick();
    else if (id == receiveTimerId)
        receiveTick();
    // Any other id is not ours; it is ignored and not passed on.
}

void MainWindow::stopTimer(int &timerId)
{
    if (timerId != 0) {
        killTimer(timerId);
        timerId = 0;
    }
}

void MainWindow::warn(const QString &text, const QString &details)
{
    // Built as QMessageBox::warning builds it, which makes the single Ok the
    // default; the details, where there are any, behind its details button.
    QMessageBox box(QMessageBox::Warning, QStringLiteral("警告"), text, QMessageBox::Ok, this);
    box.setDefaultButton(QMessageBox::Ok);
    if (!details.isEmpty())
        box.setDetailedText(details);
    box.exec();
}
