#include "pulse_frame.h"

#include <algorithm>

namespace korvex_lirc {

std::optional<PulseFrame> toPulseFrame(const ircodec::Bursts &bursts)
{
    PulseFrame frame;
    for (size_t b = 0; b < bursts.size(); ++b) {
        const ircodec::Burst &burst = bursts[b];
        if (b > 0)
            frame.values.push_back(static_cast<uint32_t>(std::max<int32_t>(bursts[b - 1].gap, 0)));
        for (int32_t d : burst.durations) {
            if (d <= 0)
                return std::nullopt;
            frame.values.push_back(static_cast<uint32_t>(d));
        }
    }
    for (uint32_t v : frame.values) {
        if (v == 0)
            return std::nullopt;
        frame.durationUs += v;
    }
    if (frame.values.empty() || frame.values.size() % 2 == 0
        || frame.values.size() > static_cast<size_t>(irlimits::kMaxSendValues)
        || frame.durationUs > irlimits::kMaxSendDurationUs)
        return std::nullopt;
    frame.gapAfterUs = bursts.back().gap;
    return frame;
}

} // namespace korvex_lirc
