// Line-by-line reading shared by the text formats: file-level checks (size,
// binary data), lines with their numbers, tokens, numbers, and the first
// error of a read.
#ifndef IRFILES_TEXTREADER_H
#define IRFILES_TEXTREADER_H

#include "loaded.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace irfiles::textreader {

// Collects what a reader found; the first failure wins and empties the result.
class Reader
{
public:
    Reader(std::string_view data, std::string file);

    // The next line without its line break and surrounding blanks; false at
    // the end. Fails on bytes that do not belong in a text file.
    bool next(std::string_view &line);
    int lineNumber() const
    {
        return line_;
    }
    const std::string &file() const
    {
        return file_;
    }

    // Records the first failure; returns false so that callers can
    // `return r.fail(...)`.
    bool fail(const std::string &message);
    bool failAt(int line, const std::string &message);
    bool failed() const
    {
        return error_.has_value();
    }

    // Adds a signal; fails past kMaxFileFrames or on a frame that is not one.
    bool add(Signal signal);
    // The result: every signal, or the first error. A file without any
    // frame is an error too.
    Loaded finish();

private:
    std::string_view data_;
    size_t pos_ = 0;
    int line_ = 0;
    std::string file_;
    std::optional<Error> error_;
    std::vector<Signal> signals_;
};

// Pieces of a line separated by blanks.
std::vector<std::string_view> split(std::string_view line);
// The line without leading and trailing blanks.
std::string_view trim(std::string_view s);
bool startsWith(std::string_view s, std::string_view prefix);
// Case-insensitive equality for ASCII.
bool equalsNoCase(std::string_view a, std::string_view b);

// Whole-token numbers; empty when the token is not one or does not fit.
std::optional<int64_t> decimal(std::string_view token);
// Hexadecimal with or without 0x.
std::optional<uint64_t> hex(std::string_view token);
std::optional<double> real(std::string_view token);

// A mark or space in microseconds: a decimal from 0 to kMaxDurationUs
// (converted recordings hold zero-length marks).
std::optional<int32_t> duration(std::string_view token);

// Checks a frame's durations: at least one, none negative, at most
// irlimits::kMaxFileFrameDurations, ending with a mark (a
// trailing space is the gap after the frame and is dropped). Returns the
// reason when it is not a frame.
std::optional<std::string> checkFrame(ircodec::Durations &durations);

} // namespace irfiles::textreader

#endif // IRFILES_TEXTREADER_H
