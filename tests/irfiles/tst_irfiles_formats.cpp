// Each format's reader and writer on its own: published examples, the forms
// other programs write (LIRC's rules among them), the .ir protocol field
// mapping, the received-frame conventions, formats told by content; bad
// input (malformed, truncated, binary, huge), which must give an error
// naming the file and line and no frames at all; records that cannot be
// represented, which are left out and listed while the rest loads; and the
// limits, which every writer keeps as every reader does, so that whatever is
// written reads back.
#include "convert.h"
#include "decodelist.h"
#include "formats.h"
#include "irparsed.h"
#include "prontoformat.h"
#include "samples.h"
#include "tableformat.h"

#include <QtTest>

#include <fstream>
#include <numeric>
#include <sstream>

using irfiles::Format;
using irfiles::Loaded;
using irfiles::Signal;

Q_DECLARE_METATYPE(irfiles::Format)
using Changes = std::vector<std::pair<std::string, std::string>>;
Q_DECLARE_METATYPE(Changes)

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
    void extendedRc5();
    void parsedRefusals_data();
    void parsedRefusals();
    void irSignalFile();
    void irDatabaseSamples_data();
    void irDatabaseSamples();
    void irMalformedSamples();
    void prontoPublishedExample();
    void pulseSpaceForms();
    void lircRemotes();
    void lircRules_data();
    void lircRules();
    void lircRemotesLeftOut();
    void tableText();
    void badInput_data();
    void badInput();
    void limits();
    void writersRefuseWhatReadersRefuse_data();
    void writersRefuseWhatReadersRefuse();
    void everythingWrittenReadsBack();
    void formatsByContent_data();
    void formatsByContent();
    void receivedConventions();
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
    irfiles::ParsedProblem problem;
    const auto parsed = irfiles::fromParsed({protocol.toStdString(), address, command}, problem);
    QVERIFY2(parsed, problem.reason.c_str());
    // Sent, the frame decodes to the catalogue's value...
    const auto frame = ircodec::decode(parsed->durations);
    const ircodec::Report report = ircodec::report(frame);
    QCOMPARE(report.decodeType, decodeType);
    QCOMPARE(report.value, value);
    QCOMPARE(report.address, reportedAddress);
    QCOMPARE(report.bits, bits);
    // ...and the decoded frame maps back onto the same record.
    const auto back = irfiles::parsedForm(frame, parsed->durations);
    QVERIFY(back);
    QCOMPARE(QString::fromStdString(back->protocol), protocol);
    QCOMPARE(back->address, address);
    QCOMPARE(back->command, command);
}

void Formats::extendedRc5()
{
    // RC5X commands 64 to 127 are RC5's extended form: the same frame as RC5
    // command - 64 but for the second start bit, which is 0. RC5's frame
    // begins with a mark of one half bit and a space of one (start bits 1,
    // 1), the extended one with a mark of two (start bits 1, 0), the rest
    // being the same bits.
    irfiles::ParsedProblem problem;
    for (uint32_t command = 0x40; command <= 0x7F; command += 0x15) {
        const auto extended = irfiles::fromParsed({"RC5X", 0x05, command}, problem);
        const auto plain = irfiles::fromParsed({"RC5", 0x05, command - 0x40}, problem);
        QVERIFY(extended && plain);
        QCOMPARE(extended->carrierHz, plain->carrierHz);
        QCOMPARE(plain->durations.front(), 889);
        QCOMPARE(plain->durations[1], 889);
        QCOMPARE(extended->durations.front(), 1778);
        QCOMPARE(std::accumulate(extended->durations.begin(), extended->durations.end(), 0),
            std::accumulate(plain->durations.begin(), plain->durations.end(), 0));
        // Our codec reads only RC5 proper; the .ir writer knows the other.
        QVERIFY(!ircodec::decode(extended->durations));
        const auto form = irfiles::parsedForm(std::nullopt, extended->durations);
        QVERIFY(form);
        QCOMPARE(*form, (irfiles::ParsedCode{"RC5X", 0x05, command}));
        // An RC5 record with such a command can only mean the extended form.
        const auto asRc5 = irfiles::fromParsed({"RC5", 0x05, command}, problem);
        QVERIFY(asRc5);
        QCOMPARE(asRc5->durations, extended->durations);
    }
    // Below 64 RC5X is RC5, and written as RC5.
    const auto low = irfiles::fromParsed({"RC5X", 0x05, 0x35}, problem);
    QVERIFY(low);
    QCOMPARE(*irfiles::parsedForm(ircodec::decode(low->durations), low->durations),
        (irfiles::ParsedCode{"RC5", 0x05, 0x35}));

    // NEC42 is Sanyo's LC7461 encoder: our codec sends and decodes Aiwa's
    // address 6E, the reading layer every other; both come back as NEC42.
    for (uint32_t address : {0x6Eu, 0x12u, 0x1FFFu}) {
        const auto nec42 = irfiles::fromParsed({"NEC42", address, 0xA5}, problem);
        QVERIFY2(nec42, problem.reason.c_str());
        QCOMPARE(int(nec42->durations.size()), 2 + 2 * 42 + 1);
        const auto decoded = ircodec::decode(nec42->durations);
        QCOMPARE(decoded.has_value(), address == 0x6E);
        QCOMPARE(*irfiles::parsedForm(decoded, nec42->durations),
            (irfiles::ParsedCode{"NEC42", address, 0xA5}));
    }
}

