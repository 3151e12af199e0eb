// The file commands of revora-shift-cli, run as the person runs them.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The factory defaults as a data file: image offsets 16 to 159.
QByteArray defaultImage()
{
    const int head[] = {1,   150, 0,   6,   29,  44,  235, 10,  255, 0,   0,   255, 0,   0,   255, 15, 184,
                        11,  112, 23,  112, 23,  112, 23,  112, 23,  112, 23,  25,  50,  75,  100, 125, 244,
                        1,   244, 1};  // offsets 16-52
    QByteArray b(144, '\0');
    for (int i = 0; i < int(sizeof head / sizeof head[0]); ++i)
        b[i] = char(head[i]);
    const int gpo[] = {60, 120, 214, 224, 30, 225, 0, 0};  // 64-71
    for (int i = 0; i < 8; ++i)
        b[64 - 16 + i] = char(gpo[i]);
    const int vss[] = {0, 225, 0, 255, 0};  // 80-84
    for (int i = 0; i < 5; ++i)
        b[80 - 16 + i] = char(vss[i]);
    const int alarm[] = {0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 0};  // 96-106, 112-122
    for (int i = 0; i < 11; ++i) {
        b[96 - 16 + i] = char(alarm[i]);
        b[112 - 16 + i] = char(alarm[i]);
    }
    for (int i = 128; i <= 159; ++i)
        b[i - 16] = ' ';
    return b;
}

using Changes = QList<QPair<int, int>>;

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run run(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(REVORA_CLI), args);
    Run r;
    if (!p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished();
        r.err = QStringLiteral("did not finish");
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

// Writes the default image with some bytes changed: "offset=value" pairs by image offset.
QString writeFile(const QTemporaryDir& dir, const QString& name, const Changes& changes = {},
                  int size = 144)
{
    QByteArray bytes = defaultImage();
    for (const auto& c : changes)
        bytes[c.first - 16] = char(c.second);
    bytes = bytes.leftJustified(size, '\0', true);
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return QString();
    return path;
}

}  // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void defaultsWritesTheDefaultImage();
    void showPrintsTheReport();
    void diff_data();
    void diff();
    void refused_data();
    void refused();

private:
    QTemporaryDir dir;
};

void TestCli::initTestCase()
{
    QVERIFY(dir.isValid());
    QVERIFY2(QFile::exists(QStringLiteral(REVORA_CLI)), REVORA_CLI);
}

void TestCli::defaultsWritesTheDefaultImage()
{
    const QString path = dir.filePath(QStringLiteral("defaults.dat"));
    const Run r = run({QStringLiteral("defaults"), path});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, QString());
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QCOMPARE(bytes.size(), 144);
    QCOMPARE(bytes.left(8), QByteArray("\x01\x96\x00\x06\x1d\x2c\xeb\x0a", 8));
    QCOMPARE(bytes, defaultImage());
    // Writing into a folder that does not exist fails with the reason.
    const Run bad = run({QStringLiteral("defaults"), dir.filePath(QStringLiteral("no/such/folder/x.dat"))});
    QCOMPARE(bad.exitCode, 2);
    QVERIFY2(bad.err.contains(QLatin1String("x.dat")), qPrintable(bad.err));
}

void TestCli::showPrintsTheReport()
{
    const QString path = writeFile(dir, QStringLiteral("show.dat"));
    const Run r = run({QStringLiteral("show"), path});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, QString());
    const QStringList expected = {
        "RPM Pulses/Rev:\\s+0\\.5",         "Zero TPS \\(volts\\):\\s+0\\.9",   "100% TPS \\(volts\\):\\s+4\\.6",
        "Data Logging Interval \\(sec\\):\\s+0\\.10", "Continuous Data Logging Enabled",
        "Minimum LED Brightness:\\s+6\\n", "Maximum LED Brightness:\\s+100",  "GPO Minimum RPM:\\s+6000",
        "GPO Maximum RPM:\\s+12000",        "GPO TPS Off \\(%\\):\\s+89",       "GPO TPS On \\(%\\):\\s+94",
        "GPO Delay \\(sec\\):\\s+0\\.00",   "Alarm 1 Above Value \\(volts\\):\\s+5\\.0",
        "Alarm 1 Below Value \\(volts\\):\\s+0\\.0", "Launch Light Color \\(RGB\\):\\s+255, 0, 0",
    };
    for (const QString& pattern : expected)
        QVERIFY2(QRegularExpression(pattern).match(r.out).hasMatch(), qPrintable(pattern));
    // Values sit at column 50, labels at column 10; both pages carry the heading.
    QVERIFY(r.out.contains(QStringLiteral("\n         Launch RPM:") + QString(29, QLatin1Char(' ')) +
                           QStringLiteral("3000\n")));
    QCOMPARE(r.out.count(QStringLiteral("Velmont Sensors Controller Data Printed: ")), 2);
    // Bytes after the 144th are ignored.
    const Run longer = run({QStringLiteral("show"), writeFile(dir, QStringLiteral("long.dat"), {}, 200)});
    QCOMPARE(longer.exitCode, 0);
    QCOMPARE(longer.out.size(), r.out.size());
}

