// Pronto hex, learned codes: one code per line, optionally preceded by a name
// and a colon ("POWER: 0000 006D 0022 0000 0156 00AB ...").
#ifndef IRFILES_PRONTOFORMAT_H
#define IRFILES_PRONTOFORMAT_H

#include "loaded.h"

#include <string>
#include <string_view>
#include <vector>

namespace irfiles {

// Carrier period unit of the frequency word, in microseconds.
constexpr double kProntoUnitUs = 0.241246;

// Reads type 0000 (modulated) and 0100 (unmodulated) codes. The frame is the
// once sequence, or the repeat sequence when there is no once sequence; its
// last off time is the lead-out and not part of the frame. Blank lines and
// lines starting with '#' are skipped.
Loaded readPronto(std::string_view data, const std::string &file);

// One line per signal, "name: " first when it has one: type 0000 (0100 for
// a carrier of 0, timed at the default carrier), the frame as the once
// sequence with a lead-out of kLeadOutUs, no repeat sequence. Durations are
// rounded to whole carrier periods.
std::string writePronto(const std::vector<Signal> &list);

// One code without a name (what "copy as Pronto" puts on the clipboard per
// frame).
std::string prontoCode(const Signal &signal);

} // namespace irfiles

#endif // IRFILES_PRONTOFORMAT_H
