// Helpers of the codec and file format tests: timing jitter, durations
// arithmetic, readable frames. Pulse/space text is read and written by
// irfiles (pulsespaceformat.h).
#ifndef TESTS_IRTEST_H
#define TESTS_IRTEST_H

#include "ircodec.h"

#include <QMetaType>
#include <QString>
#include <QStringList>

#include <random>
#include <string>

Q_DECLARE_METATYPE(ircodec::Frame)
Q_DECLARE_METATYPE(ircodec::Durations)
Q_DECLARE_METATYPE(std::vector<ircodec::Frame>)

namespace irtest {

// Every duration scaled by a factor drawn uniformly from [1 - fraction,
// 1 + fraction]; never below 1 microsecond.
ircodec::Durations jitter(
    const ircodec::Durations &durations, double fraction, std::mt19937 &random);

int64_t total(const ircodec::Durations &durations);

// Readable form for failure messages.
QString describe(const ircodec::Frame &frame);
QString describe(const ircodec::Durations &durations);

} // namespace irtest

#endif // TESTS_IRTEST_H
