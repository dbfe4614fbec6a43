// BLAUPUNKT: Blaupunkt's protocol (Grundig, Metz and Tandberg sets and
// projectors use it). 30.3 kHz, 512 us half bits, a 1 is a mark then a
// space. Each frame is a 512 us mark and a 2.56 ms space, then 10 bits,
// least significant first: a message opens and closes with a frame of ten
// 1s, and between them sends its data frame, repeated while the key is
// held: a 1, a 6-bit function and a 3-bit device. The frames are 22.5 ms
// apart, so each arrives on its own: a data frame extends a reading of the
// opening frame.
#include "../reader.h"
#include "../timing.h"
#include "biphaseprotocol.h"

namespace ircodec {

namespace {

constexpr int kBits = 10;
constexpr int kFunctionBits = 6;
constexpr int kDeviceBits = 3;
constexpr BiphaseBody kBody = {512000, Polarity::OneIsMarkFirst, "", kBits};
constexpr int kLeadSpaceHalves = 5;
constexpr uint64_t kFrameMark = (1u << kBits) - 1; // the opening and closing frame
// The frames of one message follow each other within 121 ms (236 half
// bits of silence after a data frame), give or take.
constexpr int64_t kMaxGapUs = 150000;

bool isFrameMark(const BitString &bits)
{
    return bits.value() == kFrameMark;
}

// Every frame begins with a 1: its first mark follows the lead space.
bool read(const Durations &d, Reading &out)
{
    if (d.size() < 3 || !matches(d[0], halvesUs(kBody, 1), Level::Mark)
        || !matches(d[1], halvesUs(kBody, kLeadSpaceHalves), Level::Space)
        || !readBiphaseBody(kBody, d, 2, out.bits) || !out.bits.at(0))
        return false;
    out.evidence = Evidence::Framed;
    return true;
}

Durations write(const Reading &r)
{
    if (r.bits.size() != kBits || !r.bits.at(0))
        return {};
    Durations out = {halvesUs(kBody, 1), halvesUs(kBody, kLeadSpaceHalves)};
    const Durations body = writeBiphaseBody(kBody, r.bits);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

bool example(uint64_t seed, Reading &out)
{
    ExampleBits random(seed);
    out.bits = BitString(1, 1);
    out.bits.append(random.next(kBits - 1), kBits - 1, Order::MsbFirst);
    out.evidence = Evidence::Framed;
    return true;
}

void describe(const Reading &r, std::string &out)
{
    if (isFrameMark(r.bits)) {
        appendPhrase(out, "opening or closing frame");
        return;
    }
    appendField(out, "function", r.bits.field(1, kFunctionBits, Order::LsbFirst), 2);
    appendField(out, "device", r.bits.field(1 + kFunctionBits, kDeviceBits, Order::LsbFirst), 1);
}

// An opening frame takes the data frame after it; a message's reading then
// takes its repeats of the data and its closing frame.
bool extend(Reading &first, const Capture &next)
{
    Reading block;
    block.reader = first.reader;
    if (next.silenceBefore > kMaxGapUs || !read(next.durations, block))
        return false;
    if (isFrameMark(first.bits)) {
        if (isFrameMark(block.bits))
            return false;
        first.bits = block.bits;
        return true;
    }
    return isFrameMark(block.bits) || block.bits == first.bits;
}

} // namespace

extern const Reader blaupunktReader = {"BLAUPUNKT", std::nullopt, Family::Remote,
    Presentation::Number, 30300, biphaseAdmission(kBody, 2, halvesUs(kBody, 1), halvesUs(kBody, 1)),
    read, write, example, describe, extend};

} // namespace ircodec
