#include "tableformat.h"

#include "irsignal.h"
#include "protocols.h"

namespace irfiles {

namespace {

// Files saved before the reading column existed have no "reading"; the
// reader takes both.
constexpr const char *kColumns[]
    = {"row", "type", "value", "address", "bits", "reading", "durations (us)"};
enum Column { Row, Type, Value, Address, Bits, Reading, FirstDuration };
constexpr char kQuote = '"';
constexpr char kRepeat[] = "REPEAT";
constexpr int kValueDigits = 8;
constexpr int kAddressDigits = 4;
constexpr uint64_t kMaxField = 0xFFFFFFFFu;
constexpr int64_t kMaxBits = 64;
constexpr char kCsvSeparator = ',';
constexpr char kCopySeparator = '\t';

// The cells of a line, tab- or comma-separated; a cell in double quotes may
// hold the separator and doubled quotes (only the reading's cell does, and
// its text is not read back, so the quotes are only taken off).
std::vector<std::string_view> cells(std::string_view line)
{
    const char separator = line.find('\t') != std::string_view::npos ? '\t' : ',';
    std::vector<std::string_view> out;
    size_t start = 0;
    while (true) {
        size_t end = line.find(separator, start);
        const size_t open = line.find_first_not_of(" \t", start);
        if (open != std::string_view::npos && open < end && line[open] == kQuote) {
            size_t close = open + 1;
            while ((close = line.find(kQuote, close)) != std::string_view::npos
                && close + 1 < line.size() && line[close + 1] == kQuote)
                close += 2;
            if (close != std::string_view::npos)
                end = line.find(separator, close + 1);
        }
        std::string_view cell = textreader::trim(line.substr(start, end - start));
        if (cell.size() >= 2 && cell.front() == kQuote && cell.back() == kQuote)
            cell = cell.substr(1, cell.size() - 2);
        out.push_back(cell);
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    // Spreadsheets pad short rows with empty cells.
    while (out.size() > Reading && out.back().empty())
        out.pop_back();
    return out;
}

std::optional<int32_t> typeNamed(std::string_view name)
{
    for (int32_t id = protocols::kFirst; id <= protocols::kLast; ++id)
        if (name == protocols::name(id))
            return id;
    return std::nullopt;
}

// Whether a table has the reading column: its header says so, or, without
// a header, the sixth cell is not a duration.
enum class Layout { Unknown, WithReading, WithoutReading };

bool readRow(textreader::Reader &r, const std::vector<std::string_view> &c, Layout layout)
{
    if (layout == Layout::Unknown && c.size() > Reading)
        layout = textreader::unsignedDecimal(c[Reading]) ? Layout::WithoutReading
                                                         : Layout::WithReading;
    const size_t firstDuration = layout == Layout::WithReading ? FirstDuration : Reading;
    if (c.size() <= firstDuration)
        return r.fail("expected row, type, value, address, bits, reading and durations");
    const auto row = textreader::decimal(c[Row]);
    if (!row || *row < 1)
        return r.fail("row \"" + std::string(c[Row]) + "\" is not a row number");
    const std::string rowText = "row " + std::string(c[Row]);
    Signal signal;
    const auto value = c[Value] == kRepeat ? std::optional<uint64_t>(protocols::kNecRepeatValue)
                                           : textreader::hex(c[Value]);
    if (!value || *value > kMaxField)
        return r.fail("value \"" + std::string(c[Value]) + "\" is not 8 hex digits");
    signal.decoded.value = static_cast<uint32_t>(*value);
    const auto address
        = c[Address].empty() ? std::optional<uint64_t>(0) : textreader::hex(c[Address]);
    if (!address || *address > kMaxField)
        return r.fail("address \"" + std::string(c[Address]) + "\" is not hex");
    signal.decoded.address = static_cast<uint32_t>(*address);
    const auto bits = textreader::decimal(c[Bits]);
    if (!bits || *bits < 0 || *bits > kMaxBits)
        return r.fail("bits \"" + std::string(c[Bits]) + "\" is not a bit count");
    signal.decoded.bits = static_cast<int32_t>(*bits);
    textreader::FrameBuilder frame;
    for (size_t i = firstDuration; i < c.size(); ++i) {
        const auto us = textreader::unsignedDecimal(c[i]);
        if (!us)
            return r.fail("\"" + std::string(c[i]) + "\" is not a duration in us");
        frame.add(*us);
    }
    const auto type = typeNamed(c[Type]);
    if (!type)
        return r.skip(
            r.lineNumber(), rowText + ": unknown protocol \"" + std::string(c[Type]) + "\"");
    signal.decoded.decodeType = *type;
    if (const auto problem = frame.finish(signal.durations))
        return r.skip(r.lineNumber(), rowText + ": " + *problem);
    signal.carrierHz = 0;
    return r.add(std::move(signal));
}

// The reading in one cell: quoted where it holds the separator (a comma
// between its fields), never with a line break or tab.
void appendReading(std::string &out, const std::string &reading, char separator)
{
    const bool quoted
        = reading.find(separator) != std::string::npos || reading.find(kQuote) != std::string::npos;
    if (quoted)
        out += kQuote;
    for (char c : reading) {
        if (c == kQuote && quoted)
            out += kQuote;
        out += c == '\t' || c == '\n' || c == '\r' ? ' ' : c;
    }
    if (quoted)
        out += kQuote;
}

void appendRow(std::string &out, const Signal &s, char separator, int row)
{
    textwriter::appendNumber(out, row);
    for (Cell cell : {Cell::Type, Cell::Value, Cell::Address, Cell::Bits}) {
        out += separator;
        out += cellText(s.decoded, cell);
    }
    out += separator;
    appendReading(out, readingText(s.durations), separator);
    for (int32_t us : s.durations) {
        out += separator;
        textwriter::appendNumber(out, us);
    }
    out += '\n';
}

std::string header(char separator)
{
    std::string out;
    for (const char *column : kColumns)
        out += std::string(out.empty() ? "" : std::string(1, separator)) + column;
    return out + "\n";
}

class CsvWriter : public textwriter::FormatWriter
{
public:
    void begin(std::string &out) override
    {
        out += header(kCsvSeparator);
    }

    void add(std::string &out, const Signal &s, size_t index) override
    {
        appendRow(out, s, kCsvSeparator, static_cast<int>(index + 1));
    }
};

} // namespace

std::string cellText(const ircodec::Report &decoded, Cell cell)
{
    switch (cell) {
    case Cell::Type:
        return protocols::name(decoded.decodeType);
    case Cell::Value:
        return protocols::isRepeat(decoded.decodeType, decoded.value)
            ? std::string(kRepeat)
            : textwriter::hex(decoded.value, kValueDigits);
    case Cell::Address:
        return protocols::showsAddress(decoded.decodeType)
            ? textwriter::hex(decoded.address, kAddressDigits)
            : std::string();
    case Cell::Bits:
        return std::to_string(decoded.bits);
    }
    return std::string();
}

std::string copyFramesText(const std::vector<Signal> &list, const std::vector<int> &rowNumbers)
{
    std::string out = header(kCopySeparator);
    for (size_t i = 0; i < list.size(); ++i)
        appendRow(out, list[i], kCopySeparator,
            i < rowNumbers.size() ? rowNumbers[i] : static_cast<int>(i + 1));
    return out;
}

std::unique_ptr<textwriter::FormatWriter> csvWriter()
{
    return std::make_unique<CsvWriter>();
}

void readCsv(textreader::Reader &r)
{
    std::string_view line;
    bool first = true;
    Layout layout = Layout::Unknown;
    while (r.next(line)) {
        if (line.empty())
            continue;
        const auto c = cells(line);
        const bool isHeader = first && textreader::equalsNoCase(c.front(), kColumns[Row]);
        first = false;
        if (isHeader) {
            layout = c.size() > Reading && textreader::equalsNoCase(c[Reading], kColumns[Reading])
                ? Layout::WithReading
                : Layout::WithoutReading;
        } else if (!readRow(r, c, layout)) {
            return;
        }
    }
}

} // namespace irfiles
