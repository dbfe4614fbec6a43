// SAMSUNG (Samsung32): NEC bits behind a 4.5 ms / 4.5 ms header; the repeat
// code is the 4.5 ms header mark, a 2.25 ms space and the stop mark.
#include "../codecs.h"
#include "../pulse.h"
#include "../timing.h"

#include <iterator>

namespace ircodec {

namespace {

constexpr PulseTable kTable = {{4500, 4500}, {560, 560}, {560, 1690}, 560};
constexpr MarkSpace kDitto = {4500, 2250};
constexpr int kBits = 32;

} // namespace

std::optional<Bursts> encodeSamsung(const Frame &frame)
{
    if (frame.repeat) {
        if (frame.bits != 0 && frame.bits != kBits)
            return std::nullopt;
        return single({kDitto.mark, kDitto.space, kTable.stopMark});
    }
    if (frame.bits != kBits)
        return std::nullopt;
    return single(pulseEncode(kTable, frame.value, kBits));
}

std::optional<Frame> decodeSamsung(const Durations &d)
{
    const int32_t ditto[] = {kDitto.mark, kDitto.space, kTable.stopMark};
    if (d.size() == std::size(ditto) && matchesAll(d.data(), d.size(), ditto))
        return repeatCode(Protocol::Samsung);
    const auto bits = pulseDecode(kTable, d, kBits);
    if (!bits)
        return std::nullopt;
    return makeFrame(Protocol::Samsung, static_cast<uint32_t>(*bits), kBits);
}

} // namespace ircodec
