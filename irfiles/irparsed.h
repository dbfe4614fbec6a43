// The parsed records of .ir signal files: a protocol name with an address
// and a command, mapped to and from frames. Pure functions.
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

    bool operator==(const ParsedCode &other) const
    {
        return protocol == other.protocol && address == other.address && command == other.command;
    }
};

// The parsed record of a frame when the frame is exactly one of the format's
// protocols our codec decodes (NEC, NECext, Samsung32, RC5, RC6, SIRC,
// SIRC15, SIRC20, Kaseikyo, NEC42 with Aiwa's address); a toggle bit, a repeat form or a failed
// check leaves it raw.
std::optional<ParsedCode> toParsed(const ircodec::Frame &frame);

// The parsed record the .ir writer adds after a frame's raw record: that of
// the frame our codec decodes (`decoded`, decoded from `durations`), else
// what the reading layer reads: RC5X for RC5's extended form (commands 64 to
// 127: the second start bit is 0, the inverted seventh command bit) and
// NEC42 for Sanyo's LC7461 frames of any address.
std::optional<ParsedCode> parsedForm(
    const std::optional<ircodec::Frame> &decoded, const ircodec::Durations &durations);

// A parsed record as the frame it sends and its carrier.
struct ParsedFrame
{
    ircodec::Durations durations; // mark first, ending with a mark
    int32_t carrierHz = 0;
};

// Why a parsed record cannot be sent, and which of its fields says so.
struct ParsedProblem
{
    enum class Field { Protocol, Address, Command };
    Field field = Field::Protocol;
    std::string reason; // follows the field and its value: "is wider than NEC's 8 bits"
};

// Reads NEC, NECext, Pioneer (NEC at 40 kHz), Samsung32, RC5, RC5X (commands
// 0..127, from 64 on in RC5's extended form), RC6, SIRC, SIRC15, SIRC20,
// Kaseikyo, RCA and NEC42 (13-bit address, 8-bit command). Anything else, or
// fields wider than the protocol's, gives the problem.
std::optional<ParsedFrame> fromParsed(const ParsedCode &code, ParsedProblem &problem);

} // namespace irfiles

#endif // IRFILES_IRPARSED_H
