// NRC17 (Nokia): a 500 us pre-pulse and 2.5 ms pause, then bi-phase bits of
// 1 ms, a 1 being mark then space: start bit 1, the 8-bit field, two 4-bit
// fields, each least significant first.
#include "../biphase.h"
#include "../codecs.h"
#include "../pulse.h"
#include "../timing.h"

#include <iterator>

namespace ircodec {

namespace {

constexpr int64_t kHalfNs = 500000;
constexpr MarkSpace kPrePulse = {500, 2500};
constexpr Polarity kPolarity = Polarity::OneIsMarkFirst;
constexpr int kBits = 16;
constexpr int kMaxRun = 2;

} // namespace

std::optional<Bursts> encodeNrc17(const Frame &frame)
{
    if (frame.bits != kBits || !fitsBits(frame.value, kBits))
        return std::nullopt;
    Halves halves;
    putBit(halves, true, kPolarity);
    putBits(halves, frame.value, kBits, kPolarity);
    Durations d = {kPrePulse.mark, kPrePulse.space};
    const Durations body = halvesToDurations(halves, kHalfNs);
    d.insert(d.end(), body.begin(), body.end());
    return single(std::move(d));
}

std::optional<Frame> decodeNrc17(const Durations &d)
{
    const int32_t prePulse[] = {kPrePulse.mark, kPrePulse.space};
    if (d.size() < 3 || !matchesAll(d.data(), std::size(prePulse), prePulse))
        return std::nullopt;
    std::optional<Frame> result;
    expandHalves(d, 2, kHalfNs, kMaxRun, [&](const Halves &halves) {
        size_t pos = 0;
        const auto start = readBit(halves, pos, kPolarity);
        const auto bits = readBits(halves, pos, kBits, kPolarity);
        if (!start || !*start || !bits || pos < halves.size())
            return false;
        result = makeFrame(Protocol::Nrc17, static_cast<uint32_t>(*bits), kBits);
        return true;
    });
    return result;
}

} // namespace ircodec
