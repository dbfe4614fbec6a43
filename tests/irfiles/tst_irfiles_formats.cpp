// Each format's reader and writer on its own: published examples, the forms
// other programs write, the .ir protocol field mapping, the received-frame
// conventions, and bad input (malformed, truncated, binary, huge), which must
// give an error naming the file and line and no frames at all.
#include "convert.h"
#include "decodelist.h"
#include "formats.h"
#include "irparsed.h"
#include "prontoformat.h"
#include "samples.h"
#include "tableformat.h"

#include <QtTest>

#include <fstream>
#include <sstream>

using irfiles::Format;
using irfiles::Loaded;
using irfiles::Signal;

Q_DECLARE_METATYPE(irfiles::Format)

namespace {

constexpr uint32_t kNec0408 = 0x20DF10EF; // NEC address 0x04, command 0x08

Loaded load(Format format, const std::string &text)
{
    return irfiles::read(format, text, "in.txt");
}

QString errorOf(const Loaded &loaded)
{
    return loaded.error ? QString::fromStdString(loaded.error->text()) : QString("no error");
}

} // namespace

class Formats : public QObject
{
    Q_OBJECT

private slots:
    void parsedMapping_data();
    void parsedMapping();
    void parsedRefusals_data();
    void parsedRefusals();
    void irSignalFile();
    void prontoPublishedExample();
    void pulseSpaceForms();
    void lircRemotes();
    void tableText();
    void badInput_data();
    void badInput();
    void limits();
    void receivedConventions();
    void convertArguments();
    void decodeLines();
};

void Formats::parsedMapping_data()
{
    QTest::addColumn<QString>("protocol");
    QTest::addColumn<uint32_t>("address");
    QTest::addColumn<uint32_t>("command");
    QTest::addColumn<int>("decodeType");
    QTest::addColumn<uint32_t>("value");
    QTest::addColumn<uint32_t>("reportedAddress");
    QTest::addColumn<int>("bits");
    // Values published in the catalogue conventions (first bit on the air is
    // the most significant bit of value).
    QTest::newRow("NEC") << "NEC" << 0x04u << 0x08u << 3 << kNec0408 << 0u << 32;
    QTest::newRow("NECext") << "NECext" << 0x87EEu << 0xFA05u << 3 << 0x77E1A05Fu << 0u << 32;
    QTest::newRow("Samsung32") << "Samsung32" << 0x07u << 0x02u << 7 << 0xE0E040BFu << 0u << 32;
    QTest::newRow("RC5") << "RC5" << 5u << 0x35u << 1 << 0x175u << 0u << 12;
    QTest::newRow("RC6") << "RC6" << 0x04u << 0x0Cu << 2 << 0x0040Cu << 0u << 20;
    QTest::newRow("SIRC") << "SIRC" << 1u << 0x15u << 4 << 0xA90u << 0u << 12;
    QTest::newRow("SIRC15") << "SIRC15" << 0x5Au << 0x15u << 4 << 0x545Au << 0u << 15;
    QTest::newRow("SIRC20") << "SIRC20" << 0x1ABCu << 0x15u << 4 << 0xA87ABu << 0u << 20;
    QTest::newRow("Kaseikyo") << "Kaseikyo" << 0x00200280u << 0x3D0u << 5 << 0x0100BCBDu << 0x4004u
                              << 48;
}

void Formats::parsedMapping()
{
    QFETCH(QString, protocol);
    QFETCH(uint32_t, address);
    QFETCH(uint32_t, command);
    QFETCH(int, decodeType);
    QFETCH(uint32_t, value);
    QFETCH(uint32_t, reportedAddress);
    QFETCH(int, bits);
    std::string error;
    const auto parsed = irfiles::fromParsed({protocol.toStdString(), address, command}, error);
    QVERIFY2(parsed, error.c_str());
    // Encoded with our codec, the frame decodes to the catalogue's value...
    const auto bursts = ircodec::encode(parsed->frame);
    QVERIFY(bursts);
    const ircodec::Report report = irfiles::decodeDurations(bursts->front().durations);
    QCOMPARE(report.decodeType, decodeType);
    QCOMPARE(report.value, value);
    QCOMPARE(report.address, reportedAddress);
    QCOMPARE(report.bits, bits);
    // ...and the decoded frame maps back onto the same record.
    const auto back = irfiles::toParsed(*ircodec::decode(bursts->front().durations));
    QVERIFY(back);
    QCOMPARE(QString::fromStdString(back->protocol), protocol);
    QCOMPARE(back->address, address);
    QCOMPARE(back->command, command);
}

