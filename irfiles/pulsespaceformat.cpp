#include "pulsespaceformat.h"

#include <algorithm>
#include <optional>

namespace irfiles {

namespace {

constexpr std::string_view kNamePrefix = "# name:";
// Silences longer than this (an hour) are not measurements: they saturate.
constexpr int64_t kMaxSilenceUs = 3600LL * 1000000;

class PulseSpaceReader
{
public:
    explicit PulseSpaceReader(textreader::Reader &r) : r_(r) { }

    void read()
    {
        std::string_view line;
        while (r_.next(line) && readLine(line)) { }
        if (!r_.failed())
            endFrame();
        if (!r_.failed() && awaitingPulse_)
            r_.fail("no pulse after \"# name: " + *named_ + "\"");
        if (!r_.failed())
            release();
    }

private:
    bool readLine(std::string_view line)
    {
        if (line.empty())
            return true;
        if (textreader::startsWith(line, kNamePrefix))
            return name(std::string(textreader::trim(line.substr(kNamePrefix.size()))));
        if (line.front() == '#')
            return true;
        const auto tokens = textreader::split(line);
        const std::string_view keyword = tokens.front();
        if (keyword == "pulse" || keyword == "space" || keyword == "timeout"
            || keyword == "carrier") {
            if (tokens.size() != 2)
                return r_.fail("expected \"" + std::string(keyword) + " N\"");
            const auto value = textreader::unsignedDecimal(tokens[1]);
            if (!value)
                return r_.fail("\"" + std::string(tokens[1]) + "\" is not a whole number");
            if (keyword == "carrier")
                return carrier(*value);
            return keyword == "pulse" ? pulse(*value) : space(*value);
        }
        if (keyword == "scancode")
            return r_.fail("scancode lines are not supported: only pulses and spaces");
        for (std::string_view token : tokens) {
            const bool isPulse = token.front() == '+' || (token.front() != '-' && !lastWasPulse_);
            if (token.front() == '-')
                token.remove_prefix(1);
            const auto value = textreader::unsignedDecimal(token);
            if (!value)
                return r_.fail("\"" + std::string(token) + "\" is not a pulse or space");
            if (!(isPulse ? pulse(*value) : space(*value)))
                return false;
        }
        return true;
    }

    bool carrier(int64_t hz)
    {
        if (hz > irlimits::kMaxCarrierHz)
            return r_.fail(carrierText(hz));
        if (!carrierSeen_)
            carrierHz_ = static_cast<int32_t>(hz);
        carrierSeen_ = true;
        return release();
    }

    // The file's carrier is its first "carrier" line, wherever it stands:
    // frames wait for it until it comes or the file ends.
    bool release()
    {
        for (Signal &signal : held_) {
            signal.carrierHz = carrierHz_;
            if (!r_.add(std::move(signal)))
                return false;
        }
        held_.clear();
        return true;
    }

    bool name(std::string name)
    {
        if (awaitingPulse_)
            return r_.fail("no pulse after \"# name: " + *named_ + "\"");
        if (!endFrame())
            return false;
        named_ = std::move(name);
        awaitingPulse_ = true;
        return true;
    }

    bool pulse(int64_t us)
    {
        if (us == 0)
            return true;
        // Anything longer is beyond the limit whatever it adds up with.
        us = std::min(us, irlimits::kMaxDurationUs + 1);
        if (!started_) {
            current_ = Signal{};
            current_.name = named_.value_or(std::string());
            current_.silenceBeforeUs = silence_;
            silence_ = 0;
            started_ = true;
            line_ = r_.lineNumber();
            problem_.reset();
        }
        lastWasPulse_ = true;
        awaitingPulse_ = false;
        if (pendingSpace_ > 0)
            put(pendingSpace_, false);
        pendingSpace_ = 0;
        put(us, true);
        return true;
    }

    bool space(int64_t us)
    {
        // Silences saturate at an hour, like a capture counter.
        us = std::min(us, kMaxSilenceUs);
        lastWasPulse_ = false;
        if (us == 0)
            return true;
        if (!started_) {
            silence_ = std::min(silence_ + us, kMaxSilenceUs);
            return true;
        }
        if (!named_ && us >= ircodec::kFrameSilenceUs) {
            const bool ok = endFrame();
            silence_ = us;
            return ok;
        }
        // Kept aside until a pulse follows: a space at the end of a frame is
        // the silence before the next one, however long.
        pendingSpace_ = std::min(pendingSpace_ + us, kMaxSilenceUs);
        return true;
    }

