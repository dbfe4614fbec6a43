#include "captures.h"

#include "shapefit.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>

namespace ircaptures {

namespace {

constexpr char kSeparator = '\t';
constexpr char kComment = '#';
constexpr int kRecordedColumns = 5;
constexpr int kReferencedColumns = 9;

std::vector<std::string> columns(const std::string &line)
{
    std::vector<std::string> out;
    size_t begin = 0;
    for (;;) {
        const size_t end = line.find(kSeparator, begin);
        out.push_back(line.substr(begin, end == std::string::npos ? end : end - begin));
        if (end == std::string::npos)
            return out;
        begin = end + 1;
    }
}

// The whole text as a number in [min, max]; empty otherwise.
std::optional<long long> number(const std::string &text, int base, long long min, long long max)
{
    if (text.empty())
        return std::nullopt;
    errno = 0;
    char *end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, base);
    if (errno != 0 || *end != '\0' || value < min || value > max)
        return std::nullopt;
    return value;
}

// Space-separated microseconds (a few recordings hold zeros); a frame starts
// and ends with a mark.
std::optional<ircodec::Durations> durations(const std::string &text)
{
    ircodec::Durations out;
    const char *p = text.c_str();
    for (;;) {
        while (*p == ' ')
            ++p;
        if (*p == '\0')
            break;
        errno = 0;
        char *end = nullptr;
        const long value = std::strtol(p, &end, 10);
        if (end == p || errno != 0 || value < 0 || value > INT32_MAX
            || (*end != ' ' && *end != '\0'))
            return std::nullopt;
        out.push_back(static_cast<int32_t>(value));
        p = end;
    }
    if (out.size() % 2 == 0)
        return std::nullopt;
    return out;
}

std::optional<Recorded> recorded(const std::vector<std::string> &c, size_t durationsColumn)
{
    const auto record = number(c[1], 10, 0, INT32_MAX);
    auto d = durations(c[durationsColumn]);
    if (!record || !d)
        return std::nullopt;
    Recorded r;
    r.file = c[0];
    r.record = static_cast<int>(*record);
    r.button = c[2];
    r.durations = std::move(*d);
    return r;
}

bool isFrameLine(const std::string &line)
{
    return !line.empty() && line[0] != kComment;
}

template <typename Line, typename Parse> Loaded<Line> load(const std::string &path, Parse parse)
{
    Loaded<Line> result;
    std::ifstream in(path);
    result.opened = in.is_open();
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!isFrameLine(line))
            continue;
        if (auto parsed = parse(line))
            result.lines.push_back(std::move(*parsed));
        else
            ++result.badLines;
    }
    return result;
}

} // namespace

std::optional<Recorded> parseRecorded(const std::string &line)
{
    const auto c = columns(line);
    if (c.size() != kRecordedColumns)
        return std::nullopt;
    return recorded(c, kRecordedColumns - 1);
}

std::optional<Referenced> parseReferenced(const std::string &line)
{
    const auto c = columns(line);
    if (c.size() != kReferencedColumns)
        return std::nullopt;
    auto r = recorded(c, kReferencedColumns - 1);
    const auto type = number(c[4], 10, INT32_MIN, INT32_MAX);
    const auto value = number(c[5], 16, 0, UINT32_MAX);
    const auto bits = number(c[6], 10, 0, INT32_MAX);
    if (!r || !type || !value || !bits)
        return std::nullopt;
    Referenced ref;
    ref.recorded = std::move(*r);
    ref.expected.decodeType = static_cast<int32_t>(*type);
    ref.expected.value = static_cast<uint32_t>(*value);
    ref.expected.bits = static_cast<int32_t>(*bits);
    ref.fields = c[7];
    return ref;
}

Loaded<Recorded> loadRecorded(const std::string &path)
{
    return load<Recorded>(path, parseRecorded);
}

Loaded<Referenced> loadReferenced(const std::string &path)
{
    return load<Referenced>(path, parseReferenced);
}

Claims claims(const std::vector<Recorded> &frames)
{
    Claims result;
    for (const Recorded &frame : frames) {
        if (const auto decoded = ircodec::decode(frame.durations))
            ++result.perProtocol[static_cast<size_t>(decoded->protocol)];
        else
            ++result.unknown;
    }
    return result;
}

bool agrees(const ircodec::Report &expected, const ircodec::Report &got)
{
    return got.decodeType == expected.decodeType && got.value == expected.value
        && got.bits == expected.bits;
}

std::map<int32_t, Agreement> agreement(const std::vector<Referenced> &frames)
{
    std::map<int32_t, Agreement> result;
    for (const Referenced &frame : frames) {
        Agreement &a = result[frame.expected.decodeType];
        ++a.frames;
        const auto decoded = ircodec::decode(frame.recorded.durations);
        if (agrees(frame.expected, ircodec::report(decoded)))
            ++a.agreed;
        else if (!decoded)
            ++a.unknown;
        else if (ircodec::catalogueId(decoded->protocol) == frame.expected.decodeType)
            ++a.otherFields;
        else
            ++a.otherProtocol;
    }
    return result;
}

std::vector<LookAlike> lookAlikes(const std::vector<Recorded> &frames)
{
    std::map<std::pair<ircodec::Protocol, ircodec::Protocol>, LookAlike> pairs;
    for (const Recorded &frame : frames) {
        const auto chosen = ircodec::decode(frame.durations);
        if (!chosen)
            continue;
        const double chosenFit = shapeFit(*chosen, frame.durations);
        for (int p = 0; p < ircodec::kProtocolCount; ++p) {
            const auto other = static_cast<ircodec::Protocol>(p);
            if (other == chosen->protocol)
                continue;
            const auto alternative = ircodec::decodeAs(other, frame.durations);
            if (!alternative)
                continue;
            LookAlike &pair = pairs[{chosen->protocol, other}];
            pair.decoded = chosen->protocol;
            pair.alsoAcceptedBy = other;
            ++pair.frames;
            if (shapeFit(*alternative, frame.durations) < chosenFit)
                ++pair.betterFit;
        }
    }
    std::vector<LookAlike> result;
    for (const auto &entry : pairs)
        result.push_back(entry.second);
    return result;
}

double percent(int part, int whole)
{
    return whole == 0 ? 100.0 : 100.0 * part / whole;
}

} // namespace ircaptures