void Formats::parsedRefusals_data()
{
    QTest::addColumn<QString>("protocol");
    QTest::addColumn<uint32_t>("address");
    QTest::addColumn<uint32_t>("command");
    QTest::addColumn<QString>("reason");
    QTest::newRow("unknown") << "Foo" << 0u << 0u << "unknown protocol 'Foo'";
    QTest::newRow("NEC42 other address") << "NEC42" << 0x12u << 1u << "Aiwa's address";
    QTest::newRow("RC5X with S2 0") << "RC5X" << 1u << 0x45u << "second start bit";
    QTest::newRow("address too wide") << "NEC" << 0x100u << 1u << "wider than NEC's 8 bits";
    QTest::newRow("command too wide") << "RC5" << 1u << 0x40u << "wider than RC5's 6 bits";
}

void Formats::parsedRefusals()
{
    QFETCH(QString, protocol);
    QFETCH(uint32_t, address);
    QFETCH(uint32_t, command);
    QFETCH(QString, reason);
    std::string error;
    QVERIFY(!irfiles::fromParsed({protocol.toStdString(), address, command}, error));
    QVERIFY2(QString::fromStdString(error).contains(reason), error.c_str());
}

void Formats::irSignalFile()
{
    // Records as other programs write them: parsed and raw, "# " lines with
    // comments, several data lines, the format's other protocols.
    const std::string text = "Filetype: IR signals file\nVersion: 1\n# Made by hand\n#\n"
                             "name: Power\ntype: parsed\nprotocol: NEC\naddress: 04 00 00 00\n"
                             "command: 08 00 00 00\n#\nname: Mute\ntype: raw\nfrequency: 36000\n"
                             "duty_cycle: 0.25\ndata: 889 889 1778\ndata: 889\n# \n"
                             "name: Aiwa\ntype: parsed\nprotocol: NEC42\naddress: 6E 00 00 00\n"
                             "command: 15 00 00 00\n#\nname: Tuner\ntype: parsed\n"
                             "protocol: Pioneer\naddress: 01 00 00 00\ncommand: 02 00 00 00\n";
    const Loaded loaded = load(Format::Ir, text);
    QVERIFY2(loaded.ok(), qPrintable(errorOf(loaded)));
    QCOMPARE(loaded.list.size(), size_t(4));
    QCOMPARE(loaded.list[0].name, std::string("Power"));
    QCOMPARE(loaded.list[0].carrierHz, 38000);
    QCOMPARE(loaded.list[0].decoded.value, kNec0408);
    QCOMPARE(loaded.list[1].carrierHz, 36000);
    QCOMPARE(loaded.list[1].dutyCycle, 0.25);
    QCOMPARE(loaded.list[1].durations, (ircodec::Durations{889, 889, 1778}));
    QCOMPARE(loaded.list[2].decoded.decodeType, 9); // AIWA_RC_T501
    QCOMPARE(loaded.list[2].decoded.value, 0x15u);
    QCOMPARE(loaded.list[3].carrierHz, 40000);
    QCOMPARE(loaded.list[3].decoded.decodeType, 3);

    // A raw record of a frame and its repeats: the row shows the first
    // frame's result, as reception reports it.
    const auto first = ircodec::encode(ircodec::necFrame(0x04, 0x08, true));
    const auto ditto = ircodec::encode(ircodec::necRepeatFrame());
    std::string data = "data:";
    for (const auto &burst : {(*first)[0], (*ditto)[0], (*ditto)[0]}) {
        for (int32_t d : burst.durations)
            data += ' ' + std::to_string(d);
        data += ' ' + std::to_string(burst.gap);
    }
    data.erase(data.rfind(' '));
    const Loaded held = load(Format::Ir,
        "Filetype: IR signals file\nVersion: 1\nname: Held\ntype: raw\nfrequency: 38000\n"
        "duty_cycle: 0.33\n"
            + data + "\n");
    QVERIFY2(held.ok(), qPrintable(errorOf(held)));
    QCOMPARE(held.list[0].decoded.decodeType, 3);
    QCOMPARE(held.list[0].decoded.value, kNec0408);

    // Written: a raw record always, a parsed one where the frame is one of
    // the format's protocols; read back, the pair is one frame.
    const std::string written = irfiles::write(Format::Ir, loaded.list).data;
    QCOMPARE(QString::fromStdString(written).count("type: raw"), 4);
    QVERIFY2(written.find("type: parsed\nprotocol: NEC\naddress: 04 00 00 00\ncommand: 08 00 00 00")
            != std::string::npos,
        qPrintable(samples::preview(written)));
    QCOMPARE(QString::fromStdString(written).count("type: parsed"), 2); // NEC and Pioneer's NEC
    const Loaded again = load(Format::Ir, written);
    QVERIFY2(again.ok(), qPrintable(errorOf(again)));
    QCOMPARE(again.list.size(), size_t(4));
    QCOMPARE(again.list[0].durations, loaded.list[0].durations);
    QCOMPARE(again.list[3].carrierHz, 40000);
}

