// EPSON: Epson's projectors. 38.4 kHz, 577 us unit: a 2.3 ms / 577 us
// header, 13 symbols of two bits, each a mark and a space of one or two
// units: 2/1 units 0, 1/2 units 1, 1/1 units 2, 2/2 units 3; a stop mark.
// The fields, their lowest two bits first: an 8-bit device, a 2-bit mark
// of the frame (1 in a press's frames, 2 in repeats, the last inverted), a
// 6-bit function, a second 2-bit mark and an 8-bit subdevice. The bits of
// a reading are the symbols' values in on-air order, two bits each.
#include "../reader.h"
#include "../timing.h"

namespace ircodec {

namespace {

constexpr int32_t kUnit = 577;
constexpr int kSymbols = 13;
constexpr int kSymbolBits = 2;
constexpr int32_t kHeaderMark = 4 * kUnit;
// Each symbol value's mark and space, in units.
constexpr int kLengths[4][2] = {{2, 1}, {1, 2}, {1, 1}, {2, 2}};
constexpr int kDurations = 2 + 2 * kSymbols + 1;

// Fields as runs of symbols, the lowest two bits first.
struct Field
{
    const char *name;
    int firstSymbol;
    int symbols;
};
constexpr Field kFields[] = {{"device", 0, 4}, {"mark", 4, 1}, {"function", 5, 3},
    {"second mark", 8, 1}, {"subdevice", 9, 4}};

// A duration of one or two units, by the window it fits; 0 for neither.
int unitsOf(int32_t measured, Level level, EdgeCheck &edges, bool &ok)
{
    for (int units = 1; units <= 2; ++units) {
        const Window window(units * kUnit, level);
        if (window.fits(measured)) {
            ok = ok && edges.next(measured, window);
            return units;
        }
    }
    ok = false;
    return 0;
}

bool read(const Durations &d, Reading &out)
{
    if (d.size() != kDurations)
        return false;
    EdgeCheck edges;
    const Window headerMark(kHeaderMark, Level::Mark);
    const Window headerSpace(kUnit, Level::Space);
    bool ok = headerMark.fits(d[0]) && edges.next(d[0], headerMark) && headerSpace.fits(d[1])
        && edges.next(d[1], headerSpace);
    BitString bits;
    for (int s = 0; ok && s < kSymbols; ++s) {
        const int mark = unitsOf(d[2 + 2 * s], Level::Mark, edges, ok);
        const int space = unitsOf(d[3 + 2 * s], Level::Space, edges, ok);
        for (int value = 0; ok && value < 4; ++value)
            if (kLengths[value][0] == mark && kLengths[value][1] == space)
                bits.append(static_cast<uint64_t>(value), kSymbolBits, Order::MsbFirst);
    }
    if (!ok || bits.size() != kSymbols * kSymbolBits || !edges.finish()
        || !stopMarkWindow(kUnit).fits(d.back()))
        return false;
    out.bits = std::move(bits);
    out.evidence = Evidence::Framed;
    return true;
}

Durations write(const Reading &r)
{
    if (r.bits.size() != kSymbols * kSymbolBits)
        return {};
    Durations out = {kHeaderMark, kUnit};
    for (int s = 0; s < kSymbols; ++s) {
        const auto value = r.bits.field(kSymbolBits * s, kSymbolBits);
        out.push_back(kLengths[value][0] * kUnit);
        out.push_back(kLengths[value][1] * kUnit);
    }
    out.push_back(kUnit);
    return out;
}

void describe(const Reading &r, std::string &out)
{
    for (const Field &f : kFields) {
        uint64_t value = 0;
        for (int s = 0; s < f.symbols; ++s)
            value |= r.bits.field(kSymbolBits * (f.firstSymbol + s), kSymbolBits)
                << (kSymbolBits * s);
        appendField(out, f.name, value, (f.symbols * kSymbolBits + 3) / 4);
    }
}

} // namespace

extern const Reader epsonReader = {"EPSON", std::nullopt, Family::Remote, Presentation::Number,
    38400, admitFirstMark(kDurations, kDurations, kHeaderMark, kHeaderMark), read, write,
    framedExample<kSymbols * kSymbolBits>, describe, nullptr};

} // namespace ircodec
