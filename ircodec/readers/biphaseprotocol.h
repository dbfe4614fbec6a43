// What the readers of bi-phase protocols share: a frame body of a lead (a
// fixed pattern of half bits) and a fixed count of bits at one half-bit
// length, read from durations and written back.
#ifndef IRCODEC_READERS_BIPHASEPROTOCOL_H
#define IRCODEC_READERS_BIPHASEPROTOCOL_H

#include "../biphase.h"
#include "../reader.h"

#include <string>

namespace ircodec {

struct BiphaseBody
{
    int64_t halfNs;
    Polarity polarity;
    // The half bits before the bits, the first a mark: '1' a mark, '0' a
    // space.
    const char *lead;
    int bits;
    // The longest run of equal half bits the body holds.
    int maxRun = 2;
};

// Reads the body from `durations[first..]`: every duration a run of half
// bits, the lead, then the bits; every half bit accounted for.
bool readBiphaseBody(const BiphaseBody &body, const Durations &d, size_t first, BitString &bits);

// The nominal durations of a body with these bits.
Durations writeBiphaseBody(const BiphaseBody &body, const BitString &bits);

// The duration of `halves` half bits, in microseconds.
constexpr int32_t halvesUs(const BiphaseBody &body, int halves)
{
    return static_cast<int32_t>((halves * body.halfNs + 500) / 1000);
}

// The admission of frames of `before` durations read apart (a lead) and
// then the body, each duration one to maxRun half bits, the frame's first
// mark from `shortestUs` to `longestUs`.
constexpr Admission biphaseAdmission(
    const BiphaseBody &body, int before, int32_t shortestUs, int32_t longestUs)
{
    const int halves = static_cast<int>(std::char_traits<char>::length(body.lead)) + 2 * body.bits;
    return admitFirstMark(
        before + (halves - 1) / body.maxRun, before + halves, shortestUs, longestUs);
}

} // namespace ircodec

#endif // IRCODEC_READERS_BIPHASEPROTOCOL_H
