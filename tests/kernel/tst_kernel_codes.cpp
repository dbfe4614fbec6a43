// Our catalogue frames against the kernel's scancodes, pinned by the
// published examples (the kernel's scancode layouts, the catalogue's worked
// examples). The VM run checks the same tables against the real kernel.
#include "ircodec.h"
#include "kernelcodes.h"

#include <QtTest>
#include <linux/lirc.h>

using ircodec::Protocol;
using kernelcodes::KernelCode;
using kernelcodes::OurFrame;
using kernelcodes::ourFrame;

Q_DECLARE_METATYPE(KernelCode)
Q_DECLARE_METATYPE(OurFrame)

class TestKernelCodes : public QObject
{
    Q_OBJECT

private slots:
    void examples_data();
    void examples();
    void necFlagZeroIsTheKernelsNec32();
    void boundaryCodesFitTheirFields();
};

void TestKernelCodes::examples_data()
{
    QTest::addColumn<KernelCode>("code");
    QTest::addColumn<bool>("known");
    QTest::addColumn<OurFrame>("frame");
    auto row = [](const char *name, KernelCode code, std::optional<OurFrame> frame) {
        QTest::newRow(name) << code << frame.has_value() << frame.value_or(OurFrame{});
    };
    row("NEC address 4 command 8", {RC_PROTO_NEC, 0x0408}, ourFrame(Protocol::Nec, 0x20DF10EF, 32));
    row("JVC address 0x59 command 0x35", {RC_PROTO_JVC, 0x5935},
        ourFrame(Protocol::Jvc, 0x9AAC, 16));
    row("SONY12 device 1 function 0x15", {RC_PROTO_SONY12, 0x010015},
        ourFrame(Protocol::Sony, 0xA90, 12));
    row("RC5 address 5 command 0x35", {RC_PROTO_RC5, 0x0535}, ourFrame(Protocol::Rc5, 0x175, 12));
    row("RC5 toggled", {RC_PROTO_RC5, 0x0535, true}, ourFrame(Protocol::Rc5, 0x975, 12));
    row("RC6-0 address 4 command 0x0C", {RC_PROTO_RC6_0, 0x040C},
        ourFrame(Protocol::Rc6, 0x0040C, 20));
    row("RC6-6A-20", {RC_PROTO_RC6_6A_20, 0x12345}, ourFrame(Protocol::Rc6, 0xC12345, 24));
    row("RC6 MCE toggled", {RC_PROTO_RC6_MCE, 0x800F0410, true},
        ourFrame(Protocol::Rc6, 0x800F8410, 36));
    row("SHARP address 3 command 0x11", {RC_PROTO_SHARP, 0x0311},
        ourFrame(Protocol::Sharp, 0x11, 15, 3));
    row("sanyo address 0x6E is AIWA_RC_T501", {RC_PROTO_SANYO, 0x6E11},
        ourFrame(Protocol::AiwaRcT501, 0x11, 42));
    row("sanyo, another address, is none of ours", {RC_PROTO_SANYO, 0x123411}, std::nullopt);
}

void TestKernelCodes::examples()
{
    QFETCH(KernelCode, code);
    QFETCH(bool, known);
    QFETCH(OurFrame, frame);
    const kernelcodes::Family *family = kernelcodes::familyOf(code.proto);
    QVERIFY(family);
    const auto got = family->ours(code);
    QCOMPARE(got.has_value(), known);
    if (known) {
        QCOMPARE(got->type, frame.type);
        QCOMPARE(got->value, frame.value);
        QCOMPARE(got->address, frame.address);
        QCOMPARE(got->bits, frame.bits);
    }
}

void TestKernelCodes::necFlagZeroIsTheKernelsNec32()
{
    // The quick-send's flag 0 repeats address and command where the
    // complements would be; the kernel calls that frame nec32, its scancode
    // the second, first, fourth and third byte on the air.
    const uint8_t address = 0x12, command = 0x34;
    const KernelCode code{RC_PROTO_NEC32, 0x12123434};
    const auto frame = kernelcodes::familyOf(RC_PROTO_NEC32)->ours(code);
    QVERIFY(frame);
    QCOMPARE(frame->value, ircodec::necFrame(address, command, false).value);
    QCOMPARE(kernelcodes::familyOf(RC_PROTO_NEC)->ours({RC_PROTO_NEC, 0x1234})->value,
        ircodec::necFrame(address, command, true).value);
}

void TestKernelCodes::boundaryCodesFitTheirFields()
{
    for (const kernelcodes::Family &family : kernelcodes::families()) {
        const auto codes = kernelcodes::boundaryCodes(family);
        QVERIFY2(codes.size() >= 5, family.name);
        uint64_t fieldMask = 0;
        for (const kernelcodes::Field &f : family.fields)
            fieldMask |= ((uint64_t{1} << f.width) - 1) << f.shift;
        QCOMPARE(family.fixed & fieldMask, uint64_t{0});
        for (size_t i = 0; i < codes.size(); ++i) {
            QCOMPARE(codes[i].proto, family.proto);
            QCOMPARE(codes[i].scancode & ~fieldMask, family.fixed);
            for (size_t j = 0; j < i; ++j)
                QVERIFY2(
                    codes[i].scancode != codes[j].scancode || codes[i].toggle != codes[j].toggle,
                    family.name);
        }
    }
}

QTEST_APPLESS_MAIN(TestKernelCodes)
#include "tst_kernel_codes.moc"
