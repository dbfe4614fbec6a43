// PIXMOB: the light-up wristbands handed out at concerts and games. Their
// codes are chips of 700 us sent without a clock (NRZ): a mark for a 1
// chip, a space for a 0, so every mark and space lasts 1 to 4 chips. What
// the chips mean is not public; the reading gives the chips themselves,
// the first on the air most significant. The codes are long (32 chips or
// more; AEG's Hob2Hood hoods send shorter ones of nearly the same chip),
// and each mark and the space after it are within a quarter chip of their
// length together (a receiver's excess moves the edge between them, by
// about the same time for every mark). Told from regular
// frames by their irregular runs: a mark of 2 chips or more and spaces of
// at least three lengths, which pulse-distance (one mark), pulse-width (two
// spaces, or one) and bi-phase frames (runs of 1 and 2 chips) never have.
#include "../reader.h"
#include "../timing.h"

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>

namespace ircodec {

namespace {

constexpr int32_t kChip = 700;
constexpr int kMaxRun = 4;
constexpr int kMinDurations = 9; // 32 chips in runs of 4 at the most
constexpr int kMaxDurations = 127;
constexpr int kMinChips = 32;
constexpr int32_t kRunSlack = kChip / 4;
// A receiver lengthens every mark by about the same time.
constexpr int64_t kExcessSpread = kChip / 2;
constexpr int kLongMark = 2;
constexpr int kSpaceLengths = 3;

// The chips a mark holds: the nearest whole number whose window it fits,
// 0 when there is none.
int markChips(int32_t duration)
{
    int best = 0;
    for (int n = 1; n <= kMaxRun; ++n)
        if (matches(duration, int64_t{n} * kChip, Level::Mark)
            && (best == 0 || std::abs(duration - n * kChip) < std::abs(duration - best * kChip)))
            best = n;
    return best;
}

bool read(const Durations &d, Reading &out)
{
    if (d.size() % 2 == 0)
        return false;
    out.bits = BitString();
    EdgeCheck edges;
    bool longMark = false;
    unsigned spaceRuns = 0; // a bit per run length that a space had
    int64_t pairUs = 0;     // the mark before this space, and its chips
    int pairChips = 0;
    int64_t leastExcess = INT64_MAX, mostExcess = INT64_MIN; // of the marks
    for (size_t i = 0; i < d.size(); ++i) {
        const Level level = i % 2 ? Level::Space : Level::Mark;
        // A space has the chips that its mark and it have together less
        // the mark's: the receiver's excess moves the edge between them.
        const int n = level == Level::Mark
            ? markChips(d[i])
            : static_cast<int>((pairUs + d[i] + kChip / 2) / kChip) - pairChips;
        if (n < 1 || n > kMaxRun || !edges.next(d[i], Window(int64_t{n} * kChip, level)))
            return false;
        if (level == Level::Mark) {
            longMark = longMark || n >= kLongMark;
            pairUs = d[i];
            pairChips = n;
            const int64_t excess = d[i] - int64_t{n} * kChip;
            leastExcess = std::min(leastExcess, excess);
            mostExcess = std::max(mostExcess, excess);
        } else {
            spaceRuns |= 1u << n;
            const int64_t slip = pairUs + d[i] - int64_t{pairChips + n} * kChip;
            if (slip < -kRunSlack || slip > kRunSlack
                || !matches(d[i], int64_t{n} * kChip, Level::Space))
                return false;
        }
        for (int c = 0; c < n; ++c)
            out.bits.append(level == Level::Mark, 1, Order::MsbFirst);
    }
    if (!edges.finish() || out.bits.size() < kMinChips || !longMark
        || mostExcess - leastExcess > kExcessSpread
        || std::bitset<kMaxRun + 1>(spaceRuns).count() < kSpaceLengths)
        return false;
    out.evidence = Evidence::Bare;
    return true;
}

Durations write(const Reading &r)
{
    Durations out;
    if (r.bits.empty() || !r.bits.at(0) || !r.bits.at(r.bits.size() - 1))
        return out;
    bool level = true;
    int run = 0;
    for (int i = 0; i <= r.bits.size(); ++i) {
        if (i < r.bits.size() && r.bits.at(i) == level) {
            ++run;
            continue;
        }
        if (run > kMaxRun)
            return {};
        out.push_back(run * kChip);
        level = !level;
        run = 1;
    }
    return out;
}

// Runs of 1 to 4 chips, a long mark and three space lengths among them,
// marks first and last.
bool example(uint64_t seed, Reading &out)
{
    ExampleBits random(seed);
    const int runs = kMinChips + 1 + 2 * static_cast<int>(random.next(3));
    out.bits = BitString();
    for (int i = 0; i < runs; ++i) {
        const bool mark = i % 2 == 0;
        int n = 1 + static_cast<int>(random.next(2));
        // A long mark and spaces of 3, 1 and 2 chips, then anything.
        constexpr int kFirstRuns[] = {kLongMark, 3, 1, 1, 1, 2};
        if (i < static_cast<int>(std::size(kFirstRuns)))
            n = kFirstRuns[i];
        for (int c = 0; c < n; ++c)
            out.bits.append(mark, 1, Order::MsbFirst);
    }
    out.evidence = Evidence::Bare;
    return true;
}

void describe(const Reading &r, std::string &out)
{
    appendPhrase(out, (std::to_string(r.bits.size()) + " chips").c_str());
}

} // namespace

extern const Reader pixMobReader = {"PIXMOB", std::nullopt, Family::Remote, Presentation::Number,
    38000, admitFirstMark(kMinDurations, kMaxDurations, kChip, kMaxRun *kChip), read, write,
    example, describe, nullptr};

} // namespace ircodec
