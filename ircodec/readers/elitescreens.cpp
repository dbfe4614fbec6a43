// ELITESCREENS: the 32-bit frames of Elite Screens' projection screens: no
// header, every bit 1684 us long, a 1 a 470 us mark and a 1214 us space, a
// 0 the other way round; most significant bit first. The last bit's space
// is the silence after the frame. No check.
#include "../pulseframe.h"
#include "../reader.h"

namespace ircodec {

namespace {

constexpr int kBits = 32;
constexpr int32_t kShort = 470;
constexpr int32_t kLong = 1214;
constexpr PulseLayout kLayout = {{0, 0}, {kLong, kShort}, {kShort, kLong}, 0, {}};

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

extern const Reader eliteScreensReader
    = {"ELITESCREENS", std::nullopt, Family::Remote, Presentation::Number, 38000,
        admitFirstMark(63, 63, kShort, kLong), read, write, example, nullptr, nullptr};

} // namespace ircodec
