#include "pulsespaceformat.h"

#include "textreader.h"
#include "textwriter.h"

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
    PulseSpaceReader(std::string_view data, const std::string &file) : r_(data, file) { }

    Loaded read()
    {
        std::string_view line;
        while (r_.next(line) && readLine(line)) { }
        if (!r_.failed())
            endFrame();
        if (!r_.failed() && awaitingPulse_)
            r_.fail("no pulse after \"# name: " + *named_ + "\"");
        Loaded loaded = r_.finish();
        for (Signal &signal : loaded.list)
            signal.carrierHz = carrierHz_;
        return loaded;
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
            const auto value = textreader::decimal(tokens[1]);
            if (!value || *value < 0)
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
            const auto value = textreader::decimal(token);
            if (!value || *value < 0)
                return r_.fail("\"" + std::string(token) + "\" is not a pulse or space");
            if (!(isPulse ? pulse(*value) : space(*value)))
                return false;
        }
        return true;
    }

    bool carrier(int64_t hz)
    {
        if (hz > kMaxCarrierHz)
            return r_.fail("carrier " + std::to_string(hz) + " Hz");
        if (!carrierSeen_)
            carrierHz_ = static_cast<int32_t>(hz);
        carrierSeen_ = true;
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
        if (!started_) {
            current_ = Signal{};
            current_.name = named_.value_or(std::string());
            current_.silenceBeforeUs = silence_;
            silence_ = 0;
            started_ = true;
        }
        lastWasPulse_ = true;
        awaitingPulse_ = false;
        if (pendingSpace_ > 0 && !put(pendingSpace_, false))
            return false;
        pendingSpace_ = 0;
        return put(us, true);
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

    bool put(int64_t us, bool isPulse)
    {
        if (us > kMaxDurationUs)
            return r_.fail("a " + std::string(isPulse ? "pulse" : "space") + " of "
                + tooLongDurationText() + " inside a frame");
        ircodec::Durations &d = current_.durations;
        const bool sameKind = !d.empty() && (d.size() % 2 == 1) == isPulse;
        const int64_t total = sameKind ? d.back() + us : us;
        if (total > kMaxDurationUs)
            return r_.fail("a " + std::string(isPulse ? "pulse" : "space") + " of "
                + tooLongDurationText() + " inside a frame");
        if (sameKind)
            d.back() = static_cast<int32_t>(total);
        else if (d.size() >= irlimits::kMaxFileFrameDurations)
            return r_.fail("a frame of " + tooManyDurationsText());
        else
            d.push_back(static_cast<int32_t>(total));
        return true;
    }

    bool endFrame()
    {
        if (!started_)
            return true;
        started_ = false;
        silence_ = std::min(silence_ + pendingSpace_, kMaxSilenceUs);
        pendingSpace_ = 0;
        if (const auto problem = textreader::checkFrame(current_.durations))
            return r_.fail(*problem);
        current_.decoded = decodeDurations(current_.durations);
        return r_.add(std::move(current_));
    }

    textreader::Reader r_;
    Signal current_;
    bool started_ = false;      // current_ holds a frame in progress
    bool lastWasPulse_ = false; // for bare numbers
    int64_t silence_ = 0;       // silence since the last frame
    int64_t pendingSpace_ = 0;  // space after the last pulse of the frame in progress
    std::optional<std::string> named_;
    bool awaitingPulse_ = false; // a name was read, its frame not yet
    int32_t carrierHz_ = 0;
    bool carrierSeen_ = false;
};

} // namespace

Loaded readPulseSpace(std::string_view data, const std::string &file)
{
    return PulseSpaceReader(data, file).read();
}

std::string writePulseSpace(const std::vector<Signal> &list)
{
    std::string out = "# pulse/space timings in microseconds (ir-ctl --send, mode2)\n";
    for (const Signal &s : list)
        if (s.carrierHz > 0) {
            out += "carrier " + std::to_string(s.carrierHz) + "\n";
            break;
        }
    for (size_t i = 0; i < list.size(); ++i) {
        const Signal &s = list[i];
        if (i > 0) {
            const int64_t gap
                = s.silenceBeforeUs >= ircodec::kFrameSilenceUs ? s.silenceBeforeUs : kLeadOutUs;
            out += "space " + std::to_string(gap) + "\n";
        }
        out += "# name: " + textwriter::lineName(s.name, i) + "\n" + pulseSpaceLines(s.durations);
    }
    return out;
}

std::string pulseSpaceLines(const ircodec::Durations &durations)
{
    std::string out;
    for (size_t k = 0; k < durations.size(); ++k)
        out += (k % 2 == 0 ? "pulse " : "space ") + std::to_string(durations[k]) + "\n";
    return out;
}

} // namespace irfiles
