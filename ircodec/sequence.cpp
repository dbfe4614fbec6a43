// Sequences: the frames of one recording read together. A frame that a
// reading's protocol takes as its further block is read into it; a frame
// with the same protocol and the same bits, or that protocol's repeat form,
// repeats it; any other frame begins a reading of its own.
#include "reader.h"

#include <algorithm>
#include <climits>

namespace ircodec {

namespace {

bool sameData(const Reading &a, const Reading &b)
{
    if (a.frame && b.frame)
        return a.frame->value == b.frame->value && a.frame->address == b.frame->address
            && a.frame->bits == b.frame->bits;
    return a.bits == b.bits;
}

bool repeats(const Sequence::Item &item, const Reading &next, const Capture &frame)
{
    const Reading &first = item.reading;
    if (!first)
        return false;
    if (first.reader->repeatedBy && first.reader->repeatedBy(first, frame))
        return true;
    if (next.reader != first.reader)
        return false;
    // A generic reading repeats only with the same timing, give or take
    // what the bits tell apart: the same bits are enough.
    return next.repeat || (item.blocks == 1 && sameData(first, next));
}

// A frame that reception cut into `count` pieces from `first` on, whole
// again: the pieces and the silences between them.
Durations joined(const std::vector<Capture> &frames, size_t first, size_t count)
{
    Durations out = frames[first].durations;
    for (size_t i = first + 1; i < first + count; ++i) {
        const int64_t silence = frames[i].silenceBefore;
        out.push_back(static_cast<int32_t>(silence < INT32_MAX ? silence : INT32_MAX));
        out.insert(out.end(), frames[i].durations.begin(), frames[i].durations.end());
    }
    return out;
}

// The reading of a protocol whose frames reception cuts (cutInto) from the
// unread piece at `first` on, and how many pieces it took; 0 for none.
size_t readCut(const std::vector<Capture> &frames, size_t first, Reading &out)
{
    for (const Reader *reader : readers()) {
        for (size_t count = 2;
             count <= static_cast<size_t>(reader->cutInto) && first + count <= frames.size();
             ++count) {
            const Durations whole = joined(frames, first, count);
            if (std::any_of(whole.begin(), whole.end(), [](int32_t v) { return v <= 0; }))
                return 0;
            const Admission &a = reader->admission;
            if (static_cast<int>(whole.size()) < a.minDurations
                || static_cast<int>(whole.size()) > a.maxDurations)
                continue;
            out.restart(reader);
            if (reader->read(whole, out))
                return count;
        }
    }
    out = Reading();
    return 0;
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
        Reading whole;
        if (!frame.reading) {
            if (const size_t pieces = readCut(frames, i, whole)) {
                Sequence::Item item;
                item.reading = std::move(whole);
                item.frame = static_cast<int>(i);
                item.blocks = static_cast<int>(pieces);
                sequence.items.push_back(std::move(item));
                sequence.frames.push_back(std::move(frame));
                for (size_t piece = 1; piece < pieces; ++piece) {
                    SequenceFrame rest;
                    rest.reading = read(frames[i + piece].durations);
                    rest.role = Role::Block;
                    rest.first = static_cast<int>(i);
                    sequence.frames.push_back(std::move(rest));
                }
                i += pieces - 1;
                continue;
            }
        }
        if (!sequence.items.empty()) {
            Sequence::Item &item = sequence.items.back();
            const Reader *reader = item.reading.reader;
            if (reader && reader->extend && item.repeats == 0
                && reader->extend(item.reading, frames[i])) {
                frame.role = Role::Block;
                ++item.blocks;
            } else if (repeats(item, frame.reading, frames[i])) {
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
    const auto &items = sequence.items;
    for (size_t i = 0; i < items.size(); ++i) {
        if (!out.empty())
            out += "; ";
        // Frames nothing reads, one after another, are said once.
        size_t unread = 0;
        while (i + unread < items.size() && !items[i + unread].reading)
            ++unread;
        if (unread > 1) {
            out += summary(items[i]) + " (" + std::to_string(unread) + " frames)";
            i += unread - 1;
            continue;
        }
        out += summary(items[i]);
    }
    return out;
}

} // namespace ircodec
