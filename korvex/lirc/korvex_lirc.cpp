// The twelve Korvex operations on Linux: the kernel's LIRC devices and the
// virtual adapter, in the registry's lasting order (registry.h).
#include "operations.h"
#include "registry.h"

namespace korvex {

int deviceCount()
{
    return korvex_lirc::registry().scan();
}

std::shared_ptr<Device> device(int index)
{
    return korvex_lirc::registry().at(index);
}

} // namespace korvex
