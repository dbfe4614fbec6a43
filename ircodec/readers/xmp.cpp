// XMP: the frames of cable and satellite boxes' XMP remotes (Motorola,
// Pace, Cisco). A message is two half-frames 13.8 ms apart, each eight
// nibbles and a stop mark: every nibble a 210 us mark and a space of
// 760 us plus 136 us per unit of its value, most significant nibble first.
// The nibbles of each half sum to 0 (mod 16), its second nibble being the
// check. First half: sub-device (high nibble), check, sub-device (low
// nibble), 15, OEM code (normally 0x44), device. Second half: sub-device
// (high nibble), check, toggle (0 in the first message of a key press, 8
// in the repeats), sub-device (low nibble), a 16-bit command. A first half
// is read on its own (its constant nibble tells it); the second half is
// read into it as a further block.
#include "../framecursor.h"
#include "../reader.h"

#include <array>

namespace ircodec {

namespace {

constexpr int kNibbleBits = 4;
constexpr int kNibbles = 8;
constexpr int kHalfBits = kNibbles * kNibbleBits;
constexpr int kMessageBits = 2 * kHalfBits;
// Durations of a half: a mark and a space per nibble, stop mark.
constexpr int kDurations = 2 * kNibbles + 1;
constexpr int kValues = 16;
constexpr int32_t kMark = 210;
constexpr int32_t kZeroSpace = 760;
constexpr int32_t kStep = 136;
constexpr uint64_t kNibbleMask = kValues - 1;
constexpr int kCheckAt = 1;
// The first half's constant nibble and where it is.
constexpr int kConstantAt = 3;
constexpr uint64_t kConstant = 0xF;

constexpr std::array<MarkSpace, kValues> symbols()
{
    std::array<MarkSpace, kValues> out{};
    for (int i = 0; i < kValues; ++i)
        out[static_cast<size_t>(i)] = {kMark, kZeroSpace + i * kStep};
    return out;
}
constexpr std::array<MarkSpace, kValues> kSymbols = symbols();

uint64_t nibble(const BitString &bits, int index)
{
    return bits.field(index * kNibbleBits, kNibbleBits);
}

uint64_t nibbleSum(const BitString &bits, int from)
{
    uint64_t sum = 0;
    for (int i = from; i < from + kNibbles; ++i)
        sum += nibble(bits, i);
    return sum & kNibbleMask;
}

// A half-frame's nibbles; false unless they sum to 0 (mod 16).
bool readHalf(const Durations &d, BitString &half)
{
    if (d.size() != kDurations)
        return false;
    FrameCursor cursor(d);
    half = BitString();
    return cursor.symbols(kSymbols.data(), kNibbleBits, kNibbles, half) && cursor.stop(kMark)
        && nibbleSum(half, 0) == 0;
}

bool read(const Durations &d, Reading &out)
{
    if (!readHalf(d, out.bits) || nibble(out.bits, kConstantAt) != kConstant)
        return false;
    out.evidence = Evidence::Checked;
    out.checked = true;
    return true;
}

// The durations of the first half; a message of two halves is two frames.
Durations write(const Reading &r)
{
    if (r.bits.size() != kHalfBits)
        return {};
    Durations out;
    putSymbols(r.bits, kSymbols.data(), kNibbleBits, out);
    out.push_back(kMark);
    return out;
}

// A half with its check nibble filled in: the nibbles sum to 0.
BitString withCheck(BitString half)
{
    const uint64_t check = (nibble(half, kCheckAt) - nibbleSum(half, 0)) & kNibbleMask;
    for (int i = 0; i < kNibbleBits; ++i)
        half.set(kCheckAt * kNibbleBits + i, (check >> (kNibbleBits - 1 - i)) & 1u);
    return half;
}

bool example(uint64_t seed, Reading &out)
{
    ExampleBits random(seed);
    BitString half;
    half.append(random.next(2 * kNibbleBits), 2 * kNibbleBits, Order::MsbFirst);
    half.append(random.next(kNibbleBits), kNibbleBits, Order::MsbFirst);
    half.append(kConstant, kNibbleBits, Order::MsbFirst);
    half.append(random.next(4 * kNibbleBits), 4 * kNibbleBits, Order::MsbFirst);
    out.bits = withCheck(half);
    out.evidence = Evidence::Checked;
    out.checked = true;
    return true;
}

void describe(const Reading &r, std::string &out)
{
    constexpr int kSubdeviceLowAt = 2;
    constexpr int kOemAt = 4;
    constexpr int kDeviceAt = 6;
    const auto byteAt = [&](int from, int at) {
        return nibble(r.bits, from + at) << kNibbleBits | nibble(r.bits, from + at + 1);
    };
    appendField(
        out, "subdevice", nibble(r.bits, 0) << kNibbleBits | nibble(r.bits, kSubdeviceLowAt), 2);
    appendField(out, "OEM", byteAt(0, kOemAt), 2);
    appendField(out, "device", byteAt(0, kDeviceAt), 2);
    if (r.bits.size() != kMessageBits)
        return;
    constexpr int kToggleAt = kNibbles + 2;
    constexpr int kCommandAt = kNibbles + 4;
    appendField(out, "toggle", nibble(r.bits, kToggleAt), 1);
    appendField(
        out, "command", byteAt(kCommandAt, 0) << 2 * kNibbleBits | byteAt(kCommandAt, 2), 4);
}

// The second half of the message a first half began: its own check holds
// and it names the same sub-device.
bool extend(Reading &first, const Capture &next)
{
    constexpr int kSubdeviceLowAt = 3;
    BitString half;
    if (first.bits.size() != kHalfBits || !readHalf(next.durations, half)
        || nibble(half, 0) != nibble(first.bits, 0)
        || nibble(half, kSubdeviceLowAt) != nibble(first.bits, 2))
        return false;
    first.bits.append(half);
    return true;
}

} // namespace

extern const Reader xmpReader = {"XMP", std::nullopt, Family::Remote, Presentation::Number, 38000,
    admitFirstMark(kDurations, kDurations, kMark, kMark), read, write, example, describe, extend};

} // namespace ircodec
