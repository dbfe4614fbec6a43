// Reading a frame duration by duration against nominal timings, for the
// layouts the pulse engine (pulseframe.h) does not cover: more than two bit
// forms (RC-MM's four spaces, XMP's sixteen, DirecTV's four mark and space
// pairs), or bits told apart by the bit before them (Bang & Olufsen). Every
// duration must fit its window and the edges agree, as timing.h asks.
#ifndef IRCODEC_FRAMECURSOR_H
#define IRCODEC_FRAMECURSOR_H

#include "bitstring.h"
#include "pulse.h"
#include "timing.h"

#include <cstddef>

namespace ircodec {

class FrameCursor
{
public:
    explicit FrameCursor(const Durations &durations) : d_(durations) { }

    // Durations not taken yet.
    size_t left() const
    {
        return d_.size() - pos_;
    }

    // Takes the next duration as one of `nominal` length: a mark at even
    // positions, a space at odd ones.
    bool take(int32_t nominal);
    bool take(const MarkSpace &pair)
    {
        return take(pair.mark) && take(pair.space);
    }

    // Takes the next mark and space as the nearest of `count` symbols (mark
    // and space pairs), and returns its index; -1 when the pair does not fit
    // that symbol's windows. Nearest by period (mark + space) and mark: a
    // receiver's excess moves the edge between them, not the period.
    int symbol(const MarkSpace *symbols, int count);
    // Takes `count` symbols from a table of 2^`symbolBits` and appends
    // their indices to `bits`, most significant bit first.
    bool symbols(const MarkSpace *table, int symbolBits, int count, BitString &bits);

    // Takes the last duration as a stop mark (stopMarkWindow()); true when
    // the frame ends there and every edge before it agreed.
    bool stop(int32_t nominal);

    // True when every duration was taken and the edges agree, for frames
    // that end without a stop mark.
    bool finish() const
    {
        return pos_ == d_.size() && edges_.finish();
    }

private:
    const Durations &d_;
    size_t pos_ = 0;
    EdgeCheck edges_;
};

// Appends the symbols of a table of 2^`symbolBits` that `bits` are made
// of: `symbolBits` bits at a time, most significant first.
void putSymbols(const BitString &bits, const MarkSpace *table, int symbolBits, Durations &out);

} // namespace ircodec

#endif // IRCODEC_FRAMECURSOR_H