void Formats::parsedRefusals_data()
{
    using F = irfiles::ParsedProblem::Field;
    QTest::addColumn<QString>("protocol");
    QTest::addColumn<uint32_t>("address");
    QTest::addColumn<uint32_t>("command");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("reason");
    QTest::newRow("unknown") << "Foo" << 0u << 0u << int(F::Protocol)
                             << "is not one our codec knows";
    QTest::newRow("NEC42 address too wide")
        << "NEC42" << 0x2000u << 1u << int(F::Address) << "is wider than NEC42's 13 bits";
    QTest::newRow("address too wide")
        << "NEC" << 0x100u << 1u << int(F::Address) << "is wider than NEC's 8 bits";
    QTest::newRow("command too wide")
        << "SIRC" << 1u << 0x80u << int(F::Command) << "is wider than SIRC's 7 bits";
    QTest::newRow("RC5X command too wide")
        << "RC5X" << 1u << 0x80u << int(F::Command) << "is wider than RC5X's 7 bits";
}

void Formats::parsedRefusals()
{
    QFETCH(QString, protocol);
    QFETCH(uint32_t, address);
    QFETCH(uint32_t, command);
    QFETCH(int, field);
    QFETCH(QString, reason);
    irfiles::ParsedProblem problem;
    QVERIFY(!irfiles::fromParsed({protocol.toStdString(), address, command}, problem));
    QCOMPARE(int(problem.field), field);
    QVERIFY2(QString::fromStdString(problem.reason).contains(reason), problem.reason.c_str());
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
                             "protocol: Pioneer\naddress: 01 00 00 00\ncommand: 02 00 00 00\n#\n"
                             "name: Teletext\ntype: parsed\nprotocol: RC5X\naddress: 05 00 00 00\n"
                             "command: 4A 00 00 00\n";
    const Loaded loaded = load(Format::Ir, text);
    QVERIFY2(loaded.ok(), qPrintable(errorOf(loaded)));
    QCOMPARE(loaded.list.size(), size_t(5));
    QVERIFY(loaded.skipped.empty());
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
    QCOMPARE(loaded.list[4].carrierHz, 36000);

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
    // the format's protocols, RC5's extended form included; read back, the
    // pair is one frame.
    const std::string written = irfiles::write(Format::Ir, loaded.list).data;
    QCOMPARE(QString::fromStdString(written).count("type: raw"), 5);
    QVERIFY2(written.find("type: parsed\nprotocol: NEC\naddress: 04 00 00 00\ncommand: 08 00 00 00")
            != std::string::npos,
        qPrintable(samples::preview(written)));
    QVERIFY2(written.find("name: Teletext\ntype: parsed\nprotocol: RC5X\naddress: 05 00 00 00\n"
                          "command: 4A 00 00 00")
            != std::string::npos,
        qPrintable(QString::fromStdString(written).right(400)));
    QVERIFY(written.find("name: Aiwa\ntype: parsed\nprotocol: NEC42\naddress: 6E 00 00 00\n"
                         "command: 15 00 00 00")
        != std::string::npos);
    // NEC, NEC42, Pioneer's, RC5X
    QCOMPARE(QString::fromStdString(written).count("type: parsed"), 4);
    const Loaded again = load(Format::Ir, written);
    QVERIFY2(again.ok(), qPrintable(errorOf(again)));
    QCOMPARE(again.list.size(), size_t(5));
    QCOMPARE(again.list[0].durations, loaded.list[0].durations);
    QCOMPARE(again.list[3].carrierHz, 40000);
    QCOMPARE(again.list[4].durations, loaded.list[4].durations);
    // A parsed record after a raw one of the same name is the raw frame's
    // second form only when it is that frame's parsed form.
    const std::string other = "Filetype: IR signals file\nVersion: 1\n#\nname: A\ntype: raw\n"
                              "frequency: 38000\ndata: 500 500 500\n#\nname: A\ntype: parsed\n"
                              "protocol: RC5X\naddress: 01 00 00 00\ncommand: 41 00 00 00\n";
    QCOMPARE(load(Format::Ir, other).list.size(), size_t(2));
}

