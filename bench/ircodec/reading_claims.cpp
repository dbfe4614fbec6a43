// What the readings make of the recorded real-remote captures:
//   - how many frames are read at all, named (a protocol) or read
//     generically, overall and for the air conditioners' files (ACs/);
//   - per protocol, the frames the codec's decoders claim (the adapter's
//     report) and the frames the readings name;
//   - of the frames the independent judge reads, how many we name, and
//     where both name one with a known mapping, how many agree on the
//     protocol family and the value;
//   - the frames whose reading differs from the codec's decode;
//   - the time the whole reading takes per frame.
// Usage: reading_claims [raw.tsv [judge.tsv]] [--list NAME] [--misses]
//        [--changed] [--unread]
//   --list NAME  the frames read as NAME (UNKNOWN for unread) with durations
//   --misses     the judge's frames we do not name or disagree on
//   --changed    the frames whose reading differs from the codec's decode
#include "captures.h"
#include "judge.h"
#include "reader.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

const char *const kAirConditioners = "ACs/";

struct Frame
{
    const ircaptures::Recorded *recorded;
    const ircaptures::Judged *judged; // null when the judge has no line
    std::optional<ircodec::Frame> decoded;
    ircodec::Reading reading;
};

bool isAirConditioner(const Frame &f)
{
    return f.recorded->file.rfind(kAirConditioners, 0) == 0;
}

bool named(const ircodec::Reading &r)
{
    return r && r.reader->family != ircodec::Family::Generic;
}

std::string decodedName(const Frame &f)
{
    return f.decoded ? ircodec::name(f.decoded->protocol) : "UNKNOWN";
}

void printDurations(const ircodec::Durations &d)
{
    for (int32_t v : d)
        std::printf(" %d", v);
    std::printf("\n");
}

void printFrame(const Frame &f, const char *extra)
{
    std::printf("%s\t%d\t%s\t%s\t%s\t", f.recorded->file.c_str(), f.recorded->record,
        f.recorded->button.c_str(), ircodec::summary(f.reading).c_str(), extra);
    printDurations(f.recorded->durations);
}

struct Totals
{
    int frames = 0;
    int named = 0;
    int generic = 0;
};

void count(Totals &t, const Frame &f)
{
    ++t.frames;
    if (named(f.reading))
        ++t.named;
    else if (f.reading)
        ++t.generic;
}

void printTotals(const char *what, const Totals &t)
{
    const int read = t.named + t.generic;
    std::printf("%-18s %7d frames  read %6.2f %%  named %6.2f %%  generic %5.2f %%  unread %d\n",
        what, t.frames, ircaptures::percent(read, t.frames), ircaptures::percent(t.named, t.frames),
        ircaptures::percent(t.generic, t.frames), t.frames - read);
}

void printProtocols(const std::vector<Frame> &frames)
{
    std::map<std::string, std::pair<int, int>> perName; // decoded, read
    for (const Frame &f : frames) {
        ++perName[decodedName(f)].first;
        ++perName[ircodec::protocolName(f.reading)].second;
    }
    std::printf("\n%-16s %8s %8s\n", "protocol", "decoded", "read");
    for (const auto &[name, counts] : perName)
        std::printf("%-16s %8d %8d\n", name.c_str(), counts.first, counts.second);
}

void printJudge(const std::vector<Frame> &frames, bool listMisses)
{
    int judged = 0, weName = 0, compared = 0, agree = 0, otherProtocol = 0, otherValue = 0;
    std::map<std::string, std::pair<int, int>> perJudgeName; // judged, we name
    for (const Frame &f : frames) {
        if (!f.judged || !ircaptures::judgeReads(*f.judged))
            continue;
        ++judged;
        auto &row = perJudgeName[f.judged->protocol];
        ++row.first;
        if (named(f.reading)) {
            ++weName;
            ++row.second;
        }
        const auto verdict = ircaptures::compare(*f.judged, f.reading);
        if (verdict != ircaptures::Verdict::NoMapping && named(f.reading)) {
            ++compared;
            agree += verdict == ircaptures::Verdict::Agrees;
            otherProtocol += verdict == ircaptures::Verdict::OtherProtocol;
            otherValue += verdict == ircaptures::Verdict::OtherValue;
        }
        if (listMisses
            && (!named(f.reading) || verdict == ircaptures::Verdict::OtherProtocol
                || verdict == ircaptures::Verdict::OtherValue)) {
            const std::string judge
                = f.judged->protocol + " " + std::to_string(f.judged->bits) + " " + f.judged->value;
            printFrame(f, judge.c_str());
        }
    }
    if (listMisses)
        return;
    std::printf("\njudge reads %d frames; we name %d (%.2f %%); both named with a mapping %d: "
                "agree %d (%.3f %%), other protocol %d, other value %d\n",
        judged, weName, ircaptures::percent(weName, judged), compared, agree,
        ircaptures::percent(agree, compared), otherProtocol, otherValue);
    std::printf("%-16s %8s %8s\n", "judge's name", "frames", "we name");
    for (const auto &[name, counts] : perJudgeName)
        std::printf("%-16s %8d %8d\n", name.c_str(), counts.first, counts.second);
}

