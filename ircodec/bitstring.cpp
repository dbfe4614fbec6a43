#include "bitstring.h"

namespace ircodec {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";
constexpr int kDigitBits = 4;

} // namespace

std::string BitString::hex() const
{
    const int digits = (count_ + kDigitBits - 1) / kDigitBits;
    std::string out(static_cast<size_t>(digits), '0');
    // Digit k from the right holds the bits that end k * 4 bits before the
    // last one on the air.
    for (int k = 0; k < digits; ++k) {
        int digit = 0;
        for (int b = 0; b < kDigitBits; ++b) {
            const int position = count_ - 1 - (k * kDigitBits + b);
            if (position >= 0 && at(position))
                digit |= 1 << b;
        }
        out[static_cast<size_t>(digits - 1 - k)] = kDigits[digit];
    }
    return out;
}

std::string BitString::hexBytes(Order order) const
{
    std::string out;
    out.reserve(static_cast<size_t>(2 * byteCount()));
    for (int i = 0; i < byteCount(); ++i) {
        const uint8_t b = byte(i, order);
        out += kDigits[b >> kDigitBits];
        out += kDigits[b & 0xF];
    }
    return out;
}

} // namespace ircodec
