// Finding LIRC devices in a sysfs tree, and the adapter list built on them:
// the LIRC devices by rc number, the virtual adapter last.
#include "enumerate.h"
#include "fakekernel.h"
#include "registry.h"
#include "tempdir.h"
#include "virtual_adapter.h"

#include <QtTest>

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

class LircEnumerate : public QObject
{
    Q_OBJECT

private slots:
    void devicesInRcOrder();
    void noTreeNoDevices();
    void virtualAdapterLast();
    void withoutDevicesTheVirtualAdapterIsFirst();
    void rescanKeepsDevicesAndFollowsChanges();
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

void LircEnumerate::virtualAdapterLast()
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

void LircEnumerate::rescanKeepsDevicesAndFollowsChanges()
{
    TempDir dir;
    dir.folder("sys/rc1/lirc1");
    Registry registry(dir.path("sys"), dir.path("dev"), refuse(EACCES));
    QCOMPARE(registry.scan(), 2);
    const auto lirc1 = registry.at(0);
    // A device plugged in at a lower rc number comes first.
    dir.folder("sys/rc0/lirc0");
    QCOMPARE(registry.scan(), 3);
    QVERIFY(registry.at(1) == lirc1);
    QVERIFY(registry.at(2) == korvex_virtual::device());
    // Unplugged: gone from the list.
    std::filesystem::remove_all(dir.path("sys/rc1"));
    QCOMPARE(registry.scan(), 2);
    QVERIFY(registry.at(0) != lirc1);
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