// A reading differs from the codec's decode when it names another protocol,
// or the codec's protocol with another frame.
bool changed(const Frame &f)
{
    if (!f.decoded)
        return false;
    return !f.reading.frame || *f.reading.frame != *f.decoded;
}

void printChanged(const std::vector<Frame> &frames, bool list)
{
    std::map<std::string, int> pairs;
    for (const Frame &f : frames) {
        if (!changed(f))
            continue;
        if (list)
            printFrame(f, decodedName(f).c_str());
        ++pairs[decodedName(f) + " -> " + ircodec::protocolName(f.reading)];
    }
    if (list)
        return;
    std::printf(
        "\nreadings that differ from the codec's decode:%s\n", pairs.empty() ? " none" : "");
    for (const auto &[pair, n] : pairs)
        std::printf("  %-32s %6d\n", pair.c_str(), n);
}

// The least of a few runs over every frame, so that the scheduler does not count.
constexpr int kTimingRuns = 3;

void printTiming(const std::vector<ircaptures::Recorded> &recorded)
{
    double least = 0;
    size_t sink = 0;
    for (int run = 0; run < kTimingRuns; ++run) {
        const auto start = Clock::now();
        for (const auto &r : recorded)
            sink += ircodec::read(r.durations).bits.size();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        least = run == 0 ? seconds : std::min(least, seconds);
    }
    std::printf("\nwhole reading over %zu frames: %.3f s, %.0f frames/s, mean %.2f us (%zu)\n",
        recorded.size(), least, recorded.size() / least, 1e6 * least / recorded.size(), sink % 10);
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<std::string> paths;
    std::string listed;
    bool misses = false, listChanged = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--list") == 0 && i + 1 < argc)
            listed = argv[++i];
        else if (std::strcmp(argv[i], "--misses") == 0)
            misses = true;
        else if (std::strcmp(argv[i], "--changed") == 0)
            listChanged = true;
        else if (std::strcmp(argv[i], "--unread") == 0)
            listed = "UNKNOWN";
        else
            paths.push_back(argv[i]);
    }
    const std::string raw = paths.size() > 0 ? paths[0] : TAVREL_CAPTURES_DIR "/real-captures.tsv";
    const std::string judgePath
        = paths.size() > 1 ? paths[1] : TAVREL_CAPTURES_DIR "/real-captures-judge.tsv";
    const auto recorded = ircaptures::loadRecorded(raw);
    if (!recorded.opened) {
        std::fprintf(stderr, "cannot read %s\n", raw.c_str());
        return 1;
    }
    const auto judge = ircaptures::loadJudge(judgePath);

    std::vector<Frame> frames;
    frames.reserve(recorded.lines.size());
    for (const auto &r : recorded.lines) {
        Frame f{&r, nullptr, ircodec::decode(r.durations), ircodec::read(r.durations)};
        const auto found = judge.verdicts.find({r.file, r.record});
        if (found != judge.verdicts.end())
            f.judged = &found->second;
        frames.push_back(std::move(f));
    }
    if (!listed.empty()) {
        for (const Frame &f : frames)
            if (ircodec::protocolName(f.reading) == listed)
                printFrame(f, decodedName(f).c_str());
        return 0;
    }
    if (misses) {
        printJudge(frames, true);
        return 0;
    }
    if (listChanged) {
        printChanged(frames, true);
        return 0;
    }
    Totals all, airConditioners;
    for (const Frame &f : frames) {
        count(all, f);
        if (isAirConditioner(f))
            count(airConditioners, f);
    }
    std::printf("%s: %zu frames, %d unreadable lines\n", raw.c_str(), recorded.lines.size(),
        recorded.badLines);
    printTotals("all", all);
    printTotals("air conditioners", airConditioners);
    printProtocols(frames);
    if (judge.opened)
        printJudge(frames, false);
    printChanged(frames, false);
    printTiming(recorded.lines);
    return 0;
}
