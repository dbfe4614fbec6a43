// Every decoder of the codec on any mark and space sequence: no crash, and a
// decoder only ever reports its own protocol with a catalogue report that
// matches.
#include "codecs.h"
#include "fuzztarget.h"
#include "irinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const ircodec::Durations durations = takeDurations(input);
    for (const ircodec::Codec *codec = ircodec::codecsBegin(); codec != ircodec::codecsEnd();
         ++codec) {
        const auto frame = ircodec::decodeAs(codec->protocol, durations);
        if (!frame)
            continue;
        FUZZ_CHECK(frame->protocol == codec->protocol);
        const ircodec::Report report = ircodec::report(frame);
        FUZZ_CHECK(report.decodeType == codec->catalogueId);
    }
    const auto any = ircodec::decode(durations);
    if (any)
        FUZZ_CHECK(ircodec::decodeAs(any->protocol, durations) == any);
    return 0;
}
