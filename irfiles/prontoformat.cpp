#include "prontoformat.h"

#include "textreader.h"
#include "textwriter.h"

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
    const uint64_t type = words[0];
    if (type != kLearned && type != kLearnedUnmodulated)
        return r.fail("Pronto type " + textwriter::hex(type, kWordDigits)
            + " is not supported: only learned codes (0000, 0100)");
    if (words[1] == 0)
        return r.fail("frequency word 0000");
    const size_t once = words[2], repeat = words[3];
    const size_t expected = kHeaderWords + 2 * (once + repeat);
    if (words.size() != expected)
        return r.fail("the code announces " + std::to_string(once) + " + " + std::to_string(repeat)
            + " burst pairs (" + std::to_string(expected) + " words) but has "
            + std::to_string(words.size()) + " words");
    if (once + repeat == 0)
        return r.fail("a Pronto code without any burst pair");
    const double period = periodUs(words[1]);
    const size_t first = kHeaderWords + (once > 0 ? 0 : 2 * once);
    const size_t pairs = once > 0 ? once : repeat;
    for (size_t i = 0; i < 2 * pairs; ++i) {
        const double us = std::round(static_cast<double>(words[first + i]) * period);
        if (us > kMaxDurationUs)
            return r.fail("a burst of " + std::to_string(words[first + i]) + " carrier periods");
        signal.durations.push_back(static_cast<int32_t>(us));
    }
    if (const auto problem = textreader::checkFrame(signal.durations))
        return r.fail(*problem);
    signal.carrierHz = type == kLearned ? static_cast<int32_t>(std::lround(1e6 / period)) : 0;
    signal.decoded = decodeDurations(signal.durations);
    return r.add(std::move(signal));
}

} // namespace

Loaded readPronto(std::string_view data, const std::string &file)
{
    textreader::Reader r(data, file);
    std::string_view line;
    while (r.next(line)) {
        if (line.empty() || line.front() == '#')
            continue;
        if (!readCode(r, line))
            break;
    }
    return r.finish();
}

std::string prontoCode(const Signal &signal)
{
    const bool modulated = signal.carrierHz > 0;
    const double hz = modulated ? signal.carrierHz : kDefaultCarrierHz;
    const uint64_t frequencyWord
        = std::clamp<uint64_t>(std::llround(1e6 / (hz * kProntoUnitUs)), 1, kMaxWord);
    const double period = periodUs(frequencyWord);
    ircodec::Durations timed = signal.durations;
    if (timed.size() % 2 == 1)
        timed.push_back(static_cast<int32_t>(kLeadOutUs));
    std::string out = textwriter::hex(modulated ? kLearned : kLearnedUnmodulated, kWordDigits) + " "
        + textwriter::hex(frequencyWord, kWordDigits) + " "
        + textwriter::hex(std::min<uint64_t>(timed.size() / 2, kMaxWord), kWordDigits) + " 0000";
    for (int32_t us : timed) {
        // A burst of zero periods stays zero; any other lasts at least one.
        const auto count = std::clamp<int64_t>(std::llround(us / period), us > 0 ? 1 : 0, kMaxWord);
        out += " " + textwriter::hex(static_cast<uint64_t>(count), kWordDigits);
    }
    return out;
}

std::string writePronto(const std::vector<Signal> &list)
{
    std::string out;
    for (size_t i = 0; i < list.size(); ++i) {
        const Signal &s = list[i];
        out += textwriter::lineName(s.name, i) + ": " + prontoCode(s) + "\n";
    }
    return out;
}

} // namespace irfiles