    // Adds to the frame in progress; the first duration beyond the limits
    // is why the frame is left out.
    void put(int64_t us, bool isPulse)
    {
        if (problem_)
            return;
        ircodec::Durations &d = current_.durations;
        const bool sameKind = !d.empty() && (d.size() % 2 == 1) == isPulse;
        const int64_t total = sameKind ? d.back() + us : us;
        if (total > irlimits::kMaxDurationUs)
            problem_ = "a " + std::string(isPulse ? "pulse" : "space") + " of "
                + std::to_string(total) + " us, longer than the "
                + std::to_string(irlimits::kMaxDurationUs) + " us a mark or space may last";
        else if (sameKind)
            d.back() = static_cast<int32_t>(total);
        else if (d.size() >= static_cast<size_t>(irlimits::kMaxFileFrameDurations))
            problem_ = "more than " + std::to_string(irlimits::kMaxFileFrameDurations)
                + " durations, the most a frame may have";
        else
            d.push_back(static_cast<int32_t>(total));
    }

    bool endFrame()
    {
        if (!started_)
            return true;
        started_ = false;
        silence_ = std::min(silence_ + pendingSpace_, kMaxSilenceUs);
        pendingSpace_ = 0;
        if (problem_) {
            const std::string frame = current_.name.empty() ? std::string("the frame")
                                                            : "frame \"" + current_.name + "\"";
            return r_.skip(line_, frame + ": " + *problem_);
        }
        current_.decoded = decodeDurations(current_.durations);
        current_.carrierHz = carrierHz_;
        if (!carrierSeen_) {
            held_.push_back(std::move(current_));
            return true;
        }
        return r_.add(std::move(current_));
    }

    textreader::Reader &r_;
    Signal current_;
    bool started_ = false;               // current_ holds a frame in progress
    int line_ = 0;                       // where it started
    std::optional<std::string> problem_; // why it cannot be represented
    bool lastWasPulse_ = false;          // for bare numbers
    int64_t silence_ = 0;                // silence since the last frame
    int64_t pendingSpace_ = 0;           // space after the last pulse of the frame in progress
    std::optional<std::string> named_;
    bool awaitingPulse_ = false; // a name was read, its frame not yet
    int32_t carrierHz_ = 0;
    bool carrierSeen_ = false;
    std::vector<Signal> held_; // frames read before the carrier line
};

void appendLines(std::string &out, const ircodec::Durations &durations)
{
    for (size_t k = 0; k < durations.size(); ++k) {
        out += k % 2 == 0 ? "pulse " : "space ";
        textwriter::appendNumber(out, durations[k]);
        out += '\n';
    }
}

class PulseSpaceWriter : public textwriter::FormatWriter
{
public:
    void begin(std::string &out) override
    {
        out += "# pulse/space timings in microseconds (ir-ctl --send, mode2)\n";
    }

    // The carrier line comes first: signals wait until one has a carrier.
    void add(std::string &out, const Signal &s, size_t index) override
    {
        if (!carrierWritten_ && s.carrierHz <= 0) {
            waiting_.push_back(s);
            return;
        }
        writeCarrier(out, s.carrierHz);
        const size_t first = index - waiting_.size();
        for (size_t i = 0; i < waiting_.size(); ++i)
            frame(out, waiting_[i], first + i);
        waiting_.clear();
        frame(out, s, index);
    }

    void finish(std::string &out) override
    {
        for (size_t i = 0; i < waiting_.size(); ++i)
            frame(out, waiting_[i], i);
        waiting_.clear();
    }

private:
    void writeCarrier(std::string &out, int32_t hz)
    {
        if (carrierWritten_)
            return;
        carrierWritten_ = true;
        out += "carrier ";
        textwriter::appendNumber(out, hz);
        out += '\n';
    }

    void frame(std::string &out, const Signal &s, size_t index)
    {
        if (index > 0) {
            const int64_t gap
                = s.silenceBeforeUs >= ircodec::kFrameSilenceUs ? s.silenceBeforeUs : kLeadOutUs;
            out += "space ";
            textwriter::appendNumber(out, gap);
            out += '\n';
        }
        out += "# name: ";
        out += textwriter::lineName(s.name, index);
        out += '\n';
        appendLines(out, s.durations);
    }

    bool carrierWritten_ = false;
    std::vector<Signal> waiting_;
};

} // namespace

void readPulseSpace(textreader::Reader &r)
{
    PulseSpaceReader(r).read();
}

std::unique_ptr<textwriter::FormatWriter> pulseSpaceWriter()
{
    return std::make_unique<PulseSpaceWriter>();
}

std::string pulseSpaceLines(const ircodec::Durations &durations)
{
    std::string out;
    appendLines(out, durations);
    return out;
}

} // namespace irfiles
