#include "shapefit.h"

#include <cmath>

namespace ircaptures {

namespace {

// Marks count +1, spaces -1 in the excess model.
double sign(size_t index)
{
    return index % 2 == 0 ? 1.0 : -1.0;
}

} // namespace

ircodec::Durations nominalOf(const ircodec::Frame &frame)
{
    const auto bursts = ircodec::encode(frame);
    if (!bursts || bursts->empty())
        return {};
    const bool echo = frame.protocol == ircodec::Protocol::Sharp && frame.repeat;
    return echo && bursts->size() > 1 ? (*bursts)[1].durations : (*bursts)[0].durations;
}

double excessOf(const ircodec::Durations &measured, const ircodec::Durations &nominal)
{
    if (measured.empty() || measured.size() != nominal.size())
        return 0;
    double sum = 0;
    for (size_t i = 0; i < measured.size(); ++i)
        sum += sign(i) * (double(measured[i]) - nominal[i]);
    return sum / measured.size();
}

double shapeFit(const ircodec::Frame &frame, const ircodec::Durations &measured)
{
    const ircodec::Durations nominal = nominalOf(frame);
    if (nominal.empty() || nominal.size() != measured.size())
        return kNoFit;
    const double excess = excessOf(measured, nominal);
    double distance = 0;
    double length = 0;
    for (size_t i = 0; i < measured.size(); ++i) {
        distance += std::fabs(double(measured[i]) - nominal[i] - sign(i) * excess);
        length += nominal[i];
    }
    return length > 0 ? distance / length : kNoFit;
}

} // namespace ircaptures
