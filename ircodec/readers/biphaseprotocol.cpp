#include "biphaseprotocol.h"

#include "../timing.h"

#include <cstring>

namespace ircodec {

namespace {

constexpr int kMaxRun = 4; // expandHalves()'s longest run

// Whether the durations from `first` on can be the body's `halves` half
// bits (the last space half may be silence): each a run of one to maxRun
// half bits by its window, the shortest and the longest runs they fit
// adding up to a range that holds the count. A cheap look before the
// search of expandHalves().
bool mayBeBody(const BiphaseBody &body, const Durations &d, size_t first, size_t halves)
{
    if (body.maxRun < 1 || body.maxRun > kMaxRun)
        return false;
    Window windows[2][kMaxRun + 1];
    for (int run = 1; run <= body.maxRun; ++run) {
        windows[0][run] = Window(halvesUs(body, run), Level::Mark);
        windows[1][run] = Window(halvesUs(body, run), Level::Space);
    }
    size_t fewest = 0;
    size_t most = 0;
    for (size_t i = first; i < d.size(); ++i) {
        const Window *level = windows[(i - first) % 2];
        int shortest = 0;
        int longest = 0;
        for (int run = 1; run <= body.maxRun; ++run) {
            if (!level[run].fits(d[i]))
                continue;
            shortest = shortest == 0 ? run : shortest;
            longest = run;
        }
        if (shortest == 0)
            return false;
        fewest += static_cast<size_t>(shortest);
        most += static_cast<size_t>(longest);
    }
    return fewest <= halves && most + 1 >= halves;
}

} // namespace

bool readBiphaseBody(const BiphaseBody &body, const Durations &d, size_t first, BitString &bits)
{
    const size_t lead = std::strlen(body.lead);
    if (first >= d.size() || !mayBeBody(body, d, first, lead + 2 * static_cast<size_t>(body.bits)))
        return false;
    return expandHalves(d, first, body.halfNs, body.maxRun, [&](const Halves &halves) {
        if (halves.size() < lead)
            return false;
        for (size_t i = 0; i < lead; ++i)
            if (halves[i] != (body.lead[i] == '1'))
                return false;
        size_t pos = lead;
        BitString read;
        for (int i = 0; i < body.bits; ++i) {
            const auto bit = readBit(halves, pos, body.polarity);
            if (!bit)
                return false;
            read.push(*bit);
        }
        if (pos < halves.size())
            return false;
        bits = std::move(read);
        return true;
    });
}

Durations writeBiphaseBody(const BiphaseBody &body, const BitString &bits)
{
    if (bits.size() != body.bits)
        return {};
    Halves halves;
    for (const char *c = body.lead; *c; ++c)
        halves.push_back(*c == '1');
    for (int i = 0; i < bits.size(); ++i)
        putBit(halves, bits.at(i), body.polarity);
    return halvesToDurations(halves, body.halfNs);
}

} // namespace ircodec
