// The limits that frames and the adapter interface's records meet on their
// way through the program, each defined once and named by what it bounds.
// The codec, the file formats, the adapter libraries and the window all read
// them from here. No Qt.
#ifndef IRLIMITS_H
#define IRLIMITS_H

#include <climits>
#include <cstdint>

namespace irlimits {

// The adapter interface's raw timing records: the general sender passes at
// most this many values to IR_SendRaw, and the frame table, the details and
// the waveform show this many of a received frame (the silence before it,
// then 255 durations).
constexpr int kMaxRecordRawValues = 256;

// A frame that a receiver of ours (the virtual adapter, the LIRC devices)
// cuts out of the air holds at most this many durations, far more than any
// remote sends (air conditioners send up to about 600); a longer one is cut
// here and marked. Its record holds them after the silence before it.
constexpr int kMaxReceivedDurations = 4095;
constexpr int kMaxReceivedRawValues = kMaxReceivedDurations + 1;

// The receive queue keeps this many raw values of a frame for copying,
// saving and sending again; a longer frame is cut here and marked as cut.
constexpr int kMaxKeptRawValues = 16384;

// IR files, the same for every format, read and written: a reader leaves
// out (and lists) a record beyond them, and a writer refuses to write what
// a reader would leave out, so that whatever is written reads back.
// - A frame holds at most as many durations as the frame table keeps after
//   the silence before it, so that an opened frame enters the table whole
//   and a kept frame can be saved whole.
constexpr int kMaxFileFrameDurations = kMaxKeptRawValues - 1;
// - Every mark and space lasts from 1 us to INT32_MAX us (recordings do hold
//   absurd values such as a first mark of 0x3FFFFE0F us, which load as they
//   are); a zero-length one is not on the air.
constexpr int64_t kMinDurationUs = 1;
constexpr int64_t kMaxDurationUs = INT32_MAX;
// - A carrier is 0 (unknown or unmodulated) or at most this many Hz.
constexpr int64_t kMaxCarrierHz = 1000000;
// - A file holds at most this many frames and bytes; a larger file is
//   refused whole, before it is read.
constexpr int64_t kMaxFileFrames = 100000;
constexpr int64_t kMaxFileMegabytes = 50;
constexpr int64_t kMaxFileBytes = kMaxFileMegabytes * 1024 * 1024;

// One frame as an adapter of ours sends it (IR_SendRaw's count included): at
// most this many marks and spaces, lasting at most this long in total. The
// kernel's limits on one LIRC write, which every device of ours keeps.
constexpr int kMaxSendValues = 1024;
constexpr int64_t kMaxSendDurationUs = 500000;

// The carriers an adapter sends on: IR_SendProtocol and IR_SendRaw refuse
// others, the send tab's spin box offers these, and a recorded frame whose
// carrier lies outside them is sent again on the spin box's.
constexpr int kMinCarrierKHz = 10;
constexpr int kMaxCarrierKHz = 100;

} // namespace irlimits

#endif // IRLIMITS_H
