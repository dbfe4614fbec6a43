#include "commandline.h"

#include "decodelist.h"
#include "formats.h"

#include <algorithm>
#include <iomanip>
#include <sstream>

namespace commandline {

namespace {

constexpr char kProgram[] = "tavrel";
constexpr char kEndOfOptions[] = "--";
constexpr char kIndent[] = "  ";
// Columns of the usage text.
constexpr size_t kWidth = 79;

using ModeMain = int (*)(const std::vector<std::string> &, std::ostream &, std::ostream &);

// The modes that run without a window, each named by its option. A new mode
// is one more entry: its option, synopsis, description and entry point.
struct HeadlessMode
{
    const char *option;
    const char *synopsis;    // after the program name
    const char *description; // one paragraph, refilled to the usage's width
    ModeMain run;
};

const HeadlessMode headlessModes[] = {
    {irfiles::kConvertOption, irfiles::kConvertSynopsis, irfiles::kConvertDescription,
        irfiles::convertMain},
    {irfiles::kDecodeOption, irfiles::kDecodeSynopsis, irfiles::kDecodeDescription,
        irfiles::decodeMain},
};

int printHelp(std::ostream &out)
{
    printUsage(out);
    return kExitOk;
}

int printVersion(std::ostream &out)
{
    out << versionText() << "\n";
    return kExitOk;
}

// The options that print and exit, wherever they stand.
struct InfoOption
{
    const char *names[2];
    const char *help;
    int (*run)(std::ostream &out);
};

const InfoOption infoOptions[] = {
    {{"-h", "--help"}, "prints this text", printHelp},
    {{"--version", nullptr}, "prints the version", printVersion},
};

struct ExitStatus
{
    int status;
    const char *meaning;
};

const ExitStatus exitStatuses[] = {
    {kExitOk, "success"},
    {kExitWriteFailed, "an output file could not be written"},
    {kExitBadInput, "bad input or arguments (the file and line on stderr)"},
};

// Qt's own options for the window (QGuiApplication and QApplication), with
// one dash or two, as Qt reads them. Those marked X11 are read by Qt's X11
// platform only; everywhere else they are still not files to open.
enum class QtValue { None, Next, NextOrEquals };

struct QtOption
{
    const char *name;
    QtValue value;
};

const QtOption qtOptions[] = {
    {"platform", QtValue::Next},
    {"platformpluginpath", QtValue::Next},
    {"platformtheme", QtValue::Next},
    {"plugin", QtValue::Next},
    {"qwindowgeometry", QtValue::Next},
    {"qwindowicon", QtValue::Next},
    {"qwindowtitle", QtValue::Next},
    {"reverse", QtValue::None},
    {"style", QtValue::NextOrEquals},
    {"stylesheet", QtValue::NextOrEquals},
    {"widgetcount", QtValue::None},
    {"qmljsdebugger", QtValue::NextOrEquals},
    {"testability", QtValue::None},
    {"qdevel", QtValue::None}, // obsolete, still accepted
    {"qdebug", QtValue::None}, // obsolete, still accepted
    // X11
    {"display", QtValue::Next},
    {"geometry", QtValue::Next},
    {"title", QtValue::Next},
    {"icon", QtValue::Next},
    {"name", QtValue::Next},
    {"visual", QtValue::Next},
    {"nograb", QtValue::None},
    {"dograb", QtValue::None},
};

bool isOption(const std::string &arg)
{
    return arg.size() > 1 && arg[0] == '-';
}

const HeadlessMode *headlessMode(const std::vector<std::string> &args)
{
    for (const std::string &arg : args) {
        if (arg == kEndOfOptions)
            break;
        for (const HeadlessMode &mode : headlessModes)
            if (arg == mode.option)
                return &mode;
    }
    return nullptr;
}

const InfoOption *infoOption(const std::string &arg)
{
    for (const InfoOption &option : infoOptions)
        for (const char *name : option.names)
            if (name && arg == name)
                return &option;
    return nullptr;
}

std::string optionNames(const InfoOption &option)
{
    std::string names = option.names[0];
    if (option.names[1])
        names += std::string(", ") + option.names[1];
    return names;
}

// Writes text as one paragraph, indented, its lines filled up to kWidth.
void paragraph(std::ostream &out, const std::string &text)
{
    std::istringstream words(text);
    std::string line;
    for (std::string word; words >> word;) {
        if (!line.empty() && sizeof kIndent - 1 + line.size() + 1 + word.size() > kWidth) {
            out << kIndent << line << "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty())
        out << kIndent << line << "\n";
}

} // namespace

std::optional<int> runHeadless(
    const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    if (const HeadlessMode *mode = headlessMode(args))
        return mode->run(args, out, err);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg == kEndOfOptions)
            break;
        if (const InfoOption *option = infoOption(arg))
            return option->run(out);
        bool valueFollows = false;
        if (isQtOption(arg, valueFollows)) {
            i += valueFollows ? 1 : 0;
        } else if (isOption(arg)) {
            err << kProgram << ": unknown option " << arg << "\n";
            printUsage(err);
            return kExitBadInput;
        }
    }
    return std::nullopt;
}

void printUsage(std::ostream &out)
{
    const std::string window = std::string(kProgram) + " [QT-OPTION...] [FILE...]";
    out << "usage: " << window << "\n";
    for (const HeadlessMode &mode : headlessModes)
        out << "       " << kProgram << " " << mode.synopsis << "\n";
    out << "       " << kProgram;
    const char *separator = " ";
    for (const InfoOption &option : infoOptions)
        for (const char *name : option.names)
            if (name) {
                out << separator << name;
                separator = " | ";
            }
    out << "\n";

    out << "\n" << window << "\n";
    paragraph(out,
        "Opens the window; the frames of the IR files given (" + irfiles::extensionList()
            + ") appear in its receive tab. Qt's own options (-style, -platform, -geometry, "
              "-reverse, ...) apply to the window; \"--\" ends the options.");
    for (const HeadlessMode &mode : headlessModes) {
        out << "\n" << kProgram << " " << mode.synopsis << "\n";
        paragraph(out, mode.description);
    }

    out << "\nOptions:\n";
    size_t width = 0;
    for (const InfoOption &option : infoOptions)
        width = std::max(width, optionNames(option).size());
    for (const InfoOption &option : infoOptions)
        out << kIndent << std::left << std::setw(static_cast<int>(width + 2)) << optionNames(option)
            << option.help << "\n";

    out << "\nExit status:\n";
    for (const ExitStatus &exit : exitStatuses)
        out << kIndent << exit.status << "  " << exit.meaning << "\n";
}

std::string versionText()
{
    return std::string(kProgram) + " " + TAVREL_VERSION;
}

bool isQtOption(const std::string &arg, bool &valueFollows)
{
    valueFollows = false;
    if (!isOption(arg) || arg == kEndOfOptions)
        return false;
    // Qt reads "--name" as "-name".
    const size_t dashes = arg.compare(0, 2, kEndOfOptions) == 0 ? 2 : 1;
    const std::string body = arg.substr(dashes);
    const size_t equals = body.find('=');
    const std::string name = body.substr(0, equals);
    for (const QtOption &option : qtOptions) {
        if (name != option.name)
            continue;
        const bool hasEquals = equals != std::string::npos;
        switch (option.value) {
        case QtValue::None:
            return !hasEquals;
        case QtValue::Next:
            valueFollows = !hasEquals;
            return !hasEquals;
        case QtValue::NextOrEquals:
            valueFollows = !hasEquals;
            return true;
        }
    }
    return false;
}

std::vector<std::string> windowFiles(const std::vector<std::string> &args)
{
    std::vector<std::string> files;
    bool options = true;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        bool valueFollows = false;
        if (options && arg == kEndOfOptions)
            options = false;
        else if (options && isQtOption(arg, valueFollows))
            i += valueFollows ? 1 : 0;
        else
            files.push_back(arg);
    }
    return files;
}

} // namespace commandline
