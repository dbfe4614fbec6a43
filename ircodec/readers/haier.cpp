// Haier's air conditioner protocols. A 3000 / 3000 us pair, a 3000 / 4300
// us header, 520 us marks, a 1 is a 1650 us space and a 0 a 650 us one,
// most significant bit first, stop mark. By length:
//   HAIER_AC        9 bytes: 0xA5, ..., the sum of bytes 0-7 (HSU07-HEA03 remotes)
//   HAIER_AC_YRW02  14 bytes: the model (0xA6 or 0x59), ..., the sum of bytes 0-12
//   HAIER_AC160     20 bytes: those 14, then 0xB5, ..., the sum of bytes 14-18
//   HAIER_AC176     22 bytes: those 14, then 0xB7, ..., the sum of bytes 14-20
#include "../acframe.h"

namespace ircodec {

namespace {

constexpr MarkSpace kZero = {520, 650};
constexpr MarkSpace kOne = {520, 1650};

constexpr AcProtocol haier(int bytes, bool (*valid)(const AcState &), void (*complete)(AcState &))
{
    return {kZero, kOne, Order::MsbFirst,
        {acShape({acPair(3000, 3000), acPair(3000, 4300), acBytes(bytes), acStop(520)})}, 1, valid,
        complete};
}

// A run of bytes whose last is the sum of the others, after a fixed first.
struct Block
{
    int from;
    int to; // the sum's position
};

bool blockValid(const AcState &s, Block b, std::initializer_list<uint8_t> firsts)
{
    bool first = false;
    for (uint8_t f : firsts)
        first = first || s[b.from] == f;
    return first && s[b.to] == sumBytes(s, b.from, b.to);
}

void blockComplete(AcState &s, Block b, uint8_t first)
{
    s[b.from] = first;
    s[b.to] = sumBytes(s, b.from, b.to);
}

constexpr uint8_t kHaierPrefix = 0xA5;
constexpr uint8_t kModelA = 0xA6;
constexpr uint8_t kModelB = 0x59;
constexpr uint8_t kPrefix160 = 0xB5;
constexpr uint8_t kPrefix176 = 0xB7;
constexpr Block kHaierBlock = {0, 8};
constexpr Block kMainBlock = {0, 13};
constexpr Block kBlock160 = {14, 19};
constexpr Block kBlock176 = {14, 21};

bool haierValid(const AcState &s)
{
    return blockValid(s, kHaierBlock, {kHaierPrefix});
}
void haierComplete(AcState &s)
{
    blockComplete(s, kHaierBlock, kHaierPrefix);
}

bool yrw02Valid(const AcState &s)
{
    return blockValid(s, kMainBlock, {kModelA, kModelB});
}
void yrw02Complete(AcState &s)
{
    blockComplete(s, kMainBlock, s[0] & 1u ? kModelA : kModelB);
}

bool valid160(const AcState &s)
{
    return yrw02Valid(s) && blockValid(s, kBlock160, {kPrefix160});
}
void complete160(AcState &s)
{
    yrw02Complete(s);
    blockComplete(s, kBlock160, kPrefix160);
}

bool valid176(const AcState &s)
{
    return yrw02Valid(s) && blockValid(s, kBlock176, {kPrefix176});
}
void complete176(AcState &s)
{
    yrw02Complete(s);
    blockComplete(s, kBlock176, kPrefix176);
}

constexpr AcProtocol kHaier = haier(9, haierValid, haierComplete);
constexpr AcProtocol kYrw02 = haier(14, yrw02Valid, yrw02Complete);
constexpr AcProtocol kHaier160 = haier(20, valid160, complete160);
constexpr AcProtocol kHaier176 = haier(22, valid176, complete176);

} // namespace

extern const Reader haierReader = acReader<kHaier>("HAIER_AC", 38000);
extern const Reader haierYrw02Reader = acReader<kYrw02>("HAIER_AC_YRW02", 38000);
extern const Reader haier160Reader = acReader<kHaier160>("HAIER_AC160", 38000);
extern const Reader haier176Reader = acReader<kHaier176>("HAIER_AC176", 38000);

} // namespace ircodec
