#include "biphase.h"

#include "timing.h"

#include <algorithm>
#include <cstdint>
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
        // In 64 bits: a reading's half bit may be as long as any duration.
        const int64_t us = nsToWideUs(to) - nsToWideUs(from);
        out.push_back(static_cast<int32_t>(std::min<int64_t>(us, INT32_MAX)));
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

// What is fixed for one search: the durations, the windows of every run
// length for marks and spaces, and what to call with a full expansion.
struct Search
{
    const Durations &d;
    int maxRun;
    Window marks[kMaxRunLimit + 1];
    Window spaces[kMaxRunLimit + 1];
    const std::function<bool(const Halves &)> &accept;
    Halves halves;
    int stepsLeft = kMaxExpansionSteps;
};

bool expandFrom(Search &search, size_t index, bool mark, const EdgeCheck &edges)
{
    if (--search.stepsLeft < 0)
        return false;
    const Durations &d = search.d;
    if (index == d.size())
        return edges.finish() && search.accept(search.halves);
    // The run lengths the duration fits, the nearest first: a duration that
    // fits two is first read as the one it is closer to (on a tie, the
    // shorter run).
    const Window *windows = mark ? search.marks : search.spaces;
    int runs[kMaxRunLimit];
    int fitting = 0;
    const auto distance = [&](int run) { return std::abs(d[index] - windows[run].nominal); };
    for (int run = 1; run <= search.maxRun; ++run) {
        if (!windows[run].fits(d[index]))
            continue;
        int at = fitting++;
        for (; at > 0 && distance(runs[at - 1]) > distance(run); --at)
            runs[at] = runs[at - 1];
        runs[at] = run;
    }
    for (int i = 0; i < fitting; ++i) {
        const int run = runs[i];
        EdgeCheck further = edges;
        if (!further.next(d[index], windows[run]))
            continue;
        for (int h = 0; h < run; ++h)
            search.halves.push_back(mark);
        if (expandFrom(search, index + 1, !mark, further))
            return true;
        search.halves.resize(search.halves.size() - static_cast<size_t>(run));
    }
    return false;
}

} // namespace

bool expandHalves(const Durations &durations, size_t first, int64_t halfNs, int maxRun,
    const std::function<bool(const Halves &)> &accept)
{
    if (first > durations.size() || maxRun < 1 || maxRun > kMaxRunLimit)
        return false;
    Search search{durations, maxRun, {}, {}, accept, {}};
    for (int run = 1; run <= maxRun; ++run) {
        search.marks[run] = Window(nsToUs(run * halfNs), Level::Mark);
        search.spaces[run] = Window(nsToUs(run * halfNs), Level::Space);
    }
    // Every duration must fit some run before any search: most frames that
    // a bi-phase decoder is tried on are no bi-phase frames at all.
    for (size_t i = first; i < durations.size(); ++i) {
        const Window *windows = (i - first) % 2 == 0 ? search.marks : search.spaces;
        bool fits = false;
        for (int run = 1; run <= maxRun && !fits; ++run)
            fits = windows[run].fits(durations[i]);
        if (!fits)
            return false;
    }
    search.halves.reserve(static_cast<size_t>(maxRun) * durations.size());
    return expandFrom(search, first, true, EdgeCheck{});
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
