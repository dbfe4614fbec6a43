#include "irsignal.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <optional>

namespace irfiles {

namespace {

struct NominalCarrier
{
    ircodec::Protocol protocol;
    int32_t hz;
};

// From the protocols' published carriers, for the timings our codec uses.
constexpr NominalCarrier kNominalCarriers[] = {
    {ircodec::Protocol::Rc5, 36000},
    {ircodec::Protocol::Rc6, 36000},
    {ircodec::Protocol::Nec, 38000},
    {ircodec::Protocol::Sony, 40000},
    {ircodec::Protocol::Panasonic, 37000},
    {ircodec::Protocol::Jvc, 38000},
    {ircodec::Protocol::Samsung, 38000},
    {ircodec::Protocol::Whynter, 38000},
    {ircodec::Protocol::AiwaRcT501, 38000},
    {ircodec::Protocol::Lg, 38000},
    {ircodec::Protocol::Sanyo, 38000},
    {ircodec::Protocol::Mitsubishi, 32600},
    {ircodec::Protocol::Dish, 57600},
    {ircodec::Protocol::Sharp, 38000},
    {ircodec::Protocol::Denon, 38000},
    {ircodec::Protocol::LegoPf, 38000},
    {ircodec::Protocol::Itt, 0},
    {ircodec::Protocol::Nrc17, 38000},
    {ircodec::Protocol::Rca, 56000},
};
static_assert(std::size(kNominalCarriers) == ircodec::kProtocolCount, "one carrier per protocol");

} // namespace

int64_t ticksToUs(int64_t ticks)
{
    return ticks * kTickUs;
}

int64_t usToTicks(int64_t us)
{
    if (us <= 0)
        return 0;
    return std::max<int64_t>(1, (us + kTickUs / 2) / kTickUs);
}

int32_t nominalCarrierHz(ircodec::Protocol protocol)
{
    for (const NominalCarrier &entry : kNominalCarriers)
        if (entry.protocol == protocol)
            return entry.hz;
    return kDefaultCarrierHz; // unreachable: the table covers every protocol
}

int32_t carrierFor(
    const ircodec::Report &decoded, const ircodec::Durations &durations, int32_t defaultHz)
{
    if (const auto protocol = ircodec::sendableProtocol(decoded.decodeType))
        return nominalCarrierHz(*protocol);
    if (const auto frame = ircodec::decode(durations))
        return nominalCarrierHz(frame->protocol);
    return defaultHz;
}

ircodec::Report decodeDurations(const ircodec::Durations &durations)
{
    return ircodec::report(ircodec::decode(durations));
}

Signal fromReceived(
    const ircodec::Report &decoded, const int32_t *raw, int count, int32_t defaultCarrierHz)
{
    Signal signal;
    signal.decoded = decoded;
    if (raw && count > 0) {
        signal.silenceBeforeUs = ticksToUs(std::max(raw[0], 0));
        signal.durations.reserve(static_cast<size_t>(count - 1));
        for (int i = 1; i < count; ++i)
            signal.durations.push_back(
                static_cast<int32_t>(std::min<int64_t>(ticksToUs(std::max(raw[i], 0)), INT32_MAX)));
    }
    signal.carrierHz = carrierFor(decoded, signal.durations, defaultCarrierHz);
    return signal;
}

std::vector<int32_t> toRawTicks(const Signal &signal)
{
    std::vector<int32_t> raw;
    raw.reserve(signal.durations.size() + 1);
    raw.push_back(static_cast<int32_t>(
        std::min<int64_t>(usToTicks(signal.silenceBeforeUs), ircodec::kMaxSilenceTicks)));
    for (int32_t us : signal.durations)
        raw.push_back(static_cast<int32_t>(usToTicks(us)));
    return raw;
}

} // namespace irfiles