void Formats::irDatabaseSamples_data()
{
    QTest::addColumn<int>("index");
    const auto all = samples::irDatabaseSamples();
    for (size_t i = 0; i < all.size(); ++i)
        QTest::newRow(all[i].what) << int(i);
}

void Formats::irDatabaseSamples()
{
    // One odd record no longer sinks the file: RC5X loads, a record that
    // cannot be represented is left out, named with its line and the field
    // as the file writes it, and the records around it load.
    QFETCH(int, index);
    const samples::IrSample sample = samples::irDatabaseSamples()[size_t(index)];
    const Loaded loaded = load(Format::Ir, sample.text);
    QVERIFY2(loaded.ok(), qPrintable(errorOf(loaded)));
    QCOMPARE(loaded.list.size(), sample.frames);
    QCOMPARE(loaded.list.front().name, std::string("Power"));
    QCOMPARE(loaded.list.back().name, std::string("Mute"));
    QCOMPARE(loaded.skipped.size(), sample.leftOut.size());
    for (size_t i = 0; i < sample.leftOut.size(); ++i) {
        const irfiles::Error &e = loaded.skipped[i];
        QCOMPARE(e.file, std::string("in.txt"));
        QCOMPARE(e.line, sample.leftOut[i].first);
        QVERIFY2(e.message.find(sample.leftOut[i].second) != std::string::npos, e.message.c_str());
    }
}

