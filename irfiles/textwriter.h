// Text pieces shared by the writers: names as a format can hold them, numbers
// formatted the same way whatever the locale, and the writer of one format,
// which turns signals into text one at a time.
#ifndef IRFILES_TEXTWRITER_H
#define IRFILES_TEXTWRITER_H

#include "irsignal.h"

#include <cstdint>
#include <optional>
#include <string>

namespace irfiles::textwriter {

// The signal's name on one line (line breaks and tabs become blanks), or
// "signal_<position>" (from 1) when it has none.
std::string lineName(const std::string &name, size_t index);

// The same as one word: blanks and '#' become '_' (LIRC button names).
std::string wordName(const std::string &name, size_t index);

// A value >= 0 with exactly `decimals` digits after the point ("0.330000").
std::string fixed(double value, int decimals);

// Upper-case hexadecimal, zero-padded to at least `digits` digits.
std::string hex(uint64_t value, int digits);
void appendHex(std::string &out, uint64_t value, int digits);

// Appends a number in decimal.
void appendNumber(std::string &out, int64_t value);

// Appends the durations in decimal, `separator` between them.
void appendJoined(std::string &out, const ircodec::Durations &durations, char separator);

// One format's writer: the text of a file, a signal at a time, so that a
// long list is written as it comes. Signals reach it within the limits that
// every format shares (irlimits.h); what a format cannot hold beyond those it
// refuses in check().
class FormatWriter
{
public:
    virtual ~FormatWriter() = default;
    // Why this format cannot hold the signal, or nothing.
    virtual std::optional<std::string> check(const Signal &) const
    {
        return std::nullopt;
    }
    // Appends the text that starts the file.
    virtual void begin(std::string &) { }
    // Appends the text of one signal; index counts from 0.
    virtual void add(std::string &out, const Signal &signal, size_t index) = 0;
    // Appends what ends the file.
    virtual void finish(std::string &) { }
};

} // namespace irfiles::textwriter

#endif // IRFILES_TEXTWRITER_H
