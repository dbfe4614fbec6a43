// Any bytes as a file of this format: all frames or an error, and the frames
// written back read as the same frames.
#include "irfilesinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzFormat(irfiles::Format::Csv, data, size);
    return 0;
}
