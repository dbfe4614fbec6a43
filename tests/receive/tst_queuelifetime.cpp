// An adapter library whose stop does not wait for a callback already running
// on its thread: the callback it was given still delivers a frame after main
// has returned, while the program's static objects are being destroyed. The
// receive queue must still be there and take the frame.
#include "fakeadapter.h"
#include "mainwindow.h"
#include "receivequeue.h"

#include <QApplication>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {
IRReceiveCallback libraryCallback = nullptr;
int framesBeforeExit = -1;
constexpr uint32_t kLateValue = 0x1A7E;

void discard(QtMsgType, const QMessageLogContext &, const QString &) { }

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "FAIL: %s\n", what);
    std::_Exit(EXIT_FAILURE);
}

// The library's thread at exit. Constructed before the program's own static
// objects (this file is linked first), so it is destroyed after all of them.
struct LibraryThreadAtExit
{
    ~LibraryThreadAtExit()
    {
        if (!libraryCallback || framesBeforeExit < 0)
            fail("reception never started");
        std::thread library([] {
            std::vector<int> raw{2000, 180, 90, 11};
            IRResults late{};
            late.decode_type = 3;
            late.value = kLateValue;
            late.bits = 32;
            late.raw_data = raw.data();
            late.raw_count = static_cast<int32_t>(raw.size());
            libraryCallback(0, 0, &late);
        });
        library.join();
        IRResultsEntry entry;
        if (receiveQueue().size() != framesBeforeExit + 1
            || !receiveQueue().entryAt(framesBeforeExit, entry) || entry.value != kLateValue
            || entry.raw_count != 4)
            fail("the frame delivered after main returned was not kept");
        std::printf("1 passed, 0 failed\n");
    }
} libraryThreadAtExit;
} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(discard);
    {
        QApplication app(argc, argv);
        fake::Adapter::instance().reset();
        MainWindow window;
        window.findChild<QPushButton *>(QStringLiteral("pushButtonStartReceive"))->click();
        libraryCallback = fake::Adapter::instance().callback();
        if (!libraryCallback)
            fail("reception did not start");
        std::vector<int> raw{2000, 180};
        IRResults frame{};
        frame.raw_data = raw.data();
        frame.raw_count = static_cast<int32_t>(raw.size());
        libraryCallback(0, 0, &frame);
    } // the window stops reception as it goes; the library's thread goes on
    framesBeforeExit = receiveQueue().size();
    return framesBeforeExit > 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
