#include "codecs.h"

#include "protocols.h"

#include <array>

namespace ircodec {

namespace {

// Decoders with a header or a check come before the bare ones (SANYO,
// MITSUBISHI), so a frame goes to the protocol with the strongest evidence.
// Columns: protocol, catalogue identifier, name of a protocol the catalogue
// lacks (the catalogue names the others), nominal carrier in Hz (from the
// protocols' published carriers; ITT flashes without one), encoder, decoder.
const Codec kCodecs[] = {
    {Protocol::Nec, protocols::Nec, nullptr, 38000, encodeNec, decodeNec},
    {Protocol::Samsung, protocols::Samsung, nullptr, 38000, encodeSamsung, decodeSamsung},
    {Protocol::Jvc, protocols::Jvc, nullptr, 38000, encodeJvc, decodeJvc},
    {Protocol::Lg, protocols::Lg, nullptr, 38000, encodeLg, decodeLg},
    {Protocol::AiwaRcT501, protocols::AiwaRcT501, nullptr, 38000, encodeAiwa, decodeAiwa},
    {Protocol::Panasonic, protocols::Panasonic, nullptr, 37000, encodePanasonic, decodePanasonic},
    {Protocol::Whynter, protocols::Whynter, nullptr, 38000, encodeWhynter, decodeWhynter},
    {Protocol::Dish, protocols::Dish, nullptr, 57600, encodeDish, decodeDish},
    {Protocol::LegoPf, protocols::LegoPf, nullptr, 38000, encodeLegoPf, decodeLegoPf},
    {Protocol::Rca, protocols::Unknown, "RCA", 56000, encodeRca, decodeRca},
    {Protocol::Sony, protocols::Sony, nullptr, 40000, encodeSony, decodeSony},
    {Protocol::Rc6, protocols::Rc6, nullptr, 36000, encodeRc6, decodeRc6},
    {Protocol::Rc5, protocols::Rc5, nullptr, 36000, encodeRc5, decodeRc5},
    {Protocol::Nrc17, protocols::Unknown, "NRC17", 38000, encodeNrc17, decodeNrc17},
    {Protocol::Sharp, protocols::Sharp, nullptr, 38000, encodeSharp, decodeSharp},
    {Protocol::Denon, protocols::Denon, nullptr, 38000, encodeDenon, decodeDenon},
    {Protocol::Itt, protocols::Unknown, "ITT", 0, encodeItt, decodeItt},
    {Protocol::Sanyo, protocols::Sanyo, nullptr, 38000, encodeSanyo, decodeSanyo},
    {Protocol::Mitsubishi, protocols::Mitsubishi, nullptr, 32600, encodeMitsubishi,
        decodeMitsubishi},
};

static_assert(sizeof(kCodecs) / sizeof(kCodecs[0]) == kProtocolCount, "one codec per protocol");

// The largest silence that still pairs a SHARP echo with its first half: the
// echo follows 40 ms after the first half ends, give or take 10 ms.
constexpr int64_t kEchoWindowUs = 50000;

} // namespace

const Codec *codecsBegin()
{
    return std::begin(kCodecs);
}

const Codec *codecsEnd()
{
    return std::end(kCodecs);
}

const Codec &codecFor(Protocol protocol)
{
    // Indexed by protocol: every reading asks for codecs by protocol.
    static const std::array<const Codec *, kProtocolCount> byProtocol = [] {
        std::array<const Codec *, kProtocolCount> out{};
        for (const Codec &codec : kCodecs)
            out[static_cast<size_t>(codec.protocol)] = &codec;
        return out;
    }();
    return *byProtocol[static_cast<size_t>(protocol)];
}

Bursts single(Durations durations, int32_t gap)
{
    Bursts bursts(1);
    bursts[0].durations = std::move(durations);
    bursts[0].gap = gap;
    return bursts;
}

bool Frame::operator==(const Frame &other) const
{
    return protocol == other.protocol && value == other.value && address == other.address
        && bits == other.bits && repeat == other.repeat;
}

std::optional<Bursts> encode(const Frame &frame)
{
    return codecFor(frame.protocol).encode(frame);
}

std::optional<Frame> decode(const Durations &durations)
{
    for (const Codec *codec = codecsBegin(); codec != codecsEnd(); ++codec)
        if (auto frame = codec->decode(durations))
            return frame;
    return std::nullopt;
}

std::optional<Frame> decodeAs(Protocol protocol, const Durations &durations)
{
    return codecFor(protocol).decode(durations);
}

const char *name(Protocol protocol)
{
    const Codec &codec = codecFor(protocol);
    return codec.ownName ? codec.ownName : protocols::name(codec.catalogueId);
}

int32_t nominalCarrierHz(Protocol protocol)
{
    return codecFor(protocol).carrierHz;
}

int32_t catalogueId(Protocol protocol)
{
    return codecFor(protocol).catalogueId;
}

std::optional<Protocol> sendableProtocol(int32_t id)
{
    if (id == protocols::Unknown)
        return std::nullopt;
    for (const Codec &codec : kCodecs)
        if (codec.catalogueId == id)
            return codec.protocol;
    return std::nullopt;
}

std::optional<Frame> fromSendRecord(
    int32_t id, uint32_t value, uint16_t address, int bits, bool repeat)
{
    const auto protocol = sendableProtocol(id);
    if (!protocol)
        return std::nullopt;
    return makeFrame(*protocol, value, bits, address, repeat);
}

Report report(const std::optional<Frame> &frame)
{
    Report result;
    if (!frame || catalogueId(frame->protocol) == protocols::Unknown)
        return result;
    result.decodeType = catalogueId(frame->protocol);
    result.address = frame->address;
    result.value = frame->value;
    result.bits = frame->bits;
    return result;
}

bool isEchoOf(const std::optional<Frame> &previous, const Frame &frame, int64_t silenceBeforeUs)
{
    return previous && previous->protocol == Protocol::Sharp && !previous->repeat
        && frame.protocol == Protocol::Sharp && frame.repeat && previous->address == frame.address
        && previous->value == frame.value && silenceBeforeUs <= kEchoWindowUs;
}

uint32_t reverseBits(uint32_t value, int count)
{
    uint32_t out = 0;
    for (int i = 0; i < count; ++i)
        out = (out << 1) | ((value >> i) & 1u);
    return out;
}

} // namespace ircodec
