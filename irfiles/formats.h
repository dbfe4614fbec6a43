// The IR file formats by name and file extension, and reading and writing
// whole files in any of them. This is the library's entry point for the
// program (open, save, copy) and for `tavrel --convert`.
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
// Durations are kept whole in every format, however long the frame.
//
// Use from the program:
// - received frames to signals and back: fromReceived(), toRawTicks()
//   (irsignal.h, which also fixes the tick and carrier conventions);
// - open: formatForPath() (or the dialog's filter, formats()), readFile();
//   show loaded.error->text() when it fails, nothing was loaded then;
// - save: write(), then store Written::data;
// - copy: copyFramesText() (tableformat.h) and prontoCode() per frame
//   (prontoformat.h).
#ifndef IRFILES_FORMATS_H
#define IRFILES_FORMATS_H

#include "loaded.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace irfiles {

enum class Format { Ir, Lirc, Pronto, PulseSpace, Csv };

struct FormatInfo
{
    Format format;
    const char *name;        // for --to: "ir", "lirc", "pronto", "mode2", "csv"
    const char *extension;   // with the dot: ".ir", ".conf", ...
    const char *description; // for file dialogs' filters
};

// Every format, in the order a file dialog lists them.
const std::vector<FormatInfo> &formats();
const FormatInfo &info(Format format);

// The extensions for messages: ".ir, .conf, .pronto, .mode2 or .csv".
std::string extensionList();

// The format of a path by its extension (case-insensitive), or of a --to name.
std::optional<Format> formatForPath(const std::string &path);
std::optional<Format> formatNamed(std::string_view name);

// Reads a file's contents; `file` names it in errors.
Loaded read(Format format, std::string_view data, const std::string &file);

// Reads a file from disk, refusing files over kMaxFileBytes before reading
// them whole.
Loaded readFile(Format format, const std::string &path);

// A file's contents. Signals without durations cannot be written: error
// names the first one.
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
