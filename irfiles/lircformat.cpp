#include "lircformat.h"

#include "lirccoded.h"
#include "textreader.h"
#include "textwriter.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <set>

namespace irfiles {

namespace {

constexpr int64_t kLircDefaultCarrierHz = 38000;
constexpr int64_t kLircDefaultDutyPercent = 50;
constexpr int kPercent = 100;
constexpr int kNumbersPerLine = 8;
constexpr const char *kRemoteName = "tavrel";

struct Button
{
    std::string name;
    int line = 0;
    std::vector<uint64_t> codes;  // coded remotes
    ircodec::Durations durations; // raw remotes
};

struct Remote
{
    int line = 0;
    lirc::Parameters parameters;
    std::vector<Button> buttons;
    bool raw = false;
};

enum class Block { None, Remote, Codes, RawCodes };

class LircReader
{
public:
    LircReader(std::string_view data, const std::string &file) : r_(data, file) { }

    Loaded read()
    {
        std::string_view line;
        while (r_.next(line)) {
            if (line.empty() || line.front() == '#')
                continue;
            if (!readLine(textreader::split(line)))
                break;
        }
        if (!r_.failed() && block_ != Block::None)
            r_.failAt(remote_.line, "remote \"" + remoteName() + "\" has no \"end remote\"");
        return r_.finish();
    }

private:
    bool readLine(const std::vector<std::string_view> &t)
    {
        const bool begin = t.size() == 2 && t[0] == "begin";
        const bool end = t.size() == 2 && t[0] == "end";
        switch (block_) {
        case Block::None:
            if (begin && t[1] == "remote") {
                remote_ = Remote{};
                remote_.line = r_.lineNumber();
                block_ = Block::Remote;
                return true;
            }
            if (t[0] == "include")
                return r_.fail("include is not supported: give the complete file");
            return r_.fail("expected \"begin remote\"");
        case Block::Remote:
            if (begin && (t[1] == "codes" || t[1] == "raw_codes")) {
                block_ = t[1] == "codes" ? Block::Codes : Block::RawCodes;
                remote_.raw = block_ == Block::RawCodes;
                return true;
            }
            if (end && t[1] == "remote") {
                block_ = Block::None;
                return finishRemote();
            }
            if (begin || end)
                return r_.fail(
                    "unexpected \"" + std::string(t[0]) + " " + std::string(t[1]) + "\"");
            return parameter(t);
        case Block::Codes:
            if (end && t[1] == "codes") {
                block_ = Block::Remote;
                return true;
            }
            return codeLine(t);
        case Block::RawCodes:
            if (end && t[1] == "raw_codes") {
                block_ = Block::Remote;
                return true;
            }
            return rawLine(t);
        }
        return false;
    }

    bool parameter(const std::vector<std::string_view> &t)
    {
        std::vector<std::string> values(t.begin() + 1, t.end());
        if (!remote_.parameters.emplace(std::string(t[0]), std::move(values)).second)
            return r_.fail("second \"" + std::string(t[0]) + "\" in the remote");
        return true;
    }

    bool codeLine(const std::vector<std::string_view> &t)
    {
        Button button;
        button.name = std::string(t[0]);
        button.line = r_.lineNumber();
        for (size_t i = 1; i < t.size() && t[i].front() != '#'; ++i) {
            const auto code = textreader::hex(t[i]);
            if (!code)
                return r_.fail("\"" + std::string(t[i]) + "\" is not a hexadecimal code");
            button.codes.push_back(*code);
        }
        if (button.codes.empty())
            return r_.fail("button \"" + button.name + "\" has no code");
        return addButton(std::move(button));
    }

    bool rawLine(const std::vector<std::string_view> &t)
    {
        if (t[0] == "name") {
            if (t.size() != 2)
                return r_.fail("expected \"name BUTTON\"");
            Button button;
            button.name = std::string(t[1]);
            button.line = r_.lineNumber();
            return addButton(std::move(button));
        }
        if (remote_.buttons.empty())
            return r_.fail("timings before the first \"name\"");
        Button &button = remote_.buttons.back();
        for (std::string_view token : t) {
            const auto us = textreader::duration(token);
            if (!us)
                return r_.fail("\"" + std::string(token) + "\" is not a duration in us");
            if (button.durations.size() >= irlimits::kMaxFileFrameDurations)
                return r_.fail("button \"" + button.name + "\" has " + tooManyDurationsText());
            button.durations.push_back(*us);
        }
        return true;
    }

    bool addButton(Button button)
    {
        if (remote_.buttons.size() >= kMaxFileFrames)
            return r_.fail("more than " + std::to_string(kMaxFileFrames) + " buttons");
        remote_.buttons.push_back(std::move(button));
        return true;
    }

