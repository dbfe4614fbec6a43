// The text of the source tree: every source, form, resource, desktop file,
// document and script that holds non-ASCII bytes is valid UTF-8 (the
// encoding every compiler is told to read, MSVC by /utf-8), and every
// Chinese text of the program, in its string literals, its form and its
// desktop files, is one of its own texts below, byte for byte (full-width
// punctuation included), each of which it uses.
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTest>
#include <QXmlStreamReader>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

using Lines = std::vector<std::string>;
Q_DECLARE_METATYPE(Lines)

namespace {

const QString kSourceDir = QStringLiteral(TAVREL_SOURCE_DIR);

// The program's Chinese texts, each with where it shows.
struct ProgramText
{
    const char *text;
    const char *where;
};

const ProgramText programTexts[] = {
    // The window.
    {"红外发送", "send tab"},
    {"红外接收", "receive tab"},
    {"常规发送", "general sender group box"},
    {"数据详情", "details group box"},
    {"数据", "table group box"},
    {"波形", "waveform group box"},
    {"设备索引：", "device labels"},
    {"发送通道：", "channel labels"},
    {"调制频率：", "carrier label"},
    {"地址：", "address labels"},
    {"命令：", "command labels"},
    {"子码：", "NRC17 subcode label"},
    {"发送协议：", "protocol label"},
    {"数据：", "value label"},
    {"位数：", "bit count label"},
    {"发送", "send buttons"},
    {"发送反码", "NEC inverted-code check box"},
    {"重复", "repeat check box"},
    {"原始数据", "raw data check box and table header"},
    {"清除数据", "clear button"},
    {"开始接收", "receive button, idle"},
    {"停止接收", "receive button, receiving"},
    {"行号", "table header"},
    {"类型", "table header"},
    {"数据(HEX)", "table header"},
    {"地址(HEX)", "table header"},
    {"位数", "table header"},
    // Warning boxes: the title and the messages.
    {"警告", "warning title"},
    {"无设备连接！", "no adapter"},
    {"打开设备失败！", "adapter not opened"},
    {"发送数据失败！", "quick send failed"},
    {"读取数据失败！", "NRC17 repeat failed"},
    {"红外发送失败！", "raw send failed"},
    {"红外发送失败！可能是适配器不支持该协议！", "protocol send failed"},
    {"启动红外接收失败！", "reception not started"},
    // The frame table's actions, their file dialogs and warnings.
    {"复制帧", "copy action"},
    {"复制为 Pronto 码", "copy as Pronto action"},
    {"重新发送", "send again action, its question and progress titles"},
    {"将重新发送全部 %1 帧，是否继续？", "send again of every row of a long table"},
    {"正在重新发送…", "send again progress"},
    {"保存…", "save action"},
    {"打开…", "open action"},
    {"保存", "save dialog title"},
    {"打开", "open dialog title"},
    {"保存文件失败！", "save failed"},
    {"打开文件失败！", "open failed"},
    // The desktop entry and the file type it opens.
    {"红外遥控信号的发送与接收", "desktop entry comment"},
    {"红外信号文件", "file type comment"},
};

// ---- UTF-8 ------------------------------------------------------------------

// The offset of the first byte that is not part of well-formed UTF-8 (no
// overlong forms, no surrogates, nothing above U+10FFFF), or -1.
int firstInvalidUtf8(const QByteArray &bytes)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    const int size = bytes.size();
    for (int i = 0; i < size;) {
        const unsigned char lead = data[i];
        int length = 0;
        unsigned char low = 0x80, high = 0xBF; // the second byte's range
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return i;
        }
        if (i + length > size || data[i + 1] < low || data[i + 1] > high)
            return i;
        for (int k = 2; k < length; ++k)
            if (data[i + k] < 0x80 || data[i + k] > 0xBF)
                return i;
        i += length;
    }
    return -1;
}

// ---- Chinese text -----------------------------------------------------------

bool isChinese(uint c)
{
    return (c >= 0x4E00 && c <= 0x9FFF)  // CJK unified ideographs
        || (c >= 0x3400 && c <= 0x4DBF)  // extension A
        || (c >= 0x3000 && c <= 0x303F)  // CJK symbols and punctuation
        || (c >= 0xFF00 && c <= 0xFFEF); // full-width forms
}