void Formats::prontoPublishedExample()
{
    // The NEC example of the protocol notes (address 0x04, command 0x08).
    const std::string code
        = "0000 006D 0022 0002 0156 00AB 0015 0015 0015 0015 0015 0040 0015 0015 0015 0015 0015 "
          "0015 0015 0015 0015 0015 0015 0040 0015 0040 0015 0015 0015 0040 0015 0040 0015 0040 "
          "0015 0040 0015 0040 0015 0015 0015 0015 0015 0015 0015 0040 0015 0015 0015 0015 0015 "
          "0015 0015 0015 0015 0040 0015 0040 0015 0040 0015 0015 0015 0040 0015 0040 0015 0040 "
          "0015 0040 0015 05EF 0156 0056 0015 0E4A";
    const Loaded loaded = load(Format::Pronto, "TV power: " + code + "\n\n# comment\n" + code);
    QVERIFY2(loaded.ok(), qPrintable(errorOf(loaded)));
    QCOMPARE(loaded.list.size(), size_t(2));
    const Signal &s = loaded.list[0];
    QCOMPARE(s.name, std::string("TV power"));
    QCOMPARE(s.carrierHz, 38029);
    QCOMPARE(s.durations.size(), size_t(67)); // the once part without its lead-out
    QCOMPARE(s.durations[0], 8993);
    QCOMPARE(s.durations[1], 4497);
    QCOMPARE(s.durations[2], 552);
    QCOMPARE(s.decoded.value, kNec0408);
    QCOMPARE(loaded.list[1].name, std::string());
    // Written back: the same frame, lead-out and no repeat part.
    const std::string written = irfiles::prontoCode(s);
    QVERIFY2(written.rfind("0000 006D 0022 0000 0156 00AB 0015 0015", 0) == 0, written.c_str());
    // Unmodulated learned codes carry no carrier.
    const Loaded flashes = load(Format::Pronto, "0100 0073 0001 0000 0001 0010");
    QVERIFY2(flashes.ok(), qPrintable(errorOf(flashes)));
    QCOMPARE(flashes.list[0].carrierHz, 0);
}

