// Frames from a pulse/space text file, sent by another program (ir-ctl),
// received through the back end. An IR file of another format is first
// written as pulse/space text by our own writer, so that the sender judges
// that writer, and its frames must arrive decoded as the file decodes them.
#include "checks.h"
#include "collector.h"
#include "harness.h"

#include "formats.h"
#include "ircodec.h"
#include "korvex.h"

#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char **environ;

namespace checks {

namespace {

using namespace std::chrono_literals;

constexpr auto kFrameWait = 3000ms;
constexpr auto kSettle = 500ms;

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

// Writes each frame of an IR file as our pulse/space text, one file a frame
// next to it: a sender writes a file to the kernel at once, and the kernel
// takes at most 500 ms a write. Empty when the file cannot be read.
std::vector<std::string> writtenAsPulseSpace(
    const std::string &file, std::vector<irfiles::Signal> &list)
{
    const irfiles::Loaded loaded = irfiles::readFile(file);
    harness::expect(loaded.ok(), "read " + file, loaded.error ? loaded.error->text() : "");
    std::vector<std::string> files;
    for (const irfiles::Signal &signal : loaded.list) {
        const irfiles::Written written = irfiles::write(irfiles::Format::PulseSpace, {signal});
        harness::expect(written.ok(), "pulse/space text of " + signal.name, written.error);
        files.push_back(file + "." + std::to_string(files.size() + 1) + ".mode2");
        std::ofstream(files.back()) << written.data;
    }
    list = loaded.list;
    return files;
}

// The command with its argument naming FILE repeated for each text written
// from it (ir-ctl takes --send=FILE once per file).
std::vector<std::string> sending(const std::vector<std::string> &command, const std::string &file,
    const std::vector<std::string> &texts)
{
    std::vector<std::string> out;
    for (const std::string &arg : command) {
        const size_t at = arg.find(file);
        if (at == std::string::npos) {
            out.push_back(arg);
            continue;
        }
        for (const std::string &text : texts)
            out.push_back(std::string(arg).replace(at, file.size(), text));
    }
    return out;
}

// The frames of pulse/space text files ("pulse 9000" / "space 4500" lines,
// or ir-ctl's "+9000 -4500"), one after another, with a frame silence
// between them.
ircodec::Durations timingsOf(const std::vector<std::string> &files)
{
    ircodec::Durations all;
    for (const std::string &file : files) {
        for (const irfiles::Signal &frame :
            irfiles::readFile(file, irfiles::Format::PulseSpace).list) {
            if (!all.empty())
                all.push_back(ircodec::kFrameSilenceUs);
            all.insert(all.end(), frame.durations.begin(), frame.durations.end());
        }
    }
    return all;
}

} // namespace

int receiveFile(const std::string &given, const std::vector<std::string> &givenCommand)
{
    std::vector<irfiles::Signal> list;
    const auto format = irfiles::formatForPath(given);
    const bool ours = format && *format != irfiles::Format::PulseSpace;
    const std::vector<std::string> files
        = ours ? writtenAsPulseSpace(given, list) : std::vector<std::string>{given};
    if (files.empty())
        return harness::finish();
    const std::vector<std::string> command
        = ours ? sending(givenCommand, given, files) : givenCommand;
    const std::string &file = given;
    const auto frames = ircodec::segment(timingsOf(files));
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
        if (i < list.size())
            harness::expect(got[i].type == list[i].decoded.decodeType
                    && got[i].value == list[i].decoded.value && got[i].bits == list[i].decoded.bits,
                given + ": frame " + std::to_string(i + 1) + " decoded as the file decodes it");
    }
    return harness::finish();
}

} // namespace checks
