// The user's actions on the shown window for the hardening tests, and the
// checks that hold after any of them whatever the adapter answered.
#ifndef HARDENINGSUPPORT_H
#define HARDENINGSUPPORT_H

#include "fakeadapter.h"
#include "mainwindow.h"
#include "receivequeue.h"
#include "windowharness.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <QTimerEvent>

#include <vector>

namespace hardening {

const QString idleCaption = QStringLiteral("开始接收");
const QString receivingCaption = QStringLiteral("停止接收");

inline QPushButton *button(MainWindow *window, const char *name)
{
    return child<QPushButton>(window, name);
}

inline void press(MainWindow *window, const char *name)
{
    QTest::mousePress(button(window, name), Qt::LeftButton);
}

inline void release(MainWindow *window, const char *name)
{
    QTest::mouseRelease(button(window, name), Qt::LeftButton);
}

inline void click(MainWindow *window, const char *name)
{
    QTest::mouseClick(button(window, name), Qt::LeftButton);
}

// An NEC record with the frame details' example timings.
inline ReceivedRecord necRecord(uint32_t value)
{
    return ReceivedRecord(3, value, 0, 32, {2000, 180, 90, 11});
}

// Frames as the adapter's thread would report them, through the stored
// callback (nothing arrives while reception is not running).
inline void deliver(int count, uint32_t firstValue = 0)
{
    for (int i = 0; i < count; ++i) {
        ReceivedRecord r = necRecord(firstValue + static_cast<uint32_t>(i));
        fake::Adapter::instance().deliver(0, 0, &r.record);
    }
}

inline int tableRows(MainWindow *window)
{
    return child<QTableView>(window, "tableViewIRData")->model()->rowCount();
}

inline bool adapterReceiving()
{
    return fake::Adapter::instance().callback() != nullptr;
}

// The receive button's caption and the display timer agree with whether the
// adapter really receives, and no repeat timer is left running. Empty when
// all holds, else what does not.
inline QString stateFault(MainWindow *window)
{
    const bool receiving = adapterReceiving();
    const QString caption = button(window, "pushButtonStartReceive")->text();
    if (caption != (receiving ? receivingCaption : idleCaption))
        return QStringLiteral("caption \"%1\" while the adapter %2")
            .arg(caption, receiving ? "receives" : "is idle");
    const int timers = runningTimers(window).size();
    if (timers != (receiving ? 1 : 0))
        return QStringLiteral("%1 timers running, receiving %2").arg(timers).arg(receiving);
    return {};
}

} // namespace hardening

#endif // HARDENINGSUPPORT_H
