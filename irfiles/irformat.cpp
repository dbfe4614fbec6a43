#include "irformat.h"

#include "irparsed.h"

#include <optional>

namespace irfiles {

namespace {

constexpr std::string_view kFiletypes[] = {"IR signals file", "IR library file"};
constexpr int64_t kVersion = 1;
constexpr int kCodeBytes = 4;
constexpr uint64_t kMaxByte = 0xFF;
constexpr int kDutyDecimals = 6;

// The fields of one record as read, each with the line it came from.
struct Field
{
    std::string value;
    int line = 0;
    bool present() const
    {
        return line > 0;
    }
};

struct Record
{
    Field name, type, frequency, dutyCycle, protocol, address, command;
    textreader::FrameBuilder data;
    int dataLine = 0;
};

// Whether a recording is one frame: no silence inside it ends a frame.
bool isOneFrame(const ircodec::Durations &durations)
{
    for (size_t i = 1; i < durations.size(); i += 2)
        if (durations[i] >= ircodec::kFrameSilenceUs)
            return false;
    return true;
}

class IrReader
{
public:
    explicit IrReader(textreader::Reader &r) : r_(r) { }

    void read()
    {
        std::string_view line;
        while (r_.next(line)) {
            if (line.empty() || line.front() == '#')
                continue; // a comment, between records or inside one
            if (!keyValue(line))
                return;
        }
        if (!r_.failed() && endRecord() && !header_)
            r_.failAt(1, "not an .ir signal file: no \"Filetype: IR signals file\" line");
    }

private:
    bool keyValue(std::string_view line)
    {
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            return r_.fail("expected \"key: value\"");
        const std::string_view key = textreader::trim(line.substr(0, colon));
        const std::string_view value = textreader::trim(line.substr(colon + 1));
        if (!header_ || !version_)
            return headerLine(key, value);
        if (key == "name") {
            if (!endRecord())
                return false;
            record_ = Record{};
            inRecord_ = true;
            record_.name = Field{std::string(value), r_.lineNumber()};
            return true;
        }
        if (!inRecord_)
            return r_.fail("\"" + std::string(key) + "\" before the first \"name:\"");
        if (key == "data")
            return data(value);
        Field *field = fieldFor(key);
        if (!field)
            return true; // keys of later versions of the format carry nothing we use
        if (field->present())
            return r_.fail("second \"" + std::string(key) + "\" in the record");
        *field = Field{std::string(value), r_.lineNumber()};
        return true;
    }

    bool headerLine(std::string_view key, std::string_view value)
    {
        if (!header_) {
            bool known = false;
            for (std::string_view filetype : kFiletypes)
                known = known || value == filetype;
            if (key != "Filetype" || !known)
                return r_.fail("not an .ir signal file: expected \"Filetype: IR signals file\"");
            header_ = true;
            return true;
        }
        if (key != "Version")
            return r_.fail("expected \"Version: 1\"");
        if (textreader::decimal(value) != kVersion)
            return r_.fail("version " + std::string(value) + " is not supported (only 1)");
        version_ = true;
        return true;
    }

    Field *fieldFor(std::string_view key)
    {
        Record &rec = record_;
        const std::pair<std::string_view, Field *> fields[] = {
            {"type", &rec.type},
            {"frequency", &rec.frequency},
            {"duty_cycle", &rec.dutyCycle},
            {"protocol", &rec.protocol},
            {"address", &rec.address},
            {"command", &rec.command},
        };
        for (const auto &[name, field] : fields)
            if (key == name)
                return field;
        return nullptr;
    }

    // Long raw data may be split over several "data:" lines.
    bool data(std::string_view value)
    {
        Record &rec = record_;
        if (rec.dataLine == 0)
            rec.dataLine = r_.lineNumber();
        textreader::Words words(value);
        for (std::string_view token; words.next(token);) {
            const auto us = textreader::unsignedDecimal(token);
            if (!us)
                return r_.fail("\"" + std::string(token) + "\" is not a duration in us");
            rec.data.add(*us);
        }
        return true;
    }

    bool require(const Field &field, const char *key)
    {
        if (field.present())
            return true;
        return r_.failAt(record_.name.line,
            "record \"" + record_.name.value + "\" has no \"" + key + ":\" line");
    }

    // Leaves the record out, with why.
    bool skip(const std::string &why)
    {
        last_.reset();
        return r_.skip(record_.name.line, "record \"" + record_.name.value + "\": " + why);
    }

    bool endRecord()
    {
        if (!inRecord_)
            return true;
        inRecord_ = false;
        return finishRecord();
    }

    bool finishRecord()
    {
        Record &rec = record_;
        if (!require(rec.type, "type"))
            return false;
        if (rec.type.value == "raw")
            return raw(rec);
        if (rec.type.value == "parsed")
            return parsed(rec);
        return skip("type \"" + rec.type.value + "\" is neither raw nor parsed");
    }

