// The reading table, the rule that picks among readers, and the texts of a
// reading.
#include "reader.h"

#include <cmath>
#include <cstdio>

namespace ircodec {

namespace {

const std::vector<const Reader *> kReaders = {
#define IRCODEC_READER(name) &name,
#include "readerlist.h"
#undef IRCODEC_READER
};

// The table position of a reader, for the last tie-break.
size_t rowOf(const Reader *reader)
{
    for (size_t i = 0; i < kReaders.size(); ++i)
        if (kReaders[i] == reader)
            return i;
    return kReaders.size();
}

bool admits(const Admission &a, const Durations &d)
{
    const int size = static_cast<int>(d.size());
    if (size < a.minDurations || size > a.maxDurations)
        return false;
    return a.firstMarkMax == 0 || (d[0] >= a.firstMarkMin && d[0] <= a.firstMarkMax);
}

// The readers that admit a frame of each length, in table order, so that
// read() tries only those. Longer frames try every reader.
const std::vector<std::vector<uint16_t>> &byLength()
{
    static const std::vector<std::vector<uint16_t>> index = [] {
        std::vector<std::vector<uint16_t>> out(
            static_cast<size_t>(irlimits::kMaxReceivedDurations) + 1);
        for (size_t r = 0; r < kReaders.size(); ++r) {
            const Admission &a = kReaders[r]->admission;
            const int last = a.maxDurations < irlimits::kMaxReceivedDurations
                ? a.maxDurations
                : irlimits::kMaxReceivedDurations;
            for (int n = a.minDurations > 0 ? a.minDurations : 1; n <= last; ++n)
                out[static_cast<size_t>(n)].push_back(static_cast<uint16_t>(r));
        }
        return out;
    }();
    return index;
}

// Calls `each` with every reader that may take a frame of this length.
template <typename Each> void forCandidates(const Durations &d, Each each)
{
    const auto &index = byLength();
    if (d.size() < index.size()) {
        for (uint16_t r : index[d.size()])
            if (!each(kReaders[r]))
                return;
        return;
    }
    for (const Reader *reader : kReaders)
        if (!each(reader))
            return;
}

bool readWith(const Reader *reader, const Durations &d, Reading &out)
{
    if (!admits(reader->admission, d))
        return false;
    out.restart(reader);
    if (!reader->read(d, out)) {
        out.reader = nullptr;
        return false;
    }
    return true;
}

// Marks and spaces last: a frame with a duration of zero or less is no
// frame any reader takes.
bool positive(const Durations &d)
{
    for (int32_t v : d)
        if (v <= 0)
            return false;
    return true;
}

} // namespace

const std::vector<const Reader *> &readers()
{
    return kReaders;
}

const Reader *readerNamed(const std::string &name)
{
    for (const Reader *reader : kReaders) {
        Reading probe;
        probe.reader = reader;
        if (name == protocolName(probe))
            return reader;
    }
    return nullptr;
}

const Reader &readerFor(Protocol protocol)
{
    for (const Reader *reader : kReaders)
        if (reader->codec == protocol)
            return *reader;
    return *kReaders.front(); // unreachable: every codec protocol has a row
}

double fitDistance(const Durations &measured, const Durations &nominal)
{
    if (measured.empty() || measured.size() != nominal.size())
        return kNoFit;
    // Marks count +1, spaces -1 in the excess.
    const auto sign = [](size_t i) { return i % 2 == 0 ? 1.0 : -1.0; };
    double excess = 0;
    for (size_t i = 0; i < measured.size(); ++i)
        excess += sign(i) * (double(measured[i]) - nominal[i]);
    excess /= static_cast<double>(measured.size());
    double distance = 0;
    double length = 0;
    for (size_t i = 0; i < measured.size(); ++i) {
        distance += std::fabs(double(measured[i]) - nominal[i] - sign(i) * excess);
        length += nominal[i];
    }
    return length > 0 ? distance / length : kNoFit;
}

double timingFit(const Reading &reading, const Durations &d)
{
    if (!reading.reader || !reading.reader->write)
        return kNoFit;
    return fitDistance(d, reading.reader->write(reading));
}

bool pickBefore(const Reading &a, const Reading &b, const Durations &d)
{
    if (a.evidence != b.evidence)
        return a.evidence > b.evidence;
    const double fitA = timingFit(a, d);
    const double fitB = timingFit(b, d);
    if (fitA != fitB)
        return fitA < fitB;
    return rowOf(a.reader) < rowOf(b.reader);
}

Reading read(const Durations &d)
{
    Reading best;
    if (!positive(d))
        return best;
    Reading candidate;
    forCandidates(d, [&](const Reader *reader) {
        // A generic reading is only wanted when no protocol took the frame.
        if (best && reader->family == Family::Generic && best.evidence > Evidence::Shape)
            return false;
        if (readWith(reader, d, candidate) && (!best || pickBefore(candidate, best, d)))
            std::swap(best, candidate);
        return true;
    });
    return best;
}

std::vector<Reading> readAll(const Durations &d)
{
    std::vector<Reading> all;
    if (!positive(d))
        return all;
    forCandidates(d, [&](const Reader *reader) {
        Reading candidate;
        if (readWith(reader, d, candidate))
            all.push_back(std::move(candidate));
        return true;
    });
    // Insertion sort: a handful of readings at most.
    for (size_t i = 1; i < all.size(); ++i)
        for (size_t j = i; j > 0 && pickBefore(all[j], all[j - 1], d); --j)
            std::swap(all[j], all[j - 1]);
    return all;
}

// ---------------------------------------------------------------------------
// Texts.

const char *protocolName(const Reading &reading)
{
    if (!reading.reader)
        return "UNKNOWN";
    if (reading.reader->codec)
        return name(*reading.reader->codec);
    return reading.reader->name;
}

int bitCount(const Reading &reading)
{
    if (reading.frame)
        return reading.frame->bits;
    return reading.repeat ? 0 : reading.bits.size();
}

std::string dataHex(const Reading &reading)
{
    if (!reading.reader)
        return std::string();
    switch (reading.reader->presentation) {
    case Presentation::CatalogueValue: {
        char text[9];
        std::snprintf(text, sizeof text, "%08X", reading.frame ? reading.frame->value : 0u);
        return text;
    }
    case Presentation::BytesLsbFirst:
        return reading.bits.hexBytes(Order::LsbFirst);
    case Presentation::BytesMsbFirst:
        return reading.bits.hexBytes(Order::MsbFirst);
    case Presentation::Number:
        break;
    }
    return reading.bits.hex();
}

std::string detailText(const Reading &reading)
{
    std::string out;
    if (!reading.reader)
        return out;
    if (reading.repeat)
        appendPhrase(out, "repeat");
    if (reading.reader->describe)
        reading.reader->describe(reading, out);
    if (reading.checked)
        appendPhrase(out, "check ok");
    return out;
}

std::string summary(const Reading &reading)
{
    std::string out = protocolName(reading);
    if (!reading.reader)
        return out;
    const std::string data = dataHex(reading);
    if (!data.empty())
        out += ' ' + data;
    const std::string details = detailText(reading);
    if (!details.empty())
        out += " (" + details + ')';
    return out;
}

// ---------------------------------------------------------------------------
// Helpers for protocol files.

uint64_t ExampleBits::next(int count)
{
    // splitmix64: reproducible, and every seed gives another stream.
    state_ += 0x9E3779B97F4A7C15ull;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return count >= 64 ? z : z & ((uint64_t{1} << count) - 1);
}

BitString ExampleBits::bits(int count)
{
    constexpr int kChunk = 64;
    BitString out;
    out.reserve(count);
    for (int left = count; left > 0; left -= kChunk) {
        const int chunk = left < kChunk ? left : kChunk;
        out.append(next(chunk), chunk, Order::MsbFirst);
    }
    return out;
}

void appendPhrase(std::string &out, const char *phrase)
{
    if (!out.empty())
        out += ", ";
    out += phrase;
}

void appendField(std::string &out, const char *name, uint64_t value, int digits)
{
    char text[64];
    std::snprintf(
        text, sizeof text, "%s 0x%0*llX", name, digits, static_cast<unsigned long long>(value));
    appendPhrase(out, text);
}

} // namespace ircodec