void Formats::irMalformedSamples()
{
    // A malformed or truncated file is still refused whole.
    for (const samples::IrBadSample &sample : samples::irMalformedSamples()) {
        const Loaded loaded = load(Format::Ir, sample.text);
        QVERIFY2(!loaded.ok(), sample.what);
        QVERIFY(loaded.list.empty());
        QCOMPARE(loaded.error->line, sample.line);
        QVERIFY2(loaded.error->message.find(sample.error) != std::string::npos,
            qPrintable(QString(sample.what) + ": " + errorOf(loaded)));
    }
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
    // Codes that are Pronto codes but that we cannot send are left out with
    // their line: the short form of RC5, a carrier over the limit.
    const Loaded some = load(Format::Pronto,
        "Menu: 5000 0073 0000 0001 0005 0035\n" + code + "\nFast: 0000 0001 0001 0000 0010 0010\n");
    QVERIFY2(some.ok(), qPrintable(errorOf(some)));
    QCOMPARE(some.list.size(), size_t(1));
    QCOMPARE(some.skipped.size(), size_t(2));
    QCOMPARE(QString::fromStdString(some.skipped[0].text()),
        QString("in.txt:1: code \"Menu\": Pronto type 5000 is not supported: only learned codes "
                "(0000, 0100)"));
    QCOMPARE(QString::fromStdString(some.skipped[1].text()),
        QString("in.txt:3: code \"Fast\": frequency word 0001 gives a carrier of 4145146 Hz "
                "(from 0, unknown, to 1000000 Hz)"));
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

namespace {

// The NEC remote of lircRules in LIRC's usual notation, with what a row
// replaces in it.
std::string necRemote(const std::vector<std::pair<std::string, std::string>> &changes)
{
    std::string text = "begin remote\n  name nec\n  bits 16\n  flags SPACE_ENC|CONST_LENGTH\n"
                       "  header 9000 4500\n  one 563 1687\n  zero 563 562\n  ptrail 563\n"
                       "  pre_data_bits 16\n  pre_data 0x20DF\n  gap 108000\n"
                       "  begin codes\n    KEY_POWER 0x10EF\n  end codes\nend remote\n";
    for (const auto &[from, to] : changes) {
        const size_t at = text.find(from);
        if (at != std::string::npos)
            text.replace(at, from.size(), to);
    }
    return text;
}

} // namespace

void Formats::lircRules_data()
{
    QTest::addColumn<Changes>("changes");
    // What lircd reads as the same remote.
    QTest::newRow("no encoding flag: SPACE_ENC")
        << Changes{{"  flags SPACE_ENC|CONST_LENGTH\n", ""}};
    QTest::newRow("flags in lower case")
        << Changes{{"SPACE_ENC|CONST_LENGTH", "space_enc|Const_Length"}};
    QTest::newRow("CONST_LENGTH alone") << Changes{{"SPACE_ENC|CONST_LENGTH", "CONST_LENGTH"}};
    QTest::newRow("REVERSE alone, the bits least significant first") << Changes{
        {"SPACE_ENC|CONST_LENGTH", "REVERSE"}, {"0x20DF", "0xFB04"}, {"0x10EF", "0xF708"}};
    QTest::newRow("flags on two lines, with blanks")
        << Changes{{"flags SPACE_ENC|CONST_LENGTH", "flags SPACE_ENC |\n  flags CONST_LENGTH"}};
    QTest::newRow("gap with two values") << Changes{{"gap 108000", "gap 108000 120000"}};
    QTest::newRow("a parameter twice: the last value")
        << Changes{{"ptrail 563", "ptrail 100\n  ptrail 563"}, {"bits 16", "bits 8\n  bits 16"}};
    QTest::newRow("keywords in capitals") << Changes{{"begin remote", "BEGIN Remote"},
        {"name nec", "NAME nec"}, {"header", "Header"}, {"begin codes", "Begin CODES"},
        {"end codes", "END codes"}, {"end remote", "End REMOTE"}};
    QTest::newRow("numbers in C's notation")
        << Changes{{"header 9000", "header 0x2328"}, {"bits 16", "bits 020"}, {"0x10EF", "4335"}};
    QTest::newRow("a code wider than its bits, cut to them") << Changes{{"0x10EF", "0xF10EF"}};
}

void Formats::lircRules()
{
    QFETCH(Changes, changes);
    const Loaded usual = load(Format::Lirc, necRemote({}));
    const Loaded changed = load(Format::Lirc, necRemote(changes));
    QVERIFY2(changed.ok(), qPrintable(errorOf(changed)));
    QVERIFY(changed.skipped.empty());
    QCOMPARE(changed.list.size(), size_t(1));
    QCOMPARE(changed.list[0].durations, usual.list[0].durations);
    QCOMPARE(changed.list[0].decoded.value, kNec0408);
}

void Formats::lircRemotesLeftOut()
{
    // Remotes that cannot be rendered are left out, each with its own
    // reason and how many buttons it had; the others load. So is a button
    // whose frame is beyond the limits.
    const std::string text
        = "begin remote\n name devinput\n bits 16\n eps 30\n aeps 100\n one 0 0\n zero 0 0\n"
          " pre_data_bits 16\n pre_data 0x8001\n gap 132799\n begin codes\n  KEY_1 0x0002\n"
          "  KEY_2 0x0003\n end codes\nend remote\n"
          "begin remote\n name mm\n bits 24\n flags RCMM\n one 166 277\n zero 166 111\n"
          " begin codes\n  X 0x1\n end codes\nend remote\n"
          "begin remote\n name odd\n bits 8\n flags SPACE_ENC|WAVY\n one 1 1\n zero 1 1\n"
          " begin codes\n  X 0x1\n end codes\nend remote\n"
          "begin remote\n name empty\n flags RAW_CODES\n begin raw_codes\n end raw_codes\n"
          "end remote\n"
          "begin remote\n name six\n bits 8\n flags RC6\n one 444 444\n zero 444 444\n"
          " begin codes\n  X 0x1\n end codes\nend remote\n"
          "begin remote\n name raw\n flags RAW_CODES\n begin raw_codes\n  name A\n 500 0 500\n"
          "  name B\n 900 450 900\n end raw_codes\nend remote\n";
    const Loaded loaded = load(Format::Lirc, text);
    QVERIFY2(loaded.ok(), qPrintable(errorOf(loaded)));
    QCOMPARE(loaded.list.size(), size_t(1));
    QCOMPARE(loaded.list[0].name, std::string("B"));
    QStringList skipped;
    for (const irfiles::Error &e : loaded.skipped)
        skipped << QString::fromStdString(e.text());
    QCOMPARE(skipped,
        (QStringList{"in.txt:1: remote \"devinput\" has no timings: it is meant for a receiver "
                     "that decodes by itself (2 buttons)",
            "in.txt:16: remote \"mm\" uses the RCMM encoding, which this program cannot render "
            "(only SPACE_ENC, RC5, SHIFT_ENC and RC6) (1 button)",
            "in.txt:26: remote \"odd\" has an unknown flag WAVY (1 button)",
            "in.txt:36: remote \"empty\" has no buttons",
            "in.txt:42: remote \"six\" is RC6 without rc6_mask or toggle_bit: its double-width "
            "bit is unknown (1 button)",
            "in.txt:56: button \"A\" of remote \"raw\": a duration of 0 us (every mark and "
            "space lasts at least 1 us)"}));
}

void Formats::tableText()
{
    Signal nec;
    nec.durations = {9000, 2250, 560};
    nec.decoded = irfiles::decodeDurations(nec.durations);
    Signal sharp;
    sharp.durations = {320, 1680, 320};
    sharp.decoded = {14, 0x1F, 0x11, 15};
    // The frame table's cells, copied with row numbers, a header line and
    // the program's reading of each frame.
    const std::string copied = irfiles::copyFramesText({nec, sharp}, {4, 9});
    QCOMPARE(QString::fromStdString(copied),
        QString("row\ttype\tvalue\taddress\tbits\treading\tdurations (us)\n"
                "4\tNEC\tREPEAT\t\t0\tNEC FFFFFFFF (repeat)\t9000\t2250\t560\n"
                "9\tSHARP\t00000011\t001F\t15\tUNKNOWN\t320\t1680\t320\n"));
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
    // A reading with commas is quoted in a .csv file and read past whole.
    Signal full;
    full.durations = (*ircodec::encode(ircodec::necFrame(0x04, 0x08, true)))[0].durations;
    full.decoded = irfiles::decodeDurations(full.durations);
    const std::string csv = irfiles::write(Format::Csv, {full, nec}).data;
    QVERIFY2(csv.find(",\"NEC 20DF10EF (address 0x04, command 0x08, check ok)\",9000,4500,")
            != std::string::npos,
        csv.c_str());
    const Loaded quoted = load(Format::Csv, csv);
    QVERIFY2(quoted.ok(), qPrintable(errorOf(quoted)));
    QCOMPARE(quoted.list.size(), size_t(2));
    QCOMPARE(quoted.list[0].durations, full.durations);
    QCOMPARE(quoted.list[1].durations, nec.durations);
    // Tables saved without the reading column still open, with or without
    // their header; spreadsheets pad rows with empty cells and may quote them.
    for (const std::string &old :
        {std::string("row,type,value,address,bits,durations (us)\n1,NEC,00FF00FF,,32,9000,4500,"
                     "560,,,\n"),
            std::string("1,\"NEC\",00FF00FF,,32,9000,4500,560,,,\n")}) {
        const Loaded padded = load(Format::Csv, old);
        QVERIFY2(padded.ok(), qPrintable(errorOf(padded)));
        QCOMPARE(padded.list[0].decoded.value, 0x00FF00FFu);
        QCOMPARE(padded.list[0].durations, (ircodec::Durations{9000, 4500, 560}));
    }
    // Without a header, a row says by its sixth cell whether it has a reading.
    const Loaded mixed = load(Format::Csv,
        "1,NEC,REPEAT,,0,\"NEC, maybe\",9000,2250,560\n"
        "2,NEC,REPEAT,,0,9000,2250,560\n");
    QVERIFY2(mixed.ok(), qPrintable(errorOf(mixed)));
    QCOMPARE(mixed.list.size(), size_t(2));
    QCOMPARE(mixed.list[0].durations, mixed.list[1].durations);
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
    QTest::newRow("lirc: not a number")
        << Format::Lirc
        << QByteArray("begin remote\n name r\n bits 8x\n one 1 1\n zero 1 1\n begin codes\n"
                      " A 0x1\n end codes\nend remote\n")
        << "in.txt:3: bits \"8x\" is not a number";
    QTest::newRow("lirc: code not a number")
        << Format::Lirc
        << QByteArray("begin remote\n name r\n bits 8\n one 1 1\n zero 1 1\n begin codes\n"
                      " A 0xG1\n end codes\nend remote\n")
        << "in.txt:7: \"0xG1\" is not a code";
    QTest::newRow("pronto: truncated")
        << Format::Pronto << QByteArray("0000 006D 0002 0000 0156 00AB 0015\n")
        << "in.txt:1: the code announces 2 + 0 burst pairs (8 words) but has 7 words";
    QTest::newRow("pronto: not a word")
        << Format::Pronto
        << QByteArray("0000 006D 0001 0000 0156 00AB\n0000 006D 0001 0000 156 00AB\n")
        << "in.txt:2: \"156\" is not a 4-digit hex word";
    QTest::newRow("mode2: scancode")
        << Format::PulseSpace << QByteArray("pulse 100\nscancode nec:0x1\n")
        << "in.txt:2: scancode lines are not supported";
    QTest::newRow("mode2: garbage") << Format::PulseSpace << QByteArray("pulse 100\nspace x\n")
                                    << "in.txt:2: \"x\" is not a whole number";
    QTest::newRow("csv: not a value")
        << Format::Csv << QByteArray("row,type\n1,NEC,0,,32,100\n2,NEC,0x-1,,1,100\n")
        << "in.txt:3: value \"0x-1\" is not 8 hex digits";
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
    const std::string huge(static_cast<size_t>(irlimits::kMaxFileBytes) + 1, '1');
    QCOMPARE(errorOf(load(Format::PulseSpace, huge)),
        QString("in.txt: larger than 50 MB, not an IR file"));
    QTemporaryDir dir;
    const QString path = samples::inDir(dir, "huge.mode2");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(irlimits::kMaxFileBytes + 1));
    }
    const Loaded fromDisk = irfiles::readFile(path.toStdString());
    QCOMPARE(errorOf(fromDisk), path + ": larger than 50 MB, not an IR file");
    // Over 100,000 frames: the line of the first frame too many.
    const std::string row = "1,UNKNOWN,00000000,,0,100\n";
    std::string many;
    for (int64_t i = 0; i <= irlimits::kMaxFileFrames; ++i)
        many += row;
    const Loaded tooMany = load(Format::Csv, many);
    QCOMPARE(errorOf(tooMany), QString("in.txt:100001: more than 100000 frames"));
    QVERIFY(tooMany.list.empty());
    // Exactly the limit still loads.
    many.resize(many.size() - row.size());
    QCOMPARE(load(Format::Csv, many).list.size(), size_t(irlimits::kMaxFileFrames));
    // A frame of more durations than the frame table keeps is left out;
    // one of exactly that many loads, and enters the table whole.
    std::string longest = "1,UNKNOWN,00000000,,0";
    for (int i = 0; i < irlimits::kMaxFileFrameDurations; ++i)
        longest += ",100";
    const Loaded both = load(Format::Csv, longest + "\n" + longest + ",100,100\n");
    QVERIFY2(both.ok(), qPrintable(errorOf(both)));
    QCOMPARE(both.list.size(), size_t(1));
    QCOMPARE(both.list[0].durations.size(), size_t(irlimits::kMaxFileFrameDurations));
    QCOMPARE(irfiles::toRawTicks(both.list[0]).size(), size_t(irlimits::kMaxKeptRawValues));
    QCOMPARE(both.skipped.size(), size_t(1));
    QCOMPARE(QString::fromStdString(both.skipped[0].text()),
        QString("in.txt:2: row 1: a frame of 16385 durations, more than the 16383 a frame may "
                "have"));
}

