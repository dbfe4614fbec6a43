// Air conditioners' frames. A remote of an air conditioner sends the unit's
// whole state on every key press: whole bytes, pulse distance, in one or
// more sections, each after a fixed header or a gap, often twice. A frame
// is described element by element (fixed mark/space pairs, runs of data bytes,
// fixed bit fields, the stop mark); a protocol is its bit timing, the forms
// its frames take, and the check its state bytes pass (constant bytes,
// checksums, complemented copies). The protocol files under readers/ hold
// those facts; the reading, writing and examples are done here once.
#ifndef IRCODEC_ACFRAME_H
#define IRCODEC_ACFRAME_H

#include "pulse.h"
#include "reader.h"
#include "timing.h"

#include <array>
#include <climits>
#include <cstdint>
#include <initializer_list>

namespace ircodec {

// One element of a frame.
struct AcElement
{
    enum Kind : uint8_t {
        Pair,  // a fixed mark and space: a header, a leader, the gap after a section
        Bytes, // `count` data bytes
        Fixed, // `count` bits that always hold `value` (first on the air most significant)
        Stop,  // the frame's last mark, which may stretch (timing.h)
    };
    Kind kind = Pair;
    int32_t mark = 0;
    int32_t space = 0;
    int count = 0;
    uint32_t value = 0;
};

constexpr AcElement acPair(int32_t mark, int32_t space)
{
    return {AcElement::Pair, mark, space, 0, 0};
}
constexpr AcElement acBytes(int count)
{
    return {AcElement::Bytes, 0, 0, count, 0};
}
constexpr AcElement acFixed(uint32_t value, int bits)
{
    return {AcElement::Fixed, 0, 0, bits, value};
}
constexpr AcElement acStop(int32_t mark)
{
    return {AcElement::Stop, mark, 0, 0, 0};
}

constexpr int kMaxAcParts = 12;
constexpr int kMaxAcShapes = 6;
constexpr int kMaxAcBytes = 64;

// One form of a protocol's frame: its elements in order. A frame that does not
// end with a Stop element ends with its last bit's mark (the space after it is
// the silence that ends the frame): that bit reads as 0.
struct AcShape
{
    std::array<AcElement, kMaxAcParts> elements{};
    int count = 0;
};

constexpr AcShape acShape(std::initializer_list<AcElement> elements)
{
    AcShape shape;
    for (const AcElement &element : elements)
        shape.elements[static_cast<size_t>(shape.count++)] = element;
    return shape;
}

// The data bytes of a frame, in the protocol's byte order.
struct AcState
{
    std::array<uint8_t, kMaxAcBytes> bytes{};
    int size = 0;