void Formats::pulseSpaceForms()
{
    // ir-ctl's "+N -N" form, bare alternating numbers, and mode2 lines with
    // its leading and timeout spaces give the same frames.
    const std::vector<std::string> forms = {
        "+9000 -4500 +560 -40000\n+9000 -2250 +560\n",
        "9000 4500 560 40000 9000\n2250 560\n",
        "space 16777215\npulse 9000\nspace 4500\npulse 300\npulse 260\ntimeout 40000\n"
        "carrier 38000\npulse 9000\nspace 2250\npulse 560\nspace 125000\n",
    };
    for (const std::string &form : forms) {
        const Loaded loaded = load(Format::PulseSpace, form);
        QVERIFY2(loaded.ok(), qPrintable(errorOf(loaded)));
        QCOMPARE(loaded.list.size(), size_t(2));
        QCOMPARE(loaded.list[0].durations, (ircodec::Durations{9000, 4500, 560}));
        QCOMPARE(loaded.list[1].durations, (ircodec::Durations{9000, 2250, 560}));
        QCOMPARE(loaded.list[1].silenceBeforeUs, int64_t(40000));
        QCOMPARE(loaded.list[1].decoded.value, ircodec::kRepeatValue);
    }
    QCOMPARE(load(Format::PulseSpace, forms[2]).list[0].carrierHz, 38000);
    // Named frames keep long spaces inside them (a two-part air-conditioner
    // frame), and the space before a name is the silence before that frame.
    const Loaded named = load(Format::PulseSpace,
        "# name: Cool\npulse 3000\nspace 30000\npulse 500\nspace 50000\n# name: Off\npulse 800\n");
    QVERIFY2(named.ok(), qPrintable(errorOf(named)));
    QCOMPARE(named.list.size(), size_t(2));
    QCOMPARE(named.list[0].name, std::string("Cool"));
    QCOMPARE(named.list[0].durations, (ircodec::Durations{3000, 30000, 500}));
    QCOMPARE(named.list[1].silenceBeforeUs, int64_t(50000));
    // A silence between named frames longer than any duration stays a
    // silence; silences saturate at an hour.
    const Loaded longSilence = load(Format::PulseSpace,
        "# name: A\npulse 500\nspace 3000000000\nspace 3000000000\n# name: B\npulse 500\n");
    QVERIFY2(longSilence.ok(), qPrintable(errorOf(longSilence)));
    QCOMPARE(longSilence.list[1].silenceBeforeUs, int64_t(3600000000));
    QVERIFY(
        load(Format::PulseSpace, irfiles::write(Format::PulseSpace, longSilence.list).data).ok());
    // The written form: mode2 lines, the carrier once, no trailing space.
    Signal a = named.list[0], b = named.list[1];
    a.carrierHz = 36000;
    b.carrierHz = 38000;
    const std::string written = irfiles::write(Format::PulseSpace, {a, b}).data;
    QCOMPARE(QString::fromStdString(written),
        QString("# pulse/space timings in microseconds (ir-ctl --send, mode2)\ncarrier 36000\n"
                "# name: Cool\npulse 3000\nspace 30000\npulse 500\nspace 50000\n# name: Off\n"
                "pulse 800\n"));
}

