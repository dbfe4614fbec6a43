#include "ircodec.h"

#include <algorithm>

namespace ircodec {

Segmenter::Segmenter(int32_t frameSilenceUs) : frameSilence_(frameSilenceUs) { }

std::optional<Capture> Segmenter::finish()
{
    Capture done = std::move(current_);
    current_ = Capture{};
    // A frame ends with a mark; a short space at the end of a stream is not part of it.
    if (done.durations.size() % 2 == 0)
        done.durations.pop_back();
    inFrame_ = false;
    silence_ = 0;
    return done;
}

std::optional<Capture> Segmenter::mark(int64_t us)
{
    if (!inFrame_) {
        inFrame_ = true;
        ended_ = false;
        current_ = Capture{};
        current_.silenceBefore = silence_;
    }
    if (static_cast<int>(current_.durations.size()) < irlimits::kMaxReceivedDurations)
        current_.durations.push_back(static_cast<int32_t>(std::min<int64_t>(us, INT32_MAX)));
    else
        current_.overflow = true;
    return std::nullopt;
}

std::optional<Capture> Segmenter::space(int64_t us)
{
    if (!inFrame_) {
        // Silence before the first frame, or the rest of a silence that
        // idle() already ended the frame in.
        silence_ = ended_ ? us : silence_ + us;
        ended_ = false;
        return std::nullopt;
    }
    if (us >= frameSilence_) {
        auto done = finish();
        silence_ = us;
        return done;
    }
    if (static_cast<int>(current_.durations.size()) < irlimits::kMaxReceivedDurations)
        current_.durations.push_back(static_cast<int32_t>(us));
    else
        current_.overflow = true;
    return std::nullopt;
}

std::optional<Capture> Segmenter::idle(int64_t us)
{
    if (!inFrame_ || us < frameSilence_)
        return std::nullopt;
    auto done = finish();
    ended_ = true;
    return done;
}

std::vector<Capture> segment(const Durations &stream, int32_t frameSilenceUs)
{
    Segmenter segmenter(frameSilenceUs);
    std::vector<Capture> frames;
    for (size_t i = 0; i < stream.size(); ++i) {
        auto done = i % 2 == 0 ? segmenter.mark(stream[i]) : segmenter.space(stream[i]);
        if (done)
            frames.push_back(std::move(*done));
    }
    if (auto done = segmenter.idle(frameSilenceUs))
        frames.push_back(std::move(*done));
    return frames;
}

std::vector<int32_t> toTicks(int64_t silenceBeforeUs, const Durations &durations)
{
    std::vector<int32_t> ticks;
    const size_t count = std::min<size_t>(durations.size(), irlimits::kMaxReceivedDurations);
    ticks.reserve(count + 1);
    const int64_t silence = std::max<int64_t>(silenceBeforeUs, 0) / kTickUs;
    ticks.push_back(static_cast<int32_t>(std::min<int64_t>(silence, kMaxSilenceTicks)));
    for (size_t i = 0; i < count; ++i) {
        // In 64 bits: a duration near INT32_MAX (a stuck mark) must not overflow.
        const int64_t rounded = (int64_t{durations[i]} + kTickUs / 2) / kTickUs;
        ticks.push_back(static_cast<int32_t>(std::max<int64_t>(rounded, 1)));
    }
    return ticks;
}

} // namespace ircodec
