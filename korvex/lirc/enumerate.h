// Finding the kernel's LIRC devices.
#ifndef KORVEX_LIRC_ENUMERATE_H
#define KORVEX_LIRC_ENUMERATE_H

#include <string>
#include <vector>

namespace korvex_lirc {

constexpr const char *kSysfsRoot = "/sys/class/rc";
constexpr const char *kDevRoot = "/dev";

// The device paths of the LIRC children of the remote-control devices under
// `sysfsRoot` (rcN/lircM becomes devRoot/lircM), ordered by rc number, then
// by lirc number. Remote-control devices without a LIRC child are skipped;
// a missing root gives none.
std::vector<std::string> findDevices(
    const std::string &sysfsRoot = kSysfsRoot, const std::string &devRoot = kDevRoot);

} // namespace korvex_lirc

#endif // KORVEX_LIRC_ENUMERATE_H
