// `tavrel --convert` as a careful user runs it, through the real binary: the
// arguments, formats named or told by content, standard input and output,
// records left out (warnings, --strict), and safe writing: never onto the
// input, devices, FIFOs and sockets written in place, links followed, modes
// kept, no temporary that could be a user's file, FIFOs and folders as input
// refused at once. Cases that need root (mknod) are skipped without it.
#include "convert.h"
#include "formats.h"
#include "samples.h"

#include <QtTest>

#include <sstream>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

using irfiles::Format;
using irfiles::Loaded;

namespace {

constexpr int kTimeoutMs = 20000;
// A FIFO as input must be refused at once, not after a writer came.
constexpr int kAtOnceMs = 5000;

struct Run
{
    bool finished = false;
    int status = -1;
    QByteArray out, err;
};

Run convert(const QStringList &args, const QByteArray &input = {}, int timeoutMs = kTimeoutMs)
{
    QProcess p;
    p.start(QStringLiteral(TAVREL_BINARY), QStringList{"--convert"} + args);
    p.waitForStarted();
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    Run r;
    r.finished = p.waitForFinished(timeoutMs) && p.exitStatus() == QProcess::NormalExit;
    if (!r.finished) {
        p.kill();
        p.waitForFinished();
    }
    r.status = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

struct stat statOf(const QString &path, bool follow = true)
{
    struct stat st
    {
    };
    const QByteArray name = QFile::encodeName(path);
    if ((follow ? ::stat(name.constData(), &st) : ::lstat(name.constData(), &st)) != 0)
        st.st_mode = 0;
    return st;
}

QString describe(const Run &r)
{
    return QString("finished %1, status %2, stderr: %3")
        .arg(r.finished)
        .arg(r.status)
        .arg(QString::fromUtf8(r.err));
}

// An .ir file of every protocol.
QByteArray irFile()
{
    return QByteArray::fromStdString(irfiles::write(Format::Ir, samples::everyProtocol()).data);
}

} // namespace

class Convert : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void arguments();
    void formatsByNameOrContent();
    void standardInputAndOutput();
    void recordsLeftOut();
    void neverOntoTheInput();
    void devicesWrittenInPlace();
    void fifosWrittenInPlace();
    void socketsNeverReplaced();
    void linksFollowed();
    void modeKept();
    void noTemporaryOfAFixedName();
    void fifoOrFolderAsInput();
    void writeFailures();

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString path(const QString &name) const
    {
        return samples::inDir(*dir, name);
    }
};

void Convert::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    QVERIFY(writeFile(path("in.ir"), irFile()));
}

void Convert::arguments()
{
    const std::string in = path("in.pronto").toStdString();
    QVERIFY(writeFile(path("in.pronto"), "POWER: 0000 006D 0001 0000 0156 00AB\n"));
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
    QVERIFY2(err.find("x.txt: unknown extension: give --to ir, lirc, pronto, mode2 or csv")
            != std::string::npos,
        err.c_str());
    QCOMPARE(run({"--convert", in, "x.ir", "--to", "wav"}, err), irfiles::kConvertBadInput);
    QVERIFY2(
        err.find("unknown format wav (use ir, lirc, pronto, mode2 or csv)") != std::string::npos,
        err.c_str());
    QCOMPARE(run({"--convert", in, "x.ir", "--from=wav"}, err), irfiles::kConvertBadInput);
    QVERIFY2(err.find("unknown format wav") != std::string::npos, err.c_str());
    QCOMPARE(run({"--convert", in, "x.ir", "--from"}, err), irfiles::kConvertBadInput);
    QVERIFY2(err.find("--from needs a format") != std::string::npos, err.c_str());
    QCOMPARE(run({"--convert", in, "-"}, err), irfiles::kConvertBadInput);
    QVERIFY2(
        err.find("standard output has no extension: give --to") != std::string::npos, err.c_str());
    // --to wins over the output's extension.
    const std::string out = path("out.txt").toStdString();
    QCOMPARE(run({"--convert", in, out, "--to=lirc"}, err), irfiles::kConvertOk);
    const Loaded converted = irfiles::readFile(out, Format::Lirc);
    QVERIFY2(converted.ok(), converted.error ? converted.error->text().c_str() : "");
    QCOMPARE(converted.list[0].name, std::string("POWER"));
    QCOMPARE(run({"--convert", path("missing.ir").toStdString(), out, "--to", "ir"}, err),
        irfiles::kConvertBadInput);
    QVERIFY2(err.find("missing.ir: cannot open the file") != std::string::npos, err.c_str());
}

