// Pulse-distance and pulse-width frames: optional header, one mark/space pair
// per bit, optional stop mark. Each protocol describes its frame by a table.
#ifndef IRCODEC_PULSE_H
#define IRCODEC_PULSE_H

#include "ircodec.h"

#include <cstddef>
#include <optional>

namespace ircodec {

struct MarkSpace
{
    int32_t mark = 0;
    int32_t space = 0;
};

struct PulseTable
{
    MarkSpace header; // {0, 0}: no header
    MarkSpace zero;
    MarkSpace one;
    // Mark after the last bit; 0 when the last bit's mark ends the frame (its
    // space is the gap), as in pulse-width coding.
    int32_t stopMark = 0;
};

// header + `count` bits (first bit on air = bit count-1 of `bits`) + stop.
Durations pulseEncode(const PulseTable &table, uint64_t bits, int count);

// The number of bits a frame of `entries` durations carries with this table,
// or -1 when no bit count gives that many entries.
int pulseBitCount(const PulseTable &table, size_t entries);

// Reads a whole frame of exactly `count` bits; empty on any mismatch.
std::optional<uint64_t> pulseDecode(const PulseTable &table, const Durations &durations, int count);

// A frame whose bits are the whole value, most significant first: from
// `minBits` to `maxBits` of them (the same for a fixed length).
struct PlainFrame
{
    Protocol protocol;
    PulseTable table;
    int minBits = 0;
    int maxBits = 0;
};

// Empty when the frame's bit count is out of range or its value does not fit.
std::optional<Bursts> plainEncode(const PlainFrame &layout, const Frame &frame);

// The bit count follows from the number of durations.
std::optional<Frame> plainDecode(const PlainFrame &layout, const Durations &durations);

} // namespace ircodec

#endif // IRCODEC_PULSE_H
