// Generic readers: frames that no protocol names but whose bits are plain to
// see, read to their bits with the timing they were sent with.
//   PULSE_DISTANCE  one mark length, two space lengths (the longer a 1),
//                   an optional header pair, up to four pairs that split
//                   the frame into sections (a long space, or the header
//                   again), and a stop mark; or three to sixteen space
//                   lengths, each space giving its number in bits;
//   PULSE_WIDTH     two mark lengths (the longer a 1), spaces of one length
//                   or of two, each going with its mark's length, an
//                   optional header pair, no stop mark;
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
#include <cstdlib>
#include <string>

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

// Groups values into at most `most` lengths: a new length begins past a gap
// of kClusterGap, and every value must fit its length's window (timing.h).
// None when they do not. Sorts the values.
Clusters clusters(std::vector<int32_t> &values, Level level, size_t most)
{
    Clusters out;
    if (values.empty())
        return out;
    const auto [least, longest] = std::minmax_element(values.begin(), values.end());
    // One length cannot span more than a window: quicker than sorting.
    if (most == 1 && !Window(*least, level).fits(*longest) && !Window(*longest, level).fits(*least)
        && *longest > 2 * int64_t{*least})
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

// The durations d[first], d[first + 2], ... before `end`, in a buffer kept
// from call to call (`slot` 0 or 1): readers run for every frame, and most
// frames are rejected on this path.
std::vector<int32_t> &every(const Durations &d, size_t first, size_t end, int slot)
{
    thread_local std::vector<int32_t> buffers[2];
    std::vector<int32_t> &values = buffers[slot];
    values.clear();
    for (size_t i = first; i < end; i += 2)
        values.push_back(d[i]);
    return values;
}

Clusters clusters(const Durations &d, size_t first, size_t end, Level level, size_t most)
{
    return clusters(every(d, first, end, 0), level, most);
}

bool fitsCluster(int32_t d, const Cluster &c, Level level)
{
    return Window(c.nominal, level).fits(d);
}

// The fewest bits that number `levels` lengths.
int bitsFor(int levels)
{
    int bits = 1;
    while ((1 << bits) < levels)
        ++bits;
    return bits;
}

void describeTiming(const Reading &r, std::string &out)
{
    const Timing &t = r.timing;
    char text[192];
    if (t.headerMark > 0) {
        std::snprintf(text, sizeof text, "header %d/%d us", t.headerMark, t.headerSpace);
        appendPhrase(out, text);
    }
    std::snprintf(text, sizeof text, "unit %d us", t.unit);
    appendPhrase(out, text);
    if (t.levelCount > 2) {
        std::string levels;
        for (int i = 0; i < t.levelCount; ++i)
            levels += (i ? "/" : "") + std::to_string(t.levels[i]);
        std::snprintf(
            text, sizeof text, "spaces %s us, %d bits each", levels.c_str(), bitsFor(t.levelCount));
    } else {
        std::snprintf(text, sizeof text, "0 = %d/%d us, 1 = %d/%d us", t.zeroMark, t.zeroSpace,
            t.oneMark, t.oneSpace);
    }
    appendPhrase(out, text);
    if (t.stopMark > 0) {
        std::snprintf(text, sizeof text, "stop %d us", t.stopMark);
        appendPhrase(out, text);
    }
    for (int i = 0; i < kMaxSeparatorsRead && t.separatorAfter[i] > 0; ++i) {
        std::snprintf(text, sizeof text, "%d/%d us after bit %d", t.separatorMark, t.separatorSpace,
            t.separatorAfter[i]);
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

// A pulse reading's result, when a header it read (from `first` on) stands
// apart from the bits.
bool accept(const Durations &d, size_t first, BitString &&bits, const Timing &t, Reading &out)
{
    if (first > 0 && !headerApart(d, t))
        return false;
    out.bits = std::move(bits);
    out.timing = t;
    out.evidence = Evidence::Shape;
    return true;
}

// A separator is at least this many times as long as a 1's space; a
// shorter third length is a third symbol, which no generic reading has.
constexpr int kSeparatorFactor = 2;

// A generic reading's stop mark carries no data and ends the frame: from
// half the unit to this many units (remotes stretch it, converted codes
// fold their lead-out into it).
constexpr int kMaxStopUnits = 4;

bool genericStop(int32_t stop, int32_t unit)
{
    return 2 * int64_t{stop} >= unit && stop <= int64_t{kMaxStopUnits} * unit;
}

// Whether the pair at `i` repeats the header, opening another section.
bool repeatsHeader(const Durations &d, size_t i)
{
    return matches(d[i], d[0], Level::Mark) && matches(d[i + 1], d[1], Level::Space);
}

// Whether a cluster of spaces is one length, jitter and all: a 0's or a
// 1's spaces keep within this share of the longest, where a chain of
// lengths each near the next (a code with a number in each space) does not.
constexpr int kMaxLengthSpreadPercent = 22;
// Any lengths this close are one length.
constexpr int32_t kLevelSpreadUs = 120;

bool oneLength(const Cluster &c)
{
    const int64_t spread = int64_t{c.high} - c.low;
    return spread <= kLevelSpreadUs || 100 * spread <= int64_t{kMaxLengthSpreadPercent} * c.high;
}

// Pulse distance from `first` on: every mark but the stop mark of one
// length, the spaces of two (the longer a 1), and up to kMaxSeparatorsRead
// separators, each after a bit and before another: a long space after a
// mark of the frame's, or (after a header) the header again.
bool readPulseDistanceFrom(const Durations &d, size_t first, Reading &out)
{
    const size_t n = d.size();
    if (n < first + 2 * kMinBits + 1)
        return false;
    // Sections that repeat the header are left out of the bits' lengths.
    std::vector<int32_t> &marks = every(d, first, n - 1, 0);
    std::vector<int32_t> &spaces = every(d, first + 1, n - 1, 1);
    int sectionHeaders = 0;
    // Only a header whose mark stands out (twice the shortest of the marks
    // that do not repeat it) can open a section again.
    bool distinctHeader = false;
    if (first > 0) {
        int64_t shortest = INT64_MAX;
        for (size_t k = 0; k < marks.size(); ++k)
            if (!repeatsHeader(d, first + 2 * k))
                shortest = std::min<int64_t>(shortest, marks[k]);
        distinctHeader = shortest != INT64_MAX && d[0] >= 2 * shortest;
    }
    if (distinctHeader) {
        size_t kept = 0;
        for (size_t k = 0; k < marks.size(); ++k) {
            const size_t i = first + 2 * k;
            if (repeatsHeader(d, i)) {
                ++sectionHeaders;
                continue;
            }
            marks[kept] = marks[k];
            spaces[kept] = spaces[k];
            ++kept;
        }
        marks.resize(kept);
        spaces.resize(kept);
    }
    if (sectionHeaders > kMaxSeparatorsRead)
        return false;
    const auto markLengths = clusters(marks, Level::Mark, 1);
    if (markLengths.size() != 1 || !genericStop(d[n - 1], markLengths[0].nominal))
        return false;
    const auto spaceLengths = clusters(spaces, Level::Space, sectionHeaders > 0 ? 2 : 3);
    if (spaceLengths.size() < 2 || !apart(spaceLengths[0], spaceLengths[1], Level::Space)
        || !oneLength(spaceLengths[0]) || !oneLength(spaceLengths[1]))
        return false;
    const bool separated = spaceLengths.size() == 3;
    if (separated && spaceLengths[2].low < int64_t{kSeparatorFactor} * spaceLengths[1].high)
        return false;
    Timing t;
    BitString bits;
    int separators = 0;
    for (size_t i = first + 1; i < n - 1; i += 2) {
        const bool section = sectionHeaders > 0 && repeatsHeader(d, i - 1);
        if (section || (separated && d[i] >= spaceLengths[2].low)) {
            // Each after a bit of its own.
            if (separators == kMaxSeparatorsRead || bits.empty()
                || (separators > 0 && t.separatorAfter[separators - 1] == bits.size()))
                return false;
            t.separatorAfter[separators++] = bits.size();
            continue;
        }
        bits.push(d[i] > spaceLengths[0].high);
    }
    if (bits.size() < kMinBits
        || (separators > 0 && t.separatorAfter[separators - 1] >= bits.size()))
        return false;
    if (first > 0) {
        t.headerMark = d[0];
        t.headerSpace = d[1];
    }
    t.unit = t.zeroMark = t.oneMark = markLengths[0].nominal;
    t.zeroSpace = spaceLengths[0].nominal;
    t.oneSpace = spaceLengths[1].nominal;
    t.stopMark = d[n - 1];
    if (sectionHeaders > 0) {
        t.separatorMark = t.headerMark;
        t.separatorSpace = t.headerSpace;
    } else if (separated) {
        t.separatorMark = t.unit;
        t.separatorSpace = spaceLengths[2].nominal;
    }
    return accept(d, first, std::move(bits), t, out);
}

// Pulse width from `first` on: marks of two lengths (the longer a 1, the
// last mark a bit too), spaces of one length or of two, each going with its
// mark's length (the opposite one for a constant bit period, or the same).
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
    // Two space lengths: each bit's space is the one its mark goes with,
    // the opposite length (a constant bit period) or the same.
    const bool twoSpaces = spaces.size() == 2;
    if (twoSpaces && !apart(spaces[0], spaces[1], Level::Space))
        return false;
    const bool oneHasLongSpace
        = twoSpaces && (d[first] > marks[0].high) == (d[first + 1] > spaces[0].high);
    BitString bits;
    for (size_t i = first; i < n; i += 2) {
        const bool one = d[i] > marks[0].high;
        if (twoSpaces && i + 1 < n && (d[i + 1] > spaces[0].high) != (one == oneHasLongSpace))
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
    t.zeroSpace = twoSpaces && !oneHasLongSpace ? spaces[1].nominal : spaces[0].nominal;
    t.oneSpace = twoSpaces && oneHasLongSpace ? spaces[1].nominal : spaces[0].nominal;
    return accept(d, first, std::move(bits), t, out);
}

// Space lengths of a multi-level frame: sorted neighbours closer than
// kLevelGapUs (and a quarter of the longer), or than kLevelGapPercent of
// the longer, are one length; one
// length's spaces (and the marks) spread over at most kLevelSpreadUs or
// kLevelSpreadPercent;
// and with only three lengths each is used at least kMinLevelUses times,
// so that one odd space of a damaged two-length frame does not pass for a
// third length (codes that send numbers use four lengths or more).
constexpr int32_t kLevelGapUs = 60;
constexpr int kSmallGapPercent = 25;
constexpr int kLevelGapPercent = 6;
constexpr int kLevelSpreadPercent = 16;
constexpr size_t kMinLevelUses = 2;

// Whether durations from `low` to `high` are one length sent as such: the
// marks and each space length of a code that sends numbers keep as close.
bool tight(int32_t low, int32_t high)
{
    const int64_t spread = int64_t{high} - low;
    return spread <= kLevelSpreadUs || 100 * spread <= int64_t{kLevelSpreadPercent} * high;
}

// Pulse distance with three to kMaxSpaceLevels space lengths (codes that
// send a number in each space): every mark but the stop mark of one length,
// each space one of the lengths, which stand apart.
bool readMultiLevelFrom(const Durations &d, size_t first, Reading &out)
{
    const size_t n = d.size();
    if (n < first + 5)
        return false;
    std::vector<int32_t> &marks = every(d, first, n - 1, 0);
    const auto markLengths = clusters(marks, Level::Mark, 1);
    if (markLengths.size() != 1 || !genericStop(d[n - 1], markLengths[0].nominal)
        || !tight(markLengths[0].low, markLengths[0].high))
        return false;
    std::vector<int32_t> &spaces = every(d, first + 1, n - 1, 1);
    std::sort(spaces.begin(), spaces.end());
    Timing t;
    size_t begin = 0;
    size_t rarest = spaces.size();
    for (size_t i = 1; i <= spaces.size(); ++i) {
        const int64_t gap = i < spaces.size() ? int64_t{spaces[i]} - spaces[i - 1] : 0;
        if (i < spaces.size()
            && ((gap <= kLevelGapUs && 100 * gap <= int64_t{kSmallGapPercent} * spaces[i])
                || 100 * gap <= int64_t{kLevelGapPercent} * spaces[i]))
            continue;
        const int32_t low = spaces[begin], high = spaces[i - 1];
        if (t.levelCount == kMaxSpaceLevels || !tight(low, high))
            return false;
        rarest = std::min(rarest, i - begin);
        t.levels[t.levelCount++] = spaces[begin + (i - begin) / 2];
        begin = i;
    }
    // More spaces than lengths: noise has as many lengths as spaces.
    constexpr int kLevelsForNumbers = 4;
    constexpr int kSpacesBeyondLevels = 2;
    if (t.levelCount < 3 || (t.levelCount < kLevelsForNumbers && rarest < kMinLevelUses)
        || spaces.size() < static_cast<size_t>(t.levelCount + kSpacesBeyondLevels))
        return false;
    const int width = bitsFor(t.levelCount);
    BitString bits;
    for (size_t i = first + 1; i < n - 1; i += 2) {
        int level = 0;
        while (level + 1 < t.levelCount
            && std::abs(d[i] - t.levels[level + 1]) < std::abs(d[i] - t.levels[level]))
            ++level;
        bits.append(static_cast<uint64_t>(level), width, Order::MsbFirst);
    }
    if (bits.size() < kMinBits)
        return false;
    if (first > 0) {
        t.headerMark = d[0];
        t.headerSpace = d[1];
        // The header must be apart from every symbol.
        if (matches(d[0], markLengths[0].nominal, Level::Mark))
            return false;
    }
    t.unit = t.zeroMark = t.oneMark = markLengths[0].nominal;
    t.zeroSpace = t.levels[0];
    t.oneSpace = t.levels[1];
    t.stopMark = d[n - 1];
    out.bits = std::move(bits);
    out.timing = t;
    out.evidence = Evidence::Shape;
    return true;
}

// No mark or space of a frame lasts longer (a silence that long ends it);
// a generic reading takes none, so that units of seconds, which no code
// has, read nothing.
constexpr int32_t kMaxGenericDurationUs = 100000;
// Nor a time unit longer than this: remotes' units are a few hundred
// microseconds, the longest in the recorded captures 2.5 ms.
constexpr int32_t kMaxGenericUnitUs = 5000;

bool plausible(const Durations &d)
{
    return std::all_of(d.begin(), d.end(), [](int32_t us) { return us <= kMaxGenericDurationUs; });
}

// Without a header the whole frame must read; with one, the rest.
bool readPulseDistance(const Durations &d, Reading &out)
{
    if (d.size() % 2 == 0)
        return false;
    for (const size_t first : {size_t{0}, size_t{2}})
        if (readPulseDistanceFrom(d, first, out))
            return true;
    for (const size_t first : {size_t{0}, size_t{2}})
        if (readMultiLevelFrom(d, first, out))
            return true;
    return false;
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
                = {t.separatorAfter[i], {t.separatorMark, t.separatorSpace}};
    return layout;
}

Durations writePulse(const Reading &r)
{
    const Timing &t = r.timing;
    if (t.levelCount <= 2)
        return writePulseFrame(layoutOf(t), r.bits);
    Durations out;
    if (t.headerMark > 0)
        out = {t.headerMark, t.headerSpace};
    const int width = bitsFor(t.levelCount);
    for (int i = 0; i + width <= r.bits.size(); i += width) {
        const auto level = static_cast<int>(r.bits.field(i, width));
        if (level >= t.levelCount)
            return {};
        out.push_back(t.unit);
        out.push_back(t.levels[level]);
    }
    out.push_back(t.stopMark);
    return out;
}

enum class Carrier { Space, Mark }; // where a pulse frame's bits are

// Example timings: a header or none, a unit and a 1 of three units; pulse
// distance with a separator or none, pulse width with spaces of one length
// or of two.
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
            t.separatorMark = unit;
            t.separatorSpace = kSeparatorUnits * unit;
            t.separatorAfter[0] = count / 2;
        }
    } else {
        t.oneMark = 3 * unit;
        // The opposite space length for a constant bit period, or the same.
        if (variant)
            (random.next(1) ? t.zeroSpace : t.oneSpace) = 3 * unit;
    }
    // Both lengths present, so that the frame shows its two bit forms.
    out.bits = BitString(0b01, 2);
    for (int i = 2; i < count; ++i)
        out.bits.push(random.next(1));
    // Every fourth example of pulse distance sends numbers: four space
    // lengths, one to four units, two bits each, every length present.
    constexpr int kLevels = 4;
    constexpr int kLevelBits = 2;
    if (carrier == Carrier::Space && random.next(2) == 0) {
        t.separatorAfter[0] = 0;
        t.levelCount = kLevels;
        for (int i = 0; i < kLevels; ++i)
            t.levels[i] = (i + 1) * unit;
        t.zeroSpace = t.levels[0];
        t.oneSpace = t.levels[1];
        out.bits = BitString();
        const int symbols = std::max(kLevels + 2, count / kLevelBits);
        for (int i = 0; i < symbols; ++i)
            out.bits.append(i < kLevels ? static_cast<uint64_t>(i) : random.next(kLevelBits),
                kLevelBits, Order::MsbFirst);
    }
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

// Reads every duration from `first` on as one or two half bits of `unit`:
// each, the receiver's `excess` taken out, is the nearer of the two and
// must fit its window. Linear: no search.
// Both says whether runs of one half and of two were found between the first
// and the last duration (which may be cut short by the silence around the
// frame): with one length alone the half bit is not known.
bool readHalves(
    const Durations &d, size_t first, int32_t unit, int32_t excess, Halves &halves, bool &both)
{
    halves.clear();
    bool single = false, twice = false;
    for (size_t i = first; i < d.size(); ++i) {
        const bool mark = (i - first) % 2 == 0;
        const int64_t corrected = mark ? int64_t{d[i]} - excess : int64_t{d[i]} + excess;
        const int count = corrected * 2 < int64_t{3} * unit ? 1 : 2;
        if (!matches(d[i], int64_t{count} * unit, mark ? Level::Mark : Level::Space)
            || corrected * 2 >= int64_t{5} * unit)
            return false;
        halves.insert(halves.end(), static_cast<size_t>(count), mark);
        if (i > first && i + 1 < d.size()) {
            single = single || count == 1;
            twice = twice || count == 2;
        }
    }
    both = single && twice;
    return true;
}

// Reads a bi-phase body from `first` on. The half bit follows from the
// short marks and spaces, as a receiver lengthens the one and shortens the
// other by as much: their mean, where both are single halves; where all of
// one kind are double (a frame of alternating bits), half of those.
bool readBiphaseFrom(const Durations &d, size_t first, Reading &out)
{
    if (d.size() <= first + 1)
        return false;
    const ShortRuns runs = shortRuns(d, first);
    if (runs.mark <= 0 || runs.space <= 0)
        return false;
    // How many halves the short marks and the short spaces are: both one,
    // or one of them two.
    constexpr int kCandidates[][2] = {{1, 1}, {1, 2}, {2, 1}};
    thread_local Halves halves; // kept from call to call: no allocation per frame
    int32_t unit = 0;
    bool read = false;
    bool both = false;
    BitString bits;
    for (const auto &halvesOf : kCandidates) {
        const int32_t mark = runs.mark / halvesOf[0];
        const int32_t space = runs.space / halvesOf[1];
        unit = static_cast<int32_t>((int64_t{mark} + space) / 2);
        const int32_t excess = std::clamp<int32_t>((mark - space) / 2, 0, kReceiverExcessUs);
        if (unit > 0 && readHalves(d, first, unit, excess, halves, both) && both
            && halvesToBits(halves, bits)) {
            read = true;
            break;
        }
    }
    if (!read || bits.size() < kMinBits)
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
        return matches(v, unit, level) || matches(v, 2 * int64_t{unit}, level);
    };
    return !isRun(d[0], Level::Mark) || !isRun(d[1], Level::Space);
}

