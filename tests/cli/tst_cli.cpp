// The file commands of revora-shift-cli, run as the person runs them.
#include "core/appinfo.h"
#include "support/testfiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Changes = QList<QPair<int, int>>;

// The default image with bytes changed (by image offset), cut or padded to `size`.
QString writeFile(const QTemporaryDir& dir, const QString& name, const Changes& changes = {}, int size = 144)
{
    QByteArray bytes = defaultsBlock();
    for (const auto& c : changes)
        bytes[c.first - 16] = char(c.second);
    ::writeFile(dir.filePath(name), bytes.leftJustified(size, '\0', true));
    return dir.filePath(name);
}

}  // namespace

class TestCli : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
private slots:
    // a: the defaults and 56 ignored bytes; b: the defaults with `changes`. diff exits 0 when the same, else 1.
    // Refused: nothing on stdout, exit 2, a line on stderr saying what is wrong (and some, their usage line).
    void commands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<Changes>("changes");
        QTest::addColumn<int>("exit");
        // show, --version: lines within stdout ("!": not within); diff: all of it; refused: within each stderr line
        QTest::addColumn<QStringList>("out");
        // The report's text, headed with the print time.
        const QStringList report = {"\n         " + QStringLiteral("Launch RPM:").leftJustified(40) + "3000\n",
                                    "\n\n         Velmont Sensors Controller Data Printed: "};
        QTest::newRow("defaults") << "defaults made.dat" << Changes{} << 0 << QStringList{};
        QTest::newRow("show") << "show a" << Changes{} << 0 << report;
        QTest::newRow("show without the time") << "show --no-date a" << Changes{} << 0
                                               << QStringList{"\n         Velmont Sensors Controller Data\n", "!Printed"};
        QTest::newRow("version") << "--version" << Changes{} << 0
                                 << QStringList{"revora-shift-cli " + appinfo::version() + '\n'};
        QTest::newRow("same") << "diff a b" << Changes{} << 0 << QStringList{};
        QTest::newRow("switch and carried-over bit") << "diff a b" << Changes{{20, 31 + 128}} << 1
            << QStringList{"Continuous Data Logging Enabled -> Data Logging Only When Armed",
                           "Offset 20 (OptionFlags): 29 -> 159"};
        QTest::newRow("same shown") << "diff a b" << Changes{{30, 254}} << 1
                                    << QStringList{"Offset 30 (MaxLEDPWM): 255 -> 254"};
        QTest::newRow("user text") << "diff a b" << Changes{{128, 'A'}} << 1
            << QStringList{"User Data: \"" + QString(32, ' ') + "\" -> \"A" + QString(31, ' ') + '"'};
        QTest::newRow("in report order") << "diff a b" << Changes{{82, 7}, {64, 61}} << 1
            << QStringList{"GPO Minimum RPM: 6000 -> 6100", "VSS Alarm Color (RGB): 0, 255, 0 -> 7, 255, 0"};
        QTest::newRow("defaults into no folder") << "defaults no/such/x.dat" << Changes{} << 2 << QStringList{"x.dat"};
        QTest::newRow("show missing") << "show missing.dat" << Changes{} << 2 << QStringList{"missing.dat"};
        QTest::newRow("show short") << "show short.dat" << Changes{} << 2 << QStringList{"too short, 100 bytes"};
        QTest::newRow("diff overflow") << "diff a overflow.dat" << Changes{} << 2 << QStringList{"VSSFreq"};
        QTest::newRow("diff one file") << "diff a" << Changes{} << 2 << QStringList{"Usage"};
        // An option without its value is refused, not taken for one; so is an empty folder.
        QTest::newRow("--port last") << "upload a --port" << Changes{} << 2 << QStringList{"option '--port'"};
        QTest::newRow("--backup last") << "upload --port x a --backup" << Changes{} << 2 << QStringList{"'--backup'"};
        QTest::newRow("--backup=") << "upload --port=x --backup= a" << Changes{} << 2 << QStringList{"needs a folder"};
        const QString u = QStringLiteral("usage: revora-shift-cli report FILE.dat --pdf OUT.pdf");
        QTest::newRow("report, no --pdf") << "report a" << Changes{} << 2 << QStringList{"no --pdf file given.", u};
        QTest::newRow("report, --pdf last") << "report a --pdf" << Changes{} << 2 << QStringList{"--pdf needs a", u};
        QTest::newRow("report, --comment last") << "report a --pdf b --comment" << Changes{} << 2
                                                << QStringList{"--comment needs a value.", u};
        QTest::newRow("report, -x") << "report a --pdf b -x" << Changes{} << 2 << QStringList{"option '-x'.", u};
        QTest::newRow("report, two files") << "report a b --pdf c" << Changes{} << 2 << QStringList{"('a' and 'b').", u};
        QTest::newRow("report over its file") << "report --comment=x --pdf=a a" << Changes{} << 2
                                              << QStringList{"a is the data file itself"};
    }
    void commands()
    {
        QFETCH(QString, command);
        QFETCH(Changes, changes);
        QFETCH(int, exit);
        QFETCH(QStringList, out);
        writeFile(dir, "a", {}, 200), writeFile(dir, "b", changes), writeFile(dir, "short.dat", {}, 100);
        writeFile(dir, "overflow.dat", {{18, 200}});  // VSSFreq high byte
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));  // else Qt's note on it comes first
        QProcess cli;
        cli.setWorkingDirectory(dir.path());
        cli.start(QStringLiteral(REVORA_CLI), command.split(QLatin1Char(' ')));
        QVERIFY(cli.waitForFinished(20000) && cli.exitStatus() == QProcess::NormalExit);
        // Windows ends the lines with CR LF.
        const QString stdOut = QString::fromLocal8Bit(cli.readAllStandardOutput()).replace("\r\n", "\n");
        const QString stdErr = QString::fromLocal8Bit(cli.readAllStandardError()).replace("\r\n", "\n");
        QCOMPARE(cli.exitCode(), exit);
        const QStringList errLines = stdErr.split('\n', Qt::SkipEmptyParts);
        if (exit == 2) {
            for (int i = 0; i < out.size(); ++i)
                QVERIFY2(stdOut.isEmpty() && errLines.size() == out.size() && errLines[i].contains(out[i]),
                         qPrintable(stdErr));
        } else if (!command.startsWith(QLatin1String("diff"))) {
            for (const QString& line : out)
                QVERIFY2(stdErr.isEmpty() && stdOut.contains(line.mid(line.startsWith('!'))) != line.startsWith('!'),
                         qPrintable(line));
        } else {
            QVERIFY2(stdErr.isEmpty() && stdOut.split('\n', Qt::SkipEmptyParts) == out, qPrintable(stdOut));
        }
        if (command == QLatin1String("defaults made.dat"))  // the bytes it wrote
            QCOMPARE(readFile(dir.filePath(QStringLiteral("made.dat"))), defaultsBlock());
    }

    // One JSON object: user units and the stored form, both as numbers; two-byte values little-endian.
    void showJson()
    {
        const QString file = writeFile(dir, "json.dat", {{24, 9}, {25, 7}, {20, 0x1D & ~1}, {128, 'R'}});
        QProcess cli;
        cli.start(QStringLiteral(REVORA_CLI), {QStringLiteral("show"), QStringLiteral("--json"), file});
        QVERIFY(cli.waitForFinished(20000) && cli.exitCode() == 0);
        const QJsonObject all = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
        const QJsonObject p = all.value(QStringLiteral("parameters")).toObject();
        const auto field = [&](const char* name, const char* key) { return p.value(name).toObject().value(key); };
        QCOMPARE(field("PulsePerRev", "value"), QJsonValue(0.5));
        QCOMPARE(field("PulsePerRev", "raw"), QJsonValue(1));
        QCOMPARE(field("LaunchColor", "value").toArray(), QJsonArray({9, 7, 0}));
        QCOMPARE(field("LaunchColor", "raw"), QJsonValue(9 + 7 * 256));  // red in the low byte
        QCOMPARE(field("OptionFlags.GPOEnable", "value"), QJsonValue(false));
        QCOMPARE(field("UserData", "value"), QJsonValue("R" + QString(31, ' ')));
        QCOMPARE(p.size(), 59);  // every parameter the report prints, and the user text
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
