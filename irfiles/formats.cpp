#include "formats.h"

#include "irformat.h"
#include "lircformat.h"
#include "prontoformat.h"
#include "pulsespaceformat.h"
#include "tableformat.h"
#include "textreader.h"

#include <fstream>
#include <iterator>

namespace irfiles {

namespace {

struct Codec
{
    FormatInfo info;
    Loaded (*read)(std::string_view data, const std::string &file);
    std::string (*write)(const std::vector<Signal> &list);
};

const Codec kCodecs[] = {
    {{Format::Ir, "ir", ".ir", "IR signal files"}, readIrSignals, writeIrSignals},
    {{Format::Lirc, "lirc", ".conf", "LIRC remote definitions"}, readLirc, writeLirc},
    {{Format::Pronto, "pronto", ".pronto", "Pronto hex codes"}, readPronto, writePronto},
    {{Format::PulseSpace, "mode2", ".mode2", "Pulse/space text (ir-ctl, mode2)"}, readPulseSpace,
        writePulseSpace},
    {{Format::Csv, "csv", ".csv", "Frame tables (CSV)"}, readCsv, writeCsv},
};

const Codec &codec(Format format)
{
    for (const Codec &c : kCodecs)
        if (c.info.format == format)
            return c;
    return kCodecs[0]; // unreachable: the table covers every format
}

bool endsWithNoCase(const std::string &s, std::string_view suffix)
{
    return s.size() >= suffix.size()
        && textreader::equalsNoCase(std::string_view(s).substr(s.size() - suffix.size()), suffix);
}

} // namespace

const std::vector<FormatInfo> &formats()
{
    static const std::vector<FormatInfo> list = [] {
        std::vector<FormatInfo> infos;
        for (const Codec &c : kCodecs)
            infos.push_back(c.info);
        return infos;
    }();
    return list;
}

const FormatInfo &info(Format format)
{
    return codec(format).info;
}

std::string extensionList()
{
    std::string list;
    const size_t count = std::size(kCodecs);
    for (size_t i = 0; i < count; ++i) {
        if (i > 0)
            list += i + 1 == count ? " or " : ", ";
        list += kCodecs[i].info.extension;
    }
    return list;
}

std::optional<Format> formatForPath(const std::string &path)
{
    for (const Codec &c : kCodecs)
        if (endsWithNoCase(path, c.info.extension))
            return c.info.format;
    return std::nullopt;
}

std::optional<Format> formatNamed(std::string_view name)
{
    for (const Codec &c : kCodecs)
        if (name == c.info.name)
            return c.info.format;
    return std::nullopt;
}

Loaded read(Format format, std::string_view data, const std::string &file)
{
    return codec(format).read(data, file);
}

Loaded readFile(Format format, const std::string &path)
{
    Loaded failed;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        failed.error = Error{path, 0, "cannot open the file"};
        return failed;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size < 0) {
        failed.error = Error{path, 0, "cannot read the file"};
        return failed;
    }
    if (size > kMaxFileBytes) {
        failed.error = Error{path, 0, tooLargeMessage()};
        return failed;
    }
    std::string data(static_cast<size_t>(size), '\0');
    if (!in.read(data.data(), size)) {
        failed.error = Error{path, 0, "cannot read the file"};
        return failed;
    }
    return read(format, data, path);
}

Written write(Format format, const std::vector<Signal> &list)
{
    Written written;
    for (size_t i = 0; i < list.size(); ++i) {
        ircodec::Durations durations = list[i].durations;
        if (const auto problem = textreader::checkFrame(durations);
            problem || durations.size() != list[i].durations.size()) {
            written.error = "frame " + std::to_string(i + 1) + ": "
                + problem.value_or("ends with a space instead of a mark");
            return written;
        }
    }
    written.data = codec(format).write(list);
    return written;
}

} // namespace irfiles
