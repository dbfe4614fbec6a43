// `tavrel --convert IN OUT [--to ir|lirc|pronto|mode2|csv]`: converts an IR
// file without any display, by the files' extensions (.ir, .conf, .pronto,
// .mode2, .csv) or --to for the output. Frames without a carrier get the
// nominal carrier of their protocol, else kDefaultCarrierHz.
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
