// WHYNTER: a 0 bit (750 / 750), then a 3 ms / 3 ms header, 32 bits most
// significant first, stop mark.
#include "../codecs.h"
#include "../pulse.h"
#include "../timing.h"

#include <iterator>

namespace ircodec {

namespace {

constexpr MarkSpace kLeadIn = {750, 750};
constexpr PulseTable kTable = {{3000, 3000}, {750, 750}, {750, 2250}, 750};
constexpr int kBits = 32;

} // namespace

std::optional<Bursts> encodeWhynter(const Frame &frame)
{
    if (frame.bits != kBits)
        return std::nullopt;
    Durations d = {kLeadIn.mark, kLeadIn.space};
    const Durations body = pulseEncode(kTable, frame.value, kBits);
    d.insert(d.end(), body.begin(), body.end());
    return single(std::move(d));
}

std::optional<Frame> decodeWhynter(const Durations &d)
{
    const int32_t leadIn[] = {kLeadIn.mark, kLeadIn.space};
    if (d.size() < std::size(leadIn) || !matchesAll(d.data(), std::size(leadIn), leadIn))
        return std::nullopt;
    const auto bits = pulseDecode(kTable, Durations(d.begin() + 2, d.end()), kBits);
    if (!bits)
        return std::nullopt;
    return makeFrame(Protocol::Whynter, static_cast<uint32_t>(*bits), kBits);
}

} // namespace ircodec