void Formats::writersRefuseWhatReadersRefuse_data()
{
    QTest::addColumn<Format>("format");
    for (const auto &f : irfiles::formats())
        QTest::newRow(f.name) << f.format;
}

void Formats::writersRefuseWhatReadersRefuse()
{
    // Every writer refuses, naming the frame and the limit, what every
    // reader would leave out; the frame at the limits is written.
    QFETCH(Format, format);
    Signal good = samples::longFrame("Power", 16, 38000);
    struct Case
    {
        const char *what;
        Signal signal;
        QString message;
    };
    std::vector<Case> cases;
    Signal zero = good;
    zero.durations[3] = 0;
    cases.push_back({"zero", zero, "frame 2 (\"Power\"): a duration of 0 us"});
    Signal negative = good;
    negative.durations[3] = -5;
    cases.push_back({"negative", negative, "frame 2 (\"Power\"): a duration of -5 us"});
    Signal fast = good;
    fast.carrierHz = 2000000;
    cases.push_back({"carrier", fast, "frame 2 (\"Power\"): a carrier of 2000000 Hz (from 0"});
    const Signal longest
        = samples::longFrame("AC", (irlimits::kMaxFileFrameDurations - 3) / 2, 38000);
    QCOMPARE(longest.durations.size(), size_t(irlimits::kMaxFileFrameDurations));
    Signal tooLong = longest;
    tooLong.durations.insert(tooLong.durations.end(), {560, 560});
    cases.push_back({"too long", tooLong,
        "frame 2 (\"AC\"): a frame of 16385 durations, more than the 16383 a frame may have"});
    Signal spaceLast = good;
    spaceLast.durations.push_back(560);
    cases.push_back({"ends with a space", spaceLast,
        "frame 2 (\"Power\"): a frame that ends with a space instead of a mark"});
    for (const Case &c : cases) {
        const irfiles::Written written = irfiles::write(format, {good, c.signal});
        QVERIFY2(QString::fromStdString(written.error).startsWith(c.message),
            qPrintable(QString(c.what) + ": " + QString::fromStdString(written.error)));
        QVERIFY(written.data.empty());
    }
    // The frame at the limits is written and reads back whole.
    const irfiles::Written written = irfiles::write(format, {good, longest});
    QVERIFY2(written.ok(), written.error.c_str());
    const Loaded back = load(format, written.data);
    QVERIFY2(back.ok(), qPrintable(errorOf(back)));
    QCOMPARE(back.list.size(), size_t(2));
    QCOMPARE(back.list[1].durations.size(), longest.durations.size());
    // No file of more frames than a reader takes.
    const std::vector<Signal> many(
        size_t(irlimits::kMaxFileFrames) + 1, samples::longFrame("", 0, 0));
    QCOMPARE(QString::fromStdString(irfiles::write(format, many).error),
        QString("frame 100001: more than 100000 frames in one file"));
}

