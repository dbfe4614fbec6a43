// Our files against independent tools and real recordings:
// - LIRC: irsimsend sends every frame from our lircd.conf, irsimreceive
//   (lircd's decoder) finds the button in it, and our decoders decode what
//   irsimsend sent; coded remotes that we read give the frames irsimsend
//   sends for them.
// - ir-ctl: its own parser accepts our pulse/space files without a warning
//   (it parses the file before it opens the device, so a non-LIRC device
//   tells parsing apart from sending).
// - .ir files rebuilt from real remote captures open and decode.
// - The real `tavrel --convert` binary runs without any display.
#include "formats.h"
#include "irparsed.h"
#include "irtest.h"
#include "samples.h"

#include <QtTest>

#include <map>

using irfiles::Format;
using irfiles::Loaded;
using irfiles::Signal;

namespace {

const QString kRemotes = "/usr/share/lirc/remotes/";
const QString kGeneric = kRemotes + "generic/";
const QString kCaptures = QStringLiteral(TAVREL_SOURCE_DIR "/../shared/captures/real-captures.tsv");
constexpr int kLeadingSpaceUs = 200000;
constexpr int kToolTimeoutMs = 60000;
// ir-ctl's exit status once the file is parsed and the device fails.
constexpr int kIrCtlDeviceFailed = 66;
// The kernel takes at most this many pulses and spaces per transmission.
constexpr size_t kIrCtlMaxEdges = 1024;
// lircd's decoder matches frames of up to 512 pulses and spaces (irsimsend
// sends longer ones whole); longer frames are checked by irsimsend alone.
constexpr size_t kLircdMaxMatched = 512;
// The adapter's receive record: 256 raw values, the first the
// silence before the frame. Captures longer than that must load whole.
constexpr size_t kRecordDurations = 255;

struct Run
{
    bool ended = false;    // within the time allowed
    bool finished = false; // ended, and by exiting
    int status = -1;
    QByteArray out, err;
};

Run run(const QString &program, const QStringList &args, const QString &dir,
    const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setWorkingDirectory(dir);
    p.setProcessEnvironment(env);
    p.start(program, args);
    Run r;
    r.ended = p.waitForFinished(kToolTimeoutMs);
    r.finished = r.ended && p.exitStatus() == QProcess::NormalExit;
    r.status = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

bool writeFile(const QString &path, const std::string &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly)
        && f.write(data.data(), static_cast<qint64>(data.size()))
        == static_cast<qint64>(data.size());
}

QString tool(const char *name)
{
    return QStandardPaths::findExecutable(name);
}

std::vector<Signal> testSignals()
{
    std::vector<Signal> list = samples::everyProtocol();
    list.push_back(samples::longFrame("AC_200", 200, 38000));
    list.push_back(samples::longFrame("AC_300", 300, 38000));
    return list;
}

// What irsimsend wrote: the one frame after the leading space, up to its
// gap, read as our pulse/space files are.
ircodec::Durations sentFrame(const QString &dir, bool &ok)
{
    QFile f(dir + "/simsend.out");
    ok = f.open(QIODevice::ReadOnly);
    const irfiles::Loaded sent
        = irfiles::read(Format::PulseSpace, f.readAll().toStdString(), "simsend.out");
    ok = ok && sent.ok() && sent.list.size() == 1;
    return ok ? sent.list[0].durations : ircodec::Durations();
}

} // namespace

class Tools : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void irsimsendSendsOurLircFile();
    void codedRemotesMatchIrsimsend_data();
    void codedRemotesMatchIrsimsend();
    void lircCorpusAsIrsimsendSendsIt();
    void irCtlAcceptsOurPulseSpaceFiles();
    void realCapturesOpenAndDecode();
    void convertBinaryWithoutDisplay();

private:
    QTemporaryDir dir_;
};

void Tools::initTestCase()
{
    QVERIFY(dir_.isValid());
}

