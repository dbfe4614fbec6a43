#include "framecursor.h"

#include <cstdlib>

namespace ircodec {

bool FrameCursor::take(int32_t nominal)
{
    if (pos_ >= d_.size())
        return false;
    const Window window(nominal, pos_ % 2 == 0 ? Level::Mark : Level::Space);
    const int32_t measured = d_[pos_++];
    return window.fits(measured) && edges_.next(measured, window);
}

int FrameCursor::symbol(const MarkSpace *symbols, int count)
{
    if (pos_ % 2 != 0 || left() < 2 || count <= 0)
        return -1;
    const int64_t mark = d_[pos_];
    const int64_t period = mark + d_[pos_ + 1];
    int nearest = 0;
    int64_t least = -1;
    for (int i = 0; i < count; ++i) {
        const int64_t distance = std::llabs(period - symbols[i].mark - symbols[i].space)
            + std::llabs(mark - symbols[i].mark);
        if (least < 0 || distance < least) {
            least = distance;
            nearest = i;
        }
    }
    return take(symbols[nearest]) ? nearest : -1;
}

bool FrameCursor::symbols(const MarkSpace *table, int symbolBits, int count, BitString &bits)
{
    for (int i = 0; i < count; ++i) {
        const int index = symbol(table, 1 << symbolBits);
        if (index < 0)
            return false;
        bits.append(static_cast<uint64_t>(index), symbolBits, Order::MsbFirst);
    }
    return true;
}

bool FrameCursor::stop(int32_t nominal)
{
    return left() == 1 && pos_ % 2 == 0 && edges_.finish()
        && stopMarkWindow(nominal).fits(d_[pos_++]);
}

void putSymbols(const BitString &bits, const MarkSpace *table, int symbolBits, Durations &out)
{
    for (int i = 0; i + symbolBits <= bits.size(); i += symbolBits) {
        const MarkSpace &symbol = table[bits.field(i, symbolBits)];
        out.push_back(symbol.mark);
        out.push_back(symbol.space);
    }
}

} // namespace ircodec