void Formats::lircRemotes()
{
    // A raw remote and a coded pulse-distance remote (pre_data, REVERSE off,
    // CONST_LENGTH) in one file, comments included.
    const std::string text = "# two remotes\nbegin remote\n  name raw1\n  flags RAW_CODES\n"
                             "  frequency 36000\n  duty_cycle 33\n  begin raw_codes\n"
                             "    name A\n      889 889 1778\n      889 889\n    name B\n 500\n"
                             "  end raw_codes\nend remote\n"
                             "begin remote\n  name nec\n  bits 16\n  flags SPACE_ENC|CONST_LENGTH\n"
                             "  header 9000 4500\n  one 563 1687\n  zero 563 562\n  ptrail 563\n"
                             "  pre_data_bits 16\n  pre_data 0x20DF\n  gap 108000\n"
                             "  begin codes\n    KEY_POWER 0x10EF # the power key\n  end codes\n"
                             "end remote\n";
    const Loaded loaded = load(Format::Lirc, text);
    QVERIFY2(loaded.ok(), qPrintable(errorOf(loaded)));
    QCOMPARE(loaded.list.size(), size_t(3));
    QCOMPARE(loaded.list[0].durations, (ircodec::Durations{889, 889, 1778, 889, 889}));
    QCOMPARE(loaded.list[0].carrierHz, 36000);
    QCOMPARE(loaded.list[0].dutyCycle, 0.33);
    QCOMPARE(loaded.list[2].name, std::string("KEY_POWER"));
    QCOMPARE(loaded.list[2].carrierHz, 38000); // LIRC's default
    QCOMPARE(loaded.list[2].decoded.value, kNec0408);
    // Remotes we cannot render are refused with their name and why.
    const std::string rcmm = "begin remote\n name mm\n bits 24\n flags RCMM\n"
                             " begin codes\n  X 0x1\n end codes\nend remote\n";
    QCOMPARE(errorOf(load(Format::Lirc, rcmm)),
        QString("in.txt:1: remote \"mm\": flag RCMM is not supported (only plain pulse-distance "
                "SPACE_ENC and bi-phase RC5, SHIFT_ENC or RC6 remotes)"));
    const std::string rc6 = "begin remote\n name six\n bits 8\n flags RC6\n one 444 444\n"
                            " zero 444 444\n begin codes\n  X 0x1\n end codes\nend remote\n";
    QVERIFY(errorOf(load(Format::Lirc, rc6)).contains("remote \"six\": RC6 remote without"));
    QVERIFY(
        errorOf(load(Format::Lirc, "include \"other.conf\"\n")).startsWith("in.txt:1: include"));
    // Written: button names as LIRC takes them, once per remote, and a new
    // remote where the carrier changes.
    Signal s = loaded.list[0];
    s.name = "Vol up";
    Signal t = s;
    Signal u = s;
    u.carrierHz = 40000;
    const std::string written = irfiles::write(Format::Lirc, {s, t, u}).data;
    QVERIFY(written.find("name Vol_up\n") != std::string::npos);
    QVERIFY(written.find("name Vol_up_2\n") != std::string::npos);
    QVERIFY(written.find("name  tavrel_2\n") != std::string::npos);
    QCOMPARE(load(Format::Lirc, written).list.size(), size_t(3));
}

void Formats::tableText()
{
    Signal nec;
    nec.durations = {9000, 2250, 560};
    nec.decoded = irfiles::decodeDurations(nec.durations);
    Signal sharp;
    sharp.durations = {320, 1680, 320};
    sharp.decoded = {14, 0x1F, 0x11, 15};
    // The frame table's cells, copied with row numbers and a header line.
    const std::string copied = irfiles::copyFramesText({nec, sharp}, {4, 9});
    QCOMPARE(QString::fromStdString(copied),
        QString("row\ttype\tvalue\taddress\tbits\tdurations (us)\n"
                "4\tNEC\tREPEAT\t\t0\t9000\t2250\t560\n"
                "9\tSHARP\t00000011\t001F\t15\t320\t1680\t320\n"));
    // Both separators read back, the decoded columns kept as written.
    for (const std::string &text : {copied, irfiles::write(Format::Csv, {nec, sharp}).data}) {
        const Loaded loaded = load(Format::Csv, text);
        QVERIFY2(loaded.ok(), qPrintable(errorOf(loaded)));
        QCOMPARE(loaded.list.size(), size_t(2));
        QCOMPARE(loaded.list[0].decoded.value, ircodec::kRepeatValue);
        QCOMPARE(loaded.list[1].decoded.decodeType, 14);
        QCOMPARE(loaded.list[1].decoded.address, 0x1Fu);
        QCOMPARE(loaded.list[1].durations, sharp.durations);
    }
    // Spreadsheets pad rows with empty cells and may quote them.
    const Loaded padded = load(Format::Csv, "1,\"NEC\",00FF00FF,,32,9000,4500,560,,,\n");
    QVERIFY2(padded.ok(), qPrintable(errorOf(padded)));
    QCOMPARE(padded.list[0].decoded.value, 0x00FF00FFu);
}

