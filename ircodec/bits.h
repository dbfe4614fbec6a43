// On-air bit sequences: the first bit on the air is the most significant of
// the sequence, matching the value convention of the codec.
#ifndef IRCODEC_BITS_H
#define IRCODEC_BITS_H

#include <cstdint>

namespace ircodec {

enum class Order { LsbFirst, MsbFirst };

// Builds an on-air bit sequence field by field.
class BitWriter
{
public:
    void put(uint64_t field, int count, Order order)
    {
        for (int i = 0; i < count; ++i) {
            const int bit = order == Order::MsbFirst ? count - 1 - i : i;
            bits_ = (bits_ << 1) | ((field >> bit) & 1u);
        }
        count_ += count;
    }
    uint64_t bits() const
    {
        return bits_;
    }
    int count() const
    {
        return count_;
    }

private:
    uint64_t bits_ = 0;
    int count_ = 0;
};

// Reads fields back from an on-air bit sequence of `count` bits.
class BitReader
{
public:
    BitReader(uint64_t bits, int count) : bits_(bits), left_(count) { }

    uint64_t take(int count, Order order)
    {
        uint64_t field = 0;
        for (int i = 0; i < count; ++i) {
            --left_;
            const uint64_t bit = (bits_ >> left_) & 1u;
            if (order == Order::MsbFirst)
                field = (field << 1) | bit;
            else
                field |= bit << i;
        }
        return field;
    }

private:
    uint64_t bits_;
    int left_;
};

inline uint64_t lowBits(int count)
{
    return count >= 64 ? ~uint64_t{0} : (uint64_t{1} << count) - 1;
}

} // namespace ircodec

#endif // IRCODEC_BITS_H
