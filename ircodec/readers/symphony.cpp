// SYMPHONY: the 12-bit frames of Symphony's air coolers and many fans and
// heaters: no header, every bit 1.65 ms long, a 1 a 1250 us mark and a
// 400 us space, a 0 the other way round; most significant bit first. The
// last bit's space is the silence after the frame. No check.
#include "../fixedpulse.h"

namespace ircodec {

namespace {

constexpr int32_t kShort = 400;
constexpr int32_t kLong = 1250;
constexpr FixedPulse kSymphony
    = {{{0, 0}, {kShort, kLong}, {kLong, kShort}, 0, {}}, 12, Evidence::Bare};

} // namespace

extern const Reader symphonyReader
    = {"SYMPHONY", std::nullopt, Family::Remote, Presentation::Number, 38000, admitFixed(kSymphony),
        readFixed<kSymphony>, writeFixed<kSymphony>, exampleFixed<kSymphony>, nullptr, nullptr};

} // namespace ircodec
