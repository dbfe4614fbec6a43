// Generic readers: frames that no protocol names but whose bits are plain to
// see, read to their bits with the timing they were sent with.
//   PULSE_DISTANCE  one mark length, two space lengths (the longer a 1),
//                   an optional header pair, up to two long spaces that
//                   split the frame into sections, and a stop mark;
//   PULSE_WIDTH     two mark lengths (the longer a 1), spaces of one length
//                   or each the opposite of its mark's, an optional header
//                   pair, no stop mark;
//   BIPHASE         every duration one or two half bits of one unit, after
//                   an optional leader pair; a 1 is a space then a mark.
// A reading accounts for every duration of the frame; frames of fewer than
// kMinBits bits, and frames with any other duration, stay unread.
#include "biphase.h"
#include "pulseframe.h"
#include "reader.h"
#include "timing.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace ircodec {

namespace {

constexpr int kMinBits = 8;
// Durations that differ by more than this factor belong to different
// lengths; IR protocols keep their lengths at least 1.5 times apart.
constexpr double kClusterGap = 1.35;
constexpr int64_t kNsPerUs = 1000;

// One length that durations group around.
struct Cluster
{
    int32_t nominal = 0; // the middle of its durations
    int32_t low = 0;
    int32_t high = 0;
};

// At most this many lengths of one level: two bit lengths and a separator.
constexpr size_t kMaxClusters = 3;

struct Clusters
{
    std::array<Cluster, kMaxClusters> list{};
    size_t count = 0; // 0: the durations do not group