void Formats::badInput_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("error");
    const QByteArray header = "Filetype: IR signals file\nVersion: 1\n";
    QTest::newRow("ir: not an ir file")
        << Format::Ir << QByteArray("hello: world\n") << "in.txt:1: not an .ir signal file";
    QTest::newRow("ir: version") << Format::Ir
                                 << QByteArray("Filetype: IR signals file\nVersion: 2\n")
                                 << "in.txt:2: version 2 is not supported";
    QTest::newRow("ir: unknown protocol") << Format::Ir
                                          << header
            + "#\nname: A\ntype: raw\nfrequency: 38000\ndata: 100 100 100\n#\nname: X\n"
              "type: parsed\nprotocol: Bogus\naddress: 00 00 00 00\ncommand: 00 00 00 00\n"
                                          << "in.txt:11: unknown protocol 'Bogus'";
    QTest::newRow("ir: truncated record")
        << Format::Ir << header + "#\nname: Power\ntype: raw\nfrequency: 38000\n"
        << "in.txt:4: record \"Power\" has no \"data:\" line";
    QTest::newRow("ir: bad duration") << Format::Ir
                                      << header
            + "#\nname: A\ntype: raw\nfrequency: 38000\n"
              "data: 100 -5 100\n"
                                      << "in.txt:7: \"-5\" is not a duration in us";
    QTest::newRow("ir: binary") << Format::Ir << header + QByteArray("name: \x00\x01", 8)
                                << "in.txt:3: binary data (byte 0x00)";
    QTest::newRow("lirc: unclosed remote")
        << Format::Lirc << QByteArray("begin remote\n name r\n begin raw_codes\n name A\n 100\n")
        << "in.txt:1: remote \"r\" has no \"end remote\"";
    QTest::newRow("lirc: no encoding")
        << Format::Lirc
        << QByteArray("begin remote\n name r\n bits 8\n one 1 1\n zero 1 1\n begin codes\n"
                      " A 0x1\n end codes\nend remote\n")
        << "in.txt:1: remote \"r\": no SPACE_ENC";
    QTest::newRow("pronto: truncated")
        << Format::Pronto << QByteArray("0000 006D 0002 0000 0156 00AB 0015\n")
        << "in.txt:1: the code announces 2 + 0 burst pairs (8 words) but has 7 words";
    QTest::newRow("pronto: short form")
        << Format::Pronto << QByteArray("5000 0073 0000 0001 0005 0035\n")
        << "in.txt:1: Pronto type 5000 is not supported";
    QTest::newRow("mode2: scancode")
        << Format::PulseSpace << QByteArray("pulse 100\nscancode nec:0x1\n")
        << "in.txt:2: scancode lines are not supported";
    QTest::newRow("mode2: garbage") << Format::PulseSpace << QByteArray("pulse 100\nspace x\n")
                                    << "in.txt:2: \"x\" is not a whole number";
    QTest::newRow("csv: unknown type")
        << Format::Csv << QByteArray("row,type\n1,NEC,0,,32,100\n2,FOO,0,,1,100\n")
        << "in.txt:3: unknown protocol \"FOO\"";
    QTest::newRow("empty") << Format::Csv << QByteArray("\n\n") << "in.txt: no IR frame found";
}

void Formats::badInput()
{
    QFETCH(Format, format);
    QFETCH(QByteArray, data);
    QFETCH(QString, error);
    const Loaded loaded
        = irfiles::read(format, std::string(data.constData(), data.size()), "in.txt");
    QVERIFY2(errorOf(loaded).startsWith(error), qPrintable(errorOf(loaded)));
    QVERIFY(loaded.list.empty()); // nothing half-loaded
}

