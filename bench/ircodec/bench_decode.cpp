// `tavrel --decode` of a file of the recorded captures' frames (61,977 of
// them, as one .ir file of raw records): the time to read the file and
// print every frame's line, the least of a few runs. The file is written
// beside the temporary files of the machine and removed after.
// Usage: bench_decode [raw.tsv]
#include "captures.h"
#include "decodelist.h"
#include "formats.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 3;

} // namespace

int main(int argc, char **argv)
{
    const std::string raw = argc > 1 ? argv[1] : TAVREL_CAPTURES_DIR "/real-captures.tsv";
    const auto recorded = ircaptures::loadRecorded(raw);
    if (!recorded.opened) {
        std::fprintf(stderr, "cannot read %s\n", raw.c_str());
        return 1;
    }
    std::vector<irfiles::Signal> signals;
    for (const auto &r : recorded.lines) {
        irfiles::Signal s;
        s.name = r.button.empty() ? "frame" : r.button;
        s.carrierHz = irfiles::kDefaultCarrierHz;
        s.durations = r.durations;
        signals.push_back(std::move(s));
    }
    const irfiles::Written written = irfiles::write(irfiles::Format::Ir, signals);
    const std::string path = "/tmp/bench_decode.ir";
    std::ofstream(path, std::ios::binary) << written.data;
    double least = 0;
    size_t lines = 0;
    for (int run = 0; run < kRuns; ++run) {
        std::ostringstream out, err;
        const auto start = Clock::now();
        const int status = irfiles::decodeFiles({path}, out, err);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (status != 0) {
            std::fprintf(stderr, "%s", err.str().c_str());
            return 1;
        }
        const std::string text = out.str();
        lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
        least = run == 0 ? seconds : std::min(least, seconds);
    }
    std::remove(path.c_str());
    std::printf("tavrel --decode of %zu records (%zu MB, %zu lines): %.3f s\n", signals.size(),
        written.data.size() >> 20, lines, least);
    return 0;
}
