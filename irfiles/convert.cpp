#include "convert.h"

#include "formats.h"

#include <cstdio>
#include <fstream>

namespace irfiles {

const char kConvertOption[] = "--convert";
const char kConvertSynopsis[] = "--convert IN OUT [--to ir|lirc|pronto|mode2|csv]";
const char kConvertDescription[]
    = "Converts an IR file, without a display. Formats by extension: .ir (IR signal\n"
      "files), .conf (LIRC), .pronto (Pronto hex), .mode2 (pulse/space text), .csv\n"
      "(frame table); --to chooses the output format whatever OUT's extension.\n";

namespace {

constexpr char kTo[] = "--to";
constexpr char kToEquals[] = "--to=";

void usage(std::ostream &out)
{
    out << "usage: tavrel " << kConvertSynopsis << "\n" << kConvertDescription;
}

struct Arguments
{
    std::vector<std::string> files;
    std::string to;
    bool help = false;
};

bool parse(const std::vector<std::string> &args, Arguments &a, std::string &error)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg == kConvertOption)
            continue;
        if (arg == "-h" || arg == "--help") {
            a.help = true;
        } else if (arg == kTo) {
            if (i + 1 == args.size()) {
                error = "--to needs a format";
                return false;
            }
            a.to = args[++i];
        } else if (arg.rfind(kToEquals, 0) == 0) {
            a.to = arg.substr(sizeof kToEquals - 1);
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

bool writeAll(const std::string &path, const std::string &data)
{
    // Written beside the target and renamed over it, so that a failed write
    // leaves no half file behind.
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out || !out.write(data.data(), static_cast<std::streamsize>(data.size()))
            || !out.flush())
            return std::remove(temporary.c_str()), false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0)
        return std::remove(temporary.c_str()), false;
    return true;
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
    const std::string &in = a.files[0], &outPath = a.files[1];
    const auto from = formatForPath(in);
    if (!from) {
        err << "tavrel: " << in << ": unknown extension (use " << extensionList() << ")\n";
        return kConvertBadInput;
    }
    const auto to = a.to.empty() ? formatForPath(outPath) : formatNamed(a.to);
    if (!to) {
        err << "tavrel: "
            << (a.to.empty() ? outPath + ": unknown extension" : "unknown format " + a.to)
            << " (use ir, lirc, pronto, mode2 or csv)\n";
        usage(err);
        return kConvertBadInput;
    }
    Loaded loaded = readFile(*from, in);
    if (!loaded.ok()) {
        err << "tavrel: " << loaded.error->text() << "\n";
        return kConvertBadInput;
    }
    for (Signal &signal : loaded.list)
        if (signal.carrierHz == 0)
            signal.carrierHz = carrierFor(signal.decoded, signal.durations, kDefaultCarrierHz);
    const Written written = write(*to, loaded.list);
    if (!written.ok()) {
        err << "tavrel: " << in << ": " << written.error << "\n";
        return kConvertBadInput;
    }
    if (!writeAll(outPath, written.data)) {
        err << "tavrel: " << outPath << ": cannot write the file\n";
        return kConvertWriteFailed;
    }
    return kConvertOk;
}

} // namespace irfiles
