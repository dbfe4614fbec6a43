// INAX: the 24-bit frames of Lixil's Inax toilets, also sent by some
// projector remotes: NEC's timing (9 ms / 4.5 ms header, 560 us marks, a 0
// and a 1 told by 560 us and 1675 us spaces, stop mark), most significant
// bit first, no check.
#include "../fixedpulse.h"

namespace ircodec {

namespace {

constexpr int32_t kMark = 560;
constexpr FixedPulse kInax
    = {{{9000, 4500}, {kMark, kMark}, {kMark, 1675}, kMark, {}}, 24, Evidence::Framed};

} // namespace

extern const Reader inaxReader = {"INAX", std::nullopt, Family::Remote, Presentation::Number, 38000,
    admitFixed(kInax), readFixed<kInax>, writeFixed<kInax>, exampleFixed<kInax>, nullptr, nullptr};

} // namespace ircodec
