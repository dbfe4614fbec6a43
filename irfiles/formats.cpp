#include "formats.h"

#include "fileio.h"
#include "irformat.h"
#include "lircformat.h"
#include "prontoformat.h"
#include "pulsespaceformat.h"
#include "tableformat.h"
#include "textwriter.h"

#include <iterator>

namespace irfiles {

namespace {

struct Codec
{
    FormatInfo info;
    void (*read)(textreader::Reader &r);
    std::unique_ptr<textwriter::FormatWriter> (*writer)();
};

const Codec kCodecs[] = {
    {{Format::Ir, "ir", ".ir", "IR signal files"}, readIrSignals, irSignalsWriter},
    {{Format::Lirc, "lirc", ".conf", "LIRC remote definitions"}, readLirc, lircWriter},
    {{Format::Pronto, "pronto", ".pronto", "Pronto hex codes"}, readPronto, prontoWriter},
    {{Format::PulseSpace, "mode2", ".mode2", "Pulse/space text (ir-ctl, mode2)"}, readPulseSpace,
        pulseSpaceWriter},
    {{Format::Csv, "csv", ".csv", "Frame tables (CSV)"}, readCsv, csvWriter},
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

// "a, b, c or d" of one field of every format.
std::string listOf(const char *FormatInfo::*field)
{
    std::string list;
    const size_t count = std::size(kCodecs);
    for (size_t i = 0; i < count; ++i) {
        if (i > 0)
            list += i + 1 == count ? " or " : ", ";
        list += kCodecs[i].info.*field;
    }
    return list;
}

// The first lines that detectFormat() looks through for one that tells.
constexpr int kDetectLines = 200;
constexpr size_t kProntoHeaderWords = 4;
constexpr size_t kProntoWordDigits = 4;
constexpr size_t kTableColumns = 6;

bool isNumber(std::string_view token)
{
    if (!token.empty() && (token.front() == '+' || token.front() == '-'))
        token.remove_prefix(1);
    return textreader::unsignedDecimal(token).has_value();
}

// A Pronto code: 4-digit hex words, as many as its header announces.
bool isProntoCode(std::string_view line)
{
    const size_t colon = line.rfind(':');
    const auto words
        = textreader::split(colon == std::string_view::npos ? line : line.substr(colon + 1));
    if (words.size() < kProntoHeaderWords)
        return false;
    for (std::string_view word : words)
        if (word.size() != kProntoWordDigits || !textreader::hex(word))
            return false;
    const uint64_t pairs = *textreader::hex(words[2]) + *textreader::hex(words[3]);
    return words.size() == kProntoHeaderWords + 2 * pairs;
}

// A row of the frame table: row number, a protocol's name, ... or its header.
bool isTableRow(std::string_view line)
{
    const char separator = line.find('\t') != std::string_view::npos ? '\t' : ',';
    std::vector<std::string_view> cells;
    for (size_t start = 0;;) {
        const size_t end = line.find(separator, start);
        cells.push_back(textreader::trim(line.substr(start, end - start)));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    if (cells.size() < 2)
        return false;
    if (textreader::equalsNoCase(cells[0], "row"))
        return true;
    return cells.size() >= kTableColumns && textreader::unsignedDecimal(cells[0])
        && !cells[1].empty() && !isNumber(cells[1]);
}

std::optional<Format> formatOfLine(std::string_view line)
{
    if (textreader::startsWith(line, "Filetype:"))
        return Format::Ir;
    const auto words = textreader::split(line);
    const auto is = [&words](size_t i, const char *word) {
        return words.size() > i && textreader::equalsNoCase(words[i], word);
    };
    if ((is(0, "begin") && is(1, "remote")) || is(0, "include"))
        return Format::Lirc;
    for (const char *keyword : {"pulse", "space", "timeout", "carrier"})
        if (words.size() == 2 && words[0] == keyword && isNumber(words[1]))
            return Format::PulseSpace;
    if (isTableRow(line))
        return Format::Csv;
    if (isProntoCode(line))
        return Format::Pronto;
    bool numbers = true;
    for (std::string_view word : words)
        numbers = numbers && isNumber(word);
    if (numbers)
        return Format::PulseSpace;
    return std::nullopt;
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
    return listOf(&FormatInfo::extension);
}

std::string nameList()
{
    return listOf(&FormatInfo::name);
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

std::optional<Format> detectFormat(std::string_view head)
{
    textreader::Source source(head);
    std::string_view line;
    // The last line may be cut where the head ends; it still tells.
    for (int n = 0; n < kDetectLines && source.nextLine(line); ++n) {
        if (n == 0 && textreader::startsWith(line, "\xEF\xBB\xBF"))
            line.remove_prefix(3);
        line = textreader::trim(line);
        if (!line.empty() && line.back() == '\r')
            line = textreader::trim(line.substr(0, line.size() - 1));
        if (line.empty() || (line.front() == '#' && !textreader::startsWith(line, "# name:")))
            continue;
        if (line.front() == '#')
            return Format::PulseSpace; // a frame's name as our pulse/space files write it
        return formatOfLine(line);
    }
    return std::nullopt;
}

Loaded read(Format format, std::string_view data, const std::string &file)
{
    textreader::Reader r(data, file);
    codec(format).read(r);
    return r.finish();
}

Loaded read(
    Format format, textreader::Source &source, const std::string &file, textreader::Handler handler)
{
    textreader::Reader r(source, file, std::move(handler));
    codec(format).read(r);
    return r.finish();
}

Loaded readFile(const std::string &path, std::optional<Format> format, Format *used)
{
    Loaded failed;
    fileio::InputFile in(path);
    if (!in.file()) {
        failed.error = Error{path, 0, in.error()};
        return failed;
    }
    textreader::Source source(in.file());
    if (!format)
        format = formatForPath(path);
    if (!format)
        format = detectFormat(source.head(kDetectBytes));
    if (!format) {
        failed.error = Error{path, 0,
            "neither its name nor its first lines say which IR file format it is ("
                + extensionList() + ")"};
        return failed;
    }
    if (used)
        *used = *format;
    return read(*format, source, path);
}

std::optional<std::string> checkSignal(const Signal &signal)
{
    if (const auto problem = textreader::checkFrame(signal.durations))
        return problem;
    if (signal.carrierHz < 0 || signal.carrierHz > irlimits::kMaxCarrierHz)
        return carrierText(signal.carrierHz);
    if (!(signal.dutyCycle >= 0 && signal.dutyCycle <= 1))
        return "a duty cycle of " + std::to_string(signal.dutyCycle) + " (from 0 to 1)";
    return std::nullopt;
}

Writer::Writer(Format format) : writer_(codec(format).writer()) { }

Writer::~Writer() = default;

std::optional<std::string> Writer::grew(int64_t bytes)
{
    bytes_ += bytes;
    if (bytes_ > irlimits::kMaxFileBytes)
        return "the file would be larger than " + std::to_string(irlimits::kMaxFileMegabytes)
            + " MB, more than a file may hold: write fewer frames, or another format";
    return std::nullopt;
}

std::optional<std::string> Writer::add(const Signal &signal, std::string &out)
{
    const auto refuse = [&](const std::string &why) {
        return "frame " + std::to_string(count_ + 1)
            + (signal.name.empty() ? std::string() : " (\"" + signal.name + "\")") + ": " + why;
    };
    if (static_cast<int64_t>(count_) >= irlimits::kMaxFileFrames)
        return refuse(tooManyFramesMessage() + " in one file");
    if (const auto problem = checkSignal(signal))
        return refuse(*problem);
    if (const auto problem = writer_->check(signal))
        return refuse(*problem);
    const size_t before = out.size();
    if (count_ == 0)
        writer_->begin(out);
    writer_->add(out, signal, count_);
    if (const auto problem = grew(static_cast<int64_t>(out.size() - before)))
        return refuse(*problem);
    ++count_;
    return std::nullopt;
}

std::optional<std::string> Writer::finish(std::string &out)
{
    const size_t before = out.size();
    if (count_ == 0)
        writer_->begin(out);
    writer_->finish(out);
    return grew(static_cast<int64_t>(out.size() - before));
}

Written write(Format format, const std::vector<Signal> &list)
{
    Written written;
    Writer writer(format);
    for (const Signal &signal : list) {
        if (const auto problem = writer.add(signal, written.data)) {
            written.error = *problem;
            written.data.clear();
            return written;
        }
    }
    if (const auto problem = writer.finish(written.data)) {
        written.error = *problem;
        written.data.clear();
    }
    return written;
}

} // namespace irfiles
