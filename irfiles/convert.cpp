#include "convert.h"

#include "fileio.h"
#include "formats.h"

#include <optional>

namespace irfiles {

const char kConvertOption[] = "--convert";
const char kConvertSynopsis[] = "--convert IN OUT [--from FORMAT] [--to FORMAT] [--strict]";
const char kConvertDescription[]
    = "Converts an IR file, without a display. FORMAT is ir (IR signal files, .ir), lirc "
      "(LIRC, .conf), pronto (Pronto hex, .pronto), mode2 (pulse/space text, .mode2) or csv "
      "(frame table, .csv). The input's format is --from's, else its extension's, else what "
      "its first lines show; the output's is --to's, else its extension's. \"-\" reads "
      "standard input or writes standard output. Records that cannot be converted are named "
      "on stderr with their line and why, and left out; with --strict nothing is written "
      "then (exit status 2). The output replaces OUT only once it is complete; OUT may not "
      "be IN.\n";

namespace {

// Written output goes to disk in pieces of about this size.
constexpr size_t kFlushBytes = size_t{1} << 18;

struct Option
{
    const char *name;
    std::string *value; // null for a flag
};

void usage(std::ostream &out)
{
    out << "usage: tavrel " << kConvertSynopsis << "\n" << kConvertDescription;
}

struct Arguments
{
    std::vector<std::string> files;
    std::string from, to;
    bool strict = false;
    bool help = false;
};

bool parse(const std::vector<std::string> &args, Arguments &a, std::string &error)
{
    const Option options[] = {{"--from", &a.from}, {"--to", &a.to}, {"--strict", nullptr}};
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg == kConvertOption)
            continue;
        if (arg == "-h" || arg == "--help") {
            a.help = true;
            continue;
        }
        const Option *option = nullptr;
        std::optional<std::string> inlineValue;
        for (const Option &o : options) {
            const std::string name = o.name;
            if (arg == name)
                option = &o;
            else if (o.value && arg.rfind(name + "=", 0) == 0) {
                option = &o;
                inlineValue = arg.substr(name.size() + 1);
            }
        }
        if (option && !option->value) {
            a.strict = true;
        } else if (option && inlineValue) {
            *option->value = *inlineValue;
        } else if (option) {
            if (i + 1 == args.size()) {
                error = std::string(option->name) + " needs a format";
                return false;
            }
            *option->value = args[++i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else {
            a.files.push_back(arg);
        }
    }
    if (!a.help && a.files.size() != 2) {
        error = "give one input and one output file";
        return false;
    }
    return true;
}

// The format a --from or --to names; false with a message when it names none.
bool named(const std::string &name, std::optional<Format> &format, std::ostream &err)
{
    if (name.empty())
        return true;
    format = formatNamed(name);
    if (!format)
        err << "tavrel: unknown format " << name << " (use " << nameList() << ")\n";
    return format.has_value();
}

} // namespace

int convertMain(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    Arguments a;
    std::string error;
    if (!parse(args, a, error)) {
        err << "tavrel: " << error << "\n";
        usage(err);
        return kConvertBadInput;
    }
    if (a.help) {
        usage(out);
        return kConvertOk;
    }
    const std::string &inPath = a.files[0], &outPath = a.files[1];
    std::optional<Format> from, to;
    if (!named(a.from, from, err) || !named(a.to, to, err)) {
        usage(err);
        return kConvertBadInput;
    }
    if (!to && outPath != fileio::kStandardStream)
        to = formatForPath(outPath);
    if (!to) {
        err << "tavrel: " << outPath << ": "
            << (outPath == fileio::kStandardStream ? "standard output has no extension"
                                                   : "unknown extension")
            << ": give --to " << nameList() << "\n";
        return kConvertBadInput;
    }

    fileio::InputFile in(inPath);
    if (!in.file()) {
        err << "tavrel: " << inPath << ": " << in.error() << "\n";
        return kConvertBadInput;
    }
    if (in.isFile(outPath)) {
        err << "tavrel: " << outPath << ": is the input file, which the conversion reads: give "
            << "another output file\n";
        return kConvertBadInput;
    }
    textreader::Source source(in.file());
    if (!from && inPath != fileio::kStandardStream)
        from = formatForPath(inPath);
    if (!from)
        from = detectFormat(source.head(kDetectBytes));
    if (!from) {
        err << "tavrel: " << inPath << ": neither its name nor its first lines say which IR "
            << "file format it is: give --from " << nameList() << "\n";
        return kConvertBadInput;
    }

    fileio::OutputFile output(outPath);
    if (!output.ok()) {
        err << "tavrel: " << outPath << ": " << output.error() << "\n";
        return kConvertWriteFailed;
    }
    Writer writer(*to);
    std::string text;
    bool writeFailed = false;
    const Loaded loaded = read(*from, source, inPath, [&](Signal &&signal) {
        if (signal.carrierHz == 0)
            signal.carrierHz = carrierFor(signal.decoded, signal.durations, kDefaultCarrierHz);
        if (const auto problem = writer.add(signal, text))
            return std::optional<std::string>(
                "cannot be written as " + std::string(info(*to).name) + ": " + *problem);
        if (text.size() >= kFlushBytes) {
            writeFailed = !output.write(text);
            text.clear();
            if (writeFailed)
                return std::optional<std::string>(outPath + ": " + output.error());
        }
        return std::optional<std::string>();
    });
    for (const Error &skipped : loaded.skipped)
        err << "tavrel: " << skipped.text() << "\n";
    if (writeFailed) {
        err << "tavrel: " << outPath << ": " << output.error() << "\n";
        return kConvertWriteFailed;
    }
    if (!loaded.ok()) {
        err << "tavrel: " << loaded.error->text() << "\n";
        return kConvertBadInput;
    }
    if (a.strict && !loaded.skipped.empty()) {
        err << "tavrel: " << skippedSummary(inPath, loaded.skipped.size())
            << ": nothing written (--strict)\n";
        return kConvertBadInput;
    }
    if (const auto problem = writer.finish(text)) {
        err << "tavrel: " << inPath << ": cannot be written as " << info(*to).name << ": "
            << *problem << "\n";
        return kConvertBadInput;
    }
    if (!output.write(text) || !output.commit()) {
        err << "tavrel: " << outPath << ": " << output.error() << "\n";
        return kConvertWriteFailed;
    }
    if (!loaded.skipped.empty())
        err << "tavrel: warning: " << skippedSummary(inPath, loaded.skipped.size()) << "\n";
    return kConvertOk;
}

} // namespace irfiles
