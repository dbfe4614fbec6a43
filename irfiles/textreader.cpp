#include "textreader.h"

#include "textwriter.h"

#include <charconv>

namespace irfiles::textreader {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";

bool isBinary(unsigned char c)
{
    return (c < 0x20 && c != '\t') || c == 0x7F;
}

} // namespace

Reader::Reader(std::string_view data, std::string file) : data_(data), file_(std::move(file))
{
    if (static_cast<int64_t>(data.size()) > kMaxFileBytes)
        failAt(0, tooLargeMessage());
    if (startsWith(data_, kByteOrderMark))
        pos_ = kByteOrderMark.size();
}

bool Reader::next(std::string_view &line)
{
    if (error_ || pos_ >= data_.size())
        return false;
    size_t end = data_.find('\n', pos_);
    if (end == std::string_view::npos)
        end = data_.size();
    std::string_view raw = data_.substr(pos_, end - pos_);
    pos_ = end + 1;
    ++line_;
    if (!raw.empty() && raw.back() == '\r')
        raw.remove_suffix(1);
    for (char c : raw)
        if (isBinary(static_cast<unsigned char>(c)))
            return fail("binary data (byte 0x" + textwriter::hex(static_cast<unsigned char>(c), 2)
                + "), not a text file");
    line = trim(raw);
    return true;
}

bool Reader::fail(const std::string &message)
{
    return failAt(line_, message);
}

bool Reader::failAt(int line, const std::string &message)
{
    if (!error_)
        error_ = Error{file_, line, message};
    return false;
}

bool Reader::add(Signal signal)
{
    if (signals_.size() >= kMaxFileFrames)
        return fail(tooManyFramesMessage());
    signals_.push_back(std::move(signal));
    return true;
}

Loaded Reader::finish()
{
    Loaded result;
    if (!error_ && signals_.empty())
        failAt(0, "no IR frame found");
    if (error_)
        result.error = error_;
    else
        result.list = std::move(signals_);
    return result;
}

std::vector<std::string_view> split(std::string_view line)
{
    std::vector<std::string_view> tokens;
    size_t pos = 0;
    while (true) {
        pos = line.find_first_not_of(kBlanks, pos);
        if (pos == std::string_view::npos)
            break;
        size_t end = line.find_first_of(kBlanks, pos);
        if (end == std::string_view::npos)
            end = line.size();
        tokens.push_back(line.substr(pos, end - pos));
        pos = end;
    }
    return tokens;
}

std::string_view trim(std::string_view s)
{
    const size_t first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const size_t last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

bool startsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::optional<int64_t> decimal(std::string_view token)
{
    if (!token.empty() && token.front() == '+')
        token.remove_prefix(1);
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (token.empty() || ec != std::errc() || end != token.data() + token.size())
        return std::nullopt;
    return value;
}

std::optional<uint64_t> hex(std::string_view token)
{
    if (startsWith(token, "0x") || startsWith(token, "0X"))
        token.remove_prefix(2);
    uint64_t value = 0;
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value, 16);
    if (token.empty() || ec != std::errc() || end != token.data() + token.size())
        return std::nullopt;
    return value;
}

std::optional<double> real(std::string_view token)
{
    // from_chars, unlike strtod, ignores the locale that the GUI sets.
    double value = 0;
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (token.empty() || ec != std::errc() || end != token.data() + token.size() || value != value)
        return std::nullopt;
    return value;
}

std::optional<int32_t> duration(std::string_view token)
{
    const auto value = decimal(token);
    if (!value || *value < 0 || *value > kMaxDurationUs)
        return std::nullopt;
    return static_cast<int32_t>(*value);
}

std::optional<std::string> checkFrame(ircodec::Durations &durations)
{
    if (durations.size() % 2 == 0 && !durations.empty())
        durations.pop_back();
    if (durations.empty())
        return std::string("a frame without any mark");
    if (durations.size() > irlimits::kMaxFileFrameDurations)
        return "a frame of " + std::to_string(durations.size()) + " durations, more than the "
            + std::to_string(irlimits::kMaxFileFrameDurations) + " an IR frame can have";
    for (int32_t us : durations)
        if (us < 0)
            return "negative duration " + std::to_string(us);
    return std::nullopt;
}

} // namespace irfiles::textreader
