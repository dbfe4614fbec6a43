// `tavrel --convert` on files of 100,000 frames, from every format to every
// format: wall time (the best of a few runs) and peak memory (the child's
// maxrss), beside the time a plain Python tokenizer takes to read the same
// file (tokenize.py beside this file) and the program's own footprint
// (`tavrel --version`). Run by hand:
//   bench_convert [TAVREL] [FOLDER]
#include "formats.h"
#include "irparsed.h"
#include "textwriter.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kFrames = 100000;
constexpr int kRuns = 3;
constexpr double kMegabyte = 1024.0 * 1024.0;
// The jitter of a real receiver, in microseconds.
constexpr int kJitterUs = 40;

struct Result
{
    double seconds = 0;
    double peakMegabytes = 0;
    int status = -1;
};

// Runs a program, answering its wall time, peak memory and exit status.
Result run(const std::vector<std::string> &args)
{
    std::vector<char *> argv;
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr))
            _exit(127);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    Result r;
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    r.peakMegabytes = static_cast<double>(usage.ru_maxrss) * 1024.0 / kMegabyte;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

Result best(const std::vector<std::string> &args)
{
    Result b = run(args);
    for (int i = 1; i < kRuns; ++i) {
        const Result r = run(args);
        if (r.seconds < b.seconds)
            b = r;
    }
    return b;
}

double megabytes(const std::string &path)
{
    std::ifstream f(path, std::ios::binary | std::ios::ate);
    return static_cast<double>(f.tellg()) / kMegabyte;
}

// Frames of one protocol as a receiver records them, named B0, B1, ...
std::vector<irfiles::Signal> recorded(const char *protocol, uint32_t addressBits)
{
    std::mt19937 random(1);
    std::uniform_int_distribution<int> jitter(-kJitterUs, kJitterUs);
    std::vector<irfiles::Signal> list;
    irfiles::ParsedProblem problem;
    for (int i = 0; i < kFrames; ++i) {
        const uint32_t address = static_cast<uint32_t>(i) & ((1u << addressBits) - 1);
        const auto frame = irfiles::fromParsed({protocol, address, (i >> 8) & 0x3Fu}, problem);
        irfiles::Signal s;
        s.name = "B" + std::to_string(i);
        s.carrierHz = frame->carrierHz;
        for (int32_t us : frame->durations)
            s.durations.push_back(us + jitter(random));
        list.push_back(std::move(s));
    }
    return list;
}

bool save(const std::string &path, const std::string &text)
{
    std::ofstream f(path, std::ios::binary);
    return static_cast<bool>(f << text);
}

struct Input
{
    std::string path;
    irfiles::Format format;
};

// The inputs: what the formats' writers write, and parsed .ir records as IR
// databases hold them. NEC frames (67 durations) are too many for one
// pulse/space file of 100,000 frames: that one holds RC5 frames.
std::vector<Input> inputsIn(const std::string &folder)
{
    std::vector<Input> inputs;
    for (const auto &info : irfiles::formats())
        inputs.push_back({folder + "/bench" + info.extension, info.format});
    inputs.push_back({folder + "/bench-parsed.ir", irfiles::Format::Ir});
    return inputs;
}

bool writeInputs(const std::vector<Input> &inputs)
{
    const auto nec = recorded("NEC", 8);
    for (size_t i = 0; i + 1 < inputs.size(); ++i) {
        const bool pulseSpace = inputs[i].format == irfiles::Format::PulseSpace;
        const irfiles::Written w
            = irfiles::write(inputs[i].format, pulseSpace ? recorded("RC5", 5) : nec);
        if (!w.ok() || !save(inputs[i].path, w.data)) {
            std::fprintf(stderr, "%s: %s\n", inputs[i].path.c_str(), w.error.c_str());
            return false;
        }
    }
    std::string parsed = "Filetype: IR signals file\nVersion: 1\n";
    for (int i = 0; i < kFrames; ++i)
        parsed += "#\nname: B" + std::to_string(i) + "\ntype: parsed\nprotocol: NEC\naddress: "
            + irfiles::textwriter::hex(static_cast<uint64_t>(i & 0xFF), 2) + " 00 00 00\ncommand: "
            + irfiles::textwriter::hex(static_cast<uint64_t>((i >> 8) & 0xFF), 2) + " 00 00 00\n";
    return save(inputs.back().path, parsed);
}

} // namespace

int main(int argc, char **argv)
{
    const std::string tavrel = argc > 1 ? argv[1] : TAVREL_BINARY;
    const std::string folder = argc > 2 ? argv[2] : "/tmp";
    const std::string tokenizer = TAVREL_SOURCE_DIR "/bench/irfiles/tokenize.py";
    const std::vector<Input> inputs = inputsIn(folder);
    // The inputs are made in a child of their own: a child's peak memory
    // counts what it shares with its parent when it starts.
    std::fflush(stdout);
    const pid_t maker = fork();
    if (maker == 0)
        _exit(writeInputs(inputs) ? 0 : 1);
    int made = 0;
    waitpid(maker, &made, 0);
    if (!WIFEXITED(made) || WEXITSTATUS(made) != 0)
        return 1;

    const Result footprint = run({tavrel, "--version"});
    std::printf("tavrel alone (--version): %.1f MB peak\n\n", footprint.peakMegabytes);
    std::printf("%-22s %7s %9s  %-7s %8s %9s %7s %13s\n", "input (100,000 frames)", "MB",
        "python s", "to", "s", "peak MB", "/input", "above alone");
    for (const Input &in : inputs) {
        const double size = megabytes(in.path);
        const Result python = best({"python3", tokenizer, in.path});
        for (const auto &out : irfiles::formats()) {
            const std::string target = folder + "/bench-out" + out.extension;
            const Result r = best({tavrel, "--convert", in.path, target, "--to", out.name});
            const std::string name = in.path.substr(in.path.rfind('/') + 1);
            if (r.status != 0) {
                std::printf("%-22s %7.1f %9.2f  %-7s %8s\n", name.c_str(), size, python.seconds,
                    out.name, r.status == 2 ? "refused" : "failed");
                continue;
            }
            std::printf("%-22s %7.1f %9.2f  %-7s %8.2f %9.1f %7.2f %13.1f\n", name.c_str(), size,
                python.seconds, out.name, r.seconds, r.peakMegabytes, r.peakMegabytes / size,
                r.peakMegabytes - footprint.peakMegabytes);
            std::fflush(stdout);
        }
    }
    return 0;
}
