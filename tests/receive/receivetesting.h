#ifndef RECEIVETESTING_H
#define RECEIVETESTING_H

#include "windowharness.h"

#include <QCoreApplication>
#include <QTimerEvent>

#include <qwt_plot.h>
#include <qwt_plot_curve.h>

#include <vector>

// Delivers one receive display tick to window, as its running timer would.
// False when no timer runs on it.
inline bool displayTick(QObject *window)
{
    const QList<int> timers = runningTimers(window);
    if (timers.isEmpty())
        return false;
    QTimerEvent tick(timers.first());
    QCoreApplication::sendEvent(window, &tick);
    return true;
}

// The window's waveform curve, the plot's only one.
inline QwtPlotCurve *curve(QObject *window)
{
    const QwtPlotItemList items
        = child<QwtPlot>(window, "qwtPlot")->itemList(QwtPlotItem::Rtti_PlotCurve);
    return items.size() == 1 ? static_cast<QwtPlotCurve *>(items.first()) : nullptr;
}

#endif // RECEIVETESTING_H
