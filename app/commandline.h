// The command line, read before any GUI object exists: the usage, the
// version, the modes that run without a display, and which arguments are
// Qt's own options for the window. No Qt.
#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include "convert.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace commandline {

// Exit statuses of every mode: the converter's.
constexpr int kExitOk = irfiles::kConvertOk;
constexpr int kExitWriteFailed = irfiles::kConvertWriteFailed;
constexpr int kExitBadInput = irfiles::kConvertBadInput; // bad input file or bad arguments

// Runs what args (the arguments after the program name) ask for when it
// needs no window: -h/--help and --version (on out), a headless mode such as
// --convert, or the usage on err for an option that is neither the
// program's nor Qt's. Answers the exit status, or nothing when the window
// is to start.
std::optional<int> runHeadless(
    const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

// Every mode with its arguments, the options and the exit statuses.
void printUsage(std::ostream &out);

// "tavrel" and the version the build was configured with.
std::string versionText();

// Whether arg is one of Qt's own options, which Qt reads for the window.
// valueFollows is set when its value is the next argument.
bool isQtOption(const std::string &arg, bool &valueFollows);

// The files to open among the window's arguments: all but Qt's own options
// (with their values) and the first "--", which ends the options.
std::vector<std::string> windowFiles(const std::vector<std::string> &args);

} // namespace commandline

#endif // COMMANDLINE_H
