// The virtual IR adapter: a built-in implementation of the Korvex operations
// (korvex.h) with a loopback "air" between its outputs and its input.
//
// One adapter is reported (index 0). Every send encodes its frame with
// ircodec into microsecond marks and spaces and queues it on the adapter's
// transmitter, which plays the edges out on the air in real time on a thread
// of its own; frames follow each other with at least the protocol's
// lead-out silence between them. A send fails when more than about one
// second of frames is already waiting. The receiver, started on one input
// channel, hears everything any output of the adapter sends: it splits the
// air into frames at silences of ircodec::kFrameSilenceUs, decodes each and
// calls the callback once per frame from its own thread. Nothing polls:
// both threads sleep on condition variables until the next edge is due or
// the silence that ends a frame has passed.
//
// Choices where the operations leave room:
// - IR_NEC_Send's inverted-code flag: nonzero sends the standard frame
//   (address, ~address, command, ~command); 0 sends the plain bytes where
//   the complements would stand (address, address, command, command).
// - IR_NRC17_Send: the first byte is the 8-bit field, the second and third
//   the two 4-bit fields (0..15, or 255 for all ones, so 254, 255, 255 is the
//   start/stop frame). Out-of-range fields fail, as do ITT's (address 0..15,
//   command 0..63) and RCA's (address 0..15).
// - IR_SendProtocol: see ircodec.h for each protocol's value, address and
//   bits; UNUSED, PRONTO and bit counts a protocol cannot carry fail.
// - IR_SendRaw: microseconds, mark first; an even count ends in a space that
//   becomes the silence after the frame. The limits are those of a LIRC
//   write (operations.h: 1..1024 values, at most 500 ms), so the virtual
//   adapter takes what a LIRC transmitter takes.
// - The carrier frequency is checked (10..100 kHz) but plays no part on the
//   virtual air.
// - IR_ReceiveStart while receiving restarts reception with the new channel
//   and callback. IR_ReceiveStop when not receiving succeeds. Called from
//   inside the callback, IR_ReceiveStop ends reception without waiting (the
//   running callback is the last one); from any other thread it returns once
//   no callback runs or will run.
// - Frames of protocols without a catalogue identifier (ITT, NRC17, RCA) and
//   frames nothing decodes are reported as UNKNOWN with value, address and
//   bits 0. SHARP's echo half is not reported separately.
// - IRResults.raw_data: 50 us ticks, the first the silence before the frame
//   (saturating at 0xFFFF), then every duration of the frame: raw_count may
//   exceed 256. A frame longer than irlimits::kMaxReceivedDurations is cut there
//   and reported as UNKNOWN. `extra` is 0.
#ifndef KORVEX_VIRTUAL_ADAPTER_H
#define KORVEX_VIRTUAL_ADAPTER_H

#include "ircodec.h"
#include "korvex.h"
#include "queued_device.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace korvex_virtual {

// A level change on the air, at a time in microseconds of the air's clock.
struct Edge
{
    int64_t at = 0;
    bool mark = false;
};

// Called for every edge as the transmitter puts it on the air: its planned
// time and the time it was played out. For measurements only.
using AirObserver = std::function<void(int64_t planned, int64_t played, bool mark)>;

class Adapter : public korvex::QueuedDevice
{
public:
    Adapter();
    ~Adapter() override;

    bool open() override;
    bool isOpen() const override;
    // Queues the bursts for play-out; false when the queue is too long.
    // Channels and carrier play no part on the virtual air.
    bool transmit(const korvex::Transmission &transmission) override;

    // Microseconds on the air's clock.
    int64_t now() const;
    void setAirObserver(AirObserver observer);

private:
    class Reception;

    void transmitLoop() override;
    std::shared_ptr<korvex::Reception> makeReception() override;
    void receiveLoop(Reception &reception);
    std::chrono::steady_clock::time_point timeOf(int64_t airUs) const;

    const std::chrono::steady_clock::time_point epoch_;
    std::condition_variable receiveWake_;
    bool opened_ = false;
    std::deque<Edge> schedule_; // edges not yet on the air, in time order
    int64_t queueEnd_ = 0;      // when the last queued frame's lead-out ends
    bool airMark_ = false;      // the air's level after the last played edge
    int64_t lastAirEdge_;
    AirObserver observer_;
};

// The process's one virtual adapter.
Adapter &adapter();

// The virtual adapter as a device of the operations (operations.h).
std::shared_ptr<korvex::Device> device();

} // namespace korvex_virtual

#endif // KORVEX_VIRTUAL_ADAPTER_H
