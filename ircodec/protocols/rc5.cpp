// RC5: bi-phase, 889 us half bits, a 1 is space then mark. Two start bits
// (1, 1), toggle, 5-bit address, 6-bit command, most significant first. The
// first half of the first start bit is silence, so the frame starts with a
// mark.
#include "../biphase.h"
#include "../codecs.h"
#include "../philips.h"

namespace ircodec {

namespace {

constexpr int64_t kHalfNs = philips::kRc5HalfNs;
constexpr Polarity kPolarity = philips::kRc5Polarity;
constexpr int kStartBits = philips::kRc5StartBits;
constexpr uint64_t kStart = 0b11;
constexpr int kBits = 12;
constexpr int kMaxRun = philips::kRc5MaxRun;

} // namespace

std::optional<Bursts> encodeRc5(const Frame &frame)
{
    if (frame.bits != kBits || !fitsBits(frame.value, kBits))
        return std::nullopt;
    Halves halves;
    putBits(halves, kStart, kStartBits, kPolarity);
    putBits(halves, frame.value, kBits, kPolarity);
    return single(halvesToDurations(halves, kHalfNs));
}

std::optional<Frame> decodeRc5(const Durations &d)
{
    std::optional<Frame> result;
    expandHalves(d, 0, kHalfNs, kMaxRun, [&](const Halves &expanded) {
        Halves halves(1, false); // the silent first half
        halves.insert(halves.end(), expanded.begin(), expanded.end());
        size_t pos = 0;
        const auto start = readBits(halves, pos, kStartBits, kPolarity);
        const auto bits = readBits(halves, pos, kBits, kPolarity);
        if (!start || *start != kStart || !bits || pos < halves.size())
            return false;
        result = makeFrame(Protocol::Rc5, static_cast<uint32_t>(*bits), kBits);
        return true;
    });
    return result;
}

} // namespace ircodec
