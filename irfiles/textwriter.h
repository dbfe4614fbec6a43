// Text pieces shared by the writers: names as a format can hold them, and
// numbers formatted the same way whatever the locale.
#ifndef IRFILES_TEXTWRITER_H
#define IRFILES_TEXTWRITER_H

#include "ircodec.h"

#include <cstdint>
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

// The durations in decimal, `separator` between them.
std::string join(const ircodec::Durations &durations, const char *separator);

} // namespace irfiles::textwriter

#endif // IRFILES_TEXTWRITER_H
