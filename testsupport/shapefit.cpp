#include "shapefit.h"

#include "reading.h"

namespace ircaptures {

ircodec::Durations nominalOf(const ircodec::Frame &frame)
{
    const auto bursts = ircodec::encode(frame);
    if (!bursts || bursts->empty())
        return {};
    const bool echo = frame.protocol == ircodec::Protocol::Sharp && frame.repeat;
    return echo && bursts->size() > 1 ? (*bursts)[1].durations : (*bursts)[0].durations;
}

double shapeFit(const ircodec::Frame &frame, const ircodec::Durations &measured)
{
    const double fit = ircodec::fitDistance(measured, nominalOf(frame));
    return fit == ircodec::kNoFit ? kNoFit : fit;
}

} // namespace ircaptures
