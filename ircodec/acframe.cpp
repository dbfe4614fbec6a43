#include "acframe.h"

#include "timing.h"

#include <cstdlib>

namespace ircodec {

namespace {

constexpr int kByteBits = 8;

const AcElement &elementAt(const AcShape &shape, int index)
{
    return shape.elements[static_cast<size_t>(index)];
}

bool endsWithStop(const AcShape &shape)
{
    return shape.count > 0 && elementAt(shape, shape.count - 1).kind == AcElement::Stop;
}

// How far a duration is from a nominal, relative to it.
double distance(int64_t measured, int64_t nominal)
{
    return nominal > 0 ? std::abs(static_cast<double>(measured - nominal)) / nominal : 0.0;
}

struct BitWindows
{
    explicit BitWindows(const AcProtocol &p)
        : zeroMark(p.zero.mark, Level::Mark),
          zeroSpace(p.zero.space, Level::Space),
          oneMark(p.one.mark, Level::Mark),
          oneSpace(p.one.space, Level::Space)
    {
    }
    Window zeroMark, zeroSpace, oneMark, oneSpace;
};

// Reads durations in order from one position, each against its window,
// the edges agreeing (timing.h).
class Cursor
{
public:
    Cursor(const Durations &d, size_t first, size_t end) : d_(d), pos_(first), end_(end) { }

