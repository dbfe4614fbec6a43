// An adapter library that honestly reports that no adapter is attached: the
// twelve operations over an empty device list, so Device_Scan finds none and
// every other operation fails.
#include "operations.h"

namespace korvex {

int deviceCount()
{
    return 0;
}

std::shared_ptr<Device> device(int)
{
    return nullptr;
}

} // namespace korvex
