#include "lircformat.h"

#include "lirccoded.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <unordered_set>

namespace irfiles {

namespace {

constexpr int64_t kLircDefaultDutyPercent = 50;
constexpr int kPercent = 100;
constexpr int kNumbersPerLine = 8;
constexpr const char *kRemoteName = "tavrel";

struct Button
{
    std::string name;
    int line = 0;
    std::vector<uint64_t> codes;      // coded remotes
    std::string firstCode;            // as written, for messages
    textreader::FrameBuilder timings; // raw remotes
};

struct Remote
{
    int line = 0;
    lirc::Parameters parameters;
    std::vector<Button> buttons;
    bool raw = false;
};

enum class Block { None, Remote, Codes, RawCodes };

bool isWord(std::string_view word, const char *keyword)
{
    return textreader::equalsNoCase(word, keyword);
}

class LircReader
{
public:
    explicit LircReader(textreader::Reader &r) : r_(r) { }

    void read()
    {
        std::string_view line;
        while (r_.next(line)) {
            if (line.empty())
                continue;
            const auto words = textreader::split(line);
            if (line.front() == '#' && !isButtonNamedHash(words))
                continue;
            if (!readLine(words))
                return;
        }
        if (!r_.failed() && block_ != Block::None)
            r_.failAt(
                remote_.line, "remote \"" + remote_.parameters.name + "\" has no \"end remote\"");
    }

private:
    // A line is a comment when it starts with '#', except that LIRC reads an
    // indented "#  0x0D38" among the codes as a button named "#".
    bool isButtonNamedHash(const std::vector<std::string_view> &words) const
    {
        return block_ == Block::Codes && r_.indented() && words[0] == "#" && words.size() >= 2
            && lirc::number(words[1]);
    }

    bool readLine(const std::vector<std::string_view> &t)
    {
        const bool begin = t.size() >= 2 && isWord(t[0], "begin");
        const bool end = t.size() >= 2 && isWord(t[0], "end");
        switch (block_) {
        case Block::None:
            if (begin && isWord(t[1], "remote")) {
                remote_ = Remote{};
                remote_.line = r_.lineNumber();
                block_ = Block::Remote;
                return true;
            }
            if (isWord(t[0], "include"))
                return r_.fail("include is not supported: give the complete file");
            return r_.fail("expected \"begin remote\"");
        case Block::Remote:
            if (begin && (isWord(t[1], "codes") || isWord(t[1], "raw_codes"))) {
                block_ = isWord(t[1], "codes") ? Block::Codes : Block::RawCodes;
                remote_.raw = block_ == Block::RawCodes;
                return true;
            }
            if (end && isWord(t[1], "remote")) {
                block_ = Block::None;
                return finishRemote();
            }
            if (begin || end)
                return r_.fail(
                    "unexpected \"" + std::string(t[0]) + " " + std::string(t[1]) + "\"");
            if (const auto problem = lirc::setParameter(remote_.parameters, t))
                return r_.fail(*problem);
            return true;
        case Block::Codes:
            if (end && isWord(t[1], "codes")) {
                block_ = Block::Remote;
                return true;
            }
            return codeLine(t);
        case Block::RawCodes:
            if (end && isWord(t[1], "raw_codes")) {
                block_ = Block::Remote;
                return true;
            }
            return rawLine(t);
        }
        return false;
    }

    bool codeLine(const std::vector<std::string_view> &t)
    {
        Button button;
        button.name = std::string(t[0]);
        button.line = r_.lineNumber();
        for (size_t i = 1; i < t.size() && t[i].front() != '#'; ++i) {
            const auto code = lirc::number(t[i]);
            if (!code)
                return r_.fail("\"" + std::string(t[i]) + "\" is not a code");
            if (button.codes.empty())
                button.firstCode = std::string(t[i]);
            button.codes.push_back(*code);
        }
        if (button.codes.empty())
            return r_.fail("button \"" + button.name + "\" has no code");
        return addButton(std::move(button));
    }

    bool rawLine(const std::vector<std::string_view> &t)
    {
        if (isWord(t[0], "name")) {
            if (t.size() < 2)
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
            const auto us = lirc::number(token);
            if (!us)
                return r_.fail("\"" + std::string(token) + "\" is not a duration in us");
            button.timings.add(static_cast<int64_t>(std::min<uint64_t>(*us, INT64_MAX)));
        }
        return true;
    }

    bool addButton(Button button)
    {
        // A remote's buttons wait for its end: only then are its parameters
        // known. Each keeps just the room its timings take.
        if (!remote_.buttons.empty())
            remote_.buttons.back().timings.compact();
        if (static_cast<int64_t>(remote_.buttons.size()) >= irlimits::kMaxFileFrames)
            return r_.fail(tooManyFramesMessage());
        remote_.buttons.push_back(std::move(button));
        return true;
    }

    std::string remoteText() const
    {
        return "remote \"" + remote_.parameters.name + "\"";
    }

