// What reading a file gives: every frame of it, or an error naming the file
// and the line; never part of a file.
#ifndef IRFILES_LOADED_H
#define IRFILES_LOADED_H

#include "irlimits.h"
#include "irsignal.h"

#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace irfiles {

// Files beyond these are refused rather than loaded, as are frames longer
// than irlimits::kMaxFileFrameDurations.
constexpr int64_t kMaxFileMegabytes = 50;
constexpr int64_t kMaxFileBytes = kMaxFileMegabytes * 1024 * 1024;
constexpr size_t kMaxFileFrames = 100000;
// The longest mark or space a frame can hold. Recordings do hold absurd
// values (a first mark of 0x3FFFFE0F us), which load as they are.
constexpr int64_t kMaxDurationUs = INT32_MAX;
// The highest carrier a file may name.
constexpr int64_t kMaxCarrierHz = 1000000;

// The words of the refusals, formatted from the limits: a file too large,
// too many frames, a frame too long, a mark or space too long.
std::string tooLargeMessage();
std::string tooManyFramesMessage();
std::string tooManyDurationsText();
std::string tooLongDurationText();

struct Error
{
    std::string file;
    int line = 0; // 1-based; 0 when the error is about the whole file
    std::string message;

    // "file:line: message", or "file: message" without a line.
    std::string text() const;
};

struct Loaded
{
    std::vector<Signal> list; // empty whenever error is set
    std::optional<Error> error;

    bool ok() const
    {
        return !error;
    }
};

} // namespace irfiles

#endif // IRFILES_LOADED_H