void Formats::limits()
{
    // Over 50 MB: refused before anything is read.
    const std::string huge(static_cast<size_t>(irfiles::kMaxFileBytes) + 1, '1');
    QCOMPARE(errorOf(load(Format::PulseSpace, huge)),
        QString("in.txt: larger than 50 MB, not an IR file"));
    QTemporaryDir dir;
    const QString path = samples::inDir(dir, "huge.mode2");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(irfiles::kMaxFileBytes + 1));
    }
    const Loaded fromDisk = irfiles::readFile(Format::PulseSpace, path.toStdString());
    QCOMPARE(errorOf(fromDisk), path + ": larger than 50 MB, not an IR file");
    // Over 100,000 frames: the line of the first frame too many.
    std::string many;
    for (size_t i = 0; i <= irfiles::kMaxFileFrames; ++i)
        many += "1,UNKNOWN,00000000,,0,100\n";
    const Loaded tooMany = load(Format::Csv, many);
    QCOMPARE(errorOf(tooMany), QString("in.txt:100001: more than 100000 frames"));
    QVERIFY(tooMany.list.empty());
    // A frame of more durations than an IR frame can have.
    std::string longFrame = "1,UNKNOWN,00000000,,0";
    for (size_t i = 0; i <= size_t(irlimits::kMaxFileFrameDurations); ++i)
        longFrame += ",100";
    QVERIFY(errorOf(load(Format::Csv, longFrame)).startsWith("in.txt:1: a frame of more than"));
    // Exactly the limits still load.
    many.resize(many.size() - std::string("1,UNKNOWN,00000000,,0,100\n").size());
    QCOMPARE(load(Format::Csv, many).list.size(), irfiles::kMaxFileFrames);
}

void Formats::receivedConventions()
{
    // Received raw values: ticks of 50 us, the silence before first.
    const int32_t raw[] = {2000, 180, 90, 11};
    const Signal nec = irfiles::fromReceived({3, 0, 0x00FF00FF, 32}, raw, 4, 40000);
    QCOMPARE(nec.silenceBeforeUs, int64_t(100000));
    QCOMPARE(nec.durations, (ircodec::Durations{9000, 4500, 550}));
    QCOMPARE(nec.carrierHz, 38000); // NEC's own carrier, not the default
    QCOMPARE(nec.decoded.value, 0x00FF00FFu);
    const Signal unknown = irfiles::fromReceived({}, raw, 4, 40000);
    QCOMPARE(unknown.carrierHz, 40000); // the caller's default
    QCOMPARE(irfiles::toRawTicks(nec), (std::vector<int32_t>{2000, 180, 90, 11}));
    // Frames longer than a receive record stay whole both ways.
    const Signal ac = samples::longFrame("AC", 300, 38000);
    const std::vector<int32_t> ticks = irfiles::toRawTicks(ac);
    QCOMPARE(ticks.size(), ac.durations.size() + 1);
    const Signal back
        = irfiles::fromReceived(ac.decoded, ticks.data(), static_cast<int>(ticks.size()), 38000);
    QVERIFY(samples::durationsDiffer(ac.durations, back.durations, irfiles::kTickUs / 2).isEmpty());
    // A tick is at least one tick; the silence saturates like the counter.
    Signal tiny;
    tiny.durations = {10};
    tiny.silenceBeforeUs = 10000000;
    QCOMPARE(irfiles::toRawTicks(tiny), (std::vector<int32_t>{ircodec::kMaxSilenceTicks, 1}));
    // The nominal carriers: unmodulated ITT, RCA's 56 kHz.
    QCOMPARE(ircodec::nominalCarrierHz(ircodec::Protocol::Itt), 0);
    QCOMPARE(
        irfiles::carrierFor({}, ircodec::encode(*ircodec::rcaFrame(1, 2))->front().durations, 1),
        56000);
}

