// The file commands of revora-shift-cli, run as the person runs them.
#include "core/appinfo.h"
#include "support/testfiles.h"

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
        ok("--help anywhere", "download a --help", {}, {"usage: revora-shift-cli download --port PORT FILE.dat\n"});
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
        const Result r = cli(command.split(QLatin1Char(' ')));
        QCOMPARE(r.exit, exit);
        const bool refused = exit == 2, whole = !refused && command.startsWith(QLatin1String("diff"));
        const QStringList lines = (refused ? r.err : r.out).split('\n', Qt::SkipEmptyParts);
        QVERIFY2((refused ? r.out : r.err).isEmpty(), qPrintable(r.err));
        if (refused)  // one form for every command's complaint
            QVERIFY2(lines.size() == out.size()
                         && lines[0].startsWith("revora-shift-cli " + command.section(' ', 0, 0) + ": "),
                     qPrintable(r.err));
        if (whole)
            QCOMPARE(lines, out);
        for (int i = 0; i < out.size() && !whole; ++i)
            QVERIFY2(refused ? lines[i].contains(out[i]) : r.out.contains(out[i]), qPrintable(lines.join('\n')));
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
                const QJsonValue value = o.value("value"), raw = o.value("raw");
                QString line = QString(9, ' ') + printed;  // a switch or an input: a line of its own
                if (switchTexts.contains(key)) {
                    const bool on = raw == 1 && (key != "OptionFlags.VSSGearDetect" || flags & 8);
                    QVERIFY2(value == on && printed == switchTexts[key].section('|', !on, !on), qPrintable(why));
                } else if (key.endsWith("Input")) {
                    const QString type = key == "Alarm1Input" ? inputs1.value(raw.toInt(), "MAP 3 bar")
                                                              : QString(raw.toInt() ? "AFR" : "Analog 0-5V");
                    QVERIFY2(value == type && printed == label.chopped(5) + type + " Input", qPrintable(why));
                } else {
                    // The user text keeps its printable bytes; a number prints as its value.
                    const bool user = key == "UserData";
                    const QString kept = QString::fromLatin1(text).remove(QRegularExpression("[^ -~]"));
                    QVERIFY2(user ? raw == QString::fromLatin1(text) && value == kept && printed == kept
                                  : value.isArray() || printed.toDouble() == value.toDouble(),
                             qPrintable(why));
                    line = (QString(9, ' ') + label + ':').leftJustified(user ? 29 : 49) + printed;
                }
                while (line.endsWith(' '))
                    line.chop(1);
                QVERIFY2(shown.contains(line), qPrintable(why + ": " + line));
            }
        }
    }

    // The manual page is written from the table that --help prints: every command and exit code of one is
    // in the other, and each command explains itself.
    void helpAndManualsAgree()
    {
        const QString help = run({"--help"});
        const QString man = QString::fromUtf8(readFile(QStringLiteral(REVORA_CLI_MANPAGE))).replace("\\-", "-");
        const QRegularExpression command(QStringLiteral("^  revora-shift-cli ([a-z]+)(.*)$"),
                                         QRegularExpression::MultilineOption);
        int commands = 0;
        for (auto m = command.globalMatch(help); m.hasNext(); ++commands) {
            const auto c = m.next();
            QVERIFY2(man.contains("\n\\fB" + c.captured(1) + "\\fR" + c.captured(2) + '\n')
                         && run({c.captured(1), "--help"}).startsWith("usage: revora-shift-cli " + c.captured(1)),
                     qPrintable(c.captured(0)));
        }
        QVERIFY(commands >= 7);  // the report command is there where the tool prints
        const QString exitStatus = man.section(".SH EXIT STATUS", 1).section(".SH", 0, 0);
        const QRegularExpression code(QStringLiteral("^  (\\S+)  (.*(\n     .*)*)"), QRegularExpression::MultilineOption);
        int exitCodes = 0;
        for (auto m = code.globalMatch(help.section("Exit status:\n", 1)); m.hasNext(); ++exitCodes) {
            const auto c = m.next();
            QVERIFY2(exitStatus.contains(".B " + c.captured(1) + '\n' + c.captured(2).simplified() + '\n'),
                     qPrintable(c.captured(0)));
        }
        QCOMPARE(exitCodes, 4);
    }

private:
    struct Result {
        int exit = -1;
        QString out, err;
    };
    // Runs the tool in the test's folder.
    Result cli(const QStringList& args)
    {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));  // else Qt's note on it comes first
        QProcess cli;
        cli.setWorkingDirectory(dir.path());
        cli.start(QStringLiteral(REVORA_CLI), args);
        // A minute: under Wine on a loaded machine one start can take seconds.
        const bool finished = cli.waitForFinished(60000);
        [&] { QVERIFY2(finished && cli.exitStatus() == QProcess::NormalExit, qPrintable(args.join(' '))); }();
        // Windows ends the lines with CR LF.
        return {cli.exitCode(), QString::fromUtf8(cli.readAllStandardOutput()).replace("\r\n", "\n"),
                QString::fromLocal8Bit(cli.readAllStandardError()).replace("\r\n", "\n")};
    }
    // Its standard output, after checking that it ended well.
    QString run(const QStringList& args)
    {
        const Result r = cli(args);
        [&] { QVERIFY2(r.exit == 0, qPrintable(args.join(' ') + ": " + r.err)); }();
        return r.out;
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