void TestCli::diff_data()
{
    QTest::addColumn<Changes>("changes");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("same") << Changes{} << 0 << QStringList{};
    QTest::newRow("gear 3") << Changes{{38, 100}, {39, 25}} << 1 << QStringList{"Gear 3 Shift RPM: 6000 -> 6500"};
    QTest::newRow("switch") << Changes{{20, 31}} << 1
                            << QStringList{"Continuous Data Logging Enabled -> Data Logging Only When Armed"};
    QTest::newRow("carried-over flag bit") << Changes{{20, 29 + 32}} << 1
                                           << QStringList{"Offset 20 (OptionFlags): 29 -> 61"};
    QTest::newRow("switch and flag bit") << Changes{{20, 31 + 128}} << 1
                                         << QStringList{"Continuous Data Logging Enabled -> Data Logging Only When Armed",
                                                        "Offset 20 (OptionFlags): 29 -> 159"};
    QTest::newRow("same user value") << Changes{{30, 254}} << 1 << QStringList{"Offset 30 (MaxLEDPWM): 255 -> 254"};
    QTest::newRow("reserved gap") << Changes{{60, 7}} << 1 << QStringList{"Offset 60 (reserved): 0 -> 7"};
    QTest::newRow("user text") << Changes{{128, 'A'}} << 1
                               << QStringList{QStringLiteral("User Data: \"%1\" -> \"A%2\"")
                                                  .arg(QString(32, QLatin1Char(' ')), QString(31, QLatin1Char(' ')))};
    QTest::newRow("colour and gpo") << Changes{{82, 7}, {64, 61}} << 1
                                    << QStringList{"GPO Minimum RPM: 6000 -> 6100",
                                                   "VSS Alarm Color (RGB): 0, 255, 0 -> 7, 255, 0"};
}

void TestCli::diff()
{
    QFETCH(Changes, changes);
    QFETCH(int, exitCode);
    QFETCH(QStringList, lines);
    const QString a = writeFile(dir, QStringLiteral("a.dat"));
    const QString b = writeFile(dir, QStringLiteral("b.dat"), changes);
    const Run r = run({QStringLiteral("diff"), a, b});
    QCOMPARE(r.err, QString());
    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts), lines);
}

// Files that cannot be read or decoded: one line on stderr naming the file, nothing
// on stdout, exit status 2.
void TestCli::refused_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reason");
    QTest::newRow("show missing") << "show" << "missing.dat" << "missing.dat";
    QTest::newRow("show short") << "show" << "short.dat" << "too short, 100 bytes";
    QTest::newRow("show overflow") << "show" << "overflow.dat" << "VSSFreq";
    QTest::newRow("diff short") << "diff" << "short.dat" << "short.dat";
    QTest::newRow("diff overflow") << "diff" << "overflow.dat" << "overflow.dat";
    QTest::newRow("show no file") << "show" << "" << "Usage";
    QTest::newRow("diff one file") << "diff" << "" << "Usage";
}

void TestCli::refused()
{
    QFETCH(QString, command);
    QFETCH(QString, file);
    QFETCH(QString, reason);
    writeFile(dir, QStringLiteral("short.dat"), {}, 100);
    writeFile(dir, QStringLiteral("overflow.dat"), {{18, 200}});  // VSSFreq high byte
    const QString good = writeFile(dir, QStringLiteral("good.dat"));
    QStringList args{command};
    if (!file.isEmpty()) {
        if (command == QLatin1String("diff"))
            args << good;
        args << dir.filePath(file);
    } else if (command == QLatin1String("diff")) {
        args << good;
    }
    const Run r = run(args);
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.out, QString());
    QVERIFY2(r.err.contains(reason), qPrintable(r.err));
    QCOMPARE(r.err.count(QLatin1Char('\n')), 1);
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
