#include "textreader.h"

#include "textwriter.h"

#include <charconv>
#include <cstring>

namespace irfiles::textreader {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";
// A file is read in blocks of this size.
constexpr size_t kBlockBytes = size_t{1} << 18;

bool isBinary(unsigned char c)
{
    return (c < 0x20 && c != '\t') || c == 0x7F;
}

} // namespace

Source::Source(std::string_view text)
    : text_(text), total_(static_cast<int64_t>(text.size())), end_(true)
{
}

Source::Source(std::FILE *file) : file_(file) { }

bool Source::fill()
{
    if (end_)
        return false;
    // What is left of the text moves to the front, the next block after it.
    buffer_.erase(0, pos_);
    pos_ = 0;
    const size_t kept = buffer_.size();
    buffer_.resize(kept + kBlockBytes);
    const size_t got = std::fread(&buffer_[kept], 1, kBlockBytes, file_);
    buffer_.resize(kept + got);
    total_ += static_cast<int64_t>(got);
    if (got < kBlockBytes) {
        readFailed_ = std::ferror(file_) != 0;
        end_ = true;
    }
    if (tooLarge())
        end_ = true;
    text_ = buffer_;
    return got > 0;
}

std::string_view Source::head(size_t bytes)
{
    while (text_.size() - pos_ < bytes && fill()) { }
    return text_.substr(pos_, bytes);
}

bool Source::nextLine(std::string_view &line)
{
    while (true) {
        const char *start = text_.data() + pos_;
        const size_t left = text_.size() - pos_;
        if (const void *found = left ? std::memchr(start, '\n', left) : nullptr) {
            const size_t length = static_cast<size_t>(static_cast<const char *>(found) - start);
            line = std::string_view(start, length);
            pos_ += length + 1;
            return true;
        }
        if (fill())
            continue;
        if (pos_ >= text_.size())
            return false;
        line = text_.substr(pos_); // the last line, without a line break
        pos_ = text_.size();
        return true;
    }
}

Reader::Reader(std::string_view data, std::string file)
    : ownSource_(std::in_place, data), source_(&*ownSource_), file_(std::move(file))
{
}

Reader::Reader(Source &source, std::string file, Handler handler)
    : source_(&source), file_(std::move(file)), handler_(std::move(handler))
{
}

bool Reader::next(std::string_view &line)
{
    if (error_)
        return false;
    if (source_->tooLarge())
        return failAt(0, tooLargeMessage());
    std::string_view raw;
    if (!source_->nextLine(raw)) {
        if (source_->readFailed())
            failAt(0, "cannot read the file");
        else if (source_->tooLarge())
            failAt(0, tooLargeMessage());
        return false;
    }
    ++line_;
    if (first_ && startsWith(raw, kByteOrderMark))
        raw.remove_prefix(kByteOrderMark.size());
    first_ = false;
    if (!raw.empty() && raw.back() == '\r')
        raw.remove_suffix(1);
    indented_ = !raw.empty() && (raw.front() == ' ' || raw.front() == '\t');
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

bool Reader::skip(int line, const std::string &message)
{
    skipped_.push_back(Error{file_, line, message});
    return true;
}

bool Reader::add(Signal signal)
{
    if (frames_ >= irlimits::kMaxFileFrames)
        return fail(tooManyFramesMessage());
    ++frames_;
    if (!handler_) {
        signals_.push_back(std::move(signal));
        return true;
    }
    if (const auto refused = handler_(std::move(signal)))
        return fail(*refused);
    return true;
}

Loaded Reader::finish()
{
    Loaded result;
    if (!error_ && frames_ == 0)
        failAt(0, "no IR frame found");
    if (error_)
        result.error = error_;
    else
        result.list = std::move(signals_);
    result.skipped = std::move(skipped_);
    return result;
}

void FrameBuilder::add(int64_t us)
{
    ++count_;
    if (problem_)
        return;
    if (us < irlimits::kMinDurationUs || us > irlimits::kMaxDurationUs) {
        problem_ = durationText(us);
        problemAt_ = count_;
    } else if (durations_.size() <= static_cast<size_t>(irlimits::kMaxFileFrameDurations)) {
        durations_.push_back(static_cast<int32_t>(us)); // one more: a trailing space
    }
}

void FrameBuilder::compact()
{
    durations_.shrink_to_fit();
}

std::optional<std::string> FrameBuilder::finish(ircodec::Durations &frame)
{
    // A trailing space is dropped whatever its value.
    const bool trailingSpace = problemAt_ == count_ && count_ % 2 == 0;
    if (problem_ && !trailingSpace)
        return problem_;
    const size_t marksAndSpaces = count_ % 2 == 0 && count_ > 0 ? count_ - 1 : count_;
    if (marksAndSpaces > static_cast<size_t>(irlimits::kMaxFileFrameDurations))
        return tooManyDurationsText(marksAndSpaces);
    if (marksAndSpaces == 0)
        return std::string("a frame without any mark");
    frame = std::move(durations_);
    frame.resize(marksAndSpaces);
    return std::nullopt;
}

std::optional<std::string> checkFrame(const ircodec::Durations &durations)
{
    if (durations.empty())
        return std::string("a frame without any mark");
    if (durations.size() % 2 == 0)
        return std::string("a frame that ends with a space instead of a mark");
    if (durations.size() > static_cast<size_t>(irlimits::kMaxFileFrameDurations))
        return tooManyDurationsText(durations.size());
    for (int32_t us : durations)
        if (us < irlimits::kMinDurationUs)
            return durationText(us);
    return std::nullopt;
}

bool Words::next(std::string_view &word)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (pos_ < line_.size() && blank(line_[pos_]))
        ++pos_;
    if (pos_ == line_.size())
        return false;
    const size_t start = pos_;
    while (pos_ < line_.size() && !blank(line_[pos_]))
        ++pos_;
    word = line_.substr(start, pos_ - start);
    return true;
}

std::vector<std::string_view> split(std::string_view line)
{
    std::vector<std::string_view> tokens;
    Words words(line);
    for (std::string_view word; words.next(word);)
        tokens.push_back(word);
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

std::optional<int64_t> unsignedDecimal(std::string_view token)
{
    if (!token.empty() && token.front() == '+')
        token.remove_prefix(1);
    if (token.empty())
        return std::nullopt;
    int64_t value = 0;
    for (char c : token) {
        if (c < '0' || c > '9')
            return std::nullopt;
        const int digit = c - '0';
        value = value > (INT64_MAX - digit) / 10 ? INT64_MAX : value * 10 + digit;
    }
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

} // namespace irfiles::textreader