void Convert::formatsByNameOrContent()
{
    // A LIRC file named as Debian names them: its format from its content.
    QVERIFY(writeFile(path("lircd.conf.hauppauge"),
        "#\n# contributed\n#\n\nbegin remote\n  name  Hauppauge\n  bits 13\n  flags SHIFT_ENC\n"
        "  one 950 830\n  zero 950 830\n  plead 960\n  gap 89584\n  repeat_bit 2\n"
        "  begin codes\n    KEY_TV 0x100F\n    KEY_RADIO 0x100C\n  end codes\nend remote\n"));
    const Run byContent = convert({path("lircd.conf.hauppauge"), path("out.csv")});
    QVERIFY2(byContent.status == 0, qPrintable(describe(byContent)));
    QCOMPARE(irfiles::readFile(path("out.csv").toStdString()).list.size(), size_t(2));
    // --from names it whatever the name says.
    QVERIFY(writeFile(path("frames.txt"), "+9000 -4500 +560\n"));
    const Run named = convert({path("frames.txt"), path("out.ir"), "--from", "mode2"});
    QVERIFY2(named.status == 0, qPrintable(describe(named)));
    const Run unknown = convert({path("in.ir"), path("notes.ir"), "--from", "csv"});
    QCOMPARE(unknown.status, 2);
    QVERIFY2(unknown.err.contains("in.ir:1: "), unknown.err.constData());
    QVERIFY(writeFile(path("notes.txt"), "Remote codes for the living room\n"));
    const Run prose = convert({path("notes.txt"), path("out.ir")});
    QCOMPARE(prose.status, 2);
    QVERIFY2(prose.err.contains("notes.txt: neither its name nor its first lines say which IR "
                                "file format it is: give --from"),
        prose.err.constData());
}

void Convert::standardInputAndOutput()
{
    // ir-ctl -r | tavrel --convert - out.ir --from mode2
    const QByteArray received = "+9024 -4512 +564 -564 +564 -1692 +564\n-40000\n+9000 -2250 +560\n";
    const Run in = convert({"-", path("out.ir"), "--from", "mode2"}, received);
    QVERIFY2(in.status == 0, qPrintable(describe(in)));
    QCOMPARE(irfiles::readFile(path("out.ir").toStdString()).list.size(), size_t(2));
    // Without --from the first lines tell.
    const Run told = convert({"-", path("told.csv")}, received);
    QVERIFY2(told.status == 0, qPrintable(describe(told)));
    // tavrel --convert in.ir - --to mode2: the file on standard output only.
    const Run out = convert({path("in.ir"), "-", "--to", "mode2"});
    QVERIFY2(out.status == 0 && out.err.isEmpty(), qPrintable(describe(out)));
    const Loaded back = irfiles::read(Format::PulseSpace, out.out.toStdString(), "stdout");
    QVERIFY2(back.ok(), back.error ? back.error->text().c_str() : "");
    QCOMPARE(back.list.size(), samples::everyProtocol().size());
    // A bad input writes nothing on standard output.
    const Run bad = convert({"-", "-", "--from", "ir", "--to", "csv"},
        "Filetype: IR signals file\n"
        "Version: 1\nname: A\n");
    QCOMPARE(bad.status, 2);
    QVERIFY(bad.out.isEmpty());
}

