// The file commands of revora-shift-cli, run as the person runs them.
#include "params/defaults.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The factory defaults as a data file (image offsets 16 to 159); the image tests pin these bytes.
QByteArray defaultImage()
{
    ParameterStore store;
    loadDefaults(store);
    return store.image.configBlock();
}

using Changes = QList<QPair<int, int>>;

struct Run {
    int exitCode = -1;  // -1: crashed or did not finish
    QString out, err;
};

Run run(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(REVORA_CLI), args);
    const bool finished = p.waitForFinished(20000);
    if (!finished)
        p.kill(), p.waitForFinished();
    return {finished && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput()), QString::fromLocal8Bit(p.readAllStandardError())};
}

// The default image with bytes changed (by image offset), cut or padded to `size`.
QString writeFile(const QTemporaryDir& dir, const QString& name, const Changes& changes = {}, int size = 144)
{
    QByteArray bytes = defaultImage();
    for (const auto& c : changes)
        bytes[c.first - 16] = char(c.second);
    bytes = bytes.leftJustified(size, '\0', true);
    QFile f(dir.filePath(name));
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() ? f.fileName() : QString();
}

}  // namespace

class TestCli : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
private slots:
    // The defaults as written by the tool, then shown as the printed report would.
    void defaultsThenShow()
    {
        const QString path = dir.filePath(QStringLiteral("defaults.dat"));
        const Run made = run({QStringLiteral("defaults"), path});
        QCOMPARE(made.exitCode, 0);
        QCOMPARE(made.err, QString());
        QFile f(path);
        const QByteArray bytes = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        QCOMPARE(bytes, defaultImage());
        const Run r = run({QStringLiteral("show"), path});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, QString());
        for (const char* pattern : {"RPM Pulses/Rev:\\s+0\\.5\\n", "Continuous Data Logging Enabled\\n",
                                    "Alarm 1 Below Value \\(volts\\):\\s+0\\.0\\n",
                                    "Launch Light Color \\(RGB\\):\\s+255, 0, 0\\n"})
            QVERIFY2(QRegularExpression(QLatin1String(pattern)).match(r.out).hasMatch(), pattern);
        // Labels at column 10, values at column 50; both pages carry the heading.
        QVERIFY(r.out.contains(QStringLiteral("\n         Launch RPM:") + QString(29, ' ') + "3000\n"));
        QCOMPARE(r.out.count(QStringLiteral("Velmont Sensors Controller Data Printed: ")), 2);
        // Bytes after the 144th are ignored.
        const Run longer = run({QStringLiteral("show"), writeFile(dir, QStringLiteral("long.dat"), {}, 200)});
        QCOMPARE(longer.exitCode, 0);
        QCOMPARE(longer.out.size(), r.out.size());
    }

    void diff_data()
    {
        QTest::addColumn<Changes>("changes");
        QTest::addColumn<QStringList>("lines");  // none: the files are the same, exit 0; else exit 1
        const QString armed = QStringLiteral("Continuous Data Logging Enabled -> Data Logging Only When Armed");
        QTest::newRow("same") << Changes{} << QStringList{};
        QTest::newRow("carried-over flag bit") << Changes{{20, 29 + 32}}
                                               << QStringList{"Offset 20 (OptionFlags): 29 -> 61"};
        QTest::newRow("switch and flag bit") << Changes{{20, 31 + 128}}
                                             << QStringList{armed, "Offset 20 (OptionFlags): 29 -> 159"};
        QTest::newRow("same user value") << Changes{{30, 254}} << QStringList{"Offset 30 (MaxLEDPWM): 255 -> 254"};
        QTest::newRow("reserved gap") << Changes{{60, 7}} << QStringList{"Offset 60 (reserved): 0 -> 7"};
        QTest::newRow("user text") << Changes{{128, 'A'}} << QStringList{QStringLiteral("User Data: \"%1\" -> \"A%2\"")
                                                                         .arg(QString(32, ' '), QString(31, ' '))};
        QTest::newRow("colour and gpo") << Changes{{82, 7}, {64, 61}}
                                        << QStringList{"GPO Minimum RPM: 6000 -> 6100",
                                                       "VSS Alarm Color (RGB): 0, 255, 0 -> 7, 255, 0"};
    }
    void diff()
    {
        QFETCH(Changes, changes);
        QFETCH(QStringList, lines);
        const Run r = run({QStringLiteral("diff"), writeFile(dir, QStringLiteral("a.dat")),
                           writeFile(dir, QStringLiteral("b.dat"), changes)});
        QCOMPARE(r.err, QString());
        QCOMPARE(r.exitCode, lines.isEmpty() ? 0 : 1);
        QCOMPARE(r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts), lines);
    }

    // Files that cannot be written, read or decoded, and missing names: one line on stderr
    // saying what is wrong, nothing on stdout, exit status 2.
    void refused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("reason");
        QTest::newRow("defaults into no folder") << QStringList{"defaults", "no/such/folder/x.dat"} << "x.dat";
        QTest::newRow("show missing") << QStringList{"show", "missing.dat"} << "missing.dat";
        QTest::newRow("show short") << QStringList{"show", "short.dat"} << "too short, 100 bytes";
        QTest::newRow("show overflow") << QStringList{"show", "overflow.dat"} << "VSSFreq";
        QTest::newRow("diff overflow") << QStringList{"diff", "good.dat", "overflow.dat"} << "overflow.dat";
        QTest::newRow("show no file") << QStringList{"show"} << "Usage";
        QTest::newRow("diff one file") << QStringList{"diff", "good.dat"} << "Usage";
    }
    void refused()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, reason);
        writeFile(dir, QStringLiteral("short.dat"), {}, 100);
        writeFile(dir, QStringLiteral("overflow.dat"), {{18, 200}});  // VSSFreq high byte
        writeFile(dir, QStringLiteral("good.dat"));
        for (int i = 1; i < args.size(); ++i)
            args[i] = dir.filePath(args[i]);
        const Run r = run(args);
        QCOMPARE(r.exitCode, 2);
        QCOMPARE(r.out, QString());
        QVERIFY2(r.err.contains(reason), qPrintable(r.err));
        QCOMPARE(r.err.count(QLatin1Char('\n')), 1);
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