void Tools::irsimsendSendsOurLircFile()
{
    // The lirc package is installed by the test command; without it this fails.
    QVERIFY2(!tool("irsimsend").isEmpty(), "irsimsend missing: install lirc");
    const std::vector<Signal> list = testSignals();
    // The whole list, one remote per carrier, for lircd's decoder; each frame
    // alone for irsimsend, which sends from a file's first remote only.
    const QString conf = samples::inDir(dir_, "ours.conf");
    QVERIFY(writeFile(conf, irfiles::write(Format::Lirc, list).data));
    const QString single = samples::inDir(dir_, "single.conf");
    QByteArray stream;
    QStringList expected;
    for (const Signal &s : list) {
        const QString name = QString::fromStdString(s.name);
        QVERIFY(writeFile(single, irfiles::write(Format::Lirc, {s}).data));
        const Run sent = run(tool("irsimsend"),
            {"-s", QString::number(kLeadingSpaceUs), "-k", name, single}, dir_.path());
        QVERIFY2(sent.finished && sent.status == 0, qPrintable(name + ": " + sent.err));
        bool ok = false;
        const ircodec::Durations frame = sentFrame(dir_.path(), ok);
        QVERIFY2(ok, qPrintable(name));
        QVERIFY2(samples::durationsDiffer(s.durations, frame).isEmpty(),
            qPrintable(name + ": " + samples::durationsDiffer(s.durations, frame)));
        const ircodec::Report decoded = irfiles::decodeDurations(frame);
        QCOMPARE(decoded.decodeType, s.decoded.decodeType);
        QCOMPARE(decoded.value, s.decoded.value);
        // What irsimsend sent, collected for lircd's decoder.
        if (s.durations.size() > kLircdMaxMatched)
            continue;
        QFile out(samples::inDir(dir_, "simsend.out"));
        QVERIFY(out.open(QIODevice::ReadOnly));
        stream += out.readAll();
        expected << name;
    }
    // lircd's own decoder finds every button of the whole file, in order.
    QVERIFY(writeFile(samples::inDir(dir_, "all.out"), stream.toStdString()));
    const Run received
        = run(tool("irsimreceive"), {conf, samples::inDir(dir_, "all.out")}, dir_.path());
    QVERIFY2(received.finished && received.status == 0, qPrintable(received.err));
    QStringList found;
    for (const QString &line : QString::fromUtf8(received.out).split('\n'))
        if (!line.isEmpty())
            found << line.section(' ', 2, 2);
    QCOMPARE(found, expected);
}

void Tools::codedRemotesMatchIrsimsend_data()
{
    QTest::addColumn<QString>("conf");
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("toggles");    // LIRC flips the toggle bit itself
    QTest::addColumn<QString>("removed"); // a parameter taken out of the file
    QTest::addColumn<QString>("parsed");  // the same frame as an .ir parsed record
    QTest::newRow("NEC") << "NEC.conf"
                         << "pre_data 0x20DF"
                         << "0x10EF" << false << QString() << QString();
    QTest::newRow("SONY12") << "SONY12.conf"
                            << "post_data 0x10"
                            << "0x54" << false << QString() << QString();
    QTest::newRow("SONY20") << "SONY20.conf"
                            << ""
                            << "0x123" << false << QString() << QString();
    QTest::newRow("RC-5") << "RC-5.conf"
                          << "pre_data 0x45"
                          << "0x35" << true << QString() << QString();
    QTest::newRow("RC-6") << "RC-6.conf"
                          << ""
                          << "0xF3" << true << QString() << QString();
    QTest::newRow("DENON") << "DENON.conf"
                           << ""
                           << "0x1234" << false << QString() << QString();
    // RC5's extended form (second start bit 0: command 0x45), without the
    // toggle bit, which irsimsend would flip.
    QTest::newRow("RC-5 extended") << "RC-5.conf"
                                   << "pre_data 0x05"
                                   << "0x05" << false << "toggle_bit"
                                   << "RC5X 5 69";
    QTest::newRow("SANYO") << "SANYO.conf"
                           << ""
                           << "0x12" << false << QString() << QString();
}

