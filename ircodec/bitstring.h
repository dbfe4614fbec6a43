// A frame's data bits in on-air order, of any length: what a reading holds.
// Fields are taken out of it in either bit order; it prints as one number
// (the first bit on the air most significant) or as bytes.
#ifndef IRCODEC_BITSTRING_H
#define IRCODEC_BITSTRING_H

#include "bits.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ircodec {

class BitString
{
public:
    BitString() = default;
    // The lowest `count` bits (at most 64) of `bits`, the most significant
    // first on the air.
    BitString(uint64_t bits, int count) : count_(count)
    {
        bytes_.resize(static_cast<size_t>(count + 7) / 8);
        // Left-aligned in the bytes: the first bit on the air on top.
        for (size_t i = 0; i < bytes_.size(); ++i) {
            const int shift = count - 8 * static_cast<int>(i + 1);
            bytes_[i] = static_cast<uint8_t>(shift >= 0 ? bits >> shift : bits << -shift);
        }
    }

    int size() const
    {
        return count_;
    }
    bool empty() const
    {
        return count_ == 0;
    }
    bool at(int index) const
    {
        return (bytes_[static_cast<size_t>(index) / 8] >> (7 - index % 8)) & 1u;
    }

    void push(bool bit)
    {
        if (count_ % 8 == 0)
            bytes_.push_back(0);
        if (bit)
            bytes_.back() |= static_cast<uint8_t>(0x80u >> (count_ % 8));
        ++count_;
    }
    void set(int index, bool bit)
    {
        const auto mask = static_cast<uint8_t>(0x80u >> (index % 8));
        uint8_t &byte = bytes_[static_cast<size_t>(index) / 8];
        byte = bit ? byte | mask : byte & static_cast<uint8_t>(~mask);
    }
    // A field of `count` bits (at most 64), sent in `order`.
    void append(uint64_t field, int count, Order order)
    {
        for (int i = 0; i < count; ++i)
            push((field >> (order == Order::MsbFirst ? count - 1 - i : i)) & 1u);
    }
    void append(const BitString &other)
    {
        for (int i = 0; i < other.count_; ++i)
            push(other.at(i));
    }
    // Empties the string, keeping its memory for the next bits.
    void clear()
    {
        bytes_.clear();
        count_ = 0;
    }
    void reserve(int bits)
    {
        bytes_.reserve(static_cast<size_t>(bits + 7) / 8);
    }

    // The field of `count` bits (at most 64) from on-air position `from`,
    // read in `order`; bits past the end read as 0.
    uint64_t field(int from, int count, Order order = Order::MsbFirst) const
    {
        uint64_t out = 0;
        for (int i = 0; i < count; ++i) {
            const uint64_t bit = from + i < count_ && at(from + i) ? 1u : 0u;
            if (order == Order::MsbFirst)
                out = (out << 1) | bit;
            else
                out |= bit << i;
        }
        return out;
    }
    // Byte `index` of a frame sent in whole bytes.
    uint8_t byte(int index, Order order) const
    {
        return static_cast<uint8_t>(field(8 * index, 8, order));
    }
    int byteCount() const
    {
        return count_ / 8;
    }
    // The whole string as one number (at most 64 bits).
    uint64_t value() const
    {
        return field(0, count_);
    }

    // Upper-case hexadecimal of the whole string as one number, the first
    // bit on the air most significant: (size + 3) / 4 digits.
    std::string hex() const;
    // Its whole bytes, each in `order`, as upper-case hex pairs.
    std::string hexBytes(Order order) const;

    bool operator==(const BitString &other) const
    {
        return count_ == other.count_ && bytes_ == other.bytes_;
    }
    bool operator!=(const BitString &other) const
    {
        return !(*this == other);
    }

private:
    std::vector<uint8_t> bytes_; // on-air order, the first bit in the top bit; unused bits 0
    int count_ = 0;
};

} // namespace ircodec

#endif // IRCODEC_BITSTRING_H
