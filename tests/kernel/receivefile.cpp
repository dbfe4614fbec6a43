// Frames from a pulse/space text file, sent by another program (ir-ctl),
// received through the back end.
#include "checks.h"
#include "collector.h"
#include "harness.h"

#include "ircodec.h"
#include "korvex.h"

#include <cctype>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>

extern char **environ;

namespace checks {

namespace {

using namespace std::chrono_literals;

constexpr auto kFrameWait = 3000ms;
constexpr auto kSettle = 500ms;

// "pulse 9000" / "space 4500" lines, a plain list of alternating values
// ("9000 4500 ...") or signed values ("+9000 -4500 ..."); other words
// (carrier, timeout, comments) are skipped.
ircodec::Durations readTimings(const std::string &path)
{
    std::ifstream in(path);
    ircodec::Durations timings;
    std::string word;
    bool pulseNext = false, spaceNext = false;
    while (in >> word) {
        if (word[0] == '#') {
            std::getline(in, word);
            continue;
        }
        const bool bare
            = std::isdigit(static_cast<unsigned char>(word[0])) && !pulseNext && !spaceNext;
        const bool pulse = word[0] == '+' || pulseNext || (bare && timings.size() % 2 == 0);
        const bool space = word[0] == '-' || spaceNext || (bare && timings.size() % 2 == 1);
        pulseNext = word == "pulse";
        spaceNext = word == "space";
        if (!pulse && !space)
            continue;
        const std::string digits
            = std::isdigit(static_cast<unsigned char>(word[0])) ? word : word.substr(1);
        const int32_t us = std::stoi(digits);
        // Neighbours of one kind add up, as the kernel merges them.
        if (!timings.empty() && (timings.size() % 2 == 1) == pulse)
            timings.back() += us;
        else if (!timings.empty() || pulse)
            timings.push_back(us);
    }
    return timings;
}

int run(const std::vector<std::string> &command)
{
    std::vector<char *> argv;
    for (const std::string &arg : command)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

int receiveFile(const std::string &file, const std::vector<std::string> &command)
{
    const auto frames = ircodec::segment(readTimings(file));
    harness::expect(!frames.empty(), "frames in " + file);
    harness::expect(Device_Scan(0) >= 2 && Device_Open(kDevice) == 1, "Device_Open(0)");
    collector::clear();
    harness::expect(IR_ReceiveStart(kDevice, 1, collector::callback) == 0, "IR_ReceiveStart(0)");
    const int status = run(command);
    harness::expect(
        status == 0, "the sender took " + file, "exit status " + std::to_string(status));
    auto got = collector::waitFor(frames.size(), kFrameWait);
    std::this_thread::sleep_for(kSettle);
    got = collector::waitFor(frames.size() + 1, 0ms);
    IR_ReceiveStop(kDevice);
    harness::expect(got.size() == frames.size(), "frames received from " + file,
        std::to_string(got.size()) + " of " + std::to_string(frames.size()));
    for (size_t i = 0; i < got.size() && i < frames.size(); ++i) {
        const auto want = ircodec::toTicks(0, frames[i].durations);
        const bool same = got[i].raw.size() == want.size()
            && std::equal(want.begin() + 1, want.end(), got[i].raw.begin() + 1);
        harness::expect(same, file + ": frame " + std::to_string(i + 1) + " to the tick");
    }
    return harness::finish();
}

} // namespace checks
