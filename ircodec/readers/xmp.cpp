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
// Where the fields are, in nibbles from the first half's first: the check
// (of either half, from its first nibble), the first half's fields, then the
// second half's.
constexpr int kCheckAt = 1;
constexpr int kSubdeviceLowAt = 2;
constexpr int kConstantAt = 3;
constexpr int kOemAt = 4;
constexpr int kDeviceAt = 6;
constexpr int kToggleAt = kNibbles + 2;
constexpr int kSecondSubdeviceLowAt = kNibbles + 3;
constexpr int kCommandAt = kNibbles + 4;
constexpr uint64_t kConstant = 0xF;

constexpr std::array<MarkSpace, kValues> symbols()
{
    std::array<MarkSpace, kValues> out{};
    for (int i = 0; i < kValues; ++i)
        out[static_cast<size_t>(i)] = {kMark, kZeroSpace + i * kStep};
    return out;
}
constexpr std::array<MarkSpace, kValues> kSymbols = symbols();

// `count` nibbles from nibble `at` as one number.
uint64_t nibbles(const BitString &bits, int at, int count = 1)
{
    return bits.field(at * kNibbleBits, count * kNibbleBits);
}

// The sum of a half's nibbles (mod 16).
uint64_t nibbleSum(const BitString &half)
{
    uint64_t sum = 0;
    for (int i = 0; i < kNibbles; ++i)
        sum += nibbles(half, i);
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
        && nibbleSum(half) == 0;
}

bool read(const Durations &d, Reading &out)
{
    if (!readHalf(d, out.bits) || nibbles(out.bits, kConstantAt) != kConstant)
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
    const uint64_t check = (nibbles(half, kCheckAt) - nibbleSum(half)) & kNibbleMask;
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
    const BitString &b = r.bits;
    appendField(out, "subdevice", nibbles(b, 0) << kNibbleBits | nibbles(b, kSubdeviceLowAt), 2);
    appendField(out, "OEM", nibbles(b, kOemAt, 2), 2);
    appendField(out, "device", nibbles(b, kDeviceAt, 2), 2);
    if (b.size() != kMessageBits)
        return;
    appendField(out, "toggle", nibbles(b, kToggleAt), 1);
    appendField(out, "command", nibbles(b, kCommandAt, 4), 4);
}

// The second half of the message a first half began: its own check holds
// and it names the same sub-device.
bool extend(Reading &first, const Capture &next)
{
    BitString half;
    if (first.bits.size() != kHalfBits || !readHalf(next.durations, half)
        || nibbles(half, 0) != nibbles(first.bits, 0)
        || nibbles(half, kSecondSubdeviceLowAt - kNibbles) != nibbles(first.bits, kSubdeviceLowAt))
        return false;
    first.bits.append(half);
    return true;
}

} // namespace

extern const Reader xmpReader = {"XMP", std::nullopt, Family::Remote, Presentation::Number, 38000,
    admitFirstMark(kDurations, kDurations, kMark, kMark), read, write, example, describe, extend};

} // namespace ircodec
