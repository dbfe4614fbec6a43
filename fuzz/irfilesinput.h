// The file format targets' common check: any bytes read as a file of one
// format give every frame or an error with nothing loaded, and what was
// loaded, written in the same format, reads back as the same frames.
#ifndef IRFILESINPUT_H
#define IRFILESINPUT_H

#include "formats.h"
#include "fuzztarget.h"

#include <string>

inline void fuzzFormat(irfiles::Format format, const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    const irfiles::Loaded loaded = irfiles::read(format, text, "fuzz");
    if (!loaded.ok()) {
        FUZZ_CHECK(loaded.list.empty() && loaded.error->file == "fuzz");
        return;
    }
    FUZZ_CHECK(!loaded.list.empty()
        && loaded.list.size() <= static_cast<size_t>(irlimits::kMaxFileFrames));
    for (const irfiles::Signal &s : loaded.list) {
        FUZZ_CHECK(s.durations.size() % 2 == 1);
        FUZZ_CHECK(s.durations.size() <= static_cast<size_t>(irlimits::kMaxFileFrameDurations));
        for (int32_t us : s.durations)
            FUZZ_CHECK(us >= irlimits::kMinDurationUs);
    }
    const irfiles::Written written = irfiles::write(format, loaded.list);
    FUZZ_CHECK(written.ok());
    const irfiles::Loaded again = irfiles::read(format, written.data, "fuzz");
    FUZZ_CHECK(again.ok());
    FUZZ_CHECK(again.list.size() == loaded.list.size());
    for (size_t i = 0; i < loaded.list.size(); ++i) {
        const auto &a = loaded.list[i].durations, &b = again.list[i].durations;
        FUZZ_CHECK(a.size() == b.size());
        // Pronto rounds to whole carrier periods; the others keep every value.
        if (format != irfiles::Format::Pronto)
            FUZZ_CHECK(a == b);
    }
}

#endif // IRFILESINPUT_H
