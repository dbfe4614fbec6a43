// What the decoders make of recorded real-remote captures:
//   - per protocol, how many frames of the whole raw file decode() claims,
//     and how many stay UNKNOWN;
//   - per protocol of the reference file, how many decodes agree with the
//     independent decoder, and how many it reports as another protocol;
//   - look-alikes: frames that more than one protocol's decoder accepts, and
//     frames whose timing another accepting protocol explains better than
//     the one decode() chose (shape fit below);
//   - decode time per frame, all decoders.
// Usage: capture_claims [raw.tsv [reference.tsv]] [--list PROTOCOL] [--misses]
//   (defaults: the captures folder beside the source tree). --list prints
//   the frames claimed by PROTOCOL (or UNKNOWN) with their durations;
//   --misses the reference frames whose decode does not agree.
#include "captures.h"
#include "shapefit.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

void printClaims(const ircaptures::Claims &claims, size_t frames)
{
    std::printf("%-14s %8s\n", "protocol", "claims");
    for (int p = 0; p < ircodec::kProtocolCount; ++p)
        std::printf(
            "%-14s %8d\n", ircodec::name(static_cast<ircodec::Protocol>(p)), claims.perProtocol[p]);
    std::printf("%-14s %8d\n", "UNKNOWN", claims.unknown);
    std::printf("%-14s %8zu\n\n", "total", frames);
}

void printAgreement(const std::vector<ircaptures::Referenced> &frames)
{
    std::printf("%-11s %7s %7s %8s %14s %12s %8s\n", "decode_type", "frames", "agreed", "percent",
        "other-protocol", "other-fields", "unknown");
    for (const auto &[type, a] : ircaptures::agreement(frames))
        std::printf("%-11d %7d %7d %7.1f%% %14d %12d %8d\n", type, a.frames, a.agreed,
            ircaptures::percent(a.agreed, a.frames), a.otherProtocol, a.otherFields, a.unknown);
    std::printf("\n");
}

void printLookAlikes(const std::vector<ircaptures::Recorded> &frames)
{
    std::printf("%-30s %8s %12s\n", "decoded / also accepted by", "frames", "better-fit");
    for (const auto &pair : ircaptures::lookAlikes(frames)) {
        const std::string names
            = std::string(ircodec::name(pair.decoded)) + " / " + ircodec::name(pair.alsoAcceptedBy);
        std::printf("%-30s %8d %12d\n", names.c_str(), pair.frames, pair.betterFit);
    }
    std::printf("\n");
}

// Each frame's time is the least of a few runs, so that the worst frame is
// the slowest to decode and not the one the scheduler interrupted.
constexpr int kTimingRuns = 5;

void printTiming(const std::vector<ircaptures::Recorded> &frames)
{
    double total = 0;
    double worst = 0;
    size_t worstIndex = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        double least = 0;
        for (int run = 0; run < kTimingRuns; ++run) {
            const auto start = Clock::now();
            for (int p = 0; p < ircodec::kProtocolCount; ++p)
                ircodec::decodeAs(static_cast<ircodec::Protocol>(p), frames[i].durations);
            const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            least = run == 0 ? seconds : std::min(least, seconds);
        }
        total += least;
        if (least > worst) {
            worst = least;
            worstIndex = i;
        }
    }
    std::printf("all decoders over %zu frames: %.3f s, mean %.2f us, max %.1f us (%s record %d)\n",
        frames.size(), total, frames.empty() ? 0.0 : 1e6 * total / frames.size(), 1e6 * worst,
        frames.empty() ? "-" : frames[worstIndex].file.c_str(),
        frames.empty() ? 0 : frames[worstIndex].record);
}

void list(const std::vector<ircaptures::Recorded> &frames, const std::string &which)
{
    for (const auto &frame : frames) {
        const auto decoded = ircodec::decode(frame.durations);
        const std::string name = decoded ? ircodec::name(decoded->protocol) : "UNKNOWN";
        if (name != which)
            continue;
        std::printf("%s\t%d\t%s", frame.file.c_str(), frame.record, frame.button.c_str());
        if (decoded)
            std::printf("\t0x%X/%d fit %.3f", decoded->value, decoded->bits,
                ircaptures::shapeFit(*decoded, frame.durations));
        std::printf("\t");
        for (int32_t d : frame.durations)
            std::printf(" %d", d);
        std::printf("\n");
    }
}

void misses(const std::vector<ircaptures::Referenced> &frames)
{
    for (const auto &frame : frames) {
        const ircodec::Report got = ircodec::report(ircodec::decode(frame.recorded.durations));
        if (ircaptures::agrees(frame.expected, got))
            continue;
        std::printf("%s\t%d\t%s\twant %d 0x%X/%d got %d 0x%X/%d\t", frame.recorded.file.c_str(),
            frame.recorded.record, frame.fields.c_str(), frame.expected.decodeType,
            frame.expected.value, frame.expected.bits, got.decodeType, got.value, got.bits);
        for (int32_t d : frame.recorded.durations)
            std::printf(" %d", d);
        std::printf("\n");
    }
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<std::string> paths;
    std::string listed;
    bool listMisses = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--list") == 0 && i + 1 < argc)
            listed = argv[++i];
        else if (std::strcmp(argv[i], "--misses") == 0)
            listMisses = true;
        else
            paths.push_back(argv[i]);
    }
    const std::string raw = paths.size() > 0 ? paths[0] : TAVREL_CAPTURES_DIR "/real-captures.tsv";
    const std::string reference
        = paths.size() > 1 ? paths[1] : TAVREL_CAPTURES_DIR "/real-captures-sigrok.tsv";

    const auto recorded = ircaptures::loadRecorded(raw);
    const auto referenced = ircaptures::loadReferenced(reference);
    if (!recorded.opened) {
        std::fprintf(stderr, "cannot read %s\n", raw.c_str());
        return 1;
    }
    if (!listed.empty()) {
        list(recorded.lines, listed);
        return 0;
    }
    if (listMisses) {
        misses(referenced.lines);
        return 0;
    }
    std::printf("%s: %zu frames, %d unreadable lines\n", raw.c_str(), recorded.lines.size(),
        recorded.badLines);
    printClaims(ircaptures::claims(recorded.lines), recorded.lines.size());
    if (referenced.opened) {
        std::printf("%s: %zu frames, %d unreadable lines\n", reference.c_str(),
            referenced.lines.size(), referenced.badLines);
        printAgreement(referenced.lines);
    }
    printLookAlikes(recorded.lines);
    printTiming(recorded.lines);
    return 0;
}