bool hasChinese(const std::string &text)
{
    for (const uint c : QString::fromStdString(text).toUcs4())
        if (isChinese(c))
            return true;
    return false;
}

// Appends c as UTF-8.
void appendUtf8(std::string &out, uint c)
{
    out += QString::fromUcs4(&c, 1).toStdString();
}

bool isIdentifier(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The body of an ordinary literal from the opening quote at text[i], with
// its escapes decoded; i ends after the closing quote.
std::string quoted(const std::string &text, size_t &i)
{
    const char quote = text[i++];
    std::string body;
    while (i < text.size() && text[i] != quote && text[i] != '\n') {
        if (text[i] != '\\' || i + 1 == text.size()) {
            body += text[i++];
            continue;
        }
        const char e = text[++i];
        ++i;
        static const std::string simple = "ntrabfv";
        static const std::string meaning = "\n\t\r\a\b\f\v";
        if (simple.find(e) != std::string::npos) {
            body += meaning[simple.find(e)];
        } else if (e == 'x' || e == 'u' || e == 'U') {
            const size_t digits = e == 'x' ? std::string::npos : e == 'u' ? 4 : 8;
            uint value = 0;
            size_t n = 0;
            for (; n < digits && i < text.size()
                 && std::isxdigit(static_cast<unsigned char>(text[i]));
                 ++n, ++i)
                value = value * 16 + uint(QByteArray(1, text[i]).toUInt(nullptr, 16));
            if (e == 'x')
                body += static_cast<char>(value);
            else
                appendUtf8(body, value);
        } else if (e >= '0' && e <= '7') {
            uint value = uint(e - '0');
            for (int n = 1; n < 3 && i < text.size() && text[i] >= '0' && text[i] <= '7'; ++n)
                value = value * 8 + uint(text[i++] - '0');
            body += static_cast<char>(value);
        } else {
            body += e; // \" \' \\ \?
        }
    }
    ++i;
    return body;
}

// The string literals of C or C++ source text, adjacent ones joined as the
// compiler joins them; comments and character literals are skipped.
std::vector<std::string> stringLiterals(const std::string &text)
{
    std::vector<std::string> literals;
    bool joinNext = false; // only blanks and comments since the last literal
    auto add = [&](const std::string &body) {
        if (joinNext)
            literals.back() += body;
        else
            literals.push_back(body);
        joinNext = true;
    };
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (text.compare(i, 2, "//") == 0) {
            i = text.find('\n', i);
        } else if (text.compare(i, 2, "/*") == 0) {
            const size_t end = text.find("*/", i + 2);
            i = end == std::string::npos ? end : end + 2;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        } else if (c == '"') {
            add(quoted(text, i));
            continue;
        } else if (c == '\'') {
            quoted(text, i);
            joinNext = false;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            // A number, digit separators included.
            while (i < text.size()
                && (isIdentifier(text[i]) || text[i] == '.'
                    || (text[i] == '\'' && i + 1 < text.size() && isIdentifier(text[i + 1]))))
                ++i;
            joinNext = false;
        } else if (isIdentifier(c)) {
            const size_t start = i;
            while (i < text.size() && isIdentifier(text[i]))
                ++i;
            const std::string word = text.substr(start, i - start);
            if (i < text.size() && text[i] == '"') {
                if (word == "R" || word == "u8R" || word == "uR" || word == "UR" || word == "LR") {
                    const size_t open = text.find('(', i);
                    if (open == std::string::npos)
                        break;
                    const std::string close = ")" + text.substr(i + 1, open - i - 1) + "\"";
                    const size_t end = text.find(close, open);
                    if (end == std::string::npos)
                        break;
                    add(text.substr(open + 1, end - open - 1));
                    i = end + close.size();
                    continue;
                }
                if (word == "u8" || word == "u" || word == "U" || word == "L") {
                    add(quoted(text, i));
                    continue;
                }
            }
            joinNext = false;
        } else {
            ++i;
            joinNext = false;
        }
        if (i == std::string::npos)
            break;
    }
    return literals;
}

// The texts of an XML file (a form, a resource list, a MIME type): element
// text and attribute values; comments are no texts.
std::vector<std::string> xmlTexts(const QByteArray &data)
{
    std::vector<std::string> texts;
    QXmlStreamReader xml(data);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isCharacters() && !xml.isWhitespace())
            texts.push_back(xml.text().toString().toStdString());
        else if (xml.isStartElement())
            for (const QXmlStreamAttribute &attribute : xml.attributes())
                texts.push_back(attribute.value().toString().toStdString());
    }
    return texts;
}

