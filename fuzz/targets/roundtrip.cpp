// Any field values for any protocol: when the encoder accepts the frame,
// every burst of it, exact, disturbed by up to 15 % per duration, or as a
// receiver module delivers it (marks longer, spaces shorter) and disturbed by
// up to 5 %, decodes to what was sent. A wrong or missing decode is a
// finding.
#include "fuzzinput.h"
#include "fuzztarget.h"
#include "ircodec.h"
#include "irreceiver.h"

#include <cstdio>

using ircodec::Frame;
using ircodec::Protocol;

namespace {

constexpr int kMaxJitterPercent = 15;
constexpr int kMaxReceivedJitterPercent = 5;
constexpr int kPanasonicShortBits = 32;
constexpr int kPanasonicBits = 48;
constexpr int kAiwaShortBits = 8;
constexpr int kAiwaBits = 42;

bool hasRepeatCode(Protocol protocol)
{
    return protocol == Protocol::Nec || protocol == Protocol::Samsung || protocol == Protocol::Jvc;
}

bool carriesAddress(Protocol protocol)
{
    return protocol == Protocol::Panasonic || protocol == Protocol::Sharp;
}

// What burst `index` of the sent frame decodes to.
Frame expected(Frame sent, size_t index)
{
    if (sent.repeat && hasRepeatCode(sent.protocol)) {
        Frame ditto;
        ditto.protocol = sent.protocol;
        ditto.value = ircodec::kRepeatValue;
        ditto.repeat = true;
        return ditto;
    }
    // Only the second half of a SHARP message is its echo; LEGO_PF's copies
    // are plain frames; elsewhere the repeat flag is not sent.
    sent.repeat = sent.protocol == Protocol::Sharp && index == 1;
    // As in the widely used convention, protocols without an address field
    // ignore the record's address.
    if (!carriesAddress(sent.protocol))
        sent.address = 0;
    if (sent.protocol == Protocol::Panasonic && sent.bits == kPanasonicShortBits)
        sent.bits = kPanasonicBits;
    if (sent.protocol == Protocol::AiwaRcT501 && sent.bits == kAiwaShortBits)
        sent.bits = kAiwaBits;
    return sent;
}

ircodec::Durations disturbed(ircodec::Durations durations, FuzzInput &input, int maxPercent)
{
    for (int32_t &d : durations) {
        const int percent = input.take<uint8_t>() % (2 * maxPercent + 1) - maxPercent;
        d += static_cast<int32_t>(static_cast<int64_t>(d) * percent / 100);
    }
    return durations;
}

void checkDecodes(const ircodec::Durations &durations, const Frame &want, const Frame &sent)
{
    const auto got = ircodec::decode(durations);
    if (got && *got == want)
        return;
    std::fprintf(stderr, "sent protocol %s value 0x%X address 0x%X bits %d repeat %d\n",
        ircodec::name(sent.protocol), sent.value, sent.address, sent.bits, sent.repeat);
    if (got)
        std::fprintf(stderr, "decoded %s value 0x%X address 0x%X bits %d repeat %d\n",
            ircodec::name(got->protocol), got->value, got->address, got->bits, got->repeat);
    FUZZ_CHECK(got && *got == want);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    Frame sent;
    sent.protocol = static_cast<Protocol>(input.take<uint8_t>() % ircodec::kProtocolCount);
    const uint8_t flags = input.take<uint8_t>();
    sent.repeat = flags & 1;
    sent.bits = input.take<uint8_t>() % 65;
    sent.value = input.take<uint32_t>();
    sent.address = input.take<uint32_t>();
    // Mostly values that fit the bit count, so that most inputs are sent.
    if ((flags & 2) == 0 && sent.bits < 32)
        sent.value &= (1u << sent.bits) - 1;
    if ((flags & 4) == 0)
        sent.address &= 0xFFFF;

    const auto bursts = ircodec::encode(sent);
    if (!bursts)
        return 0;
    for (size_t i = 0; i < bursts->size(); ++i) {
        const ircodec::Durations &exact = (*bursts)[i].durations;
        const Frame want = expected(sent, i);
        checkDecodes(exact, want, sent);
        checkDecodes(disturbed(exact, input, kMaxJitterPercent), want, sent);
        checkDecodes(
            disturbed(irreceiver::received(exact), input, kMaxReceivedJitterPercent), want, sent);
    }
    return 0;
}