    std::string remoteName() const
    {
        const auto it = remote_.parameters.find("name");
        return it != remote_.parameters.end() && !it->second.empty() ? it->second.front() : "";
    }

    bool refuse(const std::string &why)
    {
        return r_.failAt(remote_.line, "remote \"" + remoteName() + "\": " + why);
    }

    bool finishRemote()
    {
        if (remoteName().empty())
            return r_.failAt(remote_.line, "remote without a name");
        std::string error;
        int64_t hz = kLircDefaultCarrierHz;
        if (remote_.parameters.count("frequency")) {
            const auto &v = remote_.parameters.at("frequency");
            const auto parsed = v.size() == 1 ? textreader::decimal(v[0]) : std::nullopt;
            if (!parsed || *parsed < 0 || *parsed > kMaxCarrierHz)
                return refuse("frequency is not a carrier in Hz");
            hz = *parsed;
        }
        int64_t duty = kLircDefaultDutyPercent;
        if (remote_.parameters.count("duty_cycle")) {
            const auto &v = remote_.parameters.at("duty_cycle");
            const auto parsed = v.size() == 1 ? textreader::decimal(v[0]) : std::nullopt;
            if (!parsed || *parsed < 1 || *parsed > kPercent)
                return refuse("duty_cycle is not a percentage from 1 to 100");
            duty = *parsed;
        }
        std::optional<lirc::CodedRemote> coded;
        if (!remote_.raw && !remote_.buttons.empty()) {
            coded = lirc::CodedRemote::make(remote_.parameters, error);
            if (!coded)
                return refuse(error);
        }
        for (Button &button : remote_.buttons) {
            Signal signal;
            signal.name = button.name;
            signal.carrierHz = static_cast<int32_t>(hz);
            signal.dutyCycle = static_cast<double>(duty) / kPercent;
            if (coded) {
                for (uint64_t code : button.codes) {
                    const ircodec::Durations frame = coded->frame(code);
                    if (!signal.durations.empty())
                        signal.durations.push_back(static_cast<int32_t>(
                            std::min<int64_t>(coded->gapAfter(frame), kMaxDurationUs)));
                    signal.durations.insert(signal.durations.end(), frame.begin(), frame.end());
                }
            } else {
                signal.durations = std::move(button.durations);
            }
            if (const auto problem = textreader::checkFrame(signal.durations))
                return r_.failAt(button.line, "button \"" + button.name + "\": " + *problem);
            signal.decoded = decodeDurations(signal.durations);
            if (!r_.add(std::move(signal)))
                return false;
        }
        return true;
    }

    textreader::Reader r_;
    Block block_ = Block::None;
    Remote remote_;
};

// A button name that LIRC can take, once per remote.
std::string uniqueName(const Signal &signal, size_t index, std::set<std::string> &taken)
{
    const std::string base = textwriter::wordName(signal.name, index);
    std::string name = base;
    for (int n = 2; !taken.insert(name).second; ++n)
        name = base + "_" + std::to_string(n);
    return name;
}

int dutyPercent(double duty)
{
    return std::clamp(static_cast<int>(std::lround(duty * kPercent)), 1, kPercent);
}

} // namespace

Loaded readLirc(std::string_view data, const std::string &file)
{
    return LircReader(data, file).read();
}

std::string writeLirc(const std::vector<Signal> &list)
{
    std::string out = "#\n# Raw IR timings in microseconds, one button per frame.\n#\n";
    size_t i = 0;
    int remotes = 0;
    while (i < list.size()) {
        const int32_t hz = list[i].carrierHz;
        const int duty = dutyPercent(list[i].dutyCycle);
        ++remotes;
        const std::string name
            = remotes == 1 ? kRemoteName : kRemoteName + std::string("_") + std::to_string(remotes);
        out += "\nbegin remote\n  name  " + name + "\n  flags RAW_CODES\n  eps            30\n"
            + "  aeps          100\n  frequency    " + std::to_string(hz) + "\n  duty_cycle   "
            + std::to_string(duty) + "\n  gap          " + std::to_string(kLeadOutUs)
            + "\n\n      begin raw_codes\n";
        std::set<std::string> taken;
        for (; i < list.size() && list[i].carrierHz == hz && dutyPercent(list[i].dutyCycle) == duty;
             ++i) {
            const Signal &s = list[i];
            out += "\n          name " + uniqueName(s, i, taken) + "\n";
            for (size_t k = 0; k < s.durations.size(); ++k) {
                out += (k % kNumbersPerLine == 0 ? "            " : " ")
                    + std::to_string(s.durations[k]);
                if (k % kNumbersPerLine == kNumbersPerLine - 1 || k + 1 == s.durations.size())
                    out += "\n";
            }
        }
        out += "\n      end raw_codes\nend remote\n";
    }
    return out;
}

} // namespace irfiles
