#include "sendreceive.h"

#include "collector.h"
#include "harness.h"
#include "timing.h"

#include <cstdio>
#include <thread>

namespace sendreceive {

namespace {

using namespace std::chrono_literals;

// Long enough for a frame's write and the reader's frame end.
constexpr auto kFrameWait = 2000ms;
// After the first frame: long enough for an echo half or a stray frame.
constexpr auto kSettle = 250ms;

std::string describe(const ircodec::Report &r)
{
    char text[96];
    std::snprintf(text, sizeof text, "type %d value 0x%X address 0x%X bits %d", r.decodeType,
        r.value, r.address, r.bits);
    return text;
}

} // namespace

int carrierKHz(ircodec::Protocol protocol)
{
    // The codec's carrier of the protocol, to the nearest kHz.
    return (ircodec::nominalCarrierHz(protocol) + 500) / 1000;
}

bool ticksMatch(const std::vector<int> &raw, const ircodec::Durations &sent)
{
    if (raw.size() != sent.size() + 1)
        return false;
    for (size_t i = 0; i < sent.size(); ++i) {
        const int64_t received = int64_t{raw[i + 1]} * ircodec::kTickUs;
        const int64_t diff = received > sent[i] ? received - sent[i] : sent[i] - received;
        if (diff > ircodec::tolerance(sent[i]) + ircodec::kTickUs / 2)
            return false;
    }
    return true;
}

bool run(const Case &c)
{
    const auto bursts = c.bursts ? c.bursts : (c.frame ? ircodec::encode(*c.frame) : std::nullopt);
    const std::string name = "round trip " + c.row;
    if (!harness::expect(bursts.has_value(), name, "our encoder refused the frame"))
        return false;
    const ircodec::Durations &first = (*bursts)[0].durations;
    const ircodec::Report expected = ircodec::report(ircodec::decode(first));

    collector::clear();
    const int status = c.send();
    auto got = collector::waitFor(1, kFrameWait);
    if (!got.empty()) {
        std::this_thread::sleep_for(kSettle);
        got = collector::waitFor(2, 0ms);
    }
    const bool one = status == 0 && got.size() == 1;
    const bool same = one && got[0].type == expected.decodeType && got[0].value == expected.value
        && got[0].bits == expected.bits && got[0].address == expected.address;
    const bool ticks = one && ticksMatch(got[0].raw, first);
    return harness::expect(one && same && ticks, name,
        status != 0 ? "send failed"
            : !one  ? "frames " + std::to_string(got.size())
            : !same ? "got " + describe({got[0].type, got[0].address, got[0].value, got[0].bits})
                + ", want " + describe(expected)
                    : "raw ticks differ from the sent timings");
}

} // namespace sendreceive
