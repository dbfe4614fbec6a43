// Frames as the kernel's LIRC_MODE_PULSE write takes them.
#ifndef KORVEX_LIRC_PULSE_FRAME_H
#define KORVEX_LIRC_PULSE_FRAME_H

#include "ircodec.h"
#include "operations.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace korvex_lirc {

struct PulseFrame
{
    std::vector<uint32_t> values; // microseconds, pulse first, odd count
    int64_t durationUs = 0;       // the sum of `values`
    int64_t gapAfterUs = 0;       // silence to keep after the write
};

// Joins the bursts into one write, the silences between them as spaces;
// the last burst's gap is kept after the write. Empty when the result
// breaks the kernel's limits on one write: an odd count of at most
// irlimits::kMaxSendValues values, none 0, lasting at most
// irlimits::kMaxSendDurationUs in total.
std::optional<PulseFrame> toPulseFrame(const ircodec::Bursts &bursts);

} // namespace korvex_lirc

#endif // KORVEX_LIRC_PULSE_FRAME_H
