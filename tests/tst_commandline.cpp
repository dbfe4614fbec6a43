// The command line: what each argument list runs (the usage, the version,
// the headless modes, an unknown option, the window), which arguments are
// Qt's and which are files, and the real program without any display.
#include "commandline.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sstream>
#include <vector>

Q_DECLARE_METATYPE(std::vector<std::string>)

namespace {

using Args = std::vector<std::string>;

const QString kBinary = QStringLiteral(TAVREL_BINARY);
const QByteArray kVersionLine = "tavrel " TAVREL_PROJECT_VERSION "\n";
constexpr int kRunTimeoutMs = 30000;
constexpr size_t kUsageColumns = 79;

struct Outcome
{
    std::optional<int> status;
    std::string out, err;
};

Outcome runHeadless(const Args &args)
{
    std::ostringstream out, err;
    Outcome outcome;
    outcome.status = commandline::runHeadless(args, out, err);
    outcome.out = out.str();
    outcome.err = err.str();
    return outcome;
}

std::string usage()
{
    std::ostringstream text;
    commandline::printUsage(text);
    return text.str();
}

struct Run
{
    bool finished = false;
    int status = -1;
    QByteArray out, err;
};

// The real program, with no display to reach and no platform chosen: a GUI
// application object would abort it.
Run runBinary(const QStringList &args)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(kBinary, args);
    Run run;
    run.finished
        = process.waitForFinished(kRunTimeoutMs) && process.exitStatus() == QProcess::NormalExit;
    run.status = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void usageNamesEveryModeAndStatus();
    void helpAndVersion_data();
    void helpAndVersion();
    void unknownOptions_data();
    void unknownOptions();
    void windowArguments_data();
    void windowArguments();
    void headlessModes();
    void binaryWithoutDisplay();
};

void TestCommandLine::usageNamesEveryModeAndStatus()
{
    const std::string text = usage();
    for (const char *line : {"usage: tavrel [QT-OPTION...] [FILE...]\n",
             "\n       tavrel --convert IN OUT [--from FORMAT] [--to FORMAT] [--strict]\n",
             "\n       tavrel --decode FILE...\n", "\n       tavrel -h | --help | --version\n",
             "\n  -h, --help  prints this text\n", "\n  --version   prints the version\n",
             "\nExit status:\n", "\n  0  success\n", "\n  1  an output file could not be written\n",
             "\n  2  bad input or arguments"})
        QVERIFY2(text.find(line) != std::string::npos, line);
    // The descriptions are filled paragraphs: their words in one line.
    std::istringstream words(text);
    std::string flat;
    for (std::string word; words >> word;)
        flat += word + " ";
    for (const char *phrase :
        {"the IR files given (.ir, .conf, .pronto, .mode2 or .csv) appear in its receive tab",
            "Qt's own options (-style, -platform, -geometry, -reverse, ...) apply to the window; "
            "\"--\" ends the options.",
            "Converts an IR file, without a display.",
            "\"-\" reads standard input or writes standard output.",
            "with --strict nothing is written then (exit status 2)."})
        QVERIFY2(flat.find(phrase) != std::string::npos, phrase);
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        QVERIFY2(line.size() <= kUsageColumns, line.c_str());
}

void TestCommandLine::helpAndVersion_data()
{
    QTest::addColumn<Args>("args");
    QTest::addColumn<bool>("help");
    QTest::newRow("--help") << Args{"--help"} << true;
    QTest::newRow("-h") << Args{"-h"} << true;
    QTest::newRow("after Qt's options and a file")
        << Args{"-style", "fusion", "--reverse", "a.ir", "-h"} << true;
    QTest::newRow("before an unknown option") << Args{"--help", "--bogus"} << true;
    QTest::newRow("--version") << Args{"--version"} << false;
    QTest::newRow("--version, then --help") << Args{"--version", "--help"} << false;
}

void TestCommandLine::helpAndVersion()
{
    QFETCH(Args, args);
    QFETCH(bool, help);
    const Outcome outcome = runHeadless(args);
    QCOMPARE(outcome.status, std::optional<int>(commandline::kExitOk));
    QCOMPARE(outcome.out, help ? usage() : std::string(kVersionLine.constData()));
    QVERIFY(outcome.err.empty());
}

void TestCommandLine::unknownOptions_data()
{
    QTest::addColumn<Args>("args");
    QTest::addColumn<QString>("option");
    QTest::newRow("--bogus") << Args{"--bogus"} << "--bogus";
    QTest::newRow("-x after a file") << Args{"a.ir", "-x"} << "-x";
    QTest::newRow("-help") << Args{"-help"} << "-help";
    // Qt reads these only in other forms.
    QTest::newRow("-platform=offscreen") << Args{"-platform=offscreen"} << "-platform=offscreen";
    QTest::newRow("-reverse=1") << Args{"-reverse=1"} << "-reverse=1";
    QTest::newRow("--helpme") << Args{"--helpme"} << "--helpme";
}

void TestCommandLine::unknownOptions()
{
    QFETCH(Args, args);
    QFETCH(QString, option);
    const Outcome outcome = runHeadless(args);
    QCOMPARE(outcome.status, std::optional<int>(commandline::kExitBadInput));
    QVERIFY(outcome.out.empty());
    QCOMPARE(outcome.err, "tavrel: unknown option " + option.toStdString() + "\n" + usage());
}