void Formats::everythingWrittenReadsBack()
{
    // The cases that wrote what we then refused.
    // "data: 0 0 0" is no frame: left out when read, so never written.
    const Loaded zeros = load(Format::Ir,
        "Filetype: IR signals file\nVersion: 1\n#\nname: Z\ntype: raw\nfrequency: 38000\n"
        "data: 0 0 0\n#\nname: A\ntype: raw\nfrequency: 38000\ndata: 500 500 500\n");
    QVERIFY2(zeros.ok(), qPrintable(errorOf(zeros)));
    QCOMPARE(zeros.list.size(), size_t(1));
    QCOMPARE(
        load(Format::PulseSpace, irfiles::write(Format::PulseSpace, zeros.list).data).list.size(),
        size_t(1));
    // Carriers at the extremes come back within the limits from Pronto,
    // whose frequency word cannot say every carrier.
    for (int32_t hz : {1, 60, 455000, int32_t(irlimits::kMaxCarrierHz)}) {
        Signal s = samples::longFrame("Edge", 8, hz);
        const Loaded back = load(Format::Pronto, irfiles::write(Format::Pronto, {s}).data);
        QVERIFY2(back.ok() && back.skipped.empty(), qPrintable(errorOf(back)));
        QVERIFY(back.list[0].carrierHz > 0 && back.list[0].carrierHz <= irlimits::kMaxCarrierHz);
    }
    // A burst longer than Pronto's 0xFFFF periods is refused, not cut.
    Signal slow = samples::longFrame("Slow", 8, 38000);
    slow.durations[1] = 2000000;
    QVERIFY(QString::fromStdString(irfiles::write(Format::Pronto, {slow}).error)
                .contains("longer than the 65535 carrier periods of a Pronto burst"));
    // 100,000 NEC frames: a pulse/space file over 50 MB is refused, the
    // other formats hold them.
    const Signal nec = samples::everyProtocol().front();
    const std::vector<Signal> many(size_t(irlimits::kMaxFileFrames), nec);
    const irfiles::Written mode2 = irfiles::write(Format::PulseSpace, many);
    QVERIFY2(QString::fromStdString(mode2.error).startsWith("frame ")
            && QString::fromStdString(mode2.error)
                   .contains("the file would be larger than 50 MB, more than a file may hold"),
        mode2.error.c_str());
    const irfiles::Written ir = irfiles::write(Format::Ir, many);
    QVERIFY2(ir.ok(), ir.error.c_str());
    QCOMPARE(load(Format::Ir, ir.data).list.size(), many.size());
    // Received frames of 12,000 and 16,384 values (the silence before and
    // the durations), kept whole by the table, are saved whole in every
    // format and read back whole.
    for (int values : {12000, irlimits::kMaxKeptRawValues}) {
        std::vector<int32_t> raw(size_t(values), 11);
        raw[0] = 2000;
        const Signal received = irfiles::fromReceived({}, raw.data(), values, 38000);
        for (const auto &f : irfiles::formats()) {
            const irfiles::Written written = irfiles::write(f.format, {received});
            QVERIFY2(written.ok(),
                qPrintable(QString(f.name) + ": " + QString::fromStdString(written.error)));
            const Loaded back = load(f.format, written.data);
            QVERIFY2(back.ok(), qPrintable(errorOf(back)));
            QCOMPARE(back.list[0].durations.size(), size_t(values - 1));
        }
    }
}