    bool raw(Record &rec)
    {
        if (!require(rec.frequency, "frequency"))
            return false;
        if (rec.dataLine == 0)
            return require(Field{}, "data");
        Signal signal;
        signal.name = rec.name.value;
        const auto hz = textreader::decimal(rec.frequency.value);
        if (!hz)
            return r_.failAt(rec.frequency.line, "frequency is not a carrier in Hz");
        if (*hz < 0 || *hz > irlimits::kMaxCarrierHz)
            return skip("frequency: " + carrierText(*hz));
        signal.carrierHz = static_cast<int32_t>(*hz);
        if (rec.dutyCycle.present()) {
            const auto duty = textreader::real(rec.dutyCycle.value);
            if (!duty)
                return r_.failAt(rec.dutyCycle.line, "duty_cycle is not a number");
            if (*duty < 0 || *duty > 1)
                return skip("duty_cycle " + rec.dutyCycle.value + " is not between 0 and 1");
            signal.dutyCycle = *duty;
        }
        if (const auto problem = rec.data.finish(signal.durations))
            return skip(*problem);
        // The row shows the first frame of a recording, as reception
        // reports it; the parsed form is that of the whole recording, as
        // the writer writes it.
        const auto first = decodeFirstFrame(signal.durations);
        signal.decoded = ircodec::report(first);
        last_ = Last{rec.name.value,
            parsedForm(isOneFrame(signal.durations) ? first : ircodec::decode(signal.durations),
                signal.durations)};
        return r_.add(std::move(signal));
    }

    std::optional<uint32_t> code(const Field &field)
    {
        const auto bytes = textreader::split(field.value);
        if (bytes.empty() || bytes.size() > kCodeBytes)
            return std::nullopt;
        uint32_t value = 0;
        for (size_t i = 0; i < bytes.size(); ++i) {
            const auto byte = textreader::hex(bytes[i]);
            if (!byte || *byte > kMaxByte)
                return std::nullopt;
            value |= static_cast<uint32_t>(*byte) << (8 * i);
        }
        return value;
    }

    bool parsed(const Record &rec)
    {
        if (!require(rec.protocol, "protocol") || !require(rec.address, "address")
            || !require(rec.command, "command"))
            return false;
        ParsedCode parsedCode;
        parsedCode.protocol = rec.protocol.value;
        const auto address = code(rec.address);
        if (!address)
            return r_.failAt(rec.address.line, "address is not four hex bytes");
        const auto command = code(rec.command);
        if (!command)
            return r_.failAt(rec.command.line, "command is not four hex bytes");
        parsedCode.address = *address;
        parsedCode.command = *command;
        if (last_ && last_->name == rec.name.value && last_->form == parsedCode) {
            last_.reset();
            return true; // the parsed form of the raw record before it
        }
        last_.reset();
        ParsedProblem problem;
        auto sent = fromParsed(parsedCode, problem);
        if (!sent) {
            // The field at fault as the file writes it.
            using F = ParsedProblem::Field;
            const Field &field = problem.field == F::Address ? rec.address
                : problem.field == F::Command                ? rec.command
                                                             : rec.protocol;
            const char *name = problem.field == F::Address ? "address"
                : problem.field == F::Command              ? "command"
                                                           : "protocol";
            const std::string protocol
                = problem.field == F::Protocol ? std::string() : rec.protocol.value + " ";
            return skip(protocol + name + " " + field.value + " " + problem.reason);
        }
        Signal signal;
        signal.name = rec.name.value;
        signal.carrierHz = sent->carrierHz;
        signal.durations = std::move(sent->durations);
        signal.decoded = decodeDurations(signal.durations);
        return r_.add(std::move(signal));
    }

    struct Last
    {
        std::string name;
        std::optional<ParsedCode> form; // the parsed form of its frame
    };

    textreader::Reader &r_;
    bool header_ = false;
    bool version_ = false;
    Record record_;
    bool inRecord_ = false;    // record_ holds a record being read
    std::optional<Last> last_; // the raw record just read
};

std::string codeBytes(uint32_t value)
{
    std::string text;
    for (int b = 0; b < kCodeBytes; ++b)
        text += (b ? " " : "") + textwriter::hex(value >> (8 * b) & kMaxByte, 2);
    return text;
}

class IrWriter : public textwriter::FormatWriter
{
public:
    void begin(std::string &out) override
    {
        out += "Filetype: IR signals file\nVersion: 1\n";
    }

    void add(std::string &out, const Signal &s, size_t index) override
    {
        const std::string name = textwriter::lineName(s.name, index);
        out += "#\nname: ";
        out += name;
        out += "\ntype: raw\nfrequency: ";
        textwriter::appendNumber(out, s.carrierHz);
        out += "\nduty_cycle: ";
        out += textwriter::fixed(s.dutyCycle, kDutyDecimals);
        out += "\ndata: ";
        textwriter::appendJoined(out, s.durations, ' ');
        out += '\n';
        const auto code = parsedForm(ircodec::decode(s.durations), s.durations);
        if (!code)
            return;
        out += "#\nname: " + name + "\ntype: parsed\nprotocol: " + code->protocol + "\naddress: "
            + codeBytes(code->address) + "\ncommand: " + codeBytes(code->command) + "\n";
    }
};

} // namespace

void readIrSignals(textreader::Reader &r)
{
    IrReader(r).read();
}

std::unique_ptr<textwriter::FormatWriter> irSignalsWriter()
{
    return std::make_unique<IrWriter>();
}

} // namespace irfiles
