// The codec's own protocols (the catalogue's, ITT, NRC17 and RCA) as
// readers: their decoders read, their encoders write, and a reading's frame
// is the one the adapter reports.
#include "codecs.h"
#include "reader.h"

namespace ircodec {

namespace {

constexpr int kValueBits = 32;
constexpr int kByteBits = 8;
constexpr int kExampleTries = 64;

// The protocols whose value holds fields rather than their frame's bits.
constexpr Protocol kFieldValues[] = {Protocol::Sharp, Protocol::AiwaRcT501};

Durations write(const Reading &reading);

// The bits a frame carries on the air. Where its value holds fields, they
// are read back from its nominal timing (both such protocols are pulse
// distance); PANASONIC's 16 address bits come first.
BitString onAirBits(const Frame &frame)
{
    if (frame.repeat && frame.value == kRepeatValue)
        return BitString();
    for (Protocol p : kFieldValues) {
        if (frame.protocol != p)
            continue;
        Reading nominal;
        nominal.frame = frame;
        Reading bits;
        bits.reader = &pulseDistanceReader;
        if (pulseDistanceReader.read(write(nominal), bits))
            return bits.bits;
    }
    if (frame.protocol == Protocol::Panasonic)
        return BitString(uint64_t{frame.address} << kValueBits | frame.value, frame.bits);
    return BitString(frame.value, frame.bits < kValueBits ? frame.bits : kValueBits);
}

// How strongly each protocol's frame is borne out (reading.h), and the
// frame lengths its decoder can take (durations). Protocols whose decoder
// checks complements or a check nibble are Checked; NEC and SAMSUNG are
// when their command's complement holds (read() below). The catalogue's
// SANYO and MITSUBISHI take any bit count, or have no header: Bare, so a
// protocol that explains such a frame better is named instead.
struct CodecRow
{
    Protocol protocol;
    Evidence evidence;
    int minDurations;
    int maxDurations;
    int32_t firstMarkMin = 0; // 0: any first mark
    int32_t firstMarkMax = 0;
};
// RC5's first mark is one half bit (889 us) within its window: the first
// start bit's mark half, before the second's space half.
constexpr CodecRow kRows[] = {
    {Protocol::Rc5, Evidence::Framed, 9, 27, 667, 1139},
    {Protocol::Rc6, Evidence::Framed, 3, 80},
    {Protocol::Nec, Evidence::Framed, 3, 67},
    {Protocol::Sony, Evidence::Framed, 25, 41},
    {Protocol::Panasonic, Evidence::Framed, 99, 99},
    {Protocol::Jvc, Evidence::Framed, 33, 35},
    {Protocol::Samsung, Evidence::Framed, 3, 67},
    {Protocol::Whynter, Evidence::Framed, 69, 69},
    {Protocol::AiwaRcT501, Evidence::Checked, 87, 87},
    {Protocol::Lg, Evidence::Framed, 3, 59},
    {Protocol::Sanyo, Evidence::Bare, 27, 67},
    {Protocol::Mitsubishi, Evidence::Bare, 33, 65},
    {Protocol::Dish, Evidence::Framed, 35, 35},
    {Protocol::Sharp, Evidence::Framed, 31, 31},
    {Protocol::Denon, Evidence::Framed, 31, 31},
    {Protocol::LegoPf, Evidence::Checked, 35, 35},
    {Protocol::Itt, Evidence::Framed, 27, 27},
    {Protocol::Nrc17, Evidence::Framed, 9, 40},
    {Protocol::Rca, Evidence::Checked, 51, 51},
};

constexpr const CodecRow &rowOf(Protocol protocol)
{
    for (const CodecRow &row : kRows)
        if (row.protocol == protocol)
            return row;
    return kRows[0];
}

// NEC-timed bytes, each least significant bit first.
uint64_t byteAt(const Frame &frame, int index)
{
    return reverseBits((frame.value >> (kValueBits - kByteBits * (index + 1))) & 0xFF, kByteBits);
}

bool complements(uint64_t a, uint64_t b)
{
    return ((a ^ b) & 0xFF) == 0xFF;
}

// JVC repeats its frame without the header: the adapter reports a repeat,
// the reading keeps the frame's data, read with the first frame's header
// put back.
BitString jvcRepeatBits(const Durations &d)
{
    const auto first = encode(jvcFrame(0, 0, true));
    if (!first || first->empty() || (*first)[0].durations.size() < 2)
        return BitString();
    const Durations &nominal = (*first)[0].durations;
    Durations withHeader = {nominal[0], nominal[1]};
    withHeader.insert(withHeader.end(), d.begin(), d.end());
    const auto frame = decodeAs(Protocol::Jvc, withHeader);
    return frame && !frame->repeat ? onAirBits(*frame) : BitString();
}

bool read(const Durations &d, Reading &out)
{
    const Protocol protocol = *out.reader->codec;
    auto frame = decodeAs(protocol, d);
    if (!frame)
        return false;
    out.bits = protocol == Protocol::Jvc && frame->repeat ? jvcRepeatBits(d) : onAirBits(*frame);
    out.repeat = frame->repeat;
    out.evidence = rowOf(protocol).evidence;
    const bool necBytes = (protocol == Protocol::Nec || protocol == Protocol::Samsung)
        && frame->bits == kValueBits && !frame->repeat;
    if (necBytes && complements(byteAt(*frame, 2), byteAt(*frame, 3))) {
        out.evidence = Evidence::Checked;
        out.checked = true;
    }
    out.frame = std::move(frame);
    return true;
}

Durations write(const Reading &reading)
{
    if (!reading.frame)
        return {};
    const auto bursts = encode(*reading.frame);
    if (!bursts || bursts->empty())
        return {};
    // A SHARP echo is the message's second half.
    const size_t half = reading.frame->protocol == Protocol::Sharp && reading.frame->repeat ? 1 : 0;
    return half < bursts->size() ? (*bursts)[half].durations : Durations();
}

// A frame each protocol sends, from random fields.
Frame exampleFrame(Protocol protocol, ExampleBits &r)
{
    switch (protocol) {
    case Protocol::Nec:
        return necFrame(static_cast<uint8_t>(r.next(8)), static_cast<uint8_t>(r.next(8)), true);
    case Protocol::Itt:
        return *ittFrame(static_cast<int>(r.next(4)), static_cast<int>(r.next(6)));
    case Protocol::Jvc:
        return jvcFrame(static_cast<uint8_t>(r.next(8)), static_cast<uint8_t>(r.next(8)), true);
    case Protocol::Nrc17:
        return *nrc17Frame(
            static_cast<int>(r.next(8)), static_cast<int>(r.next(4)), static_cast<int>(r.next(4)));
    case Protocol::Rca:
        return *rcaFrame(static_cast<int>(r.next(4)), static_cast<int>(r.next(8)));
    default:
        break;
    }
    // The first bit count each protocol's notes give (ircodec.h).
    struct Fields
    {
        Protocol protocol;
        int bits;
        int valueBits;
        int addressBits;
    };
    constexpr Fields kFields[] = {
        {Protocol::Rc5, 12, 12, 0},
        {Protocol::Rc6, 20, 20, 0},
        {Protocol::Sony, 12, 12, 0},
        {Protocol::Panasonic, 48, 32, 16},
        {Protocol::Samsung, 32, 32, 0},
        {Protocol::Whynter, 32, 32, 0},
        {Protocol::AiwaRcT501, 42, 8, 0},
        {Protocol::Lg, 28, 28, 0},
        {Protocol::Sanyo, 24, 24, 0},
        {Protocol::Mitsubishi, 16, 16, 0},
        {Protocol::Dish, 16, 16, 0},
        {Protocol::Sharp, 15, 8, 5},
        {Protocol::Denon, 14, 14, 0},
        {Protocol::LegoPf, 16, 16, 0},
    };
    for (const Fields &f : kFields)
        if (f.protocol == protocol)
            return makeFrame(protocol, static_cast<uint32_t>(r.next(f.valueBits)), f.bits,
                static_cast<uint32_t>(r.next(f.addressBits)));
    return makeFrame(protocol, 0, 0);
}

bool example(uint64_t seed, Reading &out)
{
    const Protocol protocol = *out.reader->codec;
    ExampleBits random(seed);
    for (int attempt = 0; attempt < kExampleTries; ++attempt) {
        const Frame frame = exampleFrame(protocol, random);
        const auto bursts = encode(frame);
        if (!bursts)
            continue;
        if (read((*bursts)[0].durations, out))
            return true;
    }
    return false;
}

// Fields of the protocols whose layout is well known; the others show
// their value alone.
void describeNecBytes(const Reading &r, std::string &out)
{
    if (!r.frame || r.repeat || r.frame->bits != kValueBits)
        return;
    const uint64_t b0 = byteAt(*r.frame, 0), b1 = byteAt(*r.frame, 1);
    const uint64_t b2 = byteAt(*r.frame, 2), b3 = byteAt(*r.frame, 3);
    const bool samsung = r.frame->protocol == Protocol::Samsung;
    if (complements(b0, b1) || (samsung && b0 == b1))
        appendField(out, "address", b0, 2);
    else
        appendField(out, "address", b1 << kByteBits | b0, 4);
    if (complements(b2, b3))
        appendField(out, "command", b2, 2);
    else
        appendField(out, "command", b3 << kByteBits | b2, 4);
}

void describeSony(const Reading &r, std::string &out)
{
    if (!r.frame)
        return;
    const BitString bits(r.frame->value, r.frame->bits);
    constexpr int kCommandBits = 7;
    appendField(out, "command", bits.field(0, kCommandBits, Order::LsbFirst), 2);
    appendField(out, "device",
        bits.field(kCommandBits, r.frame->bits - kCommandBits, Order::LsbFirst),
        r.frame->bits > 15 ? 4 : 2);
}

void describeRc5(const Reading &r, std::string &out)
{
    if (!r.frame)
        return;
    const BitString bits(r.frame->value, r.frame->bits);
    appendField(out, "toggle", bits.field(0, 1), 1);
    appendField(out, "address", bits.field(1, 5), 2);
    appendField(out, "command", bits.field(6, 6), 2);
}

void describeRc6(const Reading &r, std::string &out)
{
    if (!r.frame)
        return;
    constexpr int kMode0Bits = 20;
    if (r.frame->bits != kMode0Bits)
        return;
    const BitString bits(r.frame->value, r.frame->bits);
    appendField(out, "mode", bits.field(0, 3), 1);
    appendField(out, "toggle", bits.field(3, 1), 1);
    appendField(out, "address", bits.field(4, 8), 2);
    appendField(out, "command", bits.field(12, 8), 2);
}

void describeLsbFields(const Reading &r, std::string &out, int addressBits, int commandBits)
{
    if (!r.frame || r.repeat)
        return;
    const BitString bits(r.frame->value, addressBits + commandBits);
    appendField(out, "address", bits.field(0, addressBits, Order::LsbFirst), 2);
    appendField(out, "command", bits.field(addressBits, commandBits, Order::LsbFirst), 2);
}

void describeJvc(const Reading &r, std::string &out)
{
    describeLsbFields(r, out, kByteBits, kByteBits);
}

void describeItt(const Reading &r, std::string &out)
{
    describeLsbFields(r, out, 4, 6);
}

void describeRca(const Reading &r, std::string &out)
{
    if (!r.frame)
        return;
    const BitString bits(r.frame->value, r.frame->bits);
    appendField(out, "address", bits.field(0, 4), 1);
    appendField(out, "command", bits.field(4, 8), 2);
}

void describeSharp(const Reading &r, std::string &out)
{
    if (!r.frame)
        return;
    appendField(out, "address", r.frame->address, 2);
    appendField(out, "command", r.frame->value, 2);
}

void describePanasonic(const Reading &r, std::string &out)
{
    if (!r.frame)
        return;
    appendField(out, "vendor", r.frame->address, 4);
}

// A SHARP echo half completes the message its plain half began.
bool extendSharp(Reading &first, const Capture &next)
{
    const auto frame = decodeAs(Protocol::Sharp, next.durations);
    return frame && isEchoOf(first.frame, *frame, next.silenceBefore);
}

constexpr Reader codecReader(Protocol protocol, Presentation presentation,
    void (*describe)(const Reading &, std::string &), bool (*extend)(Reading &, const Capture &))
{
    const CodecRow &row = rowOf(protocol);
    const Admission admission
        = {row.minDurations, row.maxDurations, row.firstMarkMin, row.firstMarkMax};
    return {nullptr, protocol, Family::Remote, presentation, 0, admission, read, write, example,
        describe, extend};
}

constexpr Presentation kValue = Presentation::CatalogueValue;
constexpr Presentation kNumber = Presentation::Number;

} // namespace

int32_t carrierHz(const Reader &reader)
{
    return reader.codec ? nominalCarrierHz(*reader.codec) : reader.carrierHz;
}

extern const Reader necReader = codecReader(Protocol::Nec, kValue, describeNecBytes, nullptr);
extern const Reader samsungReader
    = codecReader(Protocol::Samsung, kValue, describeNecBytes, nullptr);
extern const Reader jvcReader = codecReader(Protocol::Jvc, kValue, describeJvc, nullptr);
extern const Reader lgReader = codecReader(Protocol::Lg, kValue, nullptr, nullptr);
extern const Reader aiwaReader = codecReader(Protocol::AiwaRcT501, kValue, nullptr, nullptr);
extern const Reader panasonicReader
    = codecReader(Protocol::Panasonic, kValue, describePanasonic, nullptr);
extern const Reader whynterReader = codecReader(Protocol::Whynter, kValue, nullptr, nullptr);
extern const Reader dishReader = codecReader(Protocol::Dish, kValue, nullptr, nullptr);
extern const Reader legoPfReader = codecReader(Protocol::LegoPf, kValue, nullptr, nullptr);
extern const Reader rcaReader = codecReader(Protocol::Rca, kNumber, describeRca, nullptr);
extern const Reader sonyReader = codecReader(Protocol::Sony, kValue, describeSony, nullptr);
extern const Reader rc6Reader = codecReader(Protocol::Rc6, kValue, describeRc6, nullptr);
extern const Reader rc5Reader = codecReader(Protocol::Rc5, kValue, describeRc5, nullptr);
extern const Reader nrc17Reader = codecReader(Protocol::Nrc17, kNumber, nullptr, nullptr);
extern const Reader sharpReader = codecReader(Protocol::Sharp, kValue, describeSharp, extendSharp);
extern const Reader denonReader = codecReader(Protocol::Denon, kValue, nullptr, nullptr);
extern const Reader ittReader = codecReader(Protocol::Itt, kNumber, describeItt, nullptr);
extern const Reader sanyoReader = codecReader(Protocol::Sanyo, kValue, nullptr, nullptr);
extern const Reader mitsubishiReader = codecReader(Protocol::Mitsubishi, kValue, nullptr, nullptr);

} // namespace ircodec
