// The file commands of revora-shift-cli, run as the person runs them.
#include "core/appinfo.h"
#include "support/testfiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
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
        // show, --version: lines within stdout; diff: all of it; refused: within each stderr line
        QTest::addColumn<QStringList>("out");
        const auto ok = [](const char* name, const char* command, const Changes& changes, const QStringList& out) {
            QTest::newRow(name) << command << changes << int(!changes.isEmpty()) << out;
        };
        const auto refused = [](const char* name, const char* command, const QStringList& err) {
            QTest::newRow(name) << command << Changes{} << 2 << err;
        };
        ok("defaults", "defaults made.dat", {}, {});
        ok("show", "show a", {}, {"\n\n         Velmont Sensors Controller Data Printed: "});
        ok("version", "--version", {}, {"revora-shift-cli " + appinfo::version() + '\n'});
        ok("same", "diff a b", {}, {});
        // Which side is which, then the typed rows; a switch has a label of its own.
        const QString sides = QStringLiteral("From a (left) to b (right):");
        ok("switch and carried-over bit", "diff a b", {{20, 31 + 128}},
           {sides, "Data Logging Only When Armed: Disabled -> Enabled", "Offset 20 (OptionFlags): 29 -> 159"});
        ok("same shown", "diff a b", {{30, 254}}, {sides, "Offset 30 (MaxLEDPWM): 255 -> 254"});
        // A block that holds the GPO on where the upload would turn it off reads as on.
        ok("gpo as stored", "diff a b", {{20, 1 + 8}},
           {sides, "VSS Based Gear Detection: Enabled -> Disabled", "VSS Alarm Enable: Enabled -> Disabled"});
        ok("--help anywhere", "download a --help", {}, {"usage: revora-shift-cli download --port PORT FILE.dat\n"});
        // Refused: "revora-shift-cli COMMAND: what is wrong", and for wrong arguments the usage line.
        refused("defaults into no folder", "defaults no/such/x.dat", {"x.dat"});
        refused("show missing", "show missing.dat", {"missing.dat"});
        refused("show short", "show short.dat", {"too short, 100 bytes"});
        refused("show -x", "show -x a", {"unknown option '-x'.", "usage: revora-shift-cli show"});
        refused("diff overflow", "diff a overflow.dat", {"VSSFreq"});
        refused("diff one file", "diff a", {"got 1 argument(s).", "usage: revora-shift-cli diff A.dat B.dat"});
        // An option without its value is refused, not taken for one; so is an empty folder.
        const QString upload = QStringLiteral("usage: revora-shift-cli upload [--backup DIR] --port PORT FILE.dat");
        refused("--port last", "upload a --port", {"option '--port'", upload});
        refused("--backup=", "upload --port=x --backup= a", {"needs a folder", upload});
        refused("download, no port", "download a", {"no --port given", "usage: revora-shift-cli download"});
        refused("compare, bad Com", "compare --port Com0 a", {"'Com0'"});
        const QString u = QStringLiteral("usage: revora-shift-cli report FILE.dat --pdf OUT.pdf");
        refused("report, no --pdf", "report a", {"no --pdf file given.", u});
        refused("report, --pdf last", "report a --pdf", {"--pdf needs a", u});
        refused("report, two files", "report a b --pdf c", {"('a' and 'b').", u});
        refused("report over its file", "report --comment=x --pdf=a a", {"a is the data file itself"});
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
            // One form for every command's complaint.
            QVERIFY2(errLines.value(0).startsWith("revora-shift-cli " + command.section(' ', 0, 0) + ": "),
                     qPrintable(stdErr));
        } else if (!command.startsWith(QLatin1String("diff"))) {
            for (const QString& line : out)
                QVERIFY2(stdErr.isEmpty() && stdOut.contains(line), qPrintable(line));
        } else {
            QVERIFY2(stdErr.isEmpty() && stdOut.split('\n', Qt::SkipEmptyParts) == out, qPrintable(stdOut));
        }
        if (command == QLatin1String("defaults made.dat"))  // the bytes it wrote
            QCOMPARE(readFile(dir.filePath(QStringLiteral("made.dat"))), defaultsBlock());
    }

    // Files crafted byte by byte, switch and GPO edge cases among them: for each, every parameter's JSON value,
    // stored form and text agree with each other and with the line `show` prints (a set bit is a switch on,
    // except gear detection in single-stage mode; the GPO reads as stored).
    void viewsAgree()
    {
        const QHash<QString, QString> switchTexts = {  // "on|off"
            {"OptionFlags.GPOEnable", "GPO Enabled|GPO Disabled"},
            {"OptionFlags.LogArmed", "Data Logging Only When Armed|Continuous Data Logging Enabled"},
            {"OptionFlags.AlarmVSSEnable", "VSS Alarm Enabled|VSS Alarm Disabled"},
            {"OptionFlags.MultiStageShift", "Multi-Stage Shift Light Enabled|Multi-Stage Shift Light Disabled"},
            {"OptionFlags.VSSGearDetect", "VSS Based Gear Detection Enabled|VSS Based Gear Detection Disabled"},
            {"GPOFlags.GPOOneShotDelay", "GPO One-Shot Delay Enabled|GPO One-Shot Delay Disabled"},
            {"Alarm1Flags.Alarm1Enable", "Alarm 1 Enabled|Alarm 1 Disabled"},
            {"Alarm1Flags.Alarm1PressurePSI", "Alarm 1 psi MAP units|Alarm 1 In-HG MAP units"},
            {"Alarm2Flags.Alarm2Enable", "Alarm 2 Enabled|Alarm 2 Disabled"}};
        const QStringList inputs1 = {"Analog 0-5V", "AFR", "MAP 1 bar", "MAP 2 bar"};
        const char* const texts[] = {"  Car 7", "Car 7  ", "\tA\001B", " ", "~~~~", "0123456789abcdefghijklmnopqrstuvwxyz"};
        for (int n = 0; n < 48; ++n) {
            const int flags = n < 32 ? n | (n % 3 == 0 ? 0xE0 : 0) : (n * 37) & 0xFF;
            Changes changes{{20, flags}, {71, n % 2 ? 0xFF : 0xFE}, {96, n % 4 | (n % 5 == 0 ? 0xFC : 0)},
                            {97, n % 9}, {112, n % 3 == 1 ? 0xFF : n % 2}, {113, n % 4}, {66, n * 5}, {21, 40 + n},
                            {100, n}};
            const QByteArray text = QByteArray(texts[n % 6]).leftJustified(32, ' ', true);
            for (int i = 0; i < 32; ++i)
                changes << qMakePair(128 + i, int(uint8_t(text[i])));
            const QString file = writeFile(dir, QStringLiteral("crafted%1.dat").arg(n), changes);
            const QStringList shown = run({"show", "--no-date", file}).split('\n');
            const QJsonObject params = QJsonDocument::fromJson(run({"show", "--json", file}).toUtf8())
                                           .object().value("parameters").toObject();
            QCOMPARE(params.size(), 59);
            for (auto it = params.constBegin(); it != params.constEnd(); ++it) {
                const QString key = it.key(), why = QStringLiteral("%1 in %2").arg(key, file);
                const QJsonObject o = it.value().toObject();
                const QString label = o.value("label").toString(), printed = o.value("text").toString();
                const QJsonValue value = o.value("value");
                const int raw = o.value("raw").toInt();
                QString line = QString(9, ' ') + printed;  // a switch or an input: a line of its own
                if (switchTexts.contains(key)) {
                    const bool on = raw == 1 && (key != "OptionFlags.VSSGearDetect" || flags & 8);
                    QVERIFY2(value == on && printed == switchTexts[key].section('|', !on, !on), qPrintable(why));
                } else if (key.endsWith("Input")) {
                    const QString type = key == "Alarm1Input" ? inputs1.value(raw, "MAP 3 bar")
                                                              : QString(raw ? "AFR" : "Analog 0-5V");
                    QVERIFY2(value == type && printed == label.chopped(5) + type + " Input", qPrintable(why));
                } else if (key == "UserData") {
                    QString decoded;  // printable bytes kept, others dropped
                    for (char c : text)
                        if (c >= 32 && c <= 126)
                            decoded += QLatin1Char(c);
                    QVERIFY2(value == decoded && printed == decoded && o.value("raw") == QString::fromLatin1(text),
                             qPrintable(why));
                    line = (QString(9, ' ') + "User Data:").leftJustified(29) + decoded;
                } else {
                    const QJsonArray rgb = value.toArray();
                    bool number = false;
                    QVERIFY2(value.isArray() ? printed == QStringLiteral("%1, %2, %3").arg(rgb[0].toInt())
                                                              .arg(rgb[1].toInt()).arg(rgb[2].toInt())
                                             : printed.toDouble(&number) == value.toDouble() && number,
                             qPrintable(why));
                    line = (QString(9, ' ') + label + ':').leftJustified(49) + printed;
                }
                while (line.endsWith(' '))
                    line.chop(1);
                QVERIFY2(shown.contains(line), qPrintable(why + ": " + line));
            }
        }
    }

    // The manual page is written from the table that --help prints: every command and exit code of one is
    // in the other.
    void helpAndManualsAgree()
    {
        const QString help = run({"--help"});
        QFile page(QStringLiteral(REVORA_CLI_MANPAGE));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString man = QString::fromUtf8(page.readAll()).replace("\\-", "-");
        const QString exitStatus = man.section(".SH EXIT STATUS", 1).section(".SH", 0, 0);
        const QRegularExpression command(QStringLiteral("^  revora-shift-cli ([a-z]+)(.*)$"),
                                         QRegularExpression::MultilineOption);
        int commands = 0;
        for (auto m = command.globalMatch(help); m.hasNext(); ++commands) {
            const auto c = m.next();
            QVERIFY2(man.contains("\n\\fB" + c.captured(1) + "\\fR" + c.captured(2) + '\n'), qPrintable(c.captured(0)));
            QVERIFY2(man.contains(".B revora-shift-cli " + c.captured(1) + '\n'), qPrintable(c.captured(0)));
            QVERIFY2(run({c.captured(1), "--help"}).startsWith("usage: revora-shift-cli " + c.captured(1)),
                     qPrintable(c.captured(0)));
        }
        QVERIFY(commands >= 7);  // the report command is there where the tool prints
        const QString codes = help.section("Exit status:\n", 1);
        const QRegularExpression code(QStringLiteral("^  (\\S+)  (.*(\n     .*)*)"), QRegularExpression::MultilineOption);
        int exitCodes = 0;
        for (auto m = code.globalMatch(codes); m.hasNext(); ++exitCodes) {
            const auto c = m.next();
            const QString meaning = c.captured(2).simplified();
            QVERIFY2(exitStatus.contains(".B " + c.captured(1) + '\n' + meaning + '\n'), qPrintable(meaning));
        }
        QCOMPARE(exitCodes, 4);
    }

private:
    // Runs the tool; its standard output, after checking that it ended well.
    QString run(const QStringList& args)
    {
        QProcess cli;
        cli.start(QStringLiteral(REVORA_CLI), args);
        // A minute: under Wine on a loaded machine one start can take seconds.
        const bool finished = cli.waitForFinished(60000);
        [&] {
            QVERIFY2(finished && cli.exitStatus() == QProcess::NormalExit && cli.exitCode() == 0,
                     qPrintable(args.join(' ')));
        }();
        return QString::fromUtf8(cli.readAllStandardOutput()).replace("\r\n", "\n");  // Windows: CR LF
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
