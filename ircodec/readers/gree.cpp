// GREE: Gree's air conditioner protocol (also Tosot, Sinclair, York,
// TECO and other Gree-made units). 9000 / 4500 us header, 620 us marks, a 1
// is a 1600 us space and a 0 a 540 us one, least significant bit first. An
// eight-byte state in two blocks: bytes 0-3 and the three connecting bits
// 010 with a stop mark; after about 20 ms, bytes 4-7 and a stop mark. The
// high nibble of byte 7 checks the state: 10 plus the low nibbles of bytes
// 0-3 plus the high nibbles of bytes 4-6, modulo 16. The silence between
// the blocks makes them two frames: the first reads on its own (its
// connecting bits are its evidence); the second is read into it (extend).
#include "../acframe.h"
#include "../timing.h"

namespace ircodec {

namespace {

constexpr int32_t kMark = 620;
constexpr int kBlockBytes = 4;
constexpr int kStateBytes = 2 * kBlockBytes;
constexpr uint32_t kConnector = 0b010;
constexpr int kConnectorBits = 3;
constexpr int32_t kBlockGap = 19980;
constexpr uint8_t kChecksumStart = 10;

constexpr MarkSpace kZero = {kMark, 540};
constexpr MarkSpace kOne = {kMark, 1600};

constexpr AcProtocol kFirstBlock = {kZero, kOne, Order::LsbFirst,
    {acShape({acPair(9000, 4500), acBytes(kBlockBytes), acFixed(kConnector, kConnectorBits),
        acStop(kMark)})},
    1, nullptr, nullptr, Evidence::Framed};

constexpr AcProtocol kSecondBlock
    = {kZero, kOne, Order::LsbFirst, {acShape({acBytes(kBlockBytes), acStop(kMark)})}, 1};

uint8_t checksum(const AcState &s)
{
    unsigned sum = kChecksumStart;
    for (int i = 0; i < kBlockBytes; ++i)
        sum += s[i] & 0xFu;
    for (int i = kBlockBytes; i < kStateBytes - 1; ++i)
        sum += s[i] >> 4;
    return static_cast<uint8_t>(sum & 0xFu);
}

bool extend(Reading &first, const Capture &next)
{
    if (first.bits.size() != 8 * kBlockBytes
        || !Window(kBlockGap, Level::Space).fits(next.silenceBefore))
        return false;
    BitString second;
    if (next.durations.size() != static_cast<size_t>(acDurations(kSecondBlock.shapes[0]))
        || !acReadShape(kSecondBlock, kSecondBlock.shapes[0], next.durations, 0, second))
        return false;
    BitString whole = first.bits;
    whole.append(second);
    const AcState state = acState(whole, Order::LsbFirst);
    if (state[kStateBytes - 1] >> 4 != checksum(state))
        return false;
    first.bits = std::move(whole);
    first.evidence = Evidence::Checked;
    first.checked = true;
    return true;
}

constexpr const char *kModes[] = {"auto", "cool", "dry", "fan", "heat"};
constexpr int kMinTemperature = 16;

void describe(const Reading &r, std::string &out)
{
    const AcState s = acState(r.bits, Order::LsbFirst);
    const unsigned mode = s[0] & 0x7u;
    if (mode < sizeof kModes / sizeof *kModes)
        appendAcMode(out, kModes[mode]);
    appendPhrase(out, s[0] & 0x8u ? "power on" : "power off");
    appendAcTemperature(out, kMinTemperature + (s[1] & 0xF));
    if (r.bits.size() < 8 * kStateBytes)
        appendPhrase(out, "first block");
}

} // namespace

extern const Reader greeReader = acReader<kFirstBlock>("GREE", 38000, describe, extend);

} // namespace ircodec
