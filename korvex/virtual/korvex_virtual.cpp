// The twelve Korvex operations on the virtual adapter alone (index 0).
#include "operations.h"
#include "virtual_adapter.h"

namespace korvex {

namespace {

constexpr int kVirtualIndex = 0;

} // namespace

int deviceCount()
{
    return kVirtualIndex + 1;
}

std::shared_ptr<Device> device(int index)
{
    return index == kVirtualIndex ? korvex_virtual::device() : nullptr;
}

} // namespace korvex
