// Sequences: the frames of one recording read together. A frame that a
// reading's protocol takes as its further block is read into it; a frame
// with the same protocol and the same bits, or that protocol's repeat form,
// repeats it; any other frame begins a reading of its own.
#include "reader.h"

namespace ircodec {

namespace {

bool sameData(const Reading &a, const Reading &b)
{
    if (a.frame && b.frame)
        return a.frame->value == b.frame->value && a.frame->address == b.frame->address
            && a.frame->bits == b.frame->bits;
    return a.bits == b.bits;
}

bool repeats(const Sequence::Item &item, const Reading &next)
{
    const Reading &first = item.reading;
    if (!first || next.reader != first.reader)
        return false;
    // A generic reading repeats only with the same timing, give or take
    // what the bits tell apart: the same bits are enough.
    return next.repeat || (item.blocks == 1 && sameData(first, next));
}

} // namespace

Sequence readSequence(const std::vector<Capture> &frames)
{
    Sequence sequence;
    sequence.frames.reserve(frames.size());
    for (size_t i = 0; i < frames.size(); ++i) {
        SequenceFrame frame;
        frame.reading = read(frames[i].durations);
        frame.first = static_cast<int>(i);
        if (!sequence.items.empty()) {
            Sequence::Item &item = sequence.items.back();
            const Reader *reader = item.reading.reader;
            if (reader && reader->extend && item.repeats == 0
                && reader->extend(item.reading, frames[i])) {
                frame.role = Role::Block;
                ++item.blocks;
            } else if (repeats(item, frame.reading)) {
                frame.role = Role::Repeat;
                ++item.repeats;
            }
            if (frame.role != Role::First)
                frame.first = item.frame;
        }
        if (frame.role == Role::First) {
            Sequence::Item item;
            item.reading = frame.reading;
            item.frame = static_cast<int>(i);
            sequence.items.push_back(std::move(item));
        }
        sequence.frames.push_back(std::move(frame));
    }
    return sequence;
}

std::string summary(const Sequence::Item &item)
{
    std::string out = summary(item.reading);
    if (item.blocks > 1)
        out += ", in " + std::to_string(item.blocks) + " blocks";
    if (item.repeats > 0)
        out += ", then " + std::to_string(item.repeats)
            + (item.repeats == 1 ? " repeat" : " repeats");
    return out;
}

std::string summary(const Sequence &sequence)
{
    std::string out;
    for (const Sequence::Item &item : sequence.items) {
        if (!out.empty())
            out += "; ";
        out += summary(item);
    }
    return out;
}

} // namespace ircodec