    bool take(const Window &window)
    {
        const int32_t measured = d_[pos_++];
        return window.fits(measured) && edges_.next(measured, window);
    }
    bool takePair(int32_t mark, int32_t space)
    {
        return take(Window(mark, Level::Mark)) && take(Window(space, Level::Space));
    }
    // One bit; its space is absent when the frame ends with its mark.
    bool takeBit(const AcProtocol &p, const BitWindows &w, bool &one)
    {
        const bool withSpace = pos_ + 1 < end_;
        const int32_t mark = d_[pos_];
        const int32_t space = withSpace ? d_[pos_ + 1] : 0;
        const bool zeroFits = w.zeroMark.fits(mark) && (!withSpace || w.zeroSpace.fits(space));
        const bool oneFits = w.oneMark.fits(mark) && (!withSpace || w.oneSpace.fits(space));
        if (!zeroFits && !oneFits)
            return false;
        one = oneFits;
        if (zeroFits && oneFits) {
            const auto far = [&](const MarkSpace &n) {
                return distance(mark, n.mark) + (withSpace ? distance(space, n.space) : 0.0);
            };
            one = far(p.one) < far(p.zero);
        }
        return take(one ? w.oneMark : w.zeroMark)
            && (!withSpace || take(one ? w.oneSpace : w.zeroSpace));
    }
    bool takeStop(int32_t mark)
    {
        return edges_.finish() && stopMarkWindow(mark).fits(d_[pos_++]);
    }
    bool finish() const
    {
        return pos_ == end_ && edges_.finish();
    }
    bool atEnd() const
    {
        return pos_ >= end_;
    }

private:
    const Durations &d_;
    size_t pos_;
    size_t end_;
    EdgeCheck edges_;
};

void putBits(Durations &out, const AcProtocol &p, uint64_t value, int count, bool lastOfFrame)
{
    for (int i = count - 1; i >= 0; --i) {
        const MarkSpace &bit = (value >> i) & 1u ? p.one : p.zero;
        out.push_back(bit.mark);
        if (!(lastOfFrame && i == 0))
            out.push_back(bit.space);
    }
}

bool copyAgrees(const BitString &first, const BitString &other, AcCopy copy)
{
    if (first.size() != other.size())
        return false;
    for (int i = 0; i < first.size(); ++i)
        if ((first.at(i) != other.at(i)) != (copy == AcCopy::Inverted))
            return false;
    return true;
}

} // namespace

AcState acState(const BitString &bits, Order order)
{
    AcState state;
    state.size = bits.byteCount() < kMaxAcBytes ? bits.byteCount() : kMaxAcBytes;
    for (int i = 0; i < state.size; ++i)
        state[i] = bits.byte(i, order);
    return state;
}

BitString acBits(const AcState &state, Order order)
{
    BitString bits;
    bits.reserve(kByteBits * state.size);
    for (int i = 0; i < state.size; ++i)
        bits.append(state[i], kByteBits, order);
    return bits;
}

bool acReadShape(
    const AcProtocol &p, const AcShape &shape, const Durations &d, size_t first, BitString &bits)
{
    const size_t end = first + static_cast<size_t>(acDurations(shape));
    if (end > d.size())
        return false;
    const BitWindows windows(p);
    Cursor cursor(d, first, end);
    bits = BitString();
    bits.reserve(acDataBits(shape));
    for (int i = 0; i < shape.count; ++i) {
        const AcElement &element = elementAt(shape, i);
        switch (element.kind) {
        case AcElement::Pair:
            if (!cursor.takePair(element.mark, element.space))
                return false;
            break;
        case AcElement::Bytes:
            for (int b = 0; b < kByteBits * element.count; ++b) {
                bool one = false;
                if (!cursor.takeBit(p, windows, one))
                    return false;
                bits.push(one);
            }
            break;
        case AcElement::Fixed: {
            uint32_t value = 0;
            for (int b = 0; b < element.count; ++b) {
                bool one = false;
                if (!cursor.takeBit(p, windows, one))
                    return false;
                value = (value << 1) | (one ? 1u : 0u);
            }
            if (value != element.value)
                return false;
            break;
        }
        case AcElement::Stop:
            return cursor.takeStop(element.mark) && cursor.atEnd();
        }
    }
    return cursor.finish();
}

bool acRead(const AcProtocol &p, const Durations &d, Reading &out)
{
    for (int s = 0; s < p.shapeCount; ++s) {
        const AcShape &shape = p.shapes[static_cast<size_t>(s)];
        const int length = acDurations(shape);
        for (int copies = 1; copies <= p.copies; ++copies) {
            if (d.size() != static_cast<size_t>(acDurations(shape, copies)))
                continue;
            BitString bits;
            if (!acReadShape(p, shape, d, 0, bits))
                break;
            bool agree = true;
            for (int c = 1; c < copies && agree; ++c) {
                const size_t gap = static_cast<size_t>(c * (length + 1) - 1);
                BitString again;
                agree = Window(p.copyGap, Level::Space).fits(d[gap])
                    && acReadShape(p, shape, d, gap + 1, again) && copyAgrees(bits, again, p.copy);
            }
            if (!agree || (p.valid && !p.valid(acState(bits, p.order))))
                break;
            // A second copy that agrees is a check of its own; a frame
            // without data (a leader) has only its shape.
            out.evidence = copies > 1 ? Evidence::Checked : p.evidence;
            if (bits.empty())
                out.evidence = Evidence::Framed;
            out.bits = std::move(bits);
            out.checked = out.evidence == Evidence::Checked;
            return true;
        }
    }
    return false;
}

Durations acWriteShape(const AcProtocol &p, const AcShape &shape, const BitString &bits)
{
    Durations out;
    if (bits.size() != acDataBits(shape))
        return out;
    out.reserve(static_cast<size_t>(acDurations(shape)));
    const bool stop = endsWithStop(shape);
    int next = 0; // the next data bit
    for (int i = 0; i < shape.count; ++i) {
        const AcElement &element = elementAt(shape, i);
        const bool last = !stop && i == shape.count - 1;
        switch (element.kind) {
        case AcElement::Pair:
            out.push_back(element.mark);
            out.push_back(element.space);
            break;
        case AcElement::Bytes:
            for (int b = 0; b < kByteBits * element.count; ++b, ++next)
                putBits(
                    out, p, bits.at(next) ? 1u : 0u, 1, last && b == kByteBits * element.count - 1);
            break;
        case AcElement::Fixed:
            putBits(out, p, element.value, element.count, last);
            break;
        case AcElement::Stop:
            out.push_back(element.mark);
            break;
        }
    }
    return out;
}

Durations acWrite(const AcProtocol &p, const Reading &reading)
{
    for (int s = 0; s < p.shapeCount; ++s) {
        const AcShape &shape = p.shapes[static_cast<size_t>(s)];
        if (acDataBits(shape) == reading.bits.size())
            return acWriteShape(p, shape, reading.bits);
    }
    return {};
}

bool acExample(const AcProtocol &p, uint64_t seed, Reading &out)
{
    if (p.shapeCount == 0)
        return false;
    ExampleBits random(seed);
    const AcShape &shape = p.shapes[seed % static_cast<uint64_t>(p.shapeCount)];
    AcState state;
    state.size = acDataBits(shape) / kByteBits;
    for (int i = 0; i < state.size; ++i)
        state[i] = static_cast<uint8_t>(random.next(kByteBits));
    if (p.complete)
        p.complete(state);
    out.bits = acBits(state, p.order);
    out.evidence = state.size > 0 ? p.evidence : Evidence::Framed;
    out.checked = out.evidence == Evidence::Checked;
    return !p.valid || p.valid(state);
}

// ---------------------------------------------------------------------------

uint8_t sumBytes(const AcState &state, int from, int to)
{
    unsigned sum = 0;
    for (int i = from; i < to; ++i)
        sum += state[i];
    return static_cast<uint8_t>(sum);
}

bool lastIsSum(const AcState &state, int from)
{
    return state.size > from && state[state.size - 1] == sumBytes(state, from, state.size - 1);
}

void setLastSum(AcState &state, int from)
{
    if (state.size > from)
        state[state.size - 1] = sumBytes(state, from, state.size - 1);
}

bool lastIsSum(const AcState &state)
{
    return lastIsSum(state, 0);
}

void setLastSum(AcState &state)
{
    setLastSum(state, 0);
}

uint8_t xorBytes(const AcState &state, int from, int to)
{
    uint8_t out = 0;
    for (int i = from; i < to; ++i)
        out ^= state[i];
    return out;
}

uint8_t sumNibbles(const AcState &state, int from, int to)
{
    unsigned sum = 0;
    for (int i = from; i < to; ++i)
        sum += (state[i] >> 4) + (state[i] & 0xFu);
    return static_cast<uint8_t>(sum);
}

bool complementPairs(const AcState &state, int from, int to)
{
    for (int i = from; i + 1 < to; i += 2)
        if (static_cast<uint8_t>(state[i] ^ state[i + 1]) != 0xFF)
            return false;
    return true;
}

void setComplementPairs(AcState &state, int from, int to)
{
    for (int i = from; i + 1 < to; i += 2)
        state[i + 1] = static_cast<uint8_t>(~state[i]);
}

uint8_t reverseBits(uint8_t byte)
{
    uint8_t out = 0;
    for (int i = 0; i < kByteBits; ++i)
        out = static_cast<uint8_t>((out << 1) | ((byte >> i) & 1u));
    return out;
}

int countBits(uint64_t value)
{
    int count = 0;
    for (; value; value &= value - 1)
        ++count;
    return count;
}

void appendAcMode(std::string &out, const char *mode)
{
    appendPhrase(out, (std::string("mode ") + mode).c_str());
}

void appendAcTemperature(std::string &out, int celsius)
{
    appendPhrase(out, ("temperature " + std::to_string(celsius) + " C").c_str());
}

} // namespace ircodec
