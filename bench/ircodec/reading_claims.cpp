// What the readings make of the recorded real-remote captures:
//   - how many frames are read at all, named (a protocol) or read
//     generically, overall and for the air conditioners' files (ACs/);
//   - per protocol, the frames the codec's decoders claim (the adapter's
//     report) and the frames the readings name;
//   - of the frames the independent judge reads, how many we name, and
//     where both name one with a known mapping, how many agree on the
//     protocol family and the value; per judge's name;
//   - the frames whose reading differs from the codec's decode;
//   - the time the whole reading takes per frame.
// Usage: reading_claims [raw.tsv [judge.tsv]] [--list NAME] [--misses]
//        [--changed] [--unread]
//   --list NAME  the frames read as NAME (UNKNOWN for unread) with durations
//   --unread     the same as --list UNKNOWN
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

struct Frame
{
    const ircaptures::Recorded *recorded;
    const ircaptures::Judged *judged; // null when the judge has no line
    std::optional<ircodec::Frame> decoded;
    ircodec::Reading reading;
};

std::string decodedName(const Frame &f)
{
    return f.decoded ? ircodec::name(f.decoded->protocol) : "UNKNOWN";
}

void printFrame(const Frame &f, const char *extra)
{
    std::printf("%s\t%d\t%s\t%s\t%s\t", f.recorded->file.c_str(), f.recorded->record,
        f.recorded->button.c_str(), ircodec::summary(f.reading).c_str(), extra);
    for (int32_t v : f.recorded->durations)
        std::printf(" %d", v);
    std::printf("\n");
}

void printTotals(const char *what, int frames, int named, int generic)
{
    const int read = named + generic;
    std::printf("%-18s %7d frames  read %6.2f %%  named %6.2f %%  generic %5.2f %%  unread %d\n",
        what, frames, ircaptures::percent(read, frames), ircaptures::percent(named, frames),
        ircaptures::percent(generic, frames), frames - read);
}

void printProtocols(const std::vector<Frame> &frames)
{
    std::map<std::string, std::pair<int, int>> perName; // decoded, read
    for (const Frame &f : frames) {
        ++perName[decodedName(f)].first;
        ++perName[ircodec::protocolName(f.reading)].second;
    }
    std::printf("\n%-20s %8s %8s\n", "protocol", "decoded", "read");
    for (const auto &[name, counts] : perName)
        std::printf("%-20s %8d %8d\n", name.c_str(), counts.first, counts.second);
}

bool judgedAndMissed(const Frame &f)
{
    if (!f.judged || !ircaptures::judgeReads(*f.judged))
        return false;
    const auto verdict = ircaptures::compare(*f.judged, f.reading);
    return !ircaptures::named(f.reading) || verdict == ircaptures::Verdict::OtherProtocol
        || verdict == ircaptures::Verdict::OtherValue;
}

void printJudge(const std::vector<Frame> &frames, const ircaptures::ReadingFigures &figures)
{
    std::printf("\njudge reads %d frames; we name %d (%.2f %%); both named with a mapping %d: "
                "agree %d (%.3f %%)\n",
        figures.judged, figures.judgedNamed,
        ircaptures::percent(figures.judgedNamed, figures.judged), figures.compared, figures.agreed,
        ircaptures::percent(figures.agreed, figures.compared));
    std::map<std::string, std::pair<int, int>> perJudgeName; // judged, we name
    for (const Frame &f : frames) {
        if (!f.judged || !ircaptures::judgeReads(*f.judged))
            continue;
        auto &row = perJudgeName[f.judged->protocol];
        ++row.first;
        row.second += ircaptures::named(f.reading) ? 1 : 0;
    }
    std::printf("%-20s %8s %8s\n", "judge's name", "frames", "we name");
    for (const auto &[name, counts] : perJudgeName)
        std::printf("%-20s %8d %8d\n", name.c_str(), counts.first, counts.second);
}

// A reading differs from the codec's decode when it names another protocol,
// or the codec's protocol with another frame.
bool changed(const Frame &f)
{
    return f.decoded && (!f.reading.frame || *f.reading.frame != *f.decoded);
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
    if (!listed.empty() || misses || listChanged) {
        for (const Frame &f : frames) {
            if (!listed.empty() && ircodec::protocolName(f.reading) == listed)
                printFrame(f, decodedName(f).c_str());
            if (misses && judgedAndMissed(f)) {
                const std::string verdict = f.judged->protocol + " "
                    + std::to_string(f.judged->bits) + " " + f.judged->value;
                printFrame(f, verdict.c_str());
            }
            if (listChanged && changed(f))
                printFrame(f, decodedName(f).c_str());
        }
        return 0;
    }
    const ircaptures::ReadingFigures figures = ircaptures::readingFigures(recorded.lines, judge);
    std::printf("%s: %zu frames, %d unreadable lines\n", raw.c_str(), recorded.lines.size(),
        recorded.badLines);
    printTotals("all", figures.frames, figures.named, figures.generic);
    printTotals("air conditioners", figures.airConditioners, figures.airConditionersNamed,
        figures.airConditionersGeneric);
    printProtocols(frames);
    if (judge.opened)
        printJudge(frames, figures);
    std::printf("\nreadings that differ from the codec's decode:%s\n",
        figures.changed.empty() ? " none" : "");
    for (const auto &[pair, n] : figures.changed)
        std::printf("  %-32s %6d\n", pair.c_str(), n);
    printTiming(recorded.lines);
    return 0;
}
