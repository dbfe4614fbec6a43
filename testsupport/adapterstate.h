// The window against the recording fake adapter: frames as the adapter's
// thread reports them, and the check that the window's receive state agrees
// with the adapter's whatever it answered.
#ifndef ADAPTERSTATE_H
#define ADAPTERSTATE_H

#include "fakeadapter.h"
#include "windowharness.h"

#include <QAbstractButton>

namespace adapterstate {

const QString idleCaption = QStringLiteral("开始接收");
const QString receivingCaption = QStringLiteral("停止接收");

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

inline bool adapterReceiving()
{
    return fake::Adapter::instance().callback() != nullptr;
}

// The receive button's caption and the display timer agree with whether the
// adapter really receives, and no repeat timer is left running. Empty when
// all holds, else what does not.
inline QString stateFault(QObject *window)
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

} // namespace adapterstate

#endif // ADAPTERSTATE_H
