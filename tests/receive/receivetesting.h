#ifndef RECEIVETESTING_H
#define RECEIVETESTING_H

#include "korvex.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QTimerEvent>

#include <vector>

// A received record with its own raw array, as the adapter hands it over.
struct Frame
{
    Frame(int32_t type, uint32_t value, uint32_t address, int32_t bits, std::vector<int> raw)
        : raw(std::move(raw))
    {
        record.decode_type = type;
        record.value = value;
        record.address = address;
        record.bits = bits;
        record.raw_data = this->raw.empty() ? nullptr : this->raw.data();
        record.raw_count = static_cast<int32_t>(this->raw.size());
        record.extra = 0;
    }
    IRResults record{};
    std::vector<int> raw;
};

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