void Convert::recordsLeftOut()
{
    // Records that cannot be converted are named on stderr with their line,
    // the rest converts (status 0, a warning with the count); --strict
    // writes nothing then.
    const std::string text = samples::irDatabaseSamples()[2].text; // an RC5 command above 127
    QVERIFY(writeFile(path("odd.ir"), QByteArray::fromStdString(text)));
    const Run run = convert({path("odd.ir"), path("odd.csv")});
    QVERIFY2(run.status == 0, qPrintable(describe(run)));
    QCOMPARE(QString::fromUtf8(run.err),
        "tavrel: " + path("odd.ir")
            + ":10: record \"Menu\": RC5 command 85 00 00 00 is wider than RC5's 7 bits\n"
              "tavrel: warning: "
            + path("odd.ir") + ": 1 record left out\n");
    QCOMPARE(irfiles::readFile(path("odd.csv").toStdString()).list.size(), size_t(2));
    const Run strict = convert({path("odd.ir"), path("strict.csv"), "--strict"});
    QCOMPARE(strict.status, 2);
    QVERIFY2(strict.err.endsWith(": 1 record left out: nothing written (--strict)\n"),
        strict.err.constData());
    QVERIFY(!QFile::exists(path("strict.csv")));
    // A malformed file is refused whole, the output untouched.
    QVERIFY(writeFile(path("kept.csv"), "kept"));
    QVERIFY(writeFile(
        path("cut.ir"), QByteArray::fromStdString(samples::irMalformedSamples().front().text)));
    const Run cut = convert({path("cut.ir"), path("kept.csv")});
    QCOMPARE(cut.status, 2);
    QCOMPARE(contents(path("kept.csv")), QByteArray("kept"));
}

void Convert::neverOntoTheInput()
{
    // --convert coded.conf coded.conf would turn coded remotes into one raw
    // remote: refused, by any name of the same file, the input untouched.
    const QByteArray coded
        = "begin remote\n  name nec\n  bits 16\n  flags SPACE_ENC\n  header 9000 4500\n"
          "  one 563 1687\n  zero 563 562\n  ptrail 563\n  pre_data_bits 16\n  pre_data 0x20DF\n"
          "  begin codes\n    KEY_POWER 0x10EF\n    KEY_MUTE 0x906F\n  end codes\nend remote\n";
    QVERIFY(writeFile(path("coded.conf"), coded));
    QVERIFY(QFile::link(path("coded.conf"), path("link.conf")));
    QVERIFY(::link(QFile::encodeName(path("coded.conf")).constData(),
                QFile::encodeName(path("hard.conf")).constData())
        == 0);
    for (const QString &out :
        {path("coded.conf"), path("link.conf"), path("hard.conf"), dir->path() + "/./coded.conf"}) {
        const Run run = convert({path("coded.conf"), out});
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains("is the input file"), run.err.constData());
        QCOMPARE(contents(path("coded.conf")), coded);
    }
}

