// .ir signal files: "Filetype: IR signals file", "Version: 1", then records
// separated by "#" lines, each "name:" and either "type: raw" with
// "frequency:" (Hz), "duty_cycle:" and "data:" (microseconds, mark first),
// or "type: parsed" with "protocol:", "address:" and "command:" (four bytes,
// least significant first).
#ifndef IRFILES_IRFORMAT_H
#define IRFILES_IRFORMAT_H

#include "loaded.h"

#include <string>
#include <string_view>
#include <vector>

namespace irfiles {

// Parsed records are encoded with our codec. A parsed record right after a
// raw record of the same name and frame is that frame's second form (as
// writeIrSignals writes them) and gives no signal of its own.
Loaded readIrSignals(std::string_view data, const std::string &file);

// A raw record per signal, followed by a parsed record of the same name
// where the frame is exactly one of the format's protocols. Unnamed signals
// are named signal_1, signal_2, ... by their position.
std::string writeIrSignals(const std::vector<Signal> &list);

} // namespace irfiles

#endif // IRFILES_IRFORMAT_H
