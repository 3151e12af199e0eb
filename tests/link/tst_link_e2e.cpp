// The command-line tool and the real serial backend against the emulator
// program on a pseudo-terminal, at the protocol's own timing.
#include "emulator/factoryimage.h"
#include "params/codec.h"
#include "params/defaults.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

namespace {
QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}
}  // namespace

class TestLinkE2E : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void download_data();
    void download();
    void upload_data();
    void upload();
    void ctrlCStopsTheRead();

private:
    // Starts the emulator; returns its terminal's path.
    QString startEmulator(const QStringList& args);
    // Stops the emulator the way a person does (it saves on the way out).
    void stopEmulator();
    int runCli(const QStringList& args, QStringList* lines);

    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
    QProcess m_emulator;
};

void TestLinkE2E::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_env = QProcessEnvironment::systemEnvironment();
    // Both programs find ComN through a settings store of the test's own.
    m_env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
}

void TestLinkE2E::cleanup()
{
    stopEmulator();
}

QString TestLinkE2E::startEmulator(const QStringList& args)
{
    m_emulator.setProcessEnvironment(m_env);
    m_emulator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_emulator.start(QStringLiteral(REVORA_EMULATOR), args);
    if (!m_emulator.waitForStarted(5000))
        return QString();
    while (!m_emulator.canReadLine() && m_emulator.waitForReadyRead(5000)) {
    }
    return QString::fromLocal8Bit(m_emulator.readLine()).trimmed();
}

void TestLinkE2E::stopEmulator()
{
    if (m_emulator.state() == QProcess::NotRunning)
        return;
    m_emulator.terminate();
    if (!m_emulator.waitForFinished(5000)) {
        m_emulator.kill();
        m_emulator.waitForFinished(2000);
    }
}

