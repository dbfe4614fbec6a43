// The LIRC back end against the real kernel, inside a VM with rc-loopback
// loaded (scripts/test-kernel.sh): the Korvex operations on its LIRC device,
// and the kernel's own protocol decoders and encoders as a second opinion
// on ours.
//
//   kernel_check                       every check
//   kernel_check --receive FILE -- COMMAND...
//                                      receive while COMMAND sends FILE; an
//                                      IR file other than pulse/space text
//                                      is sent as our writer writes it
#include "checks.h"
#include "harness.h"

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (argc >= 4 && std::strcmp(argv[1], "--receive") == 0 && std::strcmp(argv[3], "--") == 0)
        return checks::receiveFile(argv[2], std::vector<std::string>(argv + 4, argv + argc));
    if (argc != 1) {
        std::fprintf(stderr, "usage: %s [--receive FILE -- COMMAND...]\n", argv[0]);
        return 2;
    }
    checks::scanAndOpen();
    checks::firstFrameSilence();
    checks::driverAnswers();
    checks::roundTrips();
    checks::necHold();
    checks::receptionControl();
    checks::kernelDecodersJudgeOurs();
    checks::kernelEncodersJudgeOurs();
    return harness::finish();
}
