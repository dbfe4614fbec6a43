// Every reader on any mark and space sequence, alone and as a recording of
// several frames: no crash, every reading's texts, a reader that takes a
// frame takes it again, read() picks a reading that readAll() gives, and a
// reading written out at its nominal timing reads back the same. A generic
// reading of any timing is only asked to read back: near the bounds between
// its forms (a leader or none, two space lengths with separators or a
// number in each space) the jitter of the input may decide the form, and
// the nominal frame, without it, the other. The reading_roundtrip target
// checks their examples bit for bit.
#include "fuzztarget.h"
#include "irinput.h"
#include "reader.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const ircodec::Durations durations = takeDurations(input);
    const auto all = ircodec::readAll(durations);
    const ircodec::Reading best = ircodec::read(durations);
    FUZZ_CHECK(all.empty() == !best);
    if (best)
        FUZZ_CHECK(all.front().reader == best.reader && all.front().bits == best.bits);
    for (const ircodec::Reading &r : all) {
        FUZZ_CHECK(!ircodec::summary(r).empty());
        ircodec::Reading again;
        again.reader = r.reader;
        FUZZ_CHECK(r.reader->read(durations, again) && again.bits == r.bits);
        const ircodec::Durations nominal = r.reader->write(r);
        if (nominal.empty())
            continue;
        ircodec::Reading written;
        written.reader = r.reader;
        const bool readBack = r.reader->read(nominal, written);
        const bool eitherForm = r.reader->family == ircodec::Family::Generic;
        if (!readBack || (!eitherForm && written.bits != r.bits)) {
            std::fprintf(stderr, "read %s\nwritten:", ircodec::summary(r).c_str());
            for (int32_t d : nominal)
                std::fprintf(stderr, " %d", d);
            std::fprintf(stderr, "\n");
            FUZZ_CHECK(!"a reading written at its nominal timing reads back");
        }
    }
    // A recording of several frames: the sequence accounts for each.
    const auto frames = ircodec::segment(durations);
    const ircodec::Sequence sequence = ircodec::readSequence(frames);
    FUZZ_CHECK(sequence.frames.size() == frames.size());
    (void)ircodec::summary(sequence);
    return 0;
}
