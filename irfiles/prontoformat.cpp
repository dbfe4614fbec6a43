#include "prontoformat.h"

#include <algorithm>
#include <cmath>

namespace irfiles {

namespace {

constexpr uint64_t kLearned = 0x0000;
constexpr uint64_t kLearnedUnmodulated = 0x0100;
constexpr size_t kHeaderWords = 4;
constexpr uint64_t kMaxWord = 0xFFFF;
constexpr int kWordDigits = 4;

double periodUs(uint64_t frequencyWord)
{
    return static_cast<double>(frequencyWord) * kProntoUnitUs;
}

int64_t carrierHz(uint64_t frequencyWord)
{
    return std::lround(1e6 / periodUs(frequencyWord));
}

// The smallest frequency word whose carrier is within the limits.
uint64_t minFrequencyWord()
{
    return static_cast<uint64_t>(
        std::ceil(1e6 / (static_cast<double>(irlimits::kMaxCarrierHz) * kProntoUnitUs)));
}

bool readCode(textreader::Reader &r, std::string_view line)
{
    Signal signal;
    const size_t colon = line.rfind(':');
    if (colon != std::string_view::npos) {
        signal.name = std::string(textreader::trim(line.substr(0, colon)));
        line = line.substr(colon + 1);
    }
    const auto tokens = textreader::split(line);
    std::vector<uint64_t> words;
    words.reserve(tokens.size());
    for (std::string_view token : tokens) {
        const auto word = textreader::hex(token);
        if (token.size() != kWordDigits || !word)
            return r.fail("\"" + std::string(token) + "\" is not a 4-digit hex word");
        words.push_back(*word);
    }
    if (words.size() < kHeaderWords)
        return r.fail("a Pronto code needs at least 4 words");
    const size_t once = words[2], repeat = words[3];
    const size_t expected = kHeaderWords + 2 * (once + repeat);
    if (words.size() != expected)
        return r.fail("the code announces " + std::to_string(once) + " + " + std::to_string(repeat)
            + " burst pairs (" + std::to_string(expected) + " words) but has "
            + std::to_string(words.size()) + " words");
    const std::string code = signal.name.empty() ? "code" : "code \"" + signal.name + "\"";
    const std::string header
        = textwriter::hex(words[0], kWordDigits) + " " + textwriter::hex(words[1], kWordDigits);
    const uint64_t type = words[0];
    if (type != kLearned && type != kLearnedUnmodulated)
        return r.skip(r.lineNumber(),
            code + ": Pronto type " + textwriter::hex(type, kWordDigits)
                + " is not supported: only learned codes (0000, 0100)");
    if (words[1] == 0)
        return r.skip(r.lineNumber(), code + ": frequency word 0000");
    if (once + repeat == 0)
        return r.skip(r.lineNumber(), code + ": no burst pair");
    if (type == kLearned && carrierHz(words[1]) > irlimits::kMaxCarrierHz)
        return r.skip(r.lineNumber(),
            code + ": frequency word " + textwriter::hex(words[1], kWordDigits) + " gives "
                + carrierText(carrierHz(words[1])));
    const double period = periodUs(words[1]);
    const size_t first = kHeaderWords + (once > 0 ? 0 : 2 * once);
    const size_t pairs = once > 0 ? once : repeat;
    // The last off time is the lead-out, not part of the frame.
    textreader::FrameBuilder frame;
    for (size_t i = 0; i + 1 < 2 * pairs; ++i)
        frame.add(std::llround(static_cast<double>(words[first + i]) * period));
    if (const auto problem = frame.finish(signal.durations))
        return r.skip(r.lineNumber(), code + " (" + header + "): " + *problem);
    signal.carrierHz = type == kLearned ? static_cast<int32_t>(carrierHz(words[1])) : 0;
    signal.decoded = decodeDurations(signal.durations);
    return r.add(std::move(signal));
}

// The frequency word a signal is written with, and its period. Without a
// carrier (an unmodulated code) the word only sets the time unit: the
// default carrier's, or one long enough for the longest duration.
uint64_t frequencyWord(const Signal &signal)
{
    const double hz = signal.carrierHz > 0 ? signal.carrierHz : kDefaultCarrierHz;
    uint64_t word = static_cast<uint64_t>(std::llround(1e6 / (hz * kProntoUnitUs)));
    if (signal.carrierHz <= 0 && !signal.durations.empty()) {
        const int32_t longest = *std::max_element(signal.durations.begin(), signal.durations.end());
        const double unitsNeeded = longest / (kProntoUnitUs * static_cast<double>(kMaxWord));
        word = std::max<uint64_t>(word, static_cast<uint64_t>(std::ceil(unitsNeeded)));
    }
    return std::clamp<uint64_t>(word, minFrequencyWord(), kMaxWord);
}

void appendWord(std::string &out, uint64_t word)
{
    out += ' ';
    textwriter::appendHex(out, word, kWordDigits);
}

// Bursts of carrier periods: zero stays zero, any other lasts at least one.
uint64_t periods(int64_t us, double period)
{
    return static_cast<uint64_t>(std::clamp<int64_t>(std::llround(static_cast<double>(us) / period),
        us > 0 ? 1 : 0, static_cast<int64_t>(kMaxWord)));
}

// The code of a signal: the frame as the once sequence with a lead-out of
// kLeadOutUs.
void appendCode(std::string &out, const Signal &signal)
{
    const bool modulated = signal.carrierHz > 0;
    const uint64_t word = frequencyWord(signal);
    const double period = periodUs(word);
    const size_t pairs = (signal.durations.size() + 1) / 2;
    textwriter::appendHex(out, modulated ? kLearned : kLearnedUnmodulated, kWordDigits);
    appendWord(out, word);
    appendWord(out, std::min<uint64_t>(pairs, kMaxWord));
    appendWord(out, 0);
    for (int32_t us : signal.durations)
        appendWord(out, periods(us, period));
    if (signal.durations.size() % 2 == 1)
        appendWord(out, periods(kLeadOutUs, period));
}

class ProntoWriter : public textwriter::FormatWriter
{
public:
    std::optional<std::string> check(const Signal &signal) const override
    {
        // A code read from a file has its carrier rounded to a whole Hz:
        // written again, its longest bursts may come out a little over the
        // limit, which the writer then clamps.
        constexpr double kCarrierRounding = 1.01;
        const double period = periodUs(frequencyWord(signal));
        for (int32_t us : signal.durations)
            if (us / period > static_cast<double>(kMaxWord) * kCarrierRounding)
                return "a duration of " + std::to_string(us) + " us, longer than the "
                    + std::to_string(kMaxWord) + " carrier periods of a Pronto burst ("
                    + std::to_string(std::llround(period * static_cast<double>(kMaxWord)))
                    + " us at this carrier)";
        return std::nullopt;
    }

    void add(std::string &out, const Signal &s, size_t index) override
    {
        out += textwriter::lineName(s.name, index);
        out += ": ";
        appendCode(out, s);
        out += '\n';
    }
};

} // namespace

void readPronto(textreader::Reader &r)
{
    std::string_view line;
    while (r.next(line)) {
        if (line.empty() || line.front() == '#')
            continue;
        if (!readCode(r, line))
            return;
    }
}

std::string prontoCode(const Signal &signal)
{
    std::string out;
    appendCode(out, signal);
    return out;
}

std::unique_ptr<textwriter::FormatWriter> prontoWriter()
{
    return std::make_unique<ProntoWriter>();
}

} // namespace irfiles