// The values of a desktop entry's keys.
std::vector<std::string> desktopValues(const QByteArray &data)
{
    std::vector<std::string> values;
    for (const QByteArray &line : data.split('\n')) {
        const int equals = line.indexOf('=');
        if (equals > 0 && !line.startsWith('#'))
            values.push_back(line.mid(equals + 1).trimmed().toStdString());
    }
    return values;
}

// Each line of texts that holds Chinese.
Lines chineseLines(const std::vector<std::string> &texts)
{
    Lines lines;
    for (const std::string &text : texts) {
        size_t start = 0;
        while (start <= text.size()) {
            const size_t end = std::min(text.find('\n', start), text.size());
            const std::string line = text.substr(start, end - start);
            if (hasChinese(line))
                lines.push_back(line);
            start = end + 1;
        }
    }
    return lines;
}

// ---- the tree ---------------------------------------------------------------

const QStringList kTextSuffixes = {"cpp", "h", "c", "ui", "qrc", "desktop", "xml", "md", "sh", "py",
    "cmake", "rc", "supp", "allow"};
// Folders that are no part of the program's text: build output, and the
// binary inputs of the fuzz targets.
const QStringList kSkippedFolders = {".git", "fuzz/corpus", "fuzz/out"};
// Folders whose texts are not the program's: they test, measure or document it.
const QStringList kNotProgram = {"tests", "bench", "fuzz", "docs", "scripts", "cmake", ".ci"};

struct SourceFile
{
    QString path; // relative to the source folder
    QByteArray data;
};

bool skipped(const QString &relative)
{
    if (relative.startsWith(QLatin1String("build")))
        return true;
    for (const QString &folder : kSkippedFolders)
        if (relative == folder || relative.startsWith(folder + QLatin1Char('/')))
            return true;
    return false;
}

// Every source, form, resource, desktop file, document and script.
std::vector<SourceFile> textFiles()
{
    std::vector<SourceFile> files;
    const QDir root(kSourceDir);
    QDirIterator it(kSourceDir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = root.relativeFilePath(path);
        if (skipped(relative))
            continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray data = file.readAll();
        const QFileInfo info(path);
        if (kTextSuffixes.contains(info.suffix()) || info.fileName() == "CMakeLists.txt"
            || data.startsWith("#!"))
            files.push_back({relative, data});
    }
    return files;
}

bool isProgramFile(const QString &relative)
{
    const QString top = relative.section(QLatin1Char('/'), 0, 0);
    return relative.contains(QLatin1Char('/')) && !kNotProgram.contains(top);
}

// The Chinese texts of one of the program's files, by its kind.
std::vector<std::string> chineseTextsOf(const SourceFile &file)
{
    const QString suffix = QFileInfo(file.path).suffix();
    if (suffix == "cpp" || suffix == "h" || suffix == "c")
        return chineseLines(stringLiterals(file.data.toStdString()));
    if (suffix == "ui" || suffix == "xml" || suffix == "qrc")
        return chineseLines(xmlTexts(file.data));
    if (suffix == "desktop")
        return chineseLines(desktopValues(file.data));
    return {};
}

} // namespace

class TestSourceTexts : public QObject
{
    Q_OBJECT

private slots:
    void utf8Check_data();
    void utf8Check();
    void literalsOfSources_data();
    void literalsOfSources();
    void everyTextFileIsUtf8();
    void chineseTextsAreTheProgramsOwn();
};

void TestSourceTexts::utf8Check_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("invalidAt");
    QTest::newRow("ASCII") << QByteArray("abc\n") << -1;
    QTest::newRow("Chinese and full-width colon") << QByteArray("地址：") << -1;
    QTest::newRow("four bytes") << QByteArray("a\xF0\x9F\x98\x80") << -1;
    QTest::newRow("the same text in GBK") << QByteArray("\xB5\xD8\xD6\xB7") << 0;
    QTest::newRow("overlong slash") << QByteArray("a\xC0\xAF") << 1;
    QTest::newRow("overlong three bytes") << QByteArray("\xE0\x80\xAF") << 0;
    QTest::newRow("surrogate") << QByteArray("ab\xED\xA0\x80") << 2;
    QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << 0;
    QTest::newRow("cut short") << QByteArray("地\xE5\x9D") << 3;
    QTest::newRow("lone continuation") << QByteArray("x\x80y") << 1;
    QTest::newRow("Latin-1 micro sign") << QByteArray("50 \xB5s") << 3;
}

