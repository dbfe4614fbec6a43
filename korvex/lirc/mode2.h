// Received LIRC_MODE_MODE2 samples into frames.
#ifndef KORVEX_LIRC_MODE2_H
#define KORVEX_LIRC_MODE2_H

#include "ircodec.h"

#include <cstdint>
#include <optional>

namespace korvex_lirc {

// One frame cut out of the samples; `broken` when the device reported that
// it lost samples (an overflow) while the frame was being received.
struct Cut
{
    ircodec::Capture capture;
    bool broken = false;
};

// Pulses and spaces go to a Segmenter; a timeout report is a silence that
// ends the frame once it is as long as the frame gap; the space that the
// kernel puts before the first pulse after a silence becomes the silence
// before the next frame; frequency reports are ignored.
class Mode2Splitter
{
public:
    explicit Mode2Splitter(int32_t frameSilenceUs = ircodec::kFrameSilenceUs);

    std::optional<Cut> sample(uint32_t sample);
    // No sample came for `us` after the last pulse.
    std::optional<Cut> idle(int64_t us);
    bool inFrame() const
    {
        return segmenter_.inFrame();
    }

private:
    std::optional<Cut> cut(std::optional<ircodec::Capture> capture);

    ircodec::Segmenter segmenter_;
    bool broken_ = false;
};

} // namespace korvex_lirc

#endif // KORVEX_LIRC_MODE2_H