void TestCommandLine::windowArguments_data()
{
    QTest::addColumn<Args>("args");
    QTest::addColumn<Args>("files");
    QTest::newRow("nothing") << Args{} << Args{};
    QTest::newRow("files") << Args{"a.ir", "b.conf"} << Args{"a.ir", "b.conf"};
    QTest::newRow("Qt's options with their values") << Args{"-platform", "xcb", "-style", "fusion",
        "a.ir", "-stylesheet", "-dark.qss", "-qwindowtitle", "T", "-qwindowgeometry", "10x10",
        "-reverse", "-widgetcount", "-plugin", "p", "b.ir"}
                                                    << Args{"a.ir", "b.ir"};
    QTest::newRow("the = forms and two dashes") << Args{"-style=fusion", "--stylesheet=x.qss",
        "--platform", "offscreen", "-qmljsdebugger=port:1", "a.ir"}
                                                << Args{"a.ir"};
    QTest::newRow("X11's, wherever Qt runs") << Args{"-display", ":1", "-geometry", "10x10",
        "-title", "T", "-name", "n", "-nograb", "a.ir"}
                                             << Args{"a.ir"};
    QTest::newRow("a value missing at the end") << Args{"a.ir", "-style"} << Args{"a.ir"};
    QTest::newRow("-- ends the options")
        << Args{"-reverse", "--", "-reverse", "--help", "--"} << Args{"-reverse", "--help", "--"};
    QTest::newRow("- is a file") << Args{"-"} << Args{"-"};
}

void TestCommandLine::windowArguments()
{
    QFETCH(Args, args);
    QFETCH(Args, files);
    const Outcome outcome = runHeadless(args);
    QVERIFY(!outcome.status);
    QVERIFY(outcome.out.empty() && outcome.err.empty());
    QCOMPARE(commandline::windowFiles(args), files);
}

void TestCommandLine::headlessModes()
{
    // --convert runs wherever it stands before "--", with every argument;
    // its own mistakes are its own usage's.
    Outcome outcome = runHeadless({"a.ir", "--convert"});
    QCOMPARE(outcome.status, std::optional<int>(commandline::kExitBadInput));
    QVERIFY(outcome.out.empty());
    QVERIFY(outcome.err.find("tavrel: give one input and one output file\nusage: tavrel --convert "
                             "IN OUT")
        == 0);
    outcome = runHeadless({"--convert", "--help"});
    QCOMPARE(outcome.status, std::optional<int>(commandline::kExitOk));
    QVERIFY(outcome.out.find("usage: tavrel --convert IN OUT") == 0);
    outcome = runHeadless({"--convert", "a.ir", "b.conf", "-style", "fusion"});
    QCOMPARE(outcome.status, std::optional<int>(commandline::kExitBadInput));
    QVERIFY(outcome.err.find("unknown option -style") != std::string::npos);
    // After "--" it is a file name.
    QVERIFY(!runHeadless({"--", "--convert"}).status);

    // --decode takes files only.
    outcome = runHeadless({"--decode"});
    QCOMPARE(outcome.status, std::optional<int>(commandline::kExitBadInput));
    QVERIFY(outcome.err.find("tavrel: give one file or more\nusage: tavrel --decode FILE...") == 0);
    outcome = runHeadless({"--decode", "a.ir", "--to", "ir"});
    QCOMPARE(outcome.status, std::optional<int>(commandline::kExitBadInput));
    QVERIFY(outcome.err.find("unknown option --to") != std::string::npos);
}

void TestCommandLine::binaryWithoutDisplay()
{
    QVERIFY2(QFile::exists(kBinary), qPrintable(kBinary));
    const Run help = runBinary({"--help"});
    QVERIFY(help.finished);
    QCOMPARE(help.status, 0);
    QCOMPARE(help.out.toStdString(), usage());
    QCOMPARE(help.err, QByteArray());

    const Run version = runBinary({"-style", "fusion", "--version"});
    QVERIFY(version.finished);
    QCOMPARE(version.status, 0);
    QCOMPARE(version.out, kVersionLine);
    QCOMPARE(version.err, QByteArray());

    const Run bogus = runBinary({"--bogus"});
    QVERIFY(bogus.finished);
    QCOMPARE(bogus.status, 2);
    QCOMPARE(bogus.out, QByteArray());
    QCOMPARE(bogus.err.toStdString(), "tavrel: unknown option --bogus\n" + usage());

    // --decode reads a file's frames without a display, one line each; a
    // missing file makes it fail with its name.
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/held.mode2");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    // NEC 0x20DF10EF: header, 32 bits, stop mark; 40 ms later a ditto.
    std::vector<int> durations = {9000, 4500};
    for (int bit = 31; bit >= 0; --bit)
        durations.insert(durations.end(), {560, (0x20DF10EFu >> bit) & 1u ? 1690 : 560});
    durations.insert(durations.end(), {560, 40000, 9000, 2250, 560});
    QByteArray text;
    for (size_t i = 0; i < durations.size(); ++i)
        text += (i % 2 ? "space " : "pulse ") + QByteArray::number(durations[i]) + '\n';
    file.write(text);
    file.close();
    const Run decoded = runBinary({"--decode", path});
    QVERIFY(decoded.finished);
    QCOMPARE(decoded.status, 0);
    QCOMPARE(decoded.err, QByteArray());
    // A pulse/space file keeps each frame after a silence as a record.
    QCOMPARE(QString::fromUtf8(decoded.out),
        path + "\t0\t0\tNEC\t32\t20DF10EF\taddress 0x04, command 0x08, check ok\n" + path
            + "\t1\t0\tNEC\t0\tFFFFFFFF\trepeat\n");
    const Run missing = runBinary({"--decode", path + ".none"});
    QCOMPARE(missing.status, 2);
    QVERIFY(missing.err.contains("held.mode2.none"));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
