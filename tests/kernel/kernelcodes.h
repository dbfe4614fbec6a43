// The kernel's scancodes (struct lirc_scancode: protocol, scancode, toggle)
// and the catalogue frame that is the same signal, per protocol. The
// kernel's decoders report these scancodes and its encoders take them; our
// codec sends and reports the catalogue frame.
#ifndef TESTS_KERNEL_KERNELCODES_H
#define TESTS_KERNEL_KERNELCODES_H

#include "ircodec.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kernelcodes {

struct KernelCode
{
    uint32_t proto = 0; // enum rc_proto
    uint64_t scancode = 0;
    bool toggle = false;
};

// A frame in the terms of the send record and the receive callback.
struct OurFrame
{
    int32_t type = -1; // catalogue identifier
    uint32_t value = 0;
    uint32_t address = 0;
    int32_t bits = 0;

    bool operator==(const OurFrame &other) const
    {
        return type == other.type && value == other.value && address == other.address
            && bits == other.bits;
    }
};

// Our frame of a protocol, by its catalogue identifier.
OurFrame ourFrame(ircodec::Protocol protocol, uint32_t value, int bits, uint32_t address = 0);

// A bit field of the scancode.
struct Field
{
    int shift;
    int width;
};

struct Family
{
    const char *name;    // row of the result table
    const char *decoder; // what to write to /sys/class/rc/rcN/protocols
    uint32_t proto;
    uint64_t fixed; // bits every scancode of the family has
    std::vector<Field> fields;
    bool toggle; // the kernel reports a toggle bit with the scancode
    int carrierKHz;
    // Our frame for the kernel's code; empty when the catalogue has none, so
    // our decoder must report UNKNOWN.
    std::optional<OurFrame> (*ours)(const KernelCode &code);
};

const std::vector<Family> &families();
const Family *familyOf(uint32_t proto);

// Codes at the fields' boundaries: every field 0, 1, all ones, 0101...,
// 1010..., and (with more than one field) the first 1 and the rest all
// ones; the toggle set in
// every other code of a family that has one.
std::vector<KernelCode> boundaryCodes(const Family &family);

} // namespace kernelcodes

#endif // TESTS_KERNEL_KERNELCODES_H
