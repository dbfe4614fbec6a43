// The IR file formats by name, file extension and content, and reading and
// writing whole files in any of them. This is the library's entry point for
// the program (open, save, copy) and for `tavrel --convert`.
//
// What each format keeps of a signal:
//
// | Format      | name | carrier | duty | silence before | decoded result |
// |-------------|------|---------|------|----------------|----------------|
// | .ir         | yes  | yes     | yes  | no             | decoded again  |
// | LIRC .conf  | yes* | yes     | yes% | no             | decoded again  |
// | Pronto      | yes  | yes**   | no   | no             | decoded again  |
// | pulse/space | yes  | first   | no   | between frames | decoded again  |
// | CSV         | no   | no      | no   | no             | kept as written|
//
// *  as one word, made unique per remote; % whole percent;
// ** durations rounded to whole carrier periods.
// Durations are kept whole in every format, up to the limits every reader
// and writer shares (irlimits.h): whatever is written reads back.
//
// Use from the program:
// - received frames to signals and back: fromReceived(), toRawTicks()
//   (irsignal.h, which also fixes the tick and carrier conventions);
// - open: readFile() (the format by the extension, else by the first
//   lines); show loaded.error->text() when it fails, nothing was loaded
//   then, and loaded.skipped, the records left out, when it loads;
// - save: write(), then fileio::OutputFile (fileio.h) to store Written::data;
// - copy: copyFramesText() (tableformat.h) and prontoCode() per frame
//   (prontoformat.h).
#ifndef IRFILES_FORMATS_H
#define IRFILES_FORMATS_H

#include "loaded.h"
#include "textreader.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace irfiles {

namespace textwriter {
class FormatWriter;
}

enum class Format { Ir, Lirc, Pronto, PulseSpace, Csv };

struct FormatInfo
{
    Format format;
    const char *name;        // for --from and --to: "ir", "lirc", "pronto", "mode2", "csv"
    const char *extension;   // with the dot: ".ir", ".conf", ...
    const char *description; // for file dialogs' filters
};

// Every format, in the order a file dialog lists them.
const std::vector<FormatInfo> &formats();
const FormatInfo &info(Format format);

// The extensions for messages: ".ir, .conf, .pronto, .mode2 or .csv".
std::string extensionList();
// The names for messages: "ir, lirc, pronto, mode2 or csv".
std::string nameList();

// The format of a path by its extension (case-insensitive), or of a name.
std::optional<Format> formatForPath(const std::string &path);
std::optional<Format> formatNamed(std::string_view name);

// How much of a text detectFormat() needs.
constexpr size_t kDetectBytes = 65536;
// The format of a text by its first lines that are not blank or comments,
// or nothing when they do not tell.
std::optional<Format> detectFormat(std::string_view head);

// Reads a whole text; `file` names it in errors.
Loaded read(Format format, std::string_view data, const std::string &file);
// Reads a text from a source, handing each signal to handler as it is read
// (the result's list then stays empty), or keeping them without one.
Loaded read(Format format, textreader::Source &source, const std::string &file,
    textreader::Handler handler = {});

// Reads a file from disk ("-": standard input) in `format`, else in the
// format its extension names, else in the one its first lines show; used,
// where given, gets the format read. Folders, FIFOs, devices and files over
// irlimits::kMaxFileBytes are refused before anything is read.
Loaded readFile(const std::string &path, std::optional<Format> format = {}, Format *used = nullptr);

// Why a signal cannot go into a file (beyond the limits every format
// shares), or nothing.
std::optional<std::string> checkSignal(const Signal &signal);

// Writes signals in a format one at a time, so that a file of any length
// never sits in memory whole: every reader reads what it writes. A signal
// beyond the limits, or a file that would grow past them, is refused with
// the limit named.
class Writer
{
public:
    explicit Writer(Format format);
    ~Writer();
    Writer(const Writer &) = delete;
    Writer &operator=(const Writer &) = delete;

    // Appends the text of one more signal (after the start of the file) to
    // out, which the caller may empty between calls; answers why it cannot,
    // "frame N ...: reason".
    std::optional<std::string> add(const Signal &signal, std::string &out);
    // Appends the end of the file (the whole file when no signal came).
    std::optional<std::string> finish(std::string &out);

private:
    std::optional<std::string> grew(int64_t bytes);

    std::unique_ptr<textwriter::FormatWriter> writer_;
    size_t count_ = 0;
    int64_t bytes_ = 0;
};

// A whole file's contents, or why it cannot be written.
struct Written
{
    std::string data;
    std::string error;
    bool ok() const
    {
        return error.empty();
    }
};
Written write(Format format, const std::vector<Signal> &list);

} // namespace irfiles

#endif // IRFILES_FORMATS_H
