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

// Pulses and spaces go to a Segmenter. The kernel reports a silence in up
// to two parts: a timeout report once the device has been idle for its
// timeout (carrying the silence so far), then, with the next pulse, a space
// of the time since that report. Both parts add up to one silence; a timeout
// report as long as the frame gap ends the frame at once. Frequency reports
// are ignored.
class Mode2Splitter
{
public:
    explicit Mode2Splitter(int32_t frameSilenceUs = ircodec::kFrameSilenceUs);

    // `sinceStartUs`: the time since reception started. The kernel sends no
    // space before the first pulse after it was loaded, so a first pulse
    // without one follows that much silence.
    std::optional<Cut> sample(uint32_t sample, int64_t sinceStartUs = 0);
    // A sample that was waiting before reception started: it counts towards
    // the silence, but the frame it belongs to is not reported.
    void stale(uint32_t sample);
    // No sample came for `us` after the last pulse.
    std::optional<Cut> idle(int64_t us);
    bool inFrame() const
    {
        return segmenter_.inFrame();
    }

private:
    std::optional<Cut> cut(std::optional<ircodec::Capture> capture);
    std::optional<Cut> pulse(int64_t us);
    std::optional<Cut> silence(int64_t us);

    ircodec::Segmenter segmenter_;
    const int32_t frameSilence_;
    int64_t silence_ = 0; // the silence since the last pulse so far
    bool seenSample_ = false;
    bool broken_ = false;
    bool dropFrame_ = false; // the frame under way began before reception
};

} // namespace korvex_lirc

#endif // KORVEX_LIRC_MODE2_H
