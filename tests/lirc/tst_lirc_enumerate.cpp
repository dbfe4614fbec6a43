// Finding LIRC devices in a sysfs tree, and the adapter list built on them:
// the first scan lists the LIRC devices by rc number, then the virtual
// adapter; later scans append what is new, and an index names the same
// device for the life of the process.
#include "enumerate.h"
#include "fakekernel.h"
#include "registry.h"
#include "tempdir.h"
#include "virtual_adapter.h"

#include <QtTest>

#include <cerrno>
#include <fstream>
#include <linux/lirc.h>
#include <unistd.h>

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

class LircEnumerate : public QObject
{
    Q_OBJECT

private slots:
    void devicesInRcOrder();
    void noTreeNoDevices();
    void firstScanListsLircDevicesThenTheVirtualAdapter();
    void withoutDevicesTheVirtualAdapterIsFirst();
    void indicesKeepTheirDevicesAcrossRescans();
    void openFailsWithoutPermission();
    void openNeedsALircDevice();
};

void LircEnumerate::devicesInRcOrder()
{
    TempDir dir;
    makeTree(dir);
    const auto dev = dir.path("dev");
    const std::vector<std::string> expected = {dev + "/lirc0", dev + "/lirc1", dev + "/lirc3"};
    QVERIFY(findDevices(dir.path("sys"), dev) == expected);
}

void LircEnumerate::noTreeNoDevices()
{
    TempDir dir;
    QVERIFY(findDevices(dir.path("absent"), dir.path("dev")).empty());
    dir.folder("sys/rc0/input0");
    QVERIFY(findDevices(dir.path("sys"), dir.path("dev")).empty());
}

korvex_lirc::Opener refuse(int error)
{
    return [error](const std::string &, int &out) -> std::unique_ptr<korvex_lirc::Io> {
        out = error;
        return nullptr;
    };
}

void LircEnumerate::firstScanListsLircDevicesThenTheVirtualAdapter()
{
    TempDir dir;
    makeTree(dir);
    Registry registry(dir.path("sys"), dir.path("dev"), refuse(EACCES));
    QCOMPARE(registry.scan(), 4);
    QVERIFY(registry.at(3) == korvex_virtual::device());
    QVERIFY(registry.at(4) == nullptr);
    QVERIFY(registry.at(-1) == nullptr);
    const auto first = std::dynamic_pointer_cast<korvex_lirc::LircDevice>(registry.at(0));
    QVERIFY(first != nullptr);
    QCOMPARE(first->path(), dir.path("dev") + "/lirc0");
}

void LircEnumerate::withoutDevicesTheVirtualAdapterIsFirst()
{
    TempDir dir;
    Registry registry(dir.path("sys"), dir.path("dev"), refuse(EACCES));
    // Asking before a scan scans.
    QVERIFY(registry.at(0) == korvex_virtual::device());
    QCOMPARE(registry.scan(), 1);
}

int KORVEX_CALL ignore(int, int, IRResults *)
{
    return 0;
}

std::string pathOf(const std::shared_ptr<korvex::Device> &device)
{
    const auto lirc = std::dynamic_pointer_cast<korvex_lirc::LircDevice>(device);
    return lirc ? lirc->path() : std::string();
}

void LircEnumerate::indicesKeepTheirDevicesAcrossRescans()
{
    TempDir dir;
    dir.folder("sys/rc1/lirc1");
    std::vector<fake::Device> opened;
    Registry registry(dir.path("sys"), dir.path("dev"),
        fake::anyPathOpens({LIRC_CAN_SEND_PULSE | LIRC_CAN_REC_MODE2, nullptr, 0}, opened));
    const korvex::Transmission repeat{1, 38000, *ircodec::encode(ircodec::necRepeatFrame())};
    QCOMPARE(registry.scan(), 2);
    const auto lirc1 = registry.at(0);
    QCOMPARE(pathOf(lirc1), dir.path("dev") + "/lirc1");
    QVERIFY(registry.at(1) == korvex_virtual::device());
    QVERIFY(lirc1->open());
    // Plugged in, even at a lower rc number: added after the known devices.
    dir.folder("sys/rc0/lirc0");
    QCOMPARE(registry.scan(), 3);
    QVERIFY(registry.at(0) == lirc1);
    QVERIFY(registry.at(1) == korvex_virtual::device());
    QCOMPARE(pathOf(registry.at(2)), dir.path("dev") + "/lirc0");
    // Unplugged: its index stays, naming a device that fails every operation
    // and fails to open, while the others keep theirs.
    std::filesystem::remove_all(dir.path("sys/rc1"));
    QCOMPARE(registry.scan(), 3);
    QVERIFY(registry.at(0) == lirc1);
    QVERIFY(!lirc1->transmit(repeat));
    QVERIFY(!lirc1->startReceiving(0, 0, ignore));
    QVERIFY(!lirc1->open());
    QVERIFY(registry.at(1) == korvex_virtual::device());
    QCOMPARE(pathOf(registry.at(2)), dir.path("dev") + "/lirc0");
    // Plugged back in at the same place: the same index, and it works again.
    dir.folder("sys/rc1/lirc1");
    QCOMPARE(registry.scan(), 3);
    QVERIFY(registry.at(0) == lirc1);
    QVERIFY(lirc1->open());
    QVERIFY(lirc1->transmit(repeat));
    for (const fake::Device &device : opened)
        ::close(device.peer);
}

void LircEnumerate::openFailsWithoutPermission()
{
    TempDir dir;
    dir.folder("sys/rc0/lirc0");
    Registry registry(dir.path("sys"), dir.path("dev"), refuse(EACCES));
    registry.scan();
    QVERIFY(!registry.at(0)->open());
    QVERIFY(!registry.at(0)->isOpen());
}

void LircEnumerate::openNeedsALircDevice()
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
    QVERIFY(!device.open());
}

} // namespace

QTEST_APPLESS_MAIN(LircEnumerate)
#include "tst_lirc_enumerate.moc"
