// Helpers shared by the codec and adapter tests: timing jitter, durations
// arithmetic, and the `pulse N` / `space N` text format of the LIRC tools.
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

// LIRC's text form: one `pulse N` or `space N` line per duration.
struct PulseSpace
{
    int64_t leadingSpace = 0;  // silence before the first pulse
    ircodec::Durations stream; // pulse first, alternating; neighbours of one kind merged
};
std::string writePulseSpace(
    int64_t leadingSpace, const ircodec::Durations &durations, int64_t trailingSpace);
// Empty stream when the text holds a line of another form.
PulseSpace readPulseSpace(const std::string &text, bool *ok = nullptr);

} // namespace irtest

#endif // TESTS_IRTEST_H