Durations writeBiphase(const Reading &r)
{
    Halves halves;
    for (int i = 0; i < r.bits.size(); ++i)
        putBit(halves, r.bits.at(i), kBiphasePolarity);
    Durations body = halvesToDurations(halves, int64_t{r.timing.unit} * kNsPerUs);
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
    // 0, 0, 1 next give runs of one half and of two inside the frame, which
    // the reading needs to know the half bit.
    out.bits = BitString(0b1001, 4);
    for (int i = 4; i < count; ++i)
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

// The generic readers' entries: no frame with a duration, and no reading
// with a unit, that no remote has.
template <bool (*read)(const Durations &, Reading &)>
bool readWithUnit(const Durations &d, Reading &out)
{
    return plausible(d) && read(d, out) && out.timing.unit <= kMaxGenericUnitUs;
}

// Eight bits: sixteen durations of two lengths, or four spaces of four
// lengths or more (two bits each) and their marks.
constexpr Admission kPulseDistanceAdmission = {9, irlimits::kMaxReceivedDurations, 0, 0};
constexpr Admission kPulseWidthAdmission
    = {2 * kMinBits - 1, irlimits::kMaxReceivedDurations, 0, 0};
constexpr Admission kBiphaseAdmission = {kMinBits, irlimits::kMaxReceivedDurations, 0, 0};

} // namespace

extern const Reader pulseDistanceReader = {"PULSE_DISTANCE", std::nullopt, Family::Generic,
    Presentation::Number, 0, kPulseDistanceAdmission, readWithUnit<readPulseDistance>, writePulse,
    examplePulseDistance, describeTiming, nullptr};
extern const Reader pulseWidthReader
    = {"PULSE_WIDTH", std::nullopt, Family::Generic, Presentation::Number, 0, kPulseWidthAdmission,
        readWithUnit<readPulseWidth>, writePulse, examplePulseWidth, describeTiming, nullptr};
extern const Reader biphaseReader
    = {"BIPHASE", std::nullopt, Family::Generic, Presentation::Number, 0, kBiphaseAdmission,
        readWithUnit<readBiphase>, writeBiphase, exampleBiphase, describeBiphase, nullptr};

} // namespace ircodec
