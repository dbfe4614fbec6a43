#include "irsignal.h"

#include "reading.h"

#include <algorithm>
#include <climits>

namespace irfiles {

namespace {

int64_t ticksToUs(int64_t ticks)
{
    return ticks * kTickUs;
}

// Rounded to the nearest tick, at least one tick for a positive duration.
int64_t usToTicks(int64_t us)
{
    if (us <= 0)
        return 0;
    return std::max<int64_t>(1, (us + kTickUs / 2) / kTickUs);
}

} // namespace

std::optional<ircodec::Frame> decodeFirstFrame(const ircodec::Durations &durations)
{
    const auto frames = ircodec::segment(durations);
    return frames.empty() ? std::nullopt : ircodec::decode(frames.front().durations);
}

int32_t carrierFor(
    const ircodec::Report &decoded, const ircodec::Durations &durations, int32_t defaultHz)
{
    if (const auto protocol = ircodec::sendableProtocol(decoded.decodeType))
        return ircodec::nominalCarrierHz(*protocol);
    if (const auto frame = decodeFirstFrame(durations))
        return ircodec::nominalCarrierHz(frame->protocol);
    return defaultHz;
}

std::string readingText(const ircodec::Durations &durations)
{
    const ircodec::Sequence sequence = ircodec::readSequence(ircodec::segment(durations));
    return sequence.items.empty() ? ircodec::summary(ircodec::Reading())
                                  : ircodec::summary(sequence);
}

ircodec::Report decodeDurations(const ircodec::Durations &durations)
{
    return ircodec::report(decodeFirstFrame(durations));
}

Signal fromReceived(
    const ircodec::Report &decoded, const int32_t *raw, int count, int32_t defaultCarrierHz)
{
    Signal signal;
    signal.decoded = decoded;
    if (raw && count > 0) {
        signal.silenceBeforeUs = ticksToUs(std::max(raw[0], 0));
        signal.durations.reserve(static_cast<size_t>(count - 1));
        for (int i = 1; i < count; ++i)
            signal.durations.push_back(
                static_cast<int32_t>(std::min<int64_t>(ticksToUs(std::max(raw[i], 0)), INT32_MAX)));
    }
    signal.carrierHz = carrierFor(decoded, signal.durations, defaultCarrierHz);
    return signal;
}

std::vector<int32_t> toRawTicks(const Signal &signal)
{
    std::vector<int32_t> raw;
    raw.reserve(signal.durations.size() + 1);
    raw.push_back(static_cast<int32_t>(
        std::min<int64_t>(usToTicks(signal.silenceBeforeUs), ircodec::kMaxSilenceTicks)));
    for (int32_t us : signal.durations)
        raw.push_back(static_cast<int32_t>(usToTicks(us)));
    return raw;
}

} // namespace irfiles
