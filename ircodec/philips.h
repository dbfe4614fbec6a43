// The timing facts of Philips' bi-phase protocols, shared by the codec's
// RC5 and RC6 and the readers of their relatives (RC5X, Marantz's extended
// RC5, RC6 with 56 data bits).
#ifndef IRCODEC_PHILIPS_H
#define IRCODEC_PHILIPS_H

#include "biphase.h"

#include <cstdint>

namespace ircodec::philips {

// RC5: half bits of 889 us, a 1 a space then a mark; two start bits, the
// first's space half silent; runs of at most two halves.
constexpr int64_t kRc5HalfNs = 889000;
constexpr Polarity kRc5Polarity = Polarity::OneIsSpaceFirst;
constexpr int kRc5StartBits = 2;
constexpr int kRc5MaxRun = 2;

// RC6: units of 444 us, a leader of 6 units mark and 2 units space, then a
// 1 as a mark then a space; the toggle bit (after the start bit and 3 mode
// bits) is twice as wide, so runs reach three halves beside it.
constexpr int64_t kRc6UnitNs = 444444;
constexpr int kRc6LeaderMarkUnits = 6;
constexpr int kRc6LeaderSpaceUnits = 2;
constexpr Polarity kRc6Polarity = Polarity::OneIsMarkFirst;
constexpr int kRc6ModeBits = 3;
constexpr int kRc6ToggleWidth = 2;
constexpr int kRc6MaxRun = 3;

} // namespace ircodec::philips

#endif // IRCODEC_PHILIPS_H
