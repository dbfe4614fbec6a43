// INAX: the 24-bit frames of Lixil's Inax toilets, also sent by some
// projector remotes: NEC's timing (9 ms / 4.5 ms header, 560 us marks, a 0
// and a 1 told by 560 us and 1675 us spaces, stop mark), most significant
// bit first, no check.
#include "../pulseframe.h"
#include "../reader.h"

namespace ircodec {

namespace {

constexpr int kBits = 24;
constexpr int32_t kMark = 560;
constexpr PulseLayout kLayout = {{9000, 4500}, {kMark, kMark}, {kMark, 1675}, kMark, {}};

bool read(const Durations &d, Reading &out)
{
    if (!readPulseFrame(kLayout, d, out.bits) || out.bits.size() != kBits)
        return false;
    out.evidence = Evidence::Framed;
    return true;
}

Durations write(const Reading &r)
{
    return r.bits.size() == kBits ? writePulseFrame(kLayout, r.bits) : Durations();
}

bool example(uint64_t seed, Reading &out)
{
    out.bits = BitString(ExampleBits(seed).next(kBits), kBits);
    out.evidence = Evidence::Framed;
    return true;
}

} // namespace

extern const Reader inaxReader = {"INAX", std::nullopt, Family::Remote, Presentation::Number, 38000,
    admitFirstMark(51, 51, kLayout.header.mark, kLayout.header.mark), read, write, example, nullptr,
    nullptr};

} // namespace ircodec
