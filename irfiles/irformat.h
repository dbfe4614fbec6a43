// .ir signal files: "Filetype: IR signals file", "Version: 1", then records,
// each "name:" and either "type: raw" with "frequency:" (Hz), "duty_cycle:"
// and "data:" (microseconds, mark first), or "type: parsed" with
// "protocol:", "address:" and "command:" (four bytes, least significant
// first). Lines starting with '#' are comments, wherever they stand; writers
// put one between records.
#ifndef IRFILES_IRFORMAT_H
#define IRFILES_IRFORMAT_H

#include "textreader.h"
#include "textwriter.h"

#include <memory>

namespace irfiles {

// Parsed records are encoded with our codec. A parsed record right after a
// raw record of the same name, and the parsed form of that record's frame,
// is that frame's second form (as the writer writes them) and gives no
// signal of its own. A record that is well formed but cannot be represented
// (an unknown type or protocol, a field wider than its protocol's, a value
// beyond the limits) is left out and listed; a malformed or truncated one
// fails the file.
void readIrSignals(textreader::Reader &r);

// A raw record per signal, followed by a parsed record of the same name
// where the frame is exactly one of the format's protocols (parsedForm()).
// Unnamed signals are named signal_1, signal_2, ... by their position.
std::unique_ptr<textwriter::FormatWriter> irSignalsWriter();

} // namespace irfiles

#endif // IRFILES_IRFORMAT_H
