#include "mode2.h"

#include <linux/lirc.h>

namespace korvex_lirc {

Mode2Splitter::Mode2Splitter(int32_t frameSilenceUs)
    : segmenter_(frameSilenceUs), frameSilence_(frameSilenceUs)
{
}

std::optional<Cut> Mode2Splitter::cut(std::optional<ircodec::Capture> capture)
{
    if (!capture)
        return std::nullopt;
    Cut done{std::move(*capture), broken_};
    broken_ = false;
    if (dropFrame_) {
        dropFrame_ = false;
        return std::nullopt;
    }
    return done;
}

std::optional<Cut> Mode2Splitter::pulse(int64_t us)
{
    // The whole silence before this pulse: ends the frame before it (if the
    // timeout report has not already) or is a space inside it.
    std::optional<Cut> done;
    if (silence_ > 0 || !inFrame())
        done = cut(segmenter_.space(silence_));
    silence_ = 0;
    segmenter_.mark(us);
    return done;
}

std::optional<Cut> Mode2Splitter::silence(int64_t us)
{
    silence_ += us;
    return silence_ >= frameSilence_ ? cut(segmenter_.idle(silence_)) : std::nullopt;
}

std::optional<Cut> Mode2Splitter::sample(uint32_t sample, int64_t sinceStartUs)
{
    const bool first = !seenSample_;
    seenSample_ = true;
    const int64_t value = LIRC_VALUE(sample);
    switch (LIRC_MODE2(sample)) {
    case LIRC_MODE2_PULSE:
        if (first)
            silence_ = sinceStartUs;
        return pulse(value);
    case LIRC_MODE2_SPACE:
    case LIRC_MODE2_TIMEOUT:
        return silence(value);
    case LIRC_MODE2_OVERFLOW:
        // Samples are missing: the frame under way, or else the next one,
        // cannot be trusted.
        broken_ = true;
        return std::nullopt;
    default: // LIRC_MODE2_FREQUENCY and anything newer
        return std::nullopt;
    }
}

void Mode2Splitter::stale(uint32_t value)
{
    sample(value);
    dropFrame_ = inFrame();
    broken_ = false;
}

std::optional<Cut> Mode2Splitter::idle(int64_t us)
{
    return cut(segmenter_.idle(us));
}

} // namespace korvex_lirc