void Tools::codedRemotesMatchIrsimsend()
{
    QFETCH(QString, conf);
    QFETCH(QString, fields);
    QFETCH(QString, code);
    QFETCH(bool, toggles);
    QFETCH(QString, removed);
    QFETCH(QString, parsed);
    QFile f(kGeneric + conf);
    QVERIFY2(f.open(QIODevice::ReadOnly), "generic remotes missing: install lirc-compat-remotes");
    QString text = QString::fromUtf8(f.readAll());
    if (!fields.isEmpty())
        text.replace(
            QRegularExpression("\\n\\s*" + fields.section(' ', 0, 0) + "\\s+0x[0-9A-Fa-f]+"), "");
    if (!removed.isEmpty())
        text.replace(QRegularExpression("\\n\\s*" + removed + "\\s+\\w+"), "");
    text.replace("begin codes", "  " + fields + "\n      begin codes\n          KEY_TEST " + code);
    const QString path = samples::inDir(dir_, conf);
    QVERIFY(writeFile(path, text.toStdString()));
    const Loaded ours = irfiles::readFile(path.toStdString(), Format::Lirc);
    QVERIFY2(ours.ok(), ours.error ? ours.error->text().c_str() : "");
    QCOMPARE(ours.list.size(), size_t(1));
    const Run sent = run(tool("irsimsend"),
        {"-s", QString::number(kLeadingSpaceUs), "-k", "KEY_TEST", path}, dir_.path());
    QVERIFY2(sent.finished && sent.status == 0, qPrintable(sent.err));
    bool ok = false;
    const ircodec::Durations theirs = sentFrame(dir_.path(), ok);
    QVERIFY(ok);
    if (toggles) {
        // The same frame but for the toggle bit: same protocol and length.
        const auto a = ircodec::decode(ours.list[0].durations), b = ircodec::decode(theirs);
        QVERIFY2(a && b, qPrintable(irtest::describe(theirs)));
        QCOMPARE(a->protocol, b->protocol);
        QCOMPARE(a->bits, b->bits);
    } else {
        const QString differ = samples::durationsDiffer(theirs, ours.list[0].durations);
        QVERIFY2(differ.isEmpty(), qPrintable(differ + "\nirsimsend: " + irtest::describe(theirs)));
    }
    if (!parsed.isEmpty()) {
        // An .ir file's parsed record of that frame sends what lircd sends.
        const QStringList words = parsed.split(' ');
        irfiles::ParsedProblem problem;
        const auto frame = irfiles::fromParsed(
            {words[0].toStdString(), words[1].toUInt(), words[2].toUInt()}, problem);
        QVERIFY2(frame, problem.reason.c_str());
        QVERIFY(samples::durationsDiffer(theirs, frame->durations).isEmpty());
    }
}

namespace {

// Each remote of a lircd.conf file as a file of its own, for irsimsend,
// which sends the first remote of a file; the toggle bit left out (it would
// flip it from button to button) where it does not also mark RC6's
// double-width bit.
QStringList remotesOf(const QString &text)
{
    QStringList remotes;
    QStringList lines;
    bool inRemote = false;
    for (const QString &line : text.split('\n')) {
        const QString words = line.simplified().toLower();
        inRemote = inRemote || words == "begin remote";
        if (!inRemote)
            continue;
        lines << line;
        if (words == "end remote") {
            QString remote = lines.join('\n') + '\n';
            const bool rc6 = remote.contains(
                QRegularExpression("flags\\s+RC6", QRegularExpression::CaseInsensitiveOption));
            if (!rc6 || remote.contains("rc6_mask"))
                remote.remove(
                    QRegularExpression("\\n\\s*(toggle_bit|toggle_bit_mask|repeat_bit)\\s[^\\n]*"));
            remotes << remote;
            lines.clear();
            inRemote = false;
        }
    }
    return remotes;
}

// The frames of durations, cut at silences that end a frame.
std::vector<ircodec::Durations> framesOf(const ircodec::Durations &durations)
{
    std::vector<ircodec::Durations> frames;
    for (const ircodec::Capture &c : ircodec::segment(durations))
        frames.push_back(c.durations);
    return frames;
}

} // namespace

