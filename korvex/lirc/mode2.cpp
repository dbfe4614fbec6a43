#include "mode2.h"

#include <linux/lirc.h>

namespace korvex_lirc {

Mode2Splitter::Mode2Splitter(int32_t frameSilenceUs) : segmenter_(frameSilenceUs) { }

std::optional<Cut> Mode2Splitter::cut(std::optional<ircodec::Capture> capture)
{
    if (!capture)
        return std::nullopt;
    Cut done{std::move(*capture), broken_};
    broken_ = false;
    return done;
}

std::optional<Cut> Mode2Splitter::sample(uint32_t sample)
{
    const int64_t value = LIRC_VALUE(sample);
    switch (LIRC_MODE2(sample)) {
    case LIRC_MODE2_PULSE:
        return cut(segmenter_.mark(value));
    case LIRC_MODE2_SPACE:
        return cut(segmenter_.space(value));
    case LIRC_MODE2_TIMEOUT:
        return cut(segmenter_.idle(value));
    case LIRC_MODE2_OVERFLOW:
        // Samples are missing: the frame under way, or else the next one,
        // cannot be trusted.
        broken_ = true;
        return std::nullopt;
    default: // LIRC_MODE2_FREQUENCY and anything newer
        return std::nullopt;
    }
}

std::optional<Cut> Mode2Splitter::idle(int64_t us)
{
    return cut(segmenter_.idle(us));
}

} // namespace korvex_lirc
