// Frames for the file format tests: one or more of every protocol our codec
// encodes, frames longer than a receive record holds, and comparisons.
#ifndef TESTS_IRFILES_SAMPLES_H
#define TESTS_IRFILES_SAMPLES_H

#include "irsignal.h"

#include <QString>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace samples {

// Encoded frames of every protocol, named "<PROTOCOL>_<n>" (one word, so
// that every format keeps the name as it is), at the protocol's carrier.
std::vector<irfiles::Signal> everyProtocol();

// Pulse-distance frames of `bits` data bits (air-conditioner length):
// 2 * bits + 3 durations.
irfiles::Signal longFrame(const std::string &name, int bits, int32_t carrierHz);

// The first difference between two durations lists, each duration allowed
// to differ by `tolerance` microseconds; empty when they agree.
QString durationsDiffer(
    const ircodec::Durations &a, const ircodec::Durations &b, int32_t tolerance = 0);

// A file in a temporary folder (QTemporaryDir::filePath needs Qt 5.9).
QString inDir(const QTemporaryDir &dir, const QString &name);

// The file's text for messages.
QString preview(const std::string &data);

} // namespace samples

#endif // TESTS_IRFILES_SAMPLES_H