int TestLinkE2E::runCli(const QStringList& args, QStringList* lines)
{
    QProcess cli;
    cli.setProcessEnvironment(m_env);
    cli.start(QStringLiteral(REVORA_CLI), args);
    if (!cli.waitForFinished(30000)) {
        cli.kill();
        cli.waitForFinished();
        return -1;
    }
    *lines = QString::fromLocal8Bit(cli.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
}

void TestLinkE2E::download_data()
{
    QTest::addColumn<QStringList>("emulatorArgs");
    QTest::addColumn<bool>("byCom");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("exitCode");

    const QString fw = QStringLiteral("Firmware ID: Revora Shift Light v1.0");
    QTest::newRow("by path") << QStringList() << false << QStringList{fw} << 0;
    QTest::newRow("by ComN") << QStringList{QStringLiteral("--com"), QStringLiteral("7")} << true << QStringList{fw}
                             << 0;
    QTest::newRow("armed") << QStringList{QStringLiteral("--status"), QStringLiteral("2")} << false
                           << QStringList{QStringLiteral("Cannot download while controller is armed.")} << 1;
    QTest::newRow("address NAK") << QStringList{QStringLiteral("--fail"), QStringLiteral("nak-address")} << false
                                 << QStringList{fw, QStringLiteral("Download failed.")} << 1;
    QTest::newRow("line drops") << QStringList{QStringLiteral("--fail"), QStringLiteral("disconnect:60")} << false
                                << QStringList{fw, QStringLiteral("RS-232 timeout. Check cable and click Abort."),
                                               QStringLiteral("Download failed.")}
                                << 1;
}

void TestLinkE2E::download()
{
    QFETCH(QStringList, emulatorArgs);
    QFETCH(bool, byCom);
    QFETCH(QStringList, lines);
    QFETCH(int, exitCode);

    // A configuration that differs from the factory's, so the bytes can only come from the line.
    ParameterStore store;
    loadDefaults(store);
    store.params.LaunchRPM = 5125;
    store.params.UserData = QStringLiteral("e2e download");
    QVERIFY(UpdateEEPROM(store.params, store.image));
    const QString source = m_dir.filePath(QStringLiteral("source.dat"));
    QVERIFY(writeAll(source, store.image.configBlock()));

    const QString tty = startEmulator(emulatorArgs + QStringList{QStringLiteral("--eeprom"), source});
    QVERIFY2(tty.startsWith(QLatin1Char('/')), qPrintable(tty));
    const QString out = m_dir.filePath(QStringLiteral("out.dat"));
    QFile::remove(out);
    QStringList shown;
    const int code = runCli({QStringLiteral("download"), QStringLiteral("--port"),
                             byCom ? QStringLiteral("Com7") : tty, out},
                            &shown);
    QCOMPARE(shown, lines);
    QCOMPARE(code, exitCode);
    if (exitCode == 0)
        QCOMPARE(readAll(out), store.image.configBlock());
    else
        QVERIFY(!QFile::exists(out));  // a failed download writes nothing
}

void TestLinkE2E::upload_data()
{
    QTest::addColumn<QStringList>("emulatorArgs");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("stored");

    auto fail = [](const char* mode) { return QStringList{QStringLiteral("--fail"), QLatin1String(mode)}; };
    QTest::newRow("complete") << QStringList() << QStringList{QStringLiteral("Upload completed.")} << 0 << true;
    QTest::newRow("reset answered 06 alone") << fail("reset-ack-only")
                                             << QStringList{QStringLiteral("Upload completed.")} << 0 << true;
    QTest::newRow("unknown firmware") << fail("firmware-unknown")
                                      << QStringList{QStringLiteral("Unknown product firmware ID - cannot upload.")}
                                      << 1 << false;
    QTest::newRow("armed") << QStringList{QStringLiteral("--status"), QStringLiteral("3")}
                           << QStringList{QStringLiteral("Cannot upload while controller is armed.")} << 1 << false;
    QTest::newRow("write NAK") << fail("nak-write:40")
                               << QStringList{QStringLiteral("Upload aborted - EEPROM programming failed.")} << 1
                               << false;
    QTest::newRow("mismatch") << fail("mismatch:77")
                              << QStringList{QStringLiteral("Upload aborted - EEPROM verification failed.")} << 1
                              << true;
    QTest::newRow("controller silent") << fail("silent")
                                       << QStringList{QStringLiteral(
                                              "Cannot establish RS-232 link. Check cable and controller power.")}
                                       << 1 << false;
}

void TestLinkE2E::upload()
{
    QFETCH(QStringList, emulatorArgs);
    QFETCH(QStringList, lines);
    QFETCH(int, exitCode);
    QFETCH(bool, stored);

    ParameterStore store;
    loadDefaults(store);
    store.params.ShiftRPM1 = 6800;
    store.params.UserData = QStringLiteral("e2e upload");
    QVERIFY(UpdateEEPROM(store.params, store.image));
    const QByteArray file = store.image.configBlock();
    QVERIFY(file != factoryConfigBlock());
    const QString in = m_dir.filePath(QStringLiteral("in.dat"));
    const QString saved = m_dir.filePath(QStringLiteral("saved.dat"));
    QVERIFY(writeAll(in, file));
    QFile::remove(saved);

    const QString tty = startEmulator(emulatorArgs + QStringList{QStringLiteral("--save"), saved});
    QVERIFY2(tty.startsWith(QLatin1Char('/')), qPrintable(tty));
    QStringList shown;
    const int code = runCli({QStringLiteral("upload"), QStringLiteral("--port"), tty, in}, &shown);
    QCOMPARE(shown, lines);
    QCOMPARE(code, exitCode);
    stopEmulator();
    const QByteArray after = readAll(saved);
    QCOMPARE(after.size(), file.size());
    QCOMPARE(after == file, stored);
    QCOMPARE(QFile(in).size(), qint64(file.size()));  // the input file is never touched
}

void TestLinkE2E::ctrlCStopsTheRead()
{
    const QString tty = startEmulator({});
    QVERIFY(tty.startsWith(QLatin1Char('/')));
    const QString out = m_dir.filePath(QStringLiteral("interrupted.dat"));
    QFile::remove(out);
    QProcess cli;
    cli.setProcessEnvironment(m_env);
    cli.start(QStringLiteral(REVORA_CLI), {QStringLiteral("download"), QStringLiteral("--port"), tty, out});
    // The firmware ID is shown just before the block read starts, which takes
    // more than half a second at the protocol's pauses.
    while (!cli.canReadLine() && cli.waitForReadyRead(10000)) {
    }
    QCOMPARE(cli.readLine().trimmed(), QByteArray("Firmware ID: Revora Shift Light v1.0"));
    ::kill(pid_t(cli.processId()), SIGINT);
    QVERIFY(cli.waitForFinished(10000));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), 1);
    QCOMPARE(cli.readAllStandardOutput().trimmed(), QByteArray("Download failed."));
    QVERIFY(!QFile::exists(out));
}

QTEST_GUILESS_MAIN(TestLinkE2E)
#include "tst_link_e2e.moc"
