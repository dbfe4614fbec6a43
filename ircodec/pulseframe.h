// Pulse-distance and pulse-width frames of any length, for the readers: an
// optional header, the bits, separators (a mark and a long space) after
// given bits, and a stop mark, whose length may stretch (stopMarkWindow()).
// The bits land in a BitString, so frames longer than 64 bits (air
// conditioners send up to 300) read whole.
#ifndef IRCODEC_PULSEFRAME_H
#define IRCODEC_PULSEFRAME_H

#include "bitstring.h"
#include "pulse.h"

#include <array>
#include <cstddef>

namespace ircodec {

// A mark and a long space after bit `afterBit` (counted from 1), before the
// next bit: Samsung's 36-bit frames break after 16 bits.
struct Separator
{
    int afterBit = 0; // 0: no separator
    MarkSpace pair;
};

constexpr int kMaxSeparators = 4;

struct PulseLayout
{
    MarkSpace header; // {0, 0}: no header
    MarkSpace zero;
    MarkSpace one;
    // Mark after the last bit; 0 when the last bit's mark ends the frame.
    int32_t stopMark = 0;
    std::array<Separator, kMaxSeparators> separators{};
};

constexpr bool hasHeader(const PulseLayout &layout)
{
    return layout.header.mark > 0;
}

// Separators that fall inside a frame of `bits` bits: after a bit that has
// another bit after it.
constexpr int separatorsWithin(const PulseLayout &layout, int bits)
{
    int count = 0;
    for (const Separator &s : layout.separators)
        if (s.afterBit > 0 && s.afterBit < bits)
            ++count;
    return count;
}

// Durations of a frame of `bits` bits.
constexpr size_t pulseFrameDurations(const PulseLayout &layout, int bits)
{
    if (bits <= 0)
        return 0;
    const size_t header = hasHeader(layout) ? 2 : 0;
    const size_t body = 2 * static_cast<size_t>(bits) - (layout.stopMark > 0 ? 0 : 1);
    const size_t stop = layout.stopMark > 0 ? 1 : 0;
    return header + body + stop + 2 * static_cast<size_t>(separatorsWithin(layout, bits));
}

// The bit count of a frame of `durations` durations, -1 when none fits.
int pulseFrameBits(const PulseLayout &layout, size_t durations);

// Reads a whole frame, its bit count following from its length; false on
// any mismatch. A duration that fits both a 0 and a 1 is read as the
// nearer. The edges agree as timing.h asks, the stop mark apart.
bool readPulseFrame(const PulseLayout &layout, const Durations &durations, BitString &bits);

// The nominal durations of a frame.
Durations writePulseFrame(const PulseLayout &layout, const BitString &bits);

} // namespace ircodec

#endif // IRCODEC_PULSEFRAME_H
