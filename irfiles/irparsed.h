// The parsed records of .ir signal files: a protocol name with an address
// and a command, mapped to and from our codec's frames. Pure functions.
#ifndef IRFILES_IRPARSED_H
#define IRFILES_IRPARSED_H

#include "ircodec.h"

#include <cstdint>
#include <optional>
#include <string>

namespace irfiles {

struct ParsedCode
{
    std::string protocol; // "NEC", "NECext", "Samsung32", "RC5", ...
    uint32_t address = 0;
    uint32_t command = 0;
};

// The parsed record of a frame when the frame is exactly one of the format's
// protocols (NEC, NECext, Samsung32, RC5, RC6, SIRC, SIRC15, SIRC20,
// Kaseikyo); a toggle bit, a repeat form or a failed check leaves it raw.
std::optional<ParsedCode> toParsed(const ircodec::Frame &frame);

// A parsed record as a frame of our codec and the carrier it is sent on.
struct ParsedFrame
{
    ircodec::Frame frame;
    int32_t carrierHz = 0;
};

// Reads NEC, NECext, Pioneer (NEC at 40 kHz), Samsung32, RC5, RC5X
// (commands 0..63, which need no S2 = 0), RC6, SIRC, SIRC15, SIRC20,
// Kaseikyo, RCA, and NEC42 with Aiwa's address 0x6E. Anything else, or
// fields wider than the protocol's, gives the reason in error.
std::optional<ParsedFrame> fromParsed(const ParsedCode &code, std::string &error);

} // namespace irfiles

#endif // IRFILES_IRPARSED_H
