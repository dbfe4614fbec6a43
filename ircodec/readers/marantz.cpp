// MARANTZ: Philips' extended RC5, sent by Marantz, Carver and Philips audio
// remotes: RC5's bi-phase bits (889 us half bits, a 1 a space then a
// mark), start bit 1, a second start bit that is the inverted seventh
// command bit, toggle, 5-bit address, then a pause of four half bits, six
// command bits and six extension bits, most significant first. The
// reading's 19 bits are the seventh command bit, toggle, address, the
// other six command bits and the extension.
#include "../biphase.h"
#include "../reader.h"
#include "../timing.h"

#include <cstdlib>

namespace ircodec {

namespace {

constexpr int64_t kHalfNs = 889000;
constexpr int32_t kHalfUs = nsToUs(kHalfNs);
constexpr Polarity kPolarity = Polarity::OneIsSpaceFirst;
constexpr int kMaxRun = 2;
constexpr int kAddressBits = 5;
constexpr int kCommandBits = 6;
constexpr int kExtensionBits = 6;
// Before the pause: two start bits, toggle and address; after it, the
// command and the extension.
constexpr int kBeforeBits = 3 + kAddressBits;
constexpr int kAfterBits = kCommandBits + kExtensionBits;
constexpr int kBits = 1 + 1 + kAddressBits + kAfterBits;
constexpr int kPauseHalves = 4;
// A space longer than this many half bits is the pause.
constexpr int64_t kPauseFromHalves = 3;
// The half bits on the air before the pause (the first start bit's first
// half is silence) and after it, at most; in runs of one or two.
constexpr int kBeforeHalves = 2 * kBeforeBits - 1;
constexpr int kAfterHalves = 2 * kAfterBits;
constexpr int kFewestBefore = kBeforeHalves / 2;
constexpr int kFewestDurations = kFewestBefore + 1 + (kAfterHalves - 2) / 2;
constexpr int kMostDurations = kBeforeHalves + 1 + kAfterHalves;

// The index of the pause's space: the first space longer than RC5's runs of
// half bits, where the bits before it end. 0 when there is none.
size_t pauseAt(const Durations &d)
{
    for (size_t i = 1; i < d.size() && i <= kBeforeHalves; i += 2)
        if (d[i] > kPauseFromHalves * kHalfUs)
            return i >= kFewestBefore ? i : 0;
    return 0;
}

// The bits before the pause: start bits, toggle and address, from the half
// bits of `d` before it (the first start bit's silent first half put in
// front). `tail` is set to the half bits of the pause's space that the last
// of them takes: 1 when it ends with a space.
struct Before
{
    uint64_t start = 0;
    uint64_t toggle = 0;
    uint64_t address = 0;
    int tail = 0;
};

bool readBefore(const Durations &d, size_t pause, Before &out)
{
    const Durations before(d.begin(), d.begin() + static_cast<long>(pause));
    return expandHalves(before, 0, kHalfNs, kMaxRun, [&](const Halves &expanded) {
        Halves halves(1, false);
        halves.insert(halves.end(), expanded.begin(), expanded.end());
        const int tail = 2 * kBeforeBits - static_cast<int>(halves.size());
        if (tail < 0 || tail > 1)
            return false;
        halves.insert(halves.end(), static_cast<size_t>(tail), false);
        size_t pos = 0;
        const auto start = readBits(halves, pos, 2, kPolarity);
        const auto toggle = readBits(halves, pos, 1, kPolarity);
        const auto address = readBits(halves, pos, kAddressBits, kPolarity);
        if (!start || (*start >> 1) != 1 || !toggle || !address)
            return false;
        out = {*start, *toggle, *address, tail};
        return true;
    });
}

// The command and extension bits after the pause; `head` half bits of the
// pause's space (0 or 1) are the first bit's.
bool readAfter(const Durations &d, size_t pause, int head, uint64_t &bits)
{
    return expandHalves(d, pause + 1, kHalfNs, kMaxRun, [&](const Halves &expanded) {
        Halves halves(static_cast<size_t>(head), false);
        halves.insert(halves.end(), expanded.begin(), expanded.end());
        size_t pos = 0;
        const auto read = readBits(halves, pos, kAfterBits, kPolarity);
        if (!read || pos < halves.size())
            return false;
        bits = *read;
        return true;
    });
}

bool read(const Durations &d, Reading &out)
{
    const size_t pause = pauseAt(d);
    Before before;
    if (pause == 0 || !readBefore(d, pause, before))
        return false;
    // The pause's space holds the pause, the last bit's tail and perhaps
    // the next bit's first half: the nearer fit first.
    const auto pauseFor = [&](int head) { return (kPauseHalves + before.tail + head) * kHalfUs; };
    const int nearer = std::abs(d[pause] - pauseFor(1)) < std::abs(d[pause] - pauseFor(0)) ? 1 : 0;
    for (const int head : {nearer, 1 - nearer}) {
        uint64_t after = 0;
        if (!matches(d[pause], pauseFor(head), Level::Space) || !readAfter(d, pause, head, after))
            continue;
        out.bits = BitString(~before.start & 1, 1);
        out.bits.append(before.toggle, 1, Order::MsbFirst);
        out.bits.append(before.address, kAddressBits, Order::MsbFirst);
        out.bits.append(after, kAfterBits, Order::MsbFirst);
        out.evidence = Evidence::Framed;
        return true;
    }
    return false;
}

Durations write(const Reading &r)
{
    if (r.bits.size() != kBits)
        return {};
    Halves halves;
    putBit(halves, true, kPolarity);
    putBit(halves, !r.bits.at(0), kPolarity);
    for (int i = 1; i < 2 + kAddressBits; ++i)
        putBit(halves, r.bits.at(i), kPolarity);
    halves.insert(halves.end(), kPauseHalves, false);
    for (int i = 2 + kAddressBits; i < kBits; ++i)
        putBit(halves, r.bits.at(i), kPolarity);
    return halvesToDurations(halves, kHalfNs);
}

bool example(uint64_t seed, Reading &out)
{
    out.bits = BitString(ExampleBits(seed).next(kBits), kBits);
    out.evidence = Evidence::Framed;
    return true;
}

void describe(const Reading &r, std::string &out)
{
    constexpr int kCommandAt = 2 + kAddressBits;
    appendField(out, "toggle", r.bits.field(1, 1), 1);
    appendField(out, "address", r.bits.field(2, kAddressBits), 2);
    appendField(out, "command",
        r.bits.field(0, 1) << kCommandBits | r.bits.field(kCommandAt, kCommandBits), 2);
    appendField(out, "extension", r.bits.field(kCommandAt + kCommandBits, kExtensionBits), 2);
}

} // namespace

extern const Reader marantzReader = {"MARANTZ", std::nullopt, Family::Remote, Presentation::Number,
    36000, admitFirstMark(kFewestDurations, kMostDurations, kHalfUs, 2 * kHalfUs), read, write,
    example, describe, nullptr};

} // namespace ircodec