    uint8_t &operator[](int index)
    {
        return bytes[static_cast<size_t>(index)];
    }
    uint8_t operator[](int index) const
    {
        return bytes[static_cast<size_t>(index)];
    }
};

// How a frame's second copy relates to its first.
enum class AcCopy {
    Same,     // sent again unchanged
    Inverted, // sent again with every bit inverted
};

struct AcProtocol
{
    MarkSpace zero;
    MarkSpace one;
    Order order; // the bit order of each byte on the air
    std::array<AcShape, kMaxAcShapes> shapes{};
    int shapeCount = 0;
    // Whether the bytes are a state of the protocol: its constant bytes
    // and checksums. Null: any bytes.
    bool (*valid)(const AcState &state) = nullptr;
    // Makes random bytes a valid state, for examples. Null: any bytes are.
    void (*complete)(AcState &state) = nullptr;
    // The evidence of a frame whose state is valid: Checked where valid()
    // checks a sum or complement, Framed where it only knows the shape.
    Evidence evidence = Evidence::Checked;
    // A frame may hold the message twice, the stop mark of the first copy
    // and `copyGap` between them; 1 when the protocol sends one copy.
    int copies = 1;
    int32_t copyGap = 0;
    AcCopy copy = AcCopy::Same;
};

// The most common protocol: a header, whole bytes with one bit mark, a
// stop mark as long as the bit mark.
constexpr AcProtocol acPlain(MarkSpace header, int32_t mark, int32_t zeroSpace, int32_t oneSpace,
    Order order, int bytes, bool (*valid)(const AcState &), void (*complete)(AcState &),
    Evidence evidence = Evidence::Checked)
{
    return {{mark, zeroSpace}, {mark, oneSpace}, order,
        {acShape({acPair(header.mark, header.space), acBytes(bytes), acStop(mark)})}, 1, valid,
        complete, evidence};
}

// Durations of a frame of one shape, and its data bits.
constexpr int acDurations(const AcShape &shape)
{
    int durations = 0;
    bool stop = false;
    for (int i = 0; i < shape.count; ++i) {
        const AcElement &element = shape.elements[static_cast<size_t>(i)];
        switch (element.kind) {
        case AcElement::Pair:
            durations += 2;
            break;
        case AcElement::Bytes:
            durations += 2 * 8 * element.count;
            break;
        case AcElement::Fixed:
            durations += 2 * element.count;
            break;
        case AcElement::Stop:
            durations += 1;
            stop = true;
            break;
        }
    }
    return stop ? durations : durations - 1;
}
constexpr int acDataBits(const AcShape &shape)
{
    int bits = 0;
    for (int i = 0; i < shape.count; ++i)
        if (shape.elements[static_cast<size_t>(i)].kind == AcElement::Bytes)
            bits += 8 * shape.elements[static_cast<size_t>(i)].count;
    return bits;
}
// Durations of `copies` copies of a shape.
constexpr int acDurations(const AcShape &shape, int copies)
{
    return copies * acDurations(shape) + (copies - 1);
}

// The first mark of a shape: its first pair's, or a bit's.
constexpr int32_t acFirstMark(const AcProtocol &p, const AcShape &shape, bool longest)
{
    const AcElement &first = shape.elements[0];
    if (first.kind == AcElement::Pair)
        return first.mark;
    const bool oneLonger = p.one.mark > p.zero.mark;
    return longest == oneLonger ? p.one.mark : p.zero.mark;
}

// The frame lengths a protocol can have and the first marks it can begin
// with (timing.h's window of a mark).
constexpr Admission acAdmission(const AcProtocol &p)
{
    Admission a;
    a.minDurations = irlimits::kMaxReceivedDurations;
    a.maxDurations = 0;
    a.firstMarkMin = INT32_MAX;
    a.firstMarkMax = 0;
    for (int i = 0; i < p.shapeCount; ++i) {
        const AcShape &shape = p.shapes[static_cast<size_t>(i)];
        const int one = acDurations(shape);
        const int all = acDurations(shape, p.copies);
        a.minDurations = one < a.minDurations ? one : a.minDurations;
        a.maxDurations = all > a.maxDurations ? all : a.maxDurations;
        const int64_t shortest = acFirstMark(p, shape, false);
        const int64_t longest = acFirstMark(p, shape, true);
        const auto low = static_cast<int32_t>(shortest - tolerance(shortest));
        const auto high = static_cast<int32_t>(longest + excessTolerance(longest));
        a.firstMarkMin = low < a.firstMarkMin ? low : a.firstMarkMin;
        a.firstMarkMax = high > a.firstMarkMax ? high : a.firstMarkMax;
    }
    return a;
}

// The bytes of on-air bits, and back.
AcState acState(const BitString &bits, Order order);
BitString acBits(const AcState &state, Order order);

// Reads a frame of the protocol into `out`: bits, evidence, checked. False
// when no shape fits or its state is not valid.
bool acRead(const AcProtocol &p, const Durations &durations, Reading &out);
// Reads the bytes of one shape from `durations[first]` on (its whole
// length); false on any mismatch.
bool acReadShape(const AcProtocol &p, const AcShape &shape, const Durations &durations,
    size_t first, BitString &bits);
// The nominal durations of a reading: the shape that carries as many bits.
Durations acWrite(const AcProtocol &p, const Reading &reading);
Durations acWriteShape(const AcProtocol &p, const AcShape &shape, const BitString &bits);
// A valid reading from random bytes.
bool acExample(const AcProtocol &p, uint64_t seed, Reading &out);

// The Reader functions of a protocol object.
template <const AcProtocol &P> bool acReadAs(const Durations &durations, Reading &out)
{
    return acRead(P, durations, out);
}
template <const AcProtocol &P> Durations acWriteAs(const Reading &reading)
{
    return acWrite(P, reading);
}
template <const AcProtocol &P> bool acExampleAs(uint64_t seed, Reading &out)
{
    return acExample(P, seed, out);
}

// The reading-table row of an air conditioner's protocol.
template <const AcProtocol &P>
constexpr Reader acReader(const char *name, int32_t carrierHz,
    void (*describe)(const Reading &, std::string &) = nullptr,
    bool (*extend)(Reading &, const Capture &) = nullptr)
{
    return {name, std::nullopt, Family::AirConditioner,
        P.order == Order::LsbFirst ? Presentation::BytesLsbFirst : Presentation::BytesMsbFirst,
        carrierHz, acAdmission(P), acReadAs<P>, acWriteAs<P>, acExampleAs<P>, describe, extend};
}

// ---------------------------------------------------------------------------
// Checks the protocols share, over bytes [from, to).

// Whether a state begins with the first `count` of `prefix`, and setting them.
template <size_t N>
bool startsWith(const AcState &state, const uint8_t (&prefix)[N], size_t count = N)
{
    for (size_t i = 0; i < count && i < N; ++i)
        if (state.bytes[i] != prefix[i])
            return false;
    return true;
}
template <size_t N> void setStart(AcState &state, const uint8_t (&prefix)[N], size_t count = N)
{
    for (size_t i = 0; i < count && i < N; ++i)
        state.bytes[i] = prefix[i];
}
// Whether the last byte is the sum of the bytes from `from` up to it,
// modulo 256, and setting it.
bool lastIsSum(const AcState &state, int from);
void setLastSum(AcState &state, int from);
bool lastIsSum(const AcState &state);
void setLastSum(AcState &state);

uint8_t sumBytes(const AcState &state, int from, int to);
uint8_t xorBytes(const AcState &state, int from, int to);
// The sum of the nibbles of bytes [from, to).
uint8_t sumNibbles(const AcState &state, int from, int to);
// Whether every byte pair from `from` on is a byte and its complement.
bool complementPairs(const AcState &state, int from, int to);
// Sets the complement of every first byte of a pair from `from` on.
void setComplementPairs(AcState &state, int from, int to);
uint8_t reverseBits(uint8_t byte);
int countBits(uint64_t value);

// Appends "mode cool" and "temperature 26 C" to a field list.
void appendAcMode(std::string &out, const char *mode);
void appendAcTemperature(std::string &out, int celsius);

} // namespace ircodec

#endif // IRCODEC_ACFRAME_H
