// Pronto hex, learned codes: one code per line, optionally preceded by a name
// and a colon ("POWER: 0000 006D 0022 0000 0156 00AB ...").
#ifndef IRFILES_PRONTOFORMAT_H
#define IRFILES_PRONTOFORMAT_H

#include "textreader.h"
#include "textwriter.h"

#include <memory>

namespace irfiles {

// Carrier period unit of the frequency word, in microseconds.
constexpr double kProntoUnitUs = 0.241246;

// Reads type 0000 (modulated) and 0100 (unmodulated) codes. The frame is the
// once sequence, or the repeat sequence when there is no once sequence; its
// last off time is the lead-out and not part of the frame. Blank lines and
// lines starting with '#' are skipped. Codes of other types (the short forms
// of RC5, NEC, ...), and codes whose carrier or bursts are beyond the
// limits, are left out and listed; a code that is not one fails the file.
void readPronto(textreader::Reader &r);

// One line per signal, "name: " first when it has one: type 0000 (0100 for
// a carrier of 0, timed at the default carrier), the frame as the once
// sequence with a lead-out of kLeadOutUs, no repeat sequence. Durations are
// rounded to whole carrier periods; a frame with a burst longer than 0xFFFF
// periods is refused.
std::unique_ptr<textwriter::FormatWriter> prontoWriter();

// One code without a name (what "copy as Pronto" puts on the clipboard per
// frame).
std::string prontoCode(const Signal &signal);

} // namespace irfiles

#endif // IRFILES_PRONTOFORMAT_H
