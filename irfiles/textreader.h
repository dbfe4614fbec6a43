// Line-by-line reading shared by the text formats: where the text comes from
// (in memory, or a file read in blocks), file-level checks (size, binary
// data), lines with their numbers, tokens, numbers, the frames of a file
// handed on as they are read, the records left out, and the first error.
#ifndef IRFILES_TEXTREADER_H
#define IRFILES_TEXTREADER_H

#include "loaded.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace irfiles::textreader {

// The text a reader reads: a whole text in memory, or an open file read in
// blocks, so that a large file never sits in memory whole. Reading stops
// past irlimits::kMaxFileBytes.
class Source
{
public:
    explicit Source(std::string_view text);
    explicit Source(std::FILE *file); // not owned; read from where it stands

    // The start of the text (at least `bytes` of it, where it has that many)
    // without consuming it: for telling formats apart.
    std::string_view head(size_t bytes);
    // The next line without its line break; false at the end of the text.
    bool nextLine(std::string_view &line);

    bool readFailed() const
    {
        return readFailed_;
    }
    bool tooLarge() const
    {
        return total_ > irlimits::kMaxFileBytes;
    }

private:
    // Reads more of the file behind what is left; false when nothing came.
    bool fill();

    std::FILE *file_ = nullptr;
    std::string buffer_;    // a file's text read and not yet consumed, from pos_
    std::string_view text_; // the whole text, or buffer_
    size_t pos_ = 0;
    int64_t total_ = 0; // bytes read from the file
    bool end_ = false;  // the file has no more
    bool readFailed_ = false;
};

// What a reader does with each frame as it is read: keep it (the default),
// or hand it on, to be written at once. A handler answers why it cannot take
// the frame, which ends the reading with that error.
using Handler = std::function<std::optional<std::string>(Signal &&signal)>;

// Collects what a reader found; the first failure wins and empties the result.
class Reader
{
public:
    Reader(std::string_view data, std::string file);
    Reader(Source &source, std::string file, Handler handler = {});
    Reader(const Reader &) = delete;
    Reader &operator=(const Reader &) = delete;

    // The next line without its line break and surrounding blanks; false at
    // the end. Fails on bytes that do not belong in a text file.
    bool next(std::string_view &line);
    int lineNumber() const
    {
        return line_;
    }
    // Whether the line began with a blank.
    bool indented() const
    {
        return indented_;
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

    // Leaves a well-formed record out, listing it with its line and why;
    // returns true, as the reading goes on.
    bool skip(int line, const std::string &message);

    // Adds a signal; fails past kMaxFileFrames, or when the handler refuses
    // it.
    bool add(Signal signal);
    // The result: every signal (none when a handler took them), the records
    // left out, or the first error. A file without any frame is an error
    // too.
    Loaded finish();

private:
    std::optional<Source> ownSource_;
    Source *source_;
    int line_ = 0;
    bool indented_ = false;
    bool first_ = true;
    std::string file_;
    Handler handler_;
    std::optional<Error> error_;
    std::vector<Signal> signals_;
    std::vector<Error> skipped_;
    int64_t frames_ = 0;
};

// The durations of one frame as a reader collects them, mark first. The
// first value beyond the limits is kept as the reason the frame cannot be
// represented, and nothing more is stored after it.
class FrameBuilder
{
public:
    void add(int64_t us);
    size_t size() const
    {
        return count_;
    }
    // Gives back the room kept for more durations, once there are no more.
    void compact();
    // The frame, ending with a mark (a trailing space is the gap after the
    // frame and is dropped), or why it cannot be represented.
    std::optional<std::string> finish(ircodec::Durations &frame);

private:
    ircodec::Durations durations_;
    size_t count_ = 0;
    std::optional<std::string> problem_;
    size_t problemAt_ = 0; // the count when the problem came
};

// Why durations are not a frame that files can hold (at least one mark,
// each from kMinDurationUs to kMaxDurationUs, at most kMaxFileFrameDurations,
// ending with a mark), or nothing when they are.
std::optional<std::string> checkFrame(const ircodec::Durations &durations);

// The pieces of a line separated by blanks, one at a time.
class Words
{
public:
    explicit Words(std::string_view line) : line_(line) { }
    // The next piece; false when there is none.
    bool next(std::string_view &word);

private:
    std::string_view line_;
    size_t pos_ = 0;
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
// Digits only (an optional '+'), saturated at INT64_MAX: a count or a
// duration, however absurd, to be checked against its limits.
std::optional<int64_t> unsignedDecimal(std::string_view token);

} // namespace irfiles::textreader

#endif // IRFILES_TEXTREADER_H