    size_t size() const
    {
        return count;
    }
    bool empty() const
    {
        return count == 0;
    }
    const Cluster &operator[](size_t i) const
    {
        return list[i];
    }
};

// Groups the durations d[first], d[first + 2], ... before `end` into at
// most `most` lengths: a new length begins past a gap of kClusterGap, and
// every duration must fit its length's window (timing.h). None when they
// do not.
Clusters clusters(const Durations &d, size_t first, size_t end, Level level, size_t most)
{
    Clusters out;
    if (first >= end)
        return out;
    // Sorted in a buffer kept from call to call: readers run for every
    // frame, and most frames are rejected on this path.
    thread_local std::vector<int32_t> values;
    values.clear();
    int32_t least = d[first];
    int32_t most1 = d[first];
    for (size_t i = first; i < end; i += 2) {
        values.push_back(d[i]);
        least = std::min(least, d[i]);
        most1 = std::max(most1, d[i]);
    }
    // One length cannot span more than a window: quicker than sorting.
    if (most == 1 && !Window(least, level).fits(most1) && !Window(most1, level).fits(least)
        && most1 > 2 * least)
        return out;
    std::sort(values.begin(), values.end());
    size_t begin = 0;
    for (size_t i = 1; i <= values.size(); ++i) {
        if (i < values.size() && values[i] <= values[i - 1] * kClusterGap)
            continue;
        if (out.count == most)
            return Clusters();
        Cluster c;
        c.nominal = values[begin + (i - begin) / 2];
        c.low = values[begin];
        c.high = values[i - 1];
        const Window window(c.nominal, level);
        if (!window.fits(c.low) || !window.fits(c.high))
            return Clusters();
        out.list[out.count++] = c;
        begin = i;
    }
    return out;
}

bool fitsCluster(int32_t d, const Cluster &c, Level level)
{
    return Window(c.nominal, level).fits(d);
}

void describeTiming(const Reading &r, std::string &out)
{
    const Timing &t = r.timing;
    char text[96];
    if (t.headerMark > 0) {
        std::snprintf(text, sizeof text, "header %d/%d us", t.headerMark, t.headerSpace);
        appendPhrase(out, text);
    }
    std::snprintf(text, sizeof text, "unit %d us", t.unit);
    appendPhrase(out, text);
    std::snprintf(text, sizeof text, "0 = %d/%d us, 1 = %d/%d us", t.zeroMark, t.zeroSpace,
        t.oneMark, t.oneSpace);
    appendPhrase(out, text);
    if (t.stopMark > 0) {
        std::snprintf(text, sizeof text, "stop %d us", t.stopMark);
        appendPhrase(out, text);
    }
    for (int i = 0; i < kMaxSeparatorsRead && t.separatorAfter[i] > 0; ++i) {
        std::snprintf(
            text, sizeof text, "space %d us after bit %d", t.separatorSpace, t.separatorAfter[i]);
        appendPhrase(out, text);
    }
}

// ---------------------------------------------------------------------------
// Pulse distance and pulse width.

// The two bit lengths must not both fit one window: then they are one.
bool apart(const Cluster &shorter, const Cluster &longer, Level level)
{
    return !fitsCluster(longer.nominal, shorter, level)
        && !fitsCluster(shorter.nominal, longer, level);
}

// A header is a first pair that does not fit the frame's bits: its mark or
// its space fits neither bit's.
bool headerApart(const Durations &d, const Timing &t)
{
    const bool markApart
        = !matches(d[0], t.zeroMark, Level::Mark) && !matches(d[0], t.oneMark, Level::Mark);
    const bool spaceApart
        = !matches(d[1], t.zeroSpace, Level::Space) && !matches(d[1], t.oneSpace, Level::Space);
    return markApart || spaceApart;
}

// A separator is at least this many times as long as a 1's space; a
// shorter third length is a third symbol, which no generic reading has.
constexpr int kSeparatorFactor = 2;

// Pulse distance from `first` on: every mark but the stop mark of one
// length, the spaces of two (the longer a 1) and up to kMaxSeparatorsRead
// separators, each after a bit and before another.
bool readPulseDistanceFrom(const Durations &d, size_t first, Reading &out)
{
    const size_t n = d.size();
    if (n < first + 2 * kMinBits + 1)
        return false;
    const auto marks = clusters(d, first, n - 1, Level::Mark, 1);
    if (marks.size() != 1 || !stopMarkWindow(marks[0].nominal).fits(d[n - 1]))
        return false;
    const auto spaces = clusters(d, first + 1, n - 1, Level::Space, 3);
    if (spaces.size() < 2 || !apart(spaces[0], spaces[1], Level::Space))
        return false;
    const bool separated = spaces.size() == 3;
    if (separated && spaces[2].low < kSeparatorFactor * spaces[1].high)
        return false;
    Timing t;
    BitString bits;
    int separators = 0;
    for (size_t i = first + 1; i < n - 1; i += 2) {
        if (separated && d[i] >= spaces[2].low) {
            if (separators == kMaxSeparatorsRead || bits.empty())
                return false;
            t.separatorAfter[separators++] = bits.size();
            continue;
        }
        bits.push(d[i] > spaces[0].high);
    }
    if (bits.size() < kMinBits
        || (separators > 0 && t.separatorAfter[separators - 1] >= bits.size()))
        return false;
    if (first > 0) {
        t.headerMark = d[0];
        t.headerSpace = d[1];
    }
    t.unit = t.zeroMark = t.oneMark = marks[0].nominal;
    t.zeroSpace = spaces[0].nominal;
    t.oneSpace = spaces[1].nominal;
    t.stopMark = d[n - 1];
    t.separatorSpace = separated ? spaces[2].nominal : 0;
    if (first > 0 && !headerApart(d, t))
        return false;
    out.bits = std::move(bits);
    out.timing = t;
    out.evidence = Evidence::Shape;
    return true;
}

// Pulse width from `first` on: marks of two lengths (the longer a 1, the
// last mark a bit too), spaces of one length or of two, each the opposite
// of its mark's (a constant bit period).
bool readPulseWidthFrom(const Durations &d, size_t first, Reading &out)
{
    const size_t n = d.size();
    if (n < first + 2 * kMinBits - 1)
        return false;
    const auto marks = clusters(d, first, n, Level::Mark, 2);
    if (marks.size() != 2 || !apart(marks[0], marks[1], Level::Mark))
        return false;
    const auto spaces = clusters(d, first + 1, n - 1, Level::Space, 2);
    if (spaces.empty())
        return false;
    const bool complementary = spaces.size() == 2;
    if (complementary && !apart(spaces[0], spaces[1], Level::Space))
        return false;
    BitString bits;
    for (size_t i = first; i < n; i += 2) {
        const bool one = d[i] > marks[0].high;
        if (complementary && i + 1 < n && (d[i + 1] > spaces[0].high) == one)
            return false;
        bits.push(one);
    }
    if (bits.size() < kMinBits)
        return false;
    Timing t;
    if (first > 0) {
        t.headerMark = d[0];
        t.headerSpace = d[1];
    }
    t.unit = spaces[0].nominal;
    t.zeroMark = marks[0].nominal;
    t.oneMark = marks[1].nominal;
    t.zeroSpace = complementary ? spaces[1].nominal : spaces[0].nominal;
    t.oneSpace = spaces[0].nominal;
    if (first > 0 && !headerApart(d, t))
        return false;
    out.bits = std::move(bits);
    out.timing = t;
    out.evidence = Evidence::Shape;
    return true;
}

// Without a header the whole frame must read; with one, the rest.
bool readPulseDistance(const Durations &d, Reading &out)
{
    return d.size() % 2 == 1
        && (readPulseDistanceFrom(d, 0, out) || readPulseDistanceFrom(d, 2, out));
}

bool readPulseWidth(const Durations &d, Reading &out)
{
    return d.size() % 2 == 1 && (readPulseWidthFrom(d, 0, out) || readPulseWidthFrom(d, 2, out));
}

PulseLayout layoutOf(const Timing &t)
{
    PulseLayout layout;
    layout.header = {t.headerMark, t.headerSpace};
    layout.zero = {t.zeroMark, t.zeroSpace};
    layout.one = {t.oneMark, t.oneSpace};
    layout.stopMark = t.stopMark;
    for (int i = 0; i < kMaxSeparatorsRead; ++i)
        if (t.separatorAfter[i] > 0)
            layout.separators[static_cast<size_t>(i)]
                = {t.separatorAfter[i], {t.unit, t.separatorSpace}};
    return layout;
}

Durations writePulse(const Reading &r)
{
    return writePulseFrame(layoutOf(r.timing), r.bits);
}

enum class Carrier { Space, Mark }; // where a pulse frame's bits are

// Example timings: a header or none, a unit and a 1 of three units; pulse
// distance with a separator or none, pulse width with constant or
// complementary spaces.
bool examplePulse(uint64_t seed, Reading &out, Carrier carrier)
{
    ExampleBits random(seed);
    constexpr int32_t kUnits[] = {300, 420, 560, 640};
    constexpr int kMaxExtraBits = 40;
    constexpr int kSeparatorUnits = 8;
    const int32_t unit = kUnits[random.next(2)];
    const bool header = random.next(1);
    const bool variant = random.next(1);
    const int count = kMinBits + static_cast<int>(random.next(6)) % kMaxExtraBits;
    Timing &t = out.timing;
    t = Timing();
    if (header) {
        t.headerMark = 8 * unit;
        t.headerSpace = 4 * unit;
    }
    t.unit = unit;
    t.zeroMark = t.zeroSpace = t.oneMark = t.oneSpace = unit;
    if (carrier == Carrier::Space) {
        t.oneSpace = 3 * unit;
        t.stopMark = unit;
        if (variant) {
            t.separatorSpace = kSeparatorUnits * unit;
            t.separatorAfter[0] = count / 2;
        }
    } else {
        t.oneMark = 3 * unit;
        if (variant)
            t.zeroSpace = 3 * unit;
    }
    // Both lengths present, so that the frame shows its two bit forms.
    out.bits = BitString(0b01, 2);
    for (int i = 2; i < count; ++i)
        out.bits.push(random.next(1));
    out.evidence = Evidence::Shape;
    return true;
}

bool examplePulseDistance(uint64_t seed, Reading &out)
{
    return examplePulse(seed, out, Carrier::Space);
}

bool examplePulseWidth(uint64_t seed, Reading &out)
{
    return examplePulse(seed, out, Carrier::Mark);
}

// ---------------------------------------------------------------------------
// Bi-phase.

constexpr Polarity kBiphasePolarity = Polarity::OneIsSpaceFirst;

// Reads half bits into bits: the frame's first half may be the second half
// of a bit whose first half, a space, is silence; the last bit's second
// half, a space, may be silence too.
bool halvesToBits(const Halves &halves, BitString &bits)
{
    for (const size_t lead : {size_t{0}, size_t{1}}) {
        // Halves before the first and after the last are silence.
        const auto at
            = [&](size_t i) { return i >= lead && i - lead < halves.size() && halves[i - lead]; };
        const size_t total = halves.size() + lead;
        BitString read;
        read.reserve(static_cast<int>(total / 2 + 1));
        bool whole = true;
        for (size_t p = 0; p < total && whole; p += 2) {
            const bool first = at(p);
            whole = first != at(p + 1);
            read.push(first == (kBiphasePolarity == Polarity::OneIsMarkFirst));
        }
        if (whole) {
            bits = std::move(read);
            return true;
        }
    }
    return false;
}

// The short marks and short spaces of a bi-phase body: the mean of each.
// 0 when the body has no spaces.
struct ShortRuns
{
    int32_t mark = 0;
    int32_t space = 0;
};

ShortRuns shortRuns(const Durations &d, size_t first)
{
    ShortRuns out;
    int32_t *mean[2] = {&out.mark, &out.space};
    for (size_t level = 0; level < 2; ++level) {
        if (first + level >= d.size())
            return ShortRuns();
        int32_t least = d[first + level];
        for (size_t i = first + level; i < d.size(); i += 2)
            least = std::min(least, d[i]);
        // The mean of the durations near the shortest: the one-half runs.
        int64_t sum = 0;
        int count = 0;
        for (size_t i = first + level; i < d.size(); i += 2) {
            if (d[i] <= least * kClusterGap) {
                sum += d[i];
                ++count;
            }
        }
        *mean[level] = static_cast<int32_t>(sum / count);
    }
    return out;
}

// Reads every duration from `first` on as one or two half bits of one unit.
// The half bit is the mean of the short marks and spaces, as a receiver
// lengthens the one and shortens the other by as much; each duration, that
// excess taken out, is the nearer of one or two half bits, and must fit
// its window. Linear: no search.
bool readBiphaseFrom(const Durations &d, size_t first, Reading &out)
{
    if (d.size() <= first + 1)
        return false;
    const ShortRuns runs = shortRuns(d, first);
    const int32_t unit = (runs.mark + runs.space) / 2;
    if (unit <= 0)
        return false;
    const int32_t excess = std::clamp<int32_t>((runs.mark - runs.space) / 2, 0, kReceiverExcessUs);
    thread_local Halves halves; // kept from call to call: no allocation per frame
    halves.clear();
    for (size_t i = first; i < d.size(); ++i) {
        const bool mark = (i - first) % 2 == 0;
        const int32_t corrected = mark ? d[i] - excess : d[i] + excess;
        const int count = corrected * 2 < 3 * unit ? 1 : 2;
        if (!matches(d[i], int64_t{count} * unit, mark ? Level::Mark : Level::Space)
            || corrected * 2 >= 5 * unit)
            return false;
        halves.insert(halves.end(), static_cast<size_t>(count), mark);
    }
    BitString bits;
    if (!halvesToBits(halves, bits) || bits.size() < kMinBits)
        return false;
    out.bits = std::move(bits);
    out.evidence = Evidence::Shape;
    Timing &t = out.timing;
    if (first > 0) {
        t.headerMark = d[0];
        t.headerSpace = d[1];
    }
    t.unit = unit;
    t.zeroMark = t.zeroSpace = t.oneMark = t.oneSpace = unit;
    return true;
}

bool readBiphase(const Durations &d, Reading &out)
{
    if (d.size() % 2 == 0)
        return false;
    if (readBiphaseFrom(d, 0, out))
        return true;
    // A leader pair that is no run of half bits.
    if (!readBiphaseFrom(d, 2, out))
        return false;
    const int32_t unit = out.timing.unit;
    const auto isRun = [&](int32_t v, Level level) {
        return matches(v, unit, level) || matches(v, 2 * unit, level);
    };
    return !isRun(d[0], Level::Mark) || !isRun(d[1], Level::Space);
}

Durations writeBiphase(const Reading &r)
{
    Halves halves;
    for (int i = 0; i < r.bits.size(); ++i)
        putBit(halves, r.bits.at(i), kBiphasePolarity);
    Durations body = halvesToDurations(halves, r.timing.unit * kNsPerUs);
    if (r.timing.headerMark == 0)
        return body;
    Durations out = {r.timing.headerMark, r.timing.headerSpace};
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

bool exampleBiphase(uint64_t seed, Reading &out)
{
    ExampleBits random(seed);
    constexpr int32_t kUnits[] = {320, 444, 500, 889};
    constexpr int kMaxExtraBits = 24;
    out.timing = Timing();
    out.timing.unit = kUnits[random.next(2)];
    out.timing.zeroMark = out.timing.zeroSpace = out.timing.unit;
    out.timing.oneMark = out.timing.oneSpace = out.timing.unit;
    const int count = kMinBits + static_cast<int>(random.next(5)) % kMaxExtraBits;
    // A leading 1 starts the frame with a mark (its space half is silence);
    // a 0 next gives both run lengths.
    out.bits = BitString(0b10, 2);
    for (int i = 2; i < count; ++i)
        out.bits.push(random.next(1));
    out.evidence = Evidence::Shape;
    return true;
}

void describeBiphase(const Reading &r, std::string &out)
{
    char text[96];
    if (r.timing.headerMark > 0) {
        std::snprintf(
            text, sizeof text, "leader %d/%d us", r.timing.headerMark, r.timing.headerSpace);
        appendPhrase(out, text);
    }
    std::snprintf(text, sizeof text, "half bit %d us, 1 = space then mark", r.timing.unit);
    appendPhrase(out, text);
}

constexpr Admission kPulseAdmission = {2 * kMinBits - 1, kMaxFrameDurations, 0, 0};
constexpr Admission kBiphaseAdmission = {kMinBits, kMaxFrameDurations, 0, 0};

} // namespace

extern const Reader pulseDistanceReader
    = {"PULSE_DISTANCE", std::nullopt, Family::Generic, Presentation::Number, 0, kPulseAdmission,
        readPulseDistance, writePulse, examplePulseDistance, describeTiming, nullptr};
extern const Reader pulseWidthReader
    = {"PULSE_WIDTH", std::nullopt, Family::Generic, Presentation::Number, 0, kPulseAdmission,
        readPulseWidth, writePulse, examplePulseWidth, describeTiming, nullptr};
extern const Reader biphaseReader = {"BIPHASE", std::nullopt, Family::Generic, Presentation::Number,
    0, kBiphaseAdmission, readBiphase, writeBiphase, exampleBiphase, describeBiphase, nullptr};

} // namespace ircodec