void Formats::formatsByContent_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<int>("format"); // -1: none
    // What every writer writes is known by its first lines.
    const std::vector<Signal> list = samples::everyProtocol();
    for (const auto &f : irfiles::formats())
        QTest::newRow(qPrintable(QString("ours: ") + f.name))
            << QByteArray::fromStdString(irfiles::write(f.format, list).data) << int(f.format);
    // And what other programs write.
    QTest::newRow("lircd.conf with a long comment")
        << QByteArray("#\n# this config file was automatically generated\n#\n\nbegin remote\n")
        << int(Format::Lirc);
    QTest::newRow("lircd.conf in capitals")
        << QByteArray("\xEF\xBB\xBF  BEGIN REMOTE\n") << int(Format::Lirc);
    QTest::newRow("mode2") << QByteArray("space 16777215\npulse 9000\n") << int(Format::PulseSpace);
    QTest::newRow("ir-ctl") << QByteArray("+9000 -4500 +560\n") << int(Format::PulseSpace);
    QTest::newRow("bare numbers") << QByteArray("9000\t4500\t560\t560\t560\t1690\n")
                                  << int(Format::PulseSpace);
    QTest::newRow("pronto without a name")
        << QByteArray("0000 006D 0001 0000 0156 00AB\n") << int(Format::Pronto);
    QTest::newRow("copied frames")
        << QByteArray("4\tNEC\tREPEAT\t\t0\t9000\t2250\t560\n") << int(Format::Csv);
    QTest::newRow("IR library file")
        << QByteArray("Filetype: IR library file\nVersion: 1\n") << int(Format::Ir);
    QTest::newRow("prose") << QByteArray("Remote codes for the living room\n") << -1;
    QTest::newRow("empty") << QByteArray("\n\n") << -1;
    QTest::newRow("binary") << QByteArray("\x7F"
                                          "ELF\x02\x01",
        6) << -1;
}

void Formats::formatsByContent()
{
    QFETCH(QByteArray, head);
    QFETCH(int, format);
    const auto found
        = irfiles::detectFormat(std::string_view(head.constData(), size_t(head.size())));
    QCOMPARE(found ? int(*found) : -1, format);
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