    // Leaves the whole remote out, with why and how many buttons it had.
    bool skipRemote(const std::string &why)
    {
        const size_t count = remote_.buttons.size();
        return r_.skip(remote_.line,
            remoteText() + " " + why + " (" + std::to_string(count)
                + (count == 1 ? " button)" : " buttons)"));
    }

    bool finishRemote()
    {
        const lirc::Parameters &p = remote_.parameters;
        if (p.name.empty())
            return r_.failAt(remote_.line, "remote without a name");
        if (remote_.buttons.empty())
            return r_.skip(remote_.line, remoteText() + " has no buttons");
        if (p.frequency > irlimits::kMaxCarrierHz)
            return skipRemote(
                "has frequency " + std::to_string(p.frequency) + ": " + carrierText(p.frequency));
        if (p.dutyCycle > kPercent)
            return skipRemote("has duty_cycle " + std::to_string(p.dutyCycle) + ", over 100 %");
        std::optional<lirc::CodedRemote> coded;
        if (!remote_.raw) {
            std::string why;
            coded = lirc::CodedRemote::make(p, why);
            if (!coded)
                return skipRemote(why);
        }
        const int64_t duty = p.dutyCycle > 0 ? p.dutyCycle : kLircDefaultDutyPercent;
        for (Button &button : remote_.buttons) {
            Signal signal;
            signal.name = button.name;
            signal.carrierHz = static_cast<int32_t>(p.frequency);
            signal.dutyCycle = static_cast<double>(duty) / kPercent;
            std::optional<std::string> problem;
            if (coded) {
                for (uint64_t code : button.codes) {
                    const ircodec::Durations frame = coded->frame(code);
                    if (!signal.durations.empty())
                        signal.durations.push_back(static_cast<int32_t>(coded->gapAfter(frame)));
                    signal.durations.insert(signal.durations.end(), frame.begin(), frame.end());
                }
                problem = textreader::checkFrame(signal.durations);
            } else {
                problem = button.timings.finish(signal.durations);
            }
            if (problem) {
                const std::string code
                    = button.firstCode.empty() ? "" : " (" + button.firstCode + ")";
                r_.skip(button.line,
                    "button \"" + button.name + "\"" + code + " of " + remoteText() + ": "
                        + *problem);
                continue;
            }
            signal.decoded = decodeDurations(signal.durations);
            if (!r_.add(std::move(signal)))
                return false;
        }
        return true;
    }

    textreader::Reader &r_;
    Block block_ = Block::None;
    Remote remote_;
};

int dutyPercent(double duty)
{
    return std::clamp(static_cast<int>(std::lround(duty * kPercent)), 1, kPercent);
}

class LircWriter : public textwriter::FormatWriter
{
public:
    void begin(std::string &out) override
    {
        out += "#\n# Raw IR timings in microseconds, one button per frame.\n#\n";
    }

    void add(std::string &out, const Signal &s, size_t index) override
    {
        const int duty = dutyPercent(s.dutyCycle);
        if (!open_ || s.carrierHz != hz_ || duty != duty_)
            openRemote(out, s.carrierHz, duty);
        // A button name that LIRC can take, once per remote. The names are
        // remembered by their hashes: one name taken for another only adds
        // a needless "_2", never a name twice.
        const std::string base = textwriter::wordName(s.name, index);
        std::string name = base;
        for (int n = 2; !taken_.insert(std::hash<std::string>()(name)).second; ++n)
            name = base + "_" + std::to_string(n);
        out += "\n          name " + name + "\n";
        for (size_t k = 0; k < s.durations.size(); ++k) {
            out += k % kNumbersPerLine == 0 ? "            " : " ";
            textwriter::appendNumber(out, s.durations[k]);
            if (k % kNumbersPerLine == kNumbersPerLine - 1 || k + 1 == s.durations.size())
                out += '\n';
        }
    }

    void finish(std::string &out) override
    {
        closeRemote(out);
    }

private:
    void openRemote(std::string &out, int32_t hz, int duty)
    {
        closeRemote(out);
        open_ = true;
        hz_ = hz;
        duty_ = duty;
        ++remotes_;
        const std::string name = remotes_ == 1
            ? kRemoteName
            : kRemoteName + std::string("_") + std::to_string(remotes_);
        out += "\nbegin remote\n  name  " + name + "\n  flags RAW_CODES\n  eps            30\n"
            + "  aeps          100\n  frequency    " + std::to_string(hz) + "\n  duty_cycle   "
            + std::to_string(duty) + "\n  gap          " + std::to_string(kLeadOutUs)
            + "\n\n      begin raw_codes\n";
    }

    void closeRemote(std::string &out)
    {
        if (open_)
            out += "\n      end raw_codes\nend remote\n";
        open_ = false;
        taken_.clear();
    }

    bool open_ = false;
    int remotes_ = 0;
    int32_t hz_ = 0;
    int duty_ = 0;
    std::unordered_set<size_t> taken_;
};

} // namespace

void readLirc(textreader::Reader &r)
{
    LircReader(r).read();
}

std::unique_ptr<textwriter::FormatWriter> lircWriter()
{
    return std::make_unique<LircWriter>();
}

} // namespace irfiles
