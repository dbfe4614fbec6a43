// SYMPHONY: the 12-bit frames of Symphony's air coolers and many fans and
// heaters: no header, every bit 1.65 ms long, a 1 a 1250 us mark and a
// 400 us space, a 0 the other way round; most significant bit first. The
// last bit's space is the silence after the frame. No check.
#include "../pulseframe.h"
#include "../reader.h"

namespace ircodec {

namespace {

constexpr int kBits = 12;
constexpr int32_t kShort = 400;
constexpr int32_t kLong = 1250;
constexpr PulseLayout kLayout = {{0, 0}, {kShort, kLong}, {kLong, kShort}, 0, {}};

bool read(const Durations &d, Reading &out)
{
    if (!readPulseFrame(kLayout, d, out.bits) || out.bits.size() != kBits)
        return false;
    out.evidence = Evidence::Bare;
    return true;
}

Durations write(const Reading &r)
{
    return r.bits.size() == kBits ? writePulseFrame(kLayout, r.bits) : Durations();
}

bool example(uint64_t seed, Reading &out)
{
    out.bits = BitString(ExampleBits(seed).next(kBits), kBits);
    out.evidence = Evidence::Bare;
    return true;
}

} // namespace

extern const Reader symphonyReader
    = {"SYMPHONY", std::nullopt, Family::Remote, Presentation::Number, 38000,
        admitFirstMark(23, 23, kShort, kLong), read, write, example, nullptr, nullptr};

} // namespace ircodec
