// What reading a file gives: every frame of it, or an error naming the file
// and the line; never part of a file. Records that are well formed but cannot
// be represented (a protocol our codec lacks, a field wider than its
// protocol's, a value beyond the limits) are left out and listed; the rest
// loads.
#ifndef IRFILES_LOADED_H
#define IRFILES_LOADED_H

#include "irlimits.h"
#include "irsignal.h"

#include <optional>
#include <string>
#include <vector>

namespace irfiles {

// The words of the refusals, formatted from the limits (irlimits.h): a file
// too large, too many frames, a frame too long, a duration out of range, a
// carrier out of range.
std::string tooLargeMessage();
std::string tooManyFramesMessage();
std::string tooManyDurationsText(size_t count);
std::string durationText(int64_t us);
std::string carrierText(int64_t hz);

// A message about a file, or about one line of it.
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
    // The records left out, each with its line and why, in file order.
    std::vector<Error> skipped;

    bool ok() const
    {
        return !error;
    }
};

// "file: 3 records left out", a summary of the skipped list.
std::string skippedSummary(const std::string &file, size_t count);

} // namespace irfiles

#endif // IRFILES_LOADED_H
