// Frames for the file format tests: one or more of every protocol our codec
// encodes, frames longer than a receive record holds, and comparisons.
#ifndef TESTS_IRFILES_SAMPLES_H
#define TESTS_IRFILES_SAMPLES_H

#include "irsignal.h"

#include <QString>
#include <QTemporaryDir>

#include <string>
#include <utility>
#include <vector>

namespace samples {

// Encoded frames of every protocol, named "<PROTOCOL>_<n>" (one word, so
// that every format keeps the name as it is), at the protocol's carrier.
std::vector<irfiles::Signal> everyProtocol();

// Pulse-distance frames of `bits` data bits (air-conditioner length):
// 2 * bits + 3 durations.
irfiles::Signal longFrame(const std::string &name, int bits, int32_t carrierHz);

// A small .ir file written by hand around one kind of record that made
// whole files of the public IR database refuse to load: good records before
// and after it. What must load of it, and what must be left out and listed
// (the record's line, then words of the message).
struct IrSample
{
    const char *what;
    std::string text;
    size_t frames;
    std::vector<std::pair<int, std::string>> leftOut;
};
std::vector<IrSample> irDatabaseSamples();

// .ir files that are malformed or truncated, which must still be refused
// whole: the line and words of the error.
struct IrBadSample
{
    const char *what;
    std::string text;
    int line;
    std::string error;
};
std::vector<IrBadSample> irMalformedSamples();

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
