// `tavrel --convert IN OUT [--from FORMAT] [--to FORMAT] [--strict]`:
// converts an IR file without any display. The input's format is --from's,
// else its extension's (.ir, .conf, .pronto, .mode2, .csv), else what its
// first lines show; the output's is --to's, else its extension's. "-" reads
// standard input or writes standard output. Frames are converted as they
// are read and the output is written safely (fileio.h). Records the input
// holds but no format can represent are left out, each named on stderr with
// its line and why, and the conversion succeeds; with --strict it writes
// nothing then. Frames without a carrier get the nominal carrier of their
// protocol, else kDefaultCarrierHz.
#ifndef IRFILES_CONVERT_H
#define IRFILES_CONVERT_H

#include <ostream>
#include <string>
#include <vector>

namespace irfiles {

constexpr int kConvertOk = 0;
constexpr int kConvertWriteFailed = 1;
constexpr int kConvertBadInput = 2; // bad input file or bad arguments

// The mode's option, its synopsis (after the program name) and its
// description, for its own usage and the program's --help.
extern const char kConvertOption[];
extern const char kConvertSynopsis[];
extern const char kConvertDescription[];

// Runs the conversion (args holds kConvertOption somewhere); messages go to
// err, the usage to out for --help.
// Returns the exit status.
int convertMain(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

} // namespace irfiles

#endif // IRFILES_CONVERT_H
