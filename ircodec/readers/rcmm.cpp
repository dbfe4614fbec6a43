// RCMM: Philips' RC-MM frames of 12, 24 or 32 bits: a 416 us mark and a
// 277 us space, then two bits to every 166 us mark, told by the space
// after it (277, 444, 611 or 777 us for 00, 01, 10 and 11), most
// significant first, and a stop mark. 12-bit frames carry a 4-bit address
// and an 8-bit command; 32-bit frames (Nokia's, and cable and satellite
// boxes) a device and a sub-device byte, a toggle bit, a 7-bit system and a
// command byte. No check.
#include "../framecursor.h"
#include "../reader.h"

#include <array>

namespace ircodec {

namespace {

constexpr MarkSpace kHeader = {416, 277};
constexpr int32_t kMark = 166;
constexpr std::array<MarkSpace, 4> kSymbols
    = {{{kMark, 277}, {kMark, 444}, {kMark, 611}, {kMark, 777}}};
constexpr int kSymbolBits = 2;
constexpr int kLengths[] = {12, 24, 32};
constexpr int kBasicBits = 12;
constexpr int kNokiaBits = 32;
// Durations of a frame: header pair, a pair per symbol, stop mark.
constexpr int durationsFor(int bits)
{
    return 2 + 2 * (bits / kSymbolBits) + 1;
}

bool validLength(int bits)
{
    for (int length : kLengths)
        if (bits == length)
            return true;
    return false;
}

bool read(const Durations &d, Reading &out)
{
    const int bits = static_cast<int>(d.size()) - durationsFor(0);
    if (!validLength(bits))
        return false;
    FrameCursor cursor(d);
    out.bits = BitString();
    if (!cursor.take(kHeader)
        || !cursor.symbols(kSymbols.data(), kSymbolBits, bits / kSymbolBits, out.bits)
        || !cursor.stop(kMark))
        return false;
    out.evidence = Evidence::Framed;
    return true;
}

Durations write(const Reading &r)
{
    if (!validLength(r.bits.size()))
        return {};
    Durations out = {kHeader.mark, kHeader.space};
    putSymbols(r.bits, kSymbols.data(), kSymbolBits, out);
    out.push_back(kMark);
    return out;
}

bool example(uint64_t seed, Reading &out)
{
    ExampleBits random(seed);
    const int bits = kLengths[seed % std::size(kLengths)];
    out.bits = BitString(random.next(bits), bits);
    out.evidence = Evidence::Framed;
    return true;
}

void describe(const Reading &r, std::string &out)
{
    struct Field
    {
        const char *name;
        int bits;
    };
    constexpr Field kBasic[] = {{"address", 4}, {"command", 8}};
    constexpr Field kNokia[]
        = {{"device", 8}, {"subdevice", 8}, {"toggle", 1}, {"system", 7}, {"command", 8}};
    const auto put = [&](const Field *fields, size_t count) {
        int at = 0;
        for (size_t i = 0; i < count; ++i) {
            appendField(
                out, fields[i].name, r.bits.field(at, fields[i].bits), (fields[i].bits + 3) / 4);
            at += fields[i].bits;
        }
    };
    if (r.bits.size() == kBasicBits)
        put(kBasic, std::size(kBasic));
    else if (r.bits.size() == kNokiaBits)
        put(kNokia, std::size(kNokia));
}

} // namespace

extern const Reader rcmmReader = {"RCMM", std::nullopt, Family::Remote, Presentation::Number, 36000,
    admitFirstMark(durationsFor(kLengths[0]), durationsFor(kLengths[std::size(kLengths) - 1]),
        kHeader.mark, kHeader.mark),
    read, write, example, describe, nullptr};

} // namespace ircodec
