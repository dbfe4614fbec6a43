// Frames as the kernel's LIRC_MODE_PULSE write takes them.
#ifndef KORVEX_LIRC_PULSE_FRAME_H
#define KORVEX_LIRC_PULSE_FRAME_H

#include "ircodec.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace korvex_lirc {

// The kernel's limits on one write: an odd count of at most this many
// values, none 0, lasting at most this long in total.
constexpr size_t kMaxPulseValues = 1024;
constexpr int64_t kMaxPulseDurationUs = 500000;

struct PulseFrame
{
    std::vector<uint32_t> values; // microseconds, pulse first, odd count
    int64_t durationUs = 0;       // the sum of `values`
    int64_t gapAfterUs = 0;       // silence to keep after the write
};

// Joins the bursts into one write, the silences between them as spaces;
// the last burst's gap is kept after the write. Empty when the result
// breaks the kernel's limits.
std::optional<PulseFrame> toPulseFrame(const ircodec::Bursts &bursts);

} // namespace korvex_lirc

#endif // KORVEX_LIRC_PULSE_FRAME_H
