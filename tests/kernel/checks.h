// The groups of checks run inside the VM against the real kernel.
#ifndef TESTS_KERNEL_CHECKS_H
#define TESTS_KERNEL_CHECKS_H

#include <string>
#include <vector>

namespace checks {

// The LIRC device of rc-loopback, index 0 of the Korvex operations.
constexpr int kDevice = 0;
extern const char *const kDevicePath;

// Device_Scan and Device_Open.
void scanAndOpen();
// The first frame received after the kernel was loaded: its silence.
void firstFrameSilence();
// Every protocol our codec sends, through the back end and back.
void roundTrips();
void necHold();
// Carrier, emitter masks and write limits as the driver answers them.
void driverAnswers();
// Start, stop, restart, stop inside the callback, stop while frames come.
void receptionControl();
// The kernel's decoders on our frames, our decoders on the kernel's frames.
void kernelDecodersJudgeOurs();
void kernelEncodersJudgeOurs();

// Receives through the back end while `command` runs; every frame must be
// the pulse/space text file's frames to the tick (ir-ctl's "+9000 -4500"
// or "pulse 9000" lines). The exit code.
int receiveFile(const std::string &file, const std::vector<std::string> &command);

} // namespace checks

#endif // TESTS_KERNEL_CHECKS_H
