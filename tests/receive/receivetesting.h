#ifndef RECEIVETESTING_H
#define RECEIVETESTING_H

#include "windowharness.h"

#include <QCoreApplication>
#include <QTimerEvent>

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

#endif // RECEIVETESTING_H
