// Bi-phase (Manchester) frames, handled at half-bit resolution: a frame is a
// list of half-bit levels, merged into marks and spaces on the air.
#ifndef IRCODEC_BIPHASE_H
#define IRCODEC_BIPHASE_H

#include "ircodec.h"

#include <cstddef>
#include <functional>
#include <optional>

namespace ircodec {

// Half-bit levels, true = mark.
using Halves = std::vector<bool>;

// Which half carries the mark for a 1 bit.
enum class Polarity { OneIsMarkFirst, OneIsSpaceFirst };

void putBit(Halves &halves, bool one, Polarity polarity, int width = 1);
void putBits(Halves &halves, uint64_t bits, int count, Polarity polarity);

// Merges runs of equal halves into durations of `halfNs` each. Spaces before
// the first mark and after the last mark are not part of the frame.
Durations halvesToDurations(const Halves &halves, int64_t halfNs);

// Expands durations[first..] into runs of 1..maxRun halves (maxRun at most
// 4) within tolerance, the edges agreeing (timing.h). Where a duration fits
// two run lengths, both are tried, the nearer first: `accept` is called with
// each expansion until it returns true; the result says whether one did. A
// list so ambiguous that the search would take too long is not accepted.
bool expandHalves(const Durations &durations, size_t first, int64_t halfNs, int maxRun,
    const std::function<bool(const Halves &)> &accept);

// Reads one bit of `width` halves per half at `pos`; empty if the halves are
// not a valid bit.
std::optional<bool> readBit(const Halves &halves, size_t &pos, Polarity polarity, int width = 1);
std::optional<uint64_t> readBits(const Halves &halves, size_t &pos, int count, Polarity polarity);

} // namespace ircodec

#endif // IRCODEC_BIPHASE_H