void Tools::lircCorpusAsIrsimsendSendsIt()
{
    // Debian's LIRC remotes (lirc-compat-remotes), each remote on its own
    // through irsimsend, LIRC's own sender: every button it sends timings
    // for loads, as the frames it sends; a remote it sends only codes for
    // (meant for receivers that decode by themselves) is left out with that
    // reason; and the whole file loads the same as its remotes one by one.
    QVERIFY2(QDir(kRemotes).exists(), "install lirc-compat-remotes");
    int files = 0, remotes = 0, buttons = 0, untimed = 0, untimedButtons = 0, halfBits = 0;
    QDirIterator it(kRemotes, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromLatin1(f.readAll());
        const QStringList each = remotesOf(text);
        if (each.isEmpty())
            continue; // lircrc and lircmd files, the README
        ++files;
        size_t loadedOneByOne = 0;
        for (const QString &remote : each) {
            ++remotes;
            const QString single = samples::inDir(dir_, "single.conf");
            QVERIFY(writeFile(single, remote.toStdString()));
            const Loaded ours = irfiles::readFile(single.toStdString(), Format::Lirc);
            const Run sent = run(
                tool("irsimsend"), {"-s", QString::number(kLeadingSpaceUs), single}, dir_.path());
            QVERIFY2(sent.ended, qPrintable(file + ": " + sent.err));
            QStringList names = QString::fromLatin1(sent.out).split('\n');
            names.removeAll(QString());
            QFile out(samples::inDir(dir_, "simsend.out"));
            QVERIFY(out.open(QIODevice::ReadOnly));
            const QByteArray stream = out.readAll();
            const QString where = file + ": " + remote.section('\n', 1, 1).simplified();
            // irsimsend sends "code N" for such a remote, and may then end
            // on a signal; otherwise it must succeed.
            const bool codesOnly = stream.contains("\ncode ");
            QVERIFY2(codesOnly || (sent.finished && sent.status == 0),
                qPrintable(file + ": " + sent.err));
            if (names.isEmpty() || codesOnly) {
                // No timings: ours leaves the remote out and says why.
                QVERIFY2(ours.list.empty(), qPrintable(where));
                QVERIFY2(!ours.skipped.empty(), qPrintable(where));
                if (!names.isEmpty()) {
                    QVERIFY2(
                        ours.skipped.front().message.find(
                            "has no timings: it is meant for a receiver that decodes by itself")
                            != std::string::npos,
                        qPrintable(
                            where + ": " + QString::fromStdString(ours.skipped.front().message)));
                    ++untimed;
                    untimedButtons += names.size();
                }
                continue;
            }
            QVERIFY2(ours.ok() && ours.skipped.empty(),
                qPrintable(where + ": "
                    + QString::fromStdString(ours.error ? ours.error->text()
                            : ours.skipped.empty()      ? std::string()
                                                        : ours.skipped.front().text())));
            QStringList ourNames;
            ircodec::Durations ourStream;
            for (const Signal &s : ours.list) {
                ourNames << QString::fromStdString(s.name);
                if (!ourStream.empty())
                    ourStream.push_back(kLeadingSpaceUs);
                ourStream.insert(ourStream.end(), s.durations.begin(), s.durations.end());
            }
            QVERIFY2(ourNames == names,
                qPrintable(where + ":\nours " + ourNames.join(' ') + "\nirsimsend "
                    + names.join(' ')
                    + (ours.skipped.empty()
                            ? QString()
                            : "\n" + QString::fromStdString(ours.skipped.front().text()))));
            const Loaded theirs
                = irfiles::read(Format::PulseSpace, stream.toStdString(), "simsend.out");
            ircodec::Durations theirStream;
            for (const Signal &s : theirs.list) {
                if (!theirStream.empty())
                    theirStream.push_back(kLeadingSpaceUs);
                theirStream.insert(theirStream.end(), s.durations.begin(), s.durations.end());
            }
            buttons += names.size();
            loadedOneByOne += ours.list.size();
            // Where a one or a zero lacks its pulse or its space, irsimsend
            // puts two pulses or two spaces in a row into its buffer and
            // then writes them as alternating ones: its output is not the
            // signal. Ours merges them, as they are on the air.
            if (remote.contains(
                    QRegularExpression("\\n\\s*(one|zero)\\s+(0+\\s+\\d+|\\d+\\s+0+)\\s*\\n",
                        QRegularExpression::CaseInsensitiveOption))) {
                ++halfBits;
                continue;
            }
            const auto ourFrames = framesOf(ourStream), theirFrames = framesOf(theirStream);
            QCOMPARE(ourFrames.size(), theirFrames.size());
            for (size_t i = 0; i < ourFrames.size(); ++i) {
                const QString differ = samples::durationsDiffer(theirFrames[i], ourFrames[i]);
                QVERIFY2(differ.isEmpty(),
                    qPrintable(where + ", frame " + QString::number(i) + ": " + differ));
            }
        }
        const Loaded whole = irfiles::readFile(file.toStdString(), Format::Lirc);
        QCOMPARE(whole.list.size(), loadedOneByOne);
    }
    qInfo("%d LIRC files, %d remotes: %d buttons load, as irsimsend sends them but for %d "
          "remotes with a one or zero of a pulse or a space only; %d remotes (%d buttons) "
          "without timings left out",
        files, remotes, buttons, halfBits, untimed, untimedButtons);
    QVERIFY(buttons > 0 && untimed > 0);
}

