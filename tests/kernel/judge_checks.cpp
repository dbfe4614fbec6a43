// The kernel's protocol decoders on our encoders' frames, and our decoders
// on the frames of the kernel's encoders, scancode by scancode.
#include "checks.h"
#include "collector.h"
#include "harness.h"
#include "kernelcodes.h"
#include "lircfd.h"

#include "ircodec.h"
#include "korvex.h"

#include <cstdio>
#include <thread>

namespace checks {

namespace {

using namespace std::chrono_literals;
using kernelcodes::Family;
using kernelcodes::KernelCode;
using kernelcodes::OurFrame;

constexpr int kOutput = 1;
constexpr unsigned char kInput = 1;
constexpr int kScancodeWaitMs = 1500;
constexpr auto kFrameWait = 2000ms;
constexpr auto kSettle = 250ms;

std::string hex(uint64_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

std::string describe(const KernelCode &code)
{
    return hex(code.scancode) + (code.toggle ? " toggle" : "");
}

std::string describe(const OurFrame &f)
{
    return "type " + std::to_string(f.type) + " value " + hex(f.value) + " address "
        + hex(f.address) + " bits " + std::to_string(f.bits);
}

int sendOurs(const OurFrame &frame, int kHz)
{
    IRSendData data{};
    data.protocol = frame.type;
    data.address = static_cast<uint16_t>(frame.address);
    data.value = frame.value;
    data.bits = frame.bits;
    return IR_SendProtocol(kDevice, kOutput, kHz, data);
}

bool judgedByKernel(
    LircFd &reader, const Family &family, const KernelCode &code, const OurFrame &ours)
{
    reader.drain();
    const int status = sendOurs(ours, family.carrierKHz);
    const auto got = reader.readScancode(kScancodeWaitMs);
    const bool toggle = got && (got->flags & LIRC_SCANCODE_FLAG_TOGGLE) != 0;
    const bool ok = status == 0 && got && got->rc_proto == code.proto
        && got->scancode == code.scancode && (!family.toggle || toggle == code.toggle);
    std::string detail = "sent " + describe(ours) + " for " + describe(code) + "; kernel ";
    detail += status != 0 ? "nothing: our send failed"
        : !got            ? "decoded nothing"
                          : "protocol " + std::to_string(got->rc_proto) + " " + hex(got->scancode)
            + (toggle ? " toggle" : "");
    return harness::expect(ok, std::string("kernel decoder on our ") + family.name, detail);
}

bool judgedByUs(LircFd &sender, const Family &family, const KernelCode &code)
{
    const OurFrame expected = family.ours(code).value_or(OurFrame{});
    collector::clear();
    lirc_scancode scancode{};
    scancode.rc_proto = code.proto;
    scancode.scancode = code.scancode;
    const long written = sender.write(&scancode, sizeof scancode);
    auto got = collector::waitFor(1, kFrameWait);
    if (!got.empty()) {
        std::this_thread::sleep_for(kSettle);
        got = collector::waitFor(2, 0ms);
    }
    const bool one = written == long(sizeof scancode) && got.size() == 1;
    const OurFrame received
        = one ? OurFrame{got[0].type, got[0].value, got[0].address, got[0].bits} : OurFrame{};
    const bool ok = one && received == expected;
    std::string detail = "kernel sent " + describe(code) + "; ";
    detail += written != long(sizeof scancode) ? "the kernel refused it"
        : !one                                 ? "frames " + std::to_string(got.size())
               : "we decoded " + describe(received) + ", want " + describe(expected);
    return harness::expect(ok, std::string("our decoder on the kernel's ") + family.name, detail);
}

} // namespace

void kernelDecodersJudgeOurs()
{
    LircFd reader(kDevicePath);
    harness::expect(
        reader.set(LIRC_SET_REC_MODE, LIRC_MODE_SCANCODE) == 0, "scancode reader on /dev/lirc0");
    for (const Family &family : kernelcodes::families()) {
        if (!harness::expect(enableDecoder(family.decoder), "enable decoder", family.decoder))
            continue;
        for (const KernelCode &code : kernelcodes::boundaryCodes(family))
            if (const auto ours = family.ours(code))
                harness::kernelDecoded(family.name, judgedByKernel(reader, family, code, *ours));
    }
    // Our SANYO (the catalogue's 3.5 ms header protocol) is not the kernel's
    // 42-bit sanyo: the kernel's decoder takes none of its frames.
    enableDecoder("sanyo");
    reader.drain();
    const OurFrame sanyo{ircodec::catalogueId(ircodec::Protocol::Sanyo), 0x6E11, 0, 16};
    harness::expect(sendOurs(sanyo, 38) == 0 && !reader.readScancode(kScancodeWaitMs),
        "our SANYO is not the kernel's sanyo");
    enableDecoder("nec");
}

void kernelEncodersJudgeOurs()
{
    LircFd sender(kDevicePath);
    harness::expect(
        sender.set(LIRC_SET_SEND_MODE, LIRC_MODE_SCANCODE) == 0, "scancode sender on /dev/lirc0");
    harness::expect(IR_ReceiveStart(kDevice, kInput, collector::callback) == 0,
        "reception for the kernel's frames");
    for (const Family &family : kernelcodes::families())
        for (KernelCode code : kernelcodes::boundaryCodes(family)) {
            code.toggle = false; // the kernel's encoders take no toggle
            harness::oursDecoded(family.name, judgedByUs(sender, family, code));
        }
    IR_ReceiveStop(kDevice);
    collector::clear();
}

} // namespace checks
