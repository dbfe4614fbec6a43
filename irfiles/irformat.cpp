#include "irformat.h"

#include "irparsed.h"
#include "textreader.h"
#include "textwriter.h"

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
    ircodec::Durations data;
    int dataLine = 0;
};

class IrReader
{
public:
    IrReader(std::string_view data, const std::string &file) : r_(data, file) { }

    Loaded read()
    {
        std::string_view line;
        while (r_.next(line)) {
            if (line.empty())
                continue;
            if (line.front() == '#') {
                if (!endRecord())
                    break;
                continue;
            }
            if (!keyValue(line))
                break;
        }
        if (!r_.failed() && endRecord() && !header_)
            r_.failAt(1, "not an .ir signal file: no \"Filetype: IR signals file\" line");
        return r_.finish();
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
            record_->name = Field{std::string(value), r_.lineNumber()};
            return true;
        }
        if (!record_)
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
        Record &rec = *record_;
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
        Record &rec = *record_;
        if (rec.dataLine == 0)
            rec.dataLine = r_.lineNumber();
        for (std::string_view token : textreader::split(value)) {
            const auto us = textreader::duration(token);
            if (!us)
                return r_.fail("\"" + std::string(token) + "\" is not a duration in us");
            if (rec.data.size() > irlimits::kMaxFileFrameDurations)
                return r_.fail(tooManyDurationsText() + " in one record");
            rec.data.push_back(*us);
        }
        return true;
    }

    bool require(const Field &field, const char *key)
    {
        if (field.present())
            return true;
        return r_.failAt(record_->name.line,
            "record \"" + record_->name.value + "\" has no \"" + key + ":\" line");
    }

    bool endRecord()
    {
        if (!record_)
            return true;
        const bool ok = finishRecord();
        record_.reset();
        return ok;
    }

    bool finishRecord()
    {
        Record &rec = *record_;
        if (!require(rec.type, "type"))
            return false;
        if (rec.type.value == "raw")
            return raw(rec);
        if (rec.type.value == "parsed")
            return parsed(rec);
        return r_.failAt(rec.type.line, "unknown record type \"" + rec.type.value + "\"");
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
        if (!hz || *hz < 0 || *hz > kMaxCarrierHz)
            return r_.failAt(rec.frequency.line, "frequency is not a carrier in Hz");
        signal.carrierHz = static_cast<int32_t>(*hz);
        if (rec.dutyCycle.present()) {
            const auto duty = textreader::real(rec.dutyCycle.value);
            if (!duty || *duty < 0 || *duty > 1)
                return r_.failAt(rec.dutyCycle.line, "duty_cycle is not between 0 and 1");
            signal.dutyCycle = *duty;
        }
        signal.durations = std::move(rec.data);
        if (const auto problem = textreader::checkFrame(signal.durations))
            return r_.failAt(rec.dataLine, *problem);
        const auto frame = decodeFirstFrame(signal.durations);
        signal.decoded = ircodec::report(frame);
        last_ = Last{rec.name.value, frame};
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
        std::string error;
        const auto frame = fromParsed(parsedCode, error);
        if (!frame)
            return r_.failAt(rec.protocol.line, error);
        const auto bursts = ircodec::encode(frame->frame);
        if (!bursts || bursts->empty())
            return r_.failAt(
                rec.protocol.line, "our codec cannot encode this " + rec.protocol.value);
        Signal signal;
        signal.name = rec.name.value;
        signal.carrierHz = frame->carrierHz;
        signal.durations = bursts->front().durations;
        const auto decoded = ircodec::decode(signal.durations);
        signal.decoded = ircodec::report(decoded);
        if (last_ && last_->name == signal.name && last_->frame == decoded)
            return true; // the parsed form of the raw record before it
        last_.reset();
        return r_.add(std::move(signal));
    }

    struct Last
    {
        std::string name;
        std::optional<ircodec::Frame> frame; // as decoded
    };

    textreader::Reader r_;
    bool header_ = false;
    bool version_ = false;
    std::optional<Record> record_;
    std::optional<Last> last_; // the raw record just read
};

} // namespace

Loaded readIrSignals(std::string_view data, const std::string &file)
{
    return IrReader(data, file).read();
}

std::string writeIrSignals(const std::vector<Signal> &list)
{
    std::string out = "Filetype: IR signals file\nVersion: 1\n";
    for (size_t i = 0; i < list.size(); ++i) {
        const Signal &s = list[i];
        const std::string name = textwriter::lineName(s.name, i);
        out += "#\nname: " + name + "\ntype: raw\nfrequency: " + std::to_string(s.carrierHz)
            + "\nduty_cycle: " + textwriter::fixed(s.dutyCycle, kDutyDecimals)
            + "\ndata: " + textwriter::join(s.durations, " ") + "\n";
        const auto frame = ircodec::decode(s.durations);
        const auto code = frame ? toParsed(*frame) : std::nullopt;
        if (!code)
            continue;
        const auto bytes = [](uint32_t value) {
            std::string text;
            for (int b = 0; b < kCodeBytes; ++b)
                text += (b ? " " : "") + textwriter::hex(value >> (8 * b) & kMaxByte, 2);
            return text;
        };
        out += "#\nname: " + name + "\ntype: parsed\nprotocol: " + code->protocol
            + "\naddress: " + bytes(code->address) + "\ncommand: " + bytes(code->command) + "\n";
    }
    return out;
}

} // namespace irfiles