void Tools::irCtlAcceptsOurPulseSpaceFiles()
{
    // v4l-utils is installed by the test command; without it this fails.
    QVERIFY2(!tool("ir-ctl").isEmpty(), "ir-ctl missing: install v4l-utils");
    std::vector<std::vector<Signal>> files;
    for (const Signal &s : samples::everyProtocol())
        files.push_back({s});
    files.push_back({samples::longFrame("AC_498", 498, 38000)}); // 999 pulses and spaces
    files.push_back(samples::everyProtocol());                   // several frames in one file
    files.back().resize(8);
    for (const auto &list : files) {
        const std::string data = irfiles::write(Format::PulseSpace, list).data;
        size_t edges = 0;
        for (const Signal &s : list)
            edges += s.durations.size() + 1;
        QVERIFY2(edges <= kIrCtlMaxEdges, "a file ir-ctl may send in one go");
        const QString path = samples::inDir(dir_, "ours.mode2");
        QVERIFY(writeFile(path, data));
        const Run r = run(tool("ir-ctl"), {"-d", "/dev/null", "--send=" + path}, dir_.path());
        QVERIFY(r.finished);
        // Parsed without a warning; only the device (not a LIRC one) fails.
        QVERIFY2(r.status == kIrCtlDeviceFailed && !r.err.contains("warning")
                && r.err.contains("/dev/null"),
            qPrintable(QString::fromStdString(list.front().name) + ": " + r.err));
    }
    // A file ir-ctl cannot parse fails differently, so the check can fail.
    QVERIFY(writeFile(samples::inDir(dir_, "bad.mode2"), "pulse x\n"));
    const Run bad = run(tool("ir-ctl"),
        {"-d", "/dev/null", "--send=" + samples::inDir(dir_, "bad.mode2")}, dir_.path());
    QVERIFY(bad.status != kIrCtlDeviceFailed);
}

