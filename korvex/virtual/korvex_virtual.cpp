// The twelve Korvex operations on the virtual adapter alone (index 0).
#include "operations.h"
#include "virtual_adapter.h"

namespace korvex_ops {

int deviceCount()
{
    return korvex_virtual::kAdapterCount;
}

std::shared_ptr<Device> device(int index)
{
    return index >= 0 && index < korvex_virtual::kAdapterCount ? korvex_virtual::device() : nullptr;
}

} // namespace korvex_ops
