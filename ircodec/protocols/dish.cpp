// DISH: 406 / 6090 lead-in, 16 pulse-distance bits most significant first,
// stop mark. A 1 is the shorter space, as the catalogue's value has it.
#include "../codecs.h"
#include "../pulse.h"

namespace ircodec {

namespace {

// 406 us unit: lead-in space 15 units, 1 = 1+4 units, 0 = 1+7 units.
constexpr PulseTable kTable = {{406, 6090}, {406, 2842}, {406, 1624}, 406};
constexpr int kBits = 16;

} // namespace

std::optional<Bursts> encodeDish(const Frame &frame)
{
    if (frame.bits != kBits || !fitsBits(frame.value, kBits))
        return std::nullopt;
    return single(pulseEncode(kTable, frame.value, kBits));
}

std::optional<Frame> decodeDish(const Durations &d)
{
    const auto bits = pulseDecode(kTable, d, kBits);
    if (!bits)
        return std::nullopt;
    return decoded(Protocol::Dish, static_cast<uint32_t>(*bits), kBits);
}

} // namespace ircodec
