// How well a decoded frame's nominal timing explains the durations it was
// decoded from: the frame is encoded again and compared duration by
// duration, after taking out the one receiver excess (marks longer, spaces
// shorter by the same amount) that fits best. Used to tell which of two
// protocols that both accept a frame it really belongs to.
#ifndef TESTSUPPORT_SHAPEFIT_H
#define TESTSUPPORT_SHAPEFIT_H

#include "ircodec.h"

#include <limits>

namespace ircaptures {

// The frame's nominal durations as it would be sent (the echo half for a
// SHARP echo); empty when the frame cannot be sent again (JVC's headerless
// repeat carries no value).
ircodec::Durations nominalOf(const ircodec::Frame &frame);

// The mean distance of each duration from its nominal, excess taken out, as
// a share of the frame's nominal length: 0 for a perfect fit. Infinity when
// the frame cannot be sent again or has another number of durations.
constexpr double kNoFit = std::numeric_limits<double>::infinity();
double shapeFit(const ircodec::Frame &frame, const ircodec::Durations &measured);

} // namespace ircaptures

#endif // TESTSUPPORT_SHAPEFIT_H