void Tools::realCapturesOpenAndDecode()
{
    QFile tsv(kCaptures);
    if (!tsv.open(QIODevice::ReadOnly))
        QSKIP("../shared/captures/real-captures.tsv is absent: real captures not checked");
    // One .ir file per remote file of the captures: file, record, button,
    // carrier, durations.
    std::map<QString, std::vector<QStringList>> files;
    int lines = 0;
    while (!tsv.atEnd()) {
        const QString line = QString::fromUtf8(tsv.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QStringList fields = line.split('\t');
        QCOMPARE(fields.size(), 5);
        files[fields[0]].push_back(fields);
        ++lines;
    }
    // Captures holding a zero-length mark or space are no frame on the air:
    // they are left out and listed, the others load as recorded.
    int opened = 0, decoded = 0, longer = 0, leftOut = 0;
    for (const auto &[file, rows] : files) {
        std::string text = "Filetype: IR signals file\nVersion: 1\n";
        std::vector<QStringList> kept;
        int zero = 0;
        for (const QStringList &f : rows) {
            text += "#\nname: " + f[2].toStdString() + "\ntype: raw\nfrequency: "
                + f[3].toStdString() + "\nduty_cycle: 0.330000\ndata: " + f[4].toStdString() + "\n";
            if (f[4].split(' ').contains("0"))
                ++zero;
            else
                kept.push_back(f);
        }
        const Loaded loaded = irfiles::read(Format::Ir, text, file.toStdString());
        QCOMPARE(static_cast<int>(loaded.skipped.size()), zero);
        leftOut += zero;
        if (kept.empty())
            continue;
        QVERIFY2(loaded.ok(), loaded.error ? loaded.error->text().c_str() : "");
        QCOMPARE(loaded.list.size(), kept.size());
        for (size_t i = 0; i < kept.size(); ++i) {
            const Signal &s = loaded.list[i];
            QCOMPARE(s.carrierHz, kept[i][3].toInt());
            QCOMPARE(static_cast<int>(s.durations.size()), kept[i][4].split(' ').size());
            decoded += s.decoded.decodeType != -1 ? 1 : 0;
            longer += s.durations.size() > kRecordDurations ? 1 : 0;
        }
        opened += static_cast<int>(loaded.list.size());
    }
    qInfo("%d captures in %d files opened, %d decoded to a catalogue protocol, %d longer than a "
          "receive record, %d with a zero-length mark or space left out",
        opened, static_cast<int>(files.size()), decoded, longer, leftOut);
    QCOMPARE(opened + leftOut, lines);
    QVERIFY(decoded > 0);
    QVERIFY(longer > 0);
}

void Tools::convertBinaryWithoutDisplay()
{
    const QString tavrel = QStringLiteral(TAVREL_BINARY);
    QVERIFY2(QFile::exists(tavrel), qPrintable(tavrel));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    const std::vector<Signal> list = testSignals();
    const QString in = samples::inDir(dir_, "convert.ir");
    QVERIFY(writeFile(in, irfiles::write(Format::Ir, list).data));
    for (const auto &format : irfiles::formats()) {
        const QString out = samples::inDir(dir_, QString("converted") + format.extension);
        const Run r = run(tavrel, {"--convert", in, out}, dir_.path(), env);
        QVERIFY2(r.finished && r.status == 0, qPrintable(out + ": " + r.err));
        const Loaded loaded = irfiles::readFile(out.toStdString(), format.format);
        QVERIFY2(loaded.ok(), loaded.error ? loaded.error->text().c_str() : "");
        QCOMPARE(loaded.list.size(), list.size());
    }
    // --to overrides the extension; bad input exits 2 naming file and line.
    const QString out = samples::inDir(dir_, "as-lirc.txt");
    const Run to = run(tavrel, {"--convert", in, out, "--to", "lirc"}, dir_.path(), env);
    QCOMPARE(to.status, 0);
    QVERIFY(irfiles::readFile(out.toStdString(), Format::Lirc).ok());
    const QString bad = samples::inDir(dir_, "bad.pronto");
    QVERIFY(writeFile(bad, "0000 006D 0001 0000 0156\n"));
    const Run failed
        = run(tavrel, {"--convert", bad, samples::inDir(dir_, "bad.ir")}, dir_.path(), env);
    QCOMPARE(failed.status, 2);
    QVERIFY2(failed.err.startsWith(("tavrel: " + bad + ":1: ").toUtf8()), failed.err.constData());
    const Run usage = run(tavrel, {"--convert", in}, dir_.path(), env);
    QCOMPARE(usage.status, 2);
    QVERIFY(usage.err.contains("usage: tavrel --convert IN OUT"));
}

QTEST_GUILESS_MAIN(Tools)
#include "tst_irfiles_tools.moc"
