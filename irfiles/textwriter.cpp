#include "textwriter.h"

#include "textreader.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace irfiles::textwriter {

std::string lineName(const std::string &name, size_t index)
{
    std::string line = name;
    for (char &c : line)
        if (c == '\n' || c == '\r' || c == '\t')
            c = ' ';
    line = std::string(textreader::trim(line));
    if (line.empty())
        return "signal_" + std::to_string(index + 1);
    return line;
}

std::string wordName(const std::string &name, size_t index)
{
    std::string word = lineName(name, index);
    for (char &c : word)
        if (c == ' ' || c == '#')
            c = '_';
    return word;
}

std::string fixed(double value, int decimals)
{
    int64_t scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    const int64_t scaled = std::llround(std::max(value, 0.0) * static_cast<double>(scale));
    if (decimals <= 0)
        return std::to_string(scaled);
    std::string fraction = std::to_string(scaled % scale);
    fraction.insert(0, static_cast<size_t>(decimals) - fraction.size(), '0');
    return std::to_string(scaled / scale) + "." + fraction;
}

void appendHex(std::string &out, uint64_t value, int digits)
{
    static const char kDigits[] = "0123456789ABCDEF";
    char text[16];
    int count = 0;
    do {
        text[sizeof text - 1 - count++] = kDigits[value & 0xF];
        value >>= 4;
    } while (value != 0);
    if (digits > count)
        out.append(static_cast<size_t>(digits - count), '0');
    out.append(text + sizeof text - count, static_cast<size_t>(count));
}

std::string hex(uint64_t value, int digits)
{
    std::string out;
    appendHex(out, value, digits);
    return out;
}

void appendNumber(std::string &out, int64_t value)
{
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

void appendJoined(std::string &out, const ircodec::Durations &durations, char separator)
{
    for (size_t i = 0; i < durations.size(); ++i) {
        if (i > 0)
            out += separator;
        appendNumber(out, durations[i]);
    }
}

} // namespace irfiles::textwriter
