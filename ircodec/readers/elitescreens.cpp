// ELITESCREENS: the 32-bit frames of Elite Screens' projection screens: no
// header, every bit 1684 us long, a 1 a 470 us mark and a 1214 us space, a
// 0 the other way round; most significant bit first. The last bit's space
// is the silence after the frame. No check.
#include "../fixedpulse.h"

namespace ircodec {

namespace {

constexpr int32_t kShort = 470;
constexpr int32_t kLong = 1214;
constexpr FixedPulse kEliteScreens
    = {{{0, 0}, {kLong, kShort}, {kShort, kLong}, 0, {}}, 32, Evidence::Bare};

} // namespace

extern const Reader eliteScreensReader = {"ELITESCREENS", std::nullopt, Family::Remote,
    Presentation::Number, 38000, admitFixed(kEliteScreens), readFixed<kEliteScreens>,
    writeFixed<kEliteScreens>, exampleFixed<kEliteScreens>, nullptr, nullptr};

} // namespace ircodec
