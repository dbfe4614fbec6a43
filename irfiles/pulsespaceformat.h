// Pulse/space text as ir-ctl and mode2 read and write it.
//
// Read: "pulse N" / "space N" / "timeout N" / "carrier N" lines (mode2 and
// ir-ctl --mode2), and lines of numbers where "+N" is a pulse, "-N" a space
// and a bare number the opposite of the one before (ir-ctl's first form).
// Pulses and spaces in a row add up. Frames end at spaces of
// ircodec::kFrameSilenceUs or more, unless the file names its frames with
// "# name: ..." comment lines, as written here: then each name starts a
// frame, which keeps any long spaces inside it. Other '#' lines are
// comments. A frame beyond the limits is left out and listed.
//
// Written: one "pulse N" or "space N" line per duration (the mode2 form,
// which ir-ctl --send accepts), "carrier N" once at the top (ir-ctl takes one
// carrier per file: the first known carrier of the signals), a "# name: ..."
// line before each frame, and between frames a space of the next frame's
// recorded silence (kLeadOutUs when it has none or a shorter one). The file
// ends with the last pulse: ir-ctl ignores a trailing space.
#ifndef IRFILES_PULSESPACEFORMAT_H
#define IRFILES_PULSESPACEFORMAT_H

#include "textreader.h"
#include "textwriter.h"

#include <memory>

namespace irfiles {

void readPulseSpace(textreader::Reader &r);
std::unique_ptr<textwriter::FormatWriter> pulseSpaceWriter();

// One "pulse N" or "space N" line per duration, the first a pulse: a
// frame's lines in a written file, and the whole form LIRC's irsimreceive
// reads.
std::string pulseSpaceLines(const ircodec::Durations &durations);

} // namespace irfiles

#endif // IRFILES_PULSESPACEFORMAT_H
