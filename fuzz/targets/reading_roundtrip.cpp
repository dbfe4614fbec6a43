// Any reader's example reading, from any seed: written out at its nominal
// timing, and as a receiver module delivers it (marks longer, spaces
// shorter) disturbed by up to 2 %, its reader reads it back the same. A
// wrong or missing reading is a finding.
#include "fuzzinput.h"
#include "fuzztarget.h"
#include "irreceiver.h"
#include "reader.h"

#include <cstdio>

namespace {

constexpr int kMaxReceivedJitterPercent = 2;

ircodec::Durations disturbed(ircodec::Durations durations, FuzzInput &input)
{
    for (int32_t &d : durations) {
        const int percent = input.take<uint8_t>() % (2 * kMaxReceivedJitterPercent + 1)
            - kMaxReceivedJitterPercent;
        d += static_cast<int32_t>(static_cast<int64_t>(d) * percent / 100);
    }
    return durations;
}

void checkReads(const ircodec::Reading &sent, const ircodec::Durations &durations)
{
    ircodec::Reading got;
    got.reader = sent.reader;
    const bool read = sent.reader->read(durations, got);
    if (read && got.bits == sent.bits && got.repeat == sent.repeat)
        return;
    std::fprintf(stderr, "sent %s\n", ircodec::summary(sent).c_str());
    if (read)
        std::fprintf(stderr, "read %s\n", ircodec::summary(got).c_str());
    FUZZ_CHECK(read && got.bits == sent.bits && got.repeat == sent.repeat);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const auto &readers = ircodec::readers();
    const ircodec::Reader *reader = readers[input.take<uint8_t>() % readers.size()];
    ircodec::Reading sent;
    sent.reader = reader;
    if (!reader->example || !reader->example(input.take<uint64_t>(), sent))
        return 0;
    const ircodec::Durations exact = reader->write(sent);
    FUZZ_CHECK(!exact.empty());
    checkReads(sent, exact);
    checkReads(sent, disturbed(irreceiver::received(exact), input));
    return 0;
}