void Formats::convertArguments()
{
    QTemporaryDir dir;
    const std::string in = samples::inDir(dir, "in.pronto").toStdString();
    {
        std::ofstream file(in);
        file << "POWER: 0000 006D 0001 0000 0156 00AB\n";
    }
    const auto run = [](const std::vector<std::string> &args, std::string &err) {
        std::ostringstream out, errors;
        const int status = irfiles::convertMain(args, out, errors);
        err = errors.str();
        return status;
    };
    std::string err;
    QCOMPARE(run({"--convert", in}, err), irfiles::kConvertBadInput);
    QVERIFY2(err.find("usage: tavrel --convert IN OUT") != std::string::npos, err.c_str());
    QCOMPARE(run({"--convert", in, "x.txt"}, err), irfiles::kConvertBadInput);
    QVERIFY2(err.find("x.txt: unknown extension") != std::string::npos, err.c_str());
    QCOMPARE(run({"--convert", "x.txt", "y.ir"}, err), irfiles::kConvertBadInput);
    QVERIFY2(err.find("x.txt: unknown extension (use .ir, .conf, .pronto, .mode2 or .csv)")
            != std::string::npos,
        err.c_str());
    QCOMPARE(run({"--convert", in, "x.ir", "--to", "wav"}, err), irfiles::kConvertBadInput);
    QVERIFY2(err.find("unknown format wav") != std::string::npos, err.c_str());
    // --to wins over the output's extension.
    const std::string out = samples::inDir(dir, "out.txt").toStdString();
    QCOMPARE(run({"--convert", in, out, "--to=lirc"}, err), irfiles::kConvertOk);
    const Loaded converted = irfiles::readFile(Format::Lirc, out);
    QVERIFY2(converted.ok(), qPrintable(errorOf(converted)));
    QCOMPARE(converted.list[0].name, std::string("POWER"));
    QCOMPARE(
        run({"--convert", samples::inDir(dir, "missing.ir").toStdString(), out, "--to", "ir"}, err),
        irfiles::kConvertBadInput);
    QVERIFY2(err.find("missing.ir: cannot open the file") != std::string::npos, err.c_str());
}

// `tavrel --decode`: a line per frame; a record of a frame and its repeats
// reads as one reading, its repeats pointing back to it; generic and
// unread frames say what they are; a bad file names its line.
void Formats::decodeLines()
{
    const auto first = ircodec::encode(ircodec::necFrame(0x04, 0x08, true));
    const auto ditto = ircodec::encode(ircodec::necRepeatFrame());
    Signal held;
    for (const auto &burst : {(*first)[0], (*ditto)[0], (*ditto)[0]}) {
        held.durations.insert(held.durations.end(), burst.durations.begin(), burst.durations.end());
        held.durations.push_back(burst.gap);
    }
    held.durations.pop_back();
    Signal generic;
    generic.durations = {3000, 1500, 400, 400, 400, 1200, 400, 400, 400, 1200, 400, 1200, 400, 400,
        400, 400, 400, 1200, 400, 1200, 400};
    Signal noise;
    noise.durations = {100, 5000, 2000};
    const QStringList lines
        = QString::fromStdString(irfiles::decodeLines("f.ir", {held, generic, noise}))
              .trimmed()
              .split('\n');
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines[0],
        QString(
            "f.ir\t0\t0\tNEC\t32\t20DF10EF\taddress 0x04, command 0x08, check ok, then 2 repeats"));
    QCOMPARE(lines[1], QString("f.ir\t0\t1\tNEC\t0\tFFFFFFFF\trepeat of frame 0"));
    QCOMPARE(lines[2], QString("f.ir\t0\t2\tNEC\t0\tFFFFFFFF\trepeat of frame 0"));
    QVERIFY2(lines[3].startsWith("f.ir\t1\t0\tPULSE_DISTANCE\t9\t0B3\theader 3000/1500 us"),
        qPrintable(lines[3]));
    QCOMPARE(lines[4], QString("f.ir\t2\t0\tUNKNOWN\t0\t\t3 durations"));

    QTemporaryDir dir;
    const std::string bad = samples::inDir(dir, "bad.pronto").toStdString();
    std::ofstream(bad) << "0000 006D 0001\n";
    std::ostringstream out, err;
    QCOMPARE(irfiles::decodeFiles({bad}, out, err), irfiles::kConvertBadInput);
    QVERIFY2(err.str().find("bad.pronto:1:") != std::string::npos, err.str().c_str());
}

QTEST_APPLESS_MAIN(Formats)
#include "tst_irfiles_formats.moc"
