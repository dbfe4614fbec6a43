// Finding LIRC devices in a sysfs tree, and the adapter list built on them:
// the LIRC devices by rc number, the virtual adapter last.
#include "check.h"
#include "enumerate.h"
#include "fakekernel.h"
#include "registry.h"
#include "tempdir.h"
#include "virtual_adapter.h"

#include <cerrno>
#include <fstream>

namespace {

using korvex_lirc::findDevices;
using korvex_lirc::Registry;

// rc0 has no LIRC child (a receiver whose LIRC interface is off); rc2 and
// rc10 sort by number, not by name; names that only look alike are skipped.
void makeTree(const TempDir &dir)
{
    dir.folder("sys/rc0/input5");
    dir.folder("sys/rc10/lirc3");
    dir.folder("sys/rc2/lirc1");
    dir.folder("sys/rc1/lirc0");
    dir.folder("sys/rc1/lircx");
    dir.folder("sys/rcx/lirc7");
    dir.folder("sys/rc/lirc8");
    dir.folder("sys/cec0/lirc9");
    std::ofstream(dir.path("sys/rc3")) << "a file, not a device";
}

void devicesInRcOrder()
{
    TempDir dir;
    makeTree(dir);
    const auto dev = dir.path("dev");
    const std::vector<std::string> expected = {dev + "/lirc0", dev + "/lirc1", dev + "/lirc3"};
    CHECK(findDevices(dir.path("sys"), dev) == expected);
}

void noTreeNoDevices()
{
    TempDir dir;
    CHECK(findDevices(dir.path("absent"), dir.path("dev")).empty());
    dir.folder("sys/rc0/input0");
    CHECK(findDevices(dir.path("sys"), dir.path("dev")).empty());
}

korvex_lirc::Opener refuse(int error)
{
    return [error](const std::string &, int &out) -> std::unique_ptr<korvex_lirc::Io> {
        out = error;
        return nullptr;
    };
}

void virtualAdapterLast()
{
    TempDir dir;
    makeTree(dir);
    Registry registry(dir.path("sys"), dir.path("dev"), refuse(EACCES));
    CHECK_EQ(registry.scan(), 4);
    CHECK(registry.at(3) == korvex_virtual::device());
    CHECK(registry.at(4) == nullptr);
    CHECK(registry.at(-1) == nullptr);
    const auto first = std::dynamic_pointer_cast<korvex_lirc::LircDevice>(registry.at(0));
    CHECK(first != nullptr);
    CHECK_EQ(first->path(), dir.path("dev") + "/lirc0");
}

void withoutDevicesTheVirtualAdapterIsFirst()
{
    TempDir dir;
    Registry registry(dir.path("sys"), dir.path("dev"), refuse(EACCES));
    // Asking before a scan scans.
    CHECK(registry.at(0) == korvex_virtual::device());
    CHECK_EQ(registry.scan(), 1);
}

void rescanKeepsDevicesAndFollowsChanges()
{
    TempDir dir;
    dir.folder("sys/rc1/lirc1");
    Registry registry(dir.path("sys"), dir.path("dev"), refuse(EACCES));
    CHECK_EQ(registry.scan(), 2);
    const auto lirc1 = registry.at(0);
    // A device plugged in at a lower rc number comes first.
    dir.folder("sys/rc0/lirc0");
    CHECK_EQ(registry.scan(), 3);
    CHECK(registry.at(1) == lirc1);
    CHECK(registry.at(2) == korvex_virtual::device());
    // Unplugged: gone from the list.
    std::filesystem::remove_all(dir.path("sys/rc1"));
    CHECK_EQ(registry.scan(), 2);
    CHECK(registry.at(0) != lirc1);
}

void openFailsWithoutPermission()
{
    TempDir dir;
    dir.folder("sys/rc0/lirc0");
    Registry registry(dir.path("sys"), dir.path("dev"), refuse(EACCES));
    registry.scan();
    CHECK(!registry.at(0)->open());
    CHECK(!registry.at(0)->isOpen());
}

void openNeedsALircDevice()
{
    // A device that answers no LIRC_GET_FEATURES is not opened.
    struct NotLirc : korvex_lirc::Io
    {
        using Io::Io;
        int get(unsigned long, uint32_t &) override
        {
            errno = ENOTTY;
            return -1;
        }
    };
    korvex_lirc::LircDevice device("/dev/lirc0", [](const std::string &, int &error) {
        error = 0;
        return std::unique_ptr<korvex_lirc::Io>(new NotLirc(-1));
    });
    CHECK(!device.open());
}

} // namespace

int main()
{
    const check::Test tests[] = {
        {"devicesInRcOrder", devicesInRcOrder},
        {"noTreeNoDevices", noTreeNoDevices},
        {"virtualAdapterLast", virtualAdapterLast},
        {"withoutDevicesTheVirtualAdapterIsFirst", withoutDevicesTheVirtualAdapterIsFirst},
        {"rescanKeepsDevicesAndFollowsChanges", rescanKeepsDevicesAndFollowsChanges},
        {"openFailsWithoutPermission", openFailsWithoutPermission},
        {"openNeedsALircDevice", openNeedsALircDevice},
    };
    return check::runAll(tests, sizeof tests / sizeof tests[0], nullptr);
}