void TestSourceTexts::utf8Check()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, invalidAt);
    QCOMPARE(firstInvalidUtf8(bytes), invalidAt);
}

void TestSourceTexts::literalsOfSources_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<Lines>("lines");
    QTest::newRow("comments are no texts")
        << QByteArray("// 警告\n/* 注释 */ f(\"发送\"); /* \"红外\" */") << Lines{"发送"};
    QTest::newRow("joined literals")
        << QByteArray("w(\"红外发送失败！\" // why\n  \"可能是适配器不支持该协议！\");")
        << Lines{"红外发送失败！可能是适配器不支持该协议！"};
    QTest::newRow("lines of one literal")
        << QByteArray("QStringLiteral(\"打开文件失败！\\n\") + detail") << Lines{"打开文件失败！"};
    QTest::newRow("escapes") << QByteArray(R"(x = "\u8B66\xE5\x91\x8A\"", y = '"', z = "a")")
                             << Lines{"警告\""};
    QTest::newRow("prefixes and raw strings")
        << QByteArray("u8\"数据\" R\"x(行号)\")x\" L\"类型\" 1'000 '\\''")
        << Lines{"数据行号)\"类型"};
    QTest::newRow("not joined across code")
        << QByteArray("a(\"地址：\"), b(\"命令：\")") << Lines{"地址：", "命令："};
}

void TestSourceTexts::literalsOfSources()
{
    QFETCH(QByteArray, source);
    QFETCH(Lines, lines);
    QCOMPARE(chineseLines(stringLiterals(source.toStdString())), lines);
}

void TestSourceTexts::everyTextFileIsUtf8()
{
    const std::vector<SourceFile> files = textFiles();
    int nonAscii = 0;
    QStringList invalid;
    for (const SourceFile &file : files) {
        const int at = firstInvalidUtf8(file.data);
        if (at >= 0) {
            const int line = file.data.left(at).count('\n') + 1;
            invalid << QStringLiteral("%1:%2").arg(file.path).arg(line);
        }
        if (std::any_of(file.data.begin(), file.data.end(), [](char c) { return c & 0x80; }))
            ++nonAscii;
    }
    qInfo("%d text files, %d with non-ASCII text", int(files.size()), nonAscii);
    QVERIFY2(invalid.isEmpty(), qPrintable("not UTF-8: " + invalid.join(QStringLiteral(", "))));
    // The tree was found, and its Chinese sources with it.
    QVERIFY(files.size() > 100);
    QVERIFY(nonAscii > 10);
}

void TestSourceTexts::chineseTextsAreTheProgramsOwn()
{
    std::set<std::string> own;
    for (const ProgramText &entry : programTexts)
        QVERIFY2(own.insert(entry.text).second, entry.text);
    std::set<std::string> used;
    QStringList foreign;
    int found = 0;
    QSet<QString> withChinese;
    for (const SourceFile &file : textFiles()) {
        if (!isProgramFile(file.path))
            continue;
        for (const std::string &text : chineseTextsOf(file)) {
            ++found;
            withChinese.insert(file.path);
            used.insert(text);
            if (!own.count(text))
                foreign << file.path + QStringLiteral(": \"") + QString::fromStdString(text) + '"';
        }
    }
    qInfo("%d Chinese texts in %d files of the program, %d different", found,
        int(withChinese.size()), int(used.size()));
    QVERIFY2(foreign.isEmpty(),
        qPrintable("not the program's own texts: " + foreign.join(QStringLiteral("; "))));
    QStringList unused;
    for (const ProgramText &entry : programTexts)
        if (!used.count(entry.text))
            unused << QString::fromUtf8(entry.text) + QStringLiteral(" (") + entry.where + ')';
    QVERIFY2(unused.isEmpty(), qPrintable("not found: " + unused.join(QStringLiteral(", "))));
}

QTEST_GUILESS_MAIN(TestSourceTexts)
#include "tst_sourcetexts.moc"
