// The adapters of the Linux build, each at one index for the life of the
// process, so that an index handed to the operations keeps naming the same
// adapter whatever is plugged in or out between scans.
//
// The first scan lists the kernel's LIRC devices in the order of their
// remote-control devices, then the virtual adapter. Devices that a later
// scan finds are appended after the known ones. A device that a scan no
// longer finds keeps its index: its reception ends, and it fails to open and
// fails every operation until a scan finds it again under the same path.
#ifndef KORVEX_LIRC_REGISTRY_H
#define KORVEX_LIRC_REGISTRY_H

#include "lirc_device.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace korvex_lirc {

class Registry
{
public:
    Registry(std::string sysfsRoot, std::string devRoot, Opener opener);

    // Looks for LIRC devices afresh; answers the adapter count (every device
    // ever found, and the virtual adapter).
    int scan();
    // The adapter at an index (the first call scans); null outside.
    std::shared_ptr<korvex::Device> at(int index);

private:
    const std::string sysfsRoot_;
    const std::string devRoot_;
    const Opener opener_;
    std::mutex m_;
    bool scanned_ = false;
    std::map<std::string, std::shared_ptr<LircDevice>> known_; // by path
    std::vector<std::shared_ptr<korvex::Device>> adapters_;    // by index
};

// The process's registry: /sys/class/rc, /dev and the system's open().
Registry &registry();
// Replaces the process's registry, before any operation runs (tests).
void useRegistry(std::unique_ptr<Registry> registry);

} // namespace korvex_lirc

#endif // KORVEX_LIRC_REGISTRY_H
