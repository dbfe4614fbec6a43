#include "biphase.h"

#include "timing.h"

#include <cstdlib>

namespace ircodec {

void putBit(Halves &halves, bool one, Polarity polarity, int width)
{
    const bool firstIsMark = one == (polarity == Polarity::OneIsMarkFirst);
    halves.insert(halves.end(), width, firstIsMark);
    halves.insert(halves.end(), width, !firstIsMark);
}

void putBits(Halves &halves, uint64_t bits, int count, Polarity polarity)
{
    for (int i = count - 1; i >= 0; --i)
        putBit(halves, (bits >> i) & 1u, polarity);
}

Durations halvesToDurations(const Halves &halves, int64_t halfNs)
{
    size_t begin = 0;
    size_t end = halves.size();
    while (begin < end && !halves[begin])
        ++begin;
    while (end > begin && !halves[end - 1])
        --end;
    // Edges are rounded, not runs, so the frame keeps its nominal length.
    Durations out;
    for (size_t i = begin; i < end;) {
        size_t run = 1;
        while (i + run < end && halves[i + run] == halves[i])
            ++run;
        const int64_t from = static_cast<int64_t>(i - begin) * halfNs;
        const int64_t to = static_cast<int64_t>(i - begin + run) * halfNs;
        out.push_back(nsToUs(to) - nsToUs(from));
        i += run;
    }
    return out;
}

namespace {

// Every duration that fits two run lengths doubles the expansions to try, so
// a long list of such durations would take exponential time. Real frames have
// only a few; past this many steps the search gives up and the frame is not
// decoded.
constexpr int kMaxExpansionSteps = 1 << 16;
// More half-bits than any duration of a bi-phase frame holds.
constexpr int kMaxRunLimit = 4;

// The expansion so far: the halves, and the nominal taken for each duration.
struct Expansion
{
    Halves halves;
    std::vector<int32_t> nominals;
};

bool expandFrom(const Durations &d, size_t index, int64_t halfNs, int maxRun, Expansion &expansion,
    const std::function<bool(const Halves &)> &accept, bool mark, int &stepsLeft)
{
    if (--stepsLeft < 0)
        return false;
    // The durations expanded so far: the one before the last has both its
    // neighbours now, the last one has them at the end.
    const size_t known = expansion.nominals.size();
    const int32_t *taken = d.data() + (index - known);
    const auto nominal = [&](size_t i) { return expansion.nominals[i]; };
    if (known >= 2 && !edgeAgrees(taken, known, known - 2, nominal))
        return false;
    if (index == d.size())
        return (known == 0 || edgeAgrees(taken, known, known - 1, nominal))
            && accept(expansion.halves);
    // The run lengths the duration fits, the nearest first: a duration that
    // fits two is first read as the one it is closer to.
    const auto distance
        = [&](int run) { return std::abs(d[index] - int64_t{nsToUs(run * halfNs)}); };
    int runs[kMaxRunLimit];
    int fitting = 0;
    for (int run = 1; run <= maxRun && run <= kMaxRunLimit; ++run) {
        if (!matches(d[index], nsToUs(run * halfNs), mark ? Level::Mark : Level::Space))
            continue;
        // Insert in order of distance; on a tie the shorter run stays first.
        int at = fitting++;
        for (; at > 0 && distance(runs[at - 1]) > distance(run); --at)
            runs[at] = runs[at - 1];
        runs[at] = run;
    }
    for (int i = 0; i < fitting; ++i) {
        const int run = runs[i];
        expansion.halves.insert(expansion.halves.end(), run, mark);
        expansion.nominals.push_back(nsToUs(run * halfNs));
        if (expandFrom(d, index + 1, halfNs, maxRun, expansion, accept, !mark, stepsLeft))
            return true;
        expansion.halves.resize(expansion.halves.size() - run);
        expansion.nominals.pop_back();
    }
    return false;
}

} // namespace

bool expandHalves(const Durations &durations, size_t first, int64_t halfNs, int maxRun,
    const std::function<bool(const Halves &)> &accept)
{
    if (first > durations.size())
        return false;
    Expansion expansion;
    expansion.halves.reserve(static_cast<size_t>(maxRun) * durations.size());
    expansion.nominals.reserve(durations.size() - first);
    int stepsLeft = kMaxExpansionSteps;
    return expandFrom(durations, first, halfNs, maxRun, expansion, accept, true, stepsLeft);
}

std::optional<bool> readBit(const Halves &halves, size_t &pos, Polarity polarity, int width)
{
    // Halves past the end are silence: a frame's last space is not on the list.
    const auto at = [&](size_t i) { return i < halves.size() && halves[i]; };
    const bool first = at(pos);
    for (int i = 1; i < width; ++i)
        if (at(pos + i) != first)
            return std::nullopt;
    for (int i = 0; i < width; ++i)
        if (at(pos + width + i) == first)
            return std::nullopt;
    pos += 2 * width;
    return first == (polarity == Polarity::OneIsMarkFirst);
}

std::optional<uint64_t> readBits(const Halves &halves, size_t &pos, int count, Polarity polarity)
{
    uint64_t bits = 0;
    for (int i = 0; i < count; ++i) {
        const auto bit = readBit(halves, pos, polarity);
        if (!bit)
            return std::nullopt;
        bits = (bits << 1) | (*bit ? 1u : 0u);
    }
    return bits;
}

} // namespace ircodec