void Convert::devicesWrittenInPlace()
{
    if (::geteuid() != 0)
        QSKIP("creating a device node (mknod) needs root: writing onto a device not checked");
    // A node of the null device (char 1, 3) named as an output.
    const QByteArray node = QFile::encodeName(path("n.ir"));
    QVERIFY(::mknod(node.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0);
    const Run run = convert({path("in.ir"), path("n.ir")});
    QVERIFY2(run.status == 0, qPrintable(describe(run)));
    QVERIFY2(S_ISCHR(statOf(path("n.ir"), false).st_mode), "the device node was replaced");
}

void Convert::fifosWrittenInPlace()
{
    const QByteArray fifo = QFile::encodeName(path("out.mode2"));
    QVERIFY(::mkfifo(fifo.constData(), 0644) == 0);
    QProcess reader;
    reader.start("cat", {path("out.mode2")});
    QVERIFY(reader.waitForStarted());
    const Run run = convert({path("in.ir"), path("out.mode2")});
    QVERIFY2(run.status == 0, qPrintable(describe(run)));
    QVERIFY(reader.waitForFinished(kTimeoutMs));
    const Loaded read
        = irfiles::read(Format::PulseSpace, reader.readAllStandardOutput().toStdString(), "fifo");
    QCOMPARE(read.list.size(), samples::everyProtocol().size());
    QVERIFY2(S_ISFIFO(statOf(path("out.mode2"), false).st_mode), "the FIFO was replaced");
}

void Convert::socketsNeverReplaced()
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(fd >= 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path("out.ir"));
    QVERIFY(size_t(name.size()) < sizeof address.sun_path);
    std::copy(name.begin(), name.end(), address.sun_path);
    QVERIFY(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
    ::close(fd);
    const Run run = convert({path("in.ir"), path("out.ir")});
    QCOMPARE(run.status, 1);
    QVERIFY2(S_ISSOCK(statOf(path("out.ir"), false).st_mode), "the socket was replaced");
}

void Convert::linksFollowed()
{
    // The link stays, its target gets the text; a link to a file not yet
    // there creates it.
    QVERIFY(writeFile(path("target.csv"), "old"));
    QVERIFY(QFile::link(path("target.csv"), path("link.csv")));
    QVERIFY(QFile::link("later.csv", path("dangling.csv")));
    for (const QString &name : {QString("link.csv"), QString("dangling.csv")}) {
        const Run run = convert({path("in.ir"), path(name)});
        QVERIFY2(run.status == 0, qPrintable(describe(run)));
        QVERIFY2(S_ISLNK(statOf(path(name), false).st_mode), qPrintable(name + " is no link"));
    }
    QCOMPARE(irfiles::readFile(path("target.csv").toStdString()).list.size(),
        samples::everyProtocol().size());
    QVERIFY(QFile::exists(path("later.csv")));
}

void Convert::modeKept()
{
    // An existing file keeps its mode; a new one gets the umask's.
    QVERIFY(writeFile(path("out.csv"), "old"));
    QVERIFY(::chmod(QFile::encodeName(path("out.csv")).constData(), 0640) == 0);
    const Run run = convert({path("in.ir"), path("out.csv")});
    QVERIFY2(run.status == 0, qPrintable(describe(run)));
    QCOMPARE(statOf(path("out.csv")).st_mode & 07777, mode_t(0640));
    const mode_t mask = ::umask(0);
    ::umask(mask);
    QVERIFY2(convert({path("in.ir"), path("new.csv")}).status == 0, "new file");
    QCOMPARE(statOf(path("new.csv")).st_mode & 07777, mode_t(0666 & ~mask));
}

void Convert::noTemporaryOfAFixedName()
{
    // The user's own OUT.part (or any other name) is neither overwritten nor
    // deleted, and no temporary is left behind.
    QVERIFY(writeFile(path("out.ir.part"), "mine"));
    const Run run = convert({path("in.ir"), path("out.ir")});
    QVERIFY2(run.status == 0, qPrintable(describe(run)));
    QCOMPARE(contents(path("out.ir.part")), QByteArray("mine"));
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
        (QStringList{"in.ir", "out.ir", "out.ir.part"}));
}

void Convert::fifoOrFolderAsInput()
{
    QVERIFY(::mkfifo(QFile::encodeName(path("in.mode2")).constData(), 0644) == 0);
    const Run fifo = convert({path("in.mode2"), path("out.ir")}, {}, kAtOnceMs);
    QVERIFY2(fifo.finished && fifo.status == 2, qPrintable(describe(fifo)));
    QVERIFY2(
        fifo.err.contains("in.mode2: is a FIFO (named pipe), not a file"), fifo.err.constData());
    QVERIFY(QDir(dir->path()).mkdir("remotes.ir"));
    const Run folder = convert({path("remotes.ir"), path("out.csv")}, {}, kAtOnceMs);
    QVERIFY2(folder.finished && folder.status == 2, qPrintable(describe(folder)));
    QVERIFY2(folder.err.contains("remotes.ir: is a folder, not a file"), folder.err.constData());
    QVERIFY(!QFile::exists(path("out.ir")) && !QFile::exists(path("out.csv")));
}

void Convert::writeFailures()
{
    // Status 1 when the output cannot be written, 2 for bad input; both in
    // --help.
    const Run missing = convert({path("in.ir"), path("no/such/folder/out.csv")});
    QCOMPARE(missing.status, 1);
    QVERIFY2(missing.err.contains("out.csv: cannot create a temporary file beside it"),
        missing.err.constData());
    const Run folder = convert({path("in.ir"), dir->path() + "/", "--to", "csv"});
    QCOMPARE(folder.status, 1);
    QProcess help;
    help.start(QStringLiteral(TAVREL_BINARY), {"--help"});
    QVERIFY(help.waitForFinished(kTimeoutMs));
    const QString text = QString::fromUtf8(help.readAllStandardOutput());
    QVERIFY2(text.contains("1  an output file could not be written")
            && text.contains("2  bad input or arguments"),
        qPrintable(text));
}

QTEST_GUILESS_MAIN(Convert)
#include "tst_irfiles_convert.moc"
