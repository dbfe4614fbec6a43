// DISH: 406 / 6090 lead-in, 16 pulse-distance bits most significant first,
// stop mark. A 1 is the shorter space, as the catalogue's value has it.
#include "../codecs.h"
#include "../pulse.h"

namespace ircodec {

namespace {

// 406 us unit: lead-in space 15 units, 1 = 1+4 units, 0 = 1+7 units.
constexpr PulseTable kTable = {{406, 6090}, {406, 2842}, {406, 1624}, 406};
constexpr int kBits = 16;
constexpr PlainFrame kFrame = {Protocol::Dish, kTable, kBits, kBits};

} // namespace

std::optional<Bursts> encodeDish(const Frame &frame)
{
    return plainEncode(kFrame, frame);
}

std::optional<Frame> decodeDish(const Durations &d)
{
    return plainDecode(kFrame, d);
}

} // namespace ircodec
