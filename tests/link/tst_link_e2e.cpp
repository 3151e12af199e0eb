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

// A configuration unlike the factory's, so its bytes can only have crossed the line.
QByteArray configFile(const QString& path, const QString& userData)
{
    ParameterStore store;
    loadDefaults(store);
    store.params.LaunchRPM = 5125;
    store.params.UserData = userData;
    if (!UpdateEEPROM(store.params, store.image))
        return {};
    const QByteArray block = store.image.configBlock();
    QFile f(path);
    if (block == factoryConfigBlock() || !f.open(QIODevice::WriteOnly) || f.write(block) != block.size())
        return {};
    return block;
}

QStringList args(const char* a, const char* b) { return {QLatin1String(a), QLatin1String(b)}; }

const QString kFw = QStringLiteral("Firmware ID: Revora Shift Light v1.0");
}  // namespace

class TestLinkE2E : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_env = QProcessEnvironment::systemEnvironment();
        // Both programs find ComN through a settings store of the test's own.
        m_env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
    }
    void cleanup() { stopEmulator(); }

    void download_data()
    {
        QTest::addColumn<QStringList>("emulatorArgs");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("by path") << QStringList() << QStringList{kFw} << 0;
        QTest::newRow("by ComN") << args("--com", "7") << QStringList{kFw} << 0;
        QTest::newRow("armed") << args("--status", "2")
                               << QStringList{QStringLiteral("Cannot download while controller is armed.")} << 1;
        QTest::newRow("address NAK") << args("--fail", "nak-address")
                                     << QStringList{kFw, QStringLiteral("Download failed.")} << 1;
        const QString timeout = QStringLiteral("RS-232 timeout. Check cable and click Abort.");
        QTest::newRow("line drops") << args("--fail", "disconnect:60")
                                    << QStringList{kFw, timeout, QStringLiteral("Download failed.")} << 1;
    }
    void download()
    {
        QFETCH(QStringList, emulatorArgs);
        QFETCH(QStringList, lines);
        QFETCH(int, exitCode);
        const QString source = m_dir.filePath(QStringLiteral("source.dat"));
        const QByteArray block = configFile(source, QStringLiteral("e2e download"));
        QVERIFY(!block.isEmpty());
        const QString tty = startEmulator(emulatorArgs + QStringList{QStringLiteral("--eeprom"), source});
        QVERIFY2(tty.startsWith(QLatin1Char('/')), qPrintable(tty));
        const QString out = m_dir.filePath(QStringLiteral("out.dat"));
        QFile::remove(out);
        const QString port = emulatorArgs.contains(QStringLiteral("--com")) ? QStringLiteral("Com7") : tty;
        QStringList shown;
        const int code = runCli({QStringLiteral("download"), QStringLiteral("--port"), port, out}, &shown);
        QCOMPARE(shown, lines);
        QCOMPARE(code, exitCode);
        if (exitCode == 0)
            QCOMPARE(readAll(out), block);
        else
            QVERIFY(!QFile::exists(out));  // a failed download writes nothing
    }

    void upload_data()
    {
        QTest::addColumn<QStringList>("emulatorArgs");
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("stored");  // the upload succeeds only when the reset follows
        QTest::addColumn<int>("exitCode");
        QTest::newRow("complete") << QStringList() << "Upload completed." << true << 0;
        QTest::newRow("reset answered 06 alone") << args("--fail", "reset-ack-only") << "Upload completed." << true
                                                 << 0;
        QTest::newRow("unknown firmware") << args("--fail", "firmware-unknown")
                                          << "Unknown product firmware ID - cannot upload." << false << 1;
        QTest::newRow("armed") << args("--status", "3") << "Cannot upload while controller is armed." << false << 1;
        QTest::newRow("write NAK") << args("--fail", "nak-write:40") << "Upload aborted - EEPROM programming failed."
                                   << false << 1;
        QTest::newRow("mismatch") << args("--fail", "mismatch:77") << "Upload aborted - EEPROM verification failed."
                                  << true << 1;
    }
    void upload()
    {
        QFETCH(QStringList, emulatorArgs);
        QFETCH(QString, line);
        QFETCH(bool, stored);
        QFETCH(int, exitCode);
        const QString in = m_dir.filePath(QStringLiteral("in.dat"));
        const QString saved = m_dir.filePath(QStringLiteral("saved.dat"));
        const QByteArray file = configFile(in, QStringLiteral("e2e upload"));
        QVERIFY(!file.isEmpty());
        QFile::remove(saved);
        const QString tty = startEmulator(emulatorArgs + QStringList{QStringLiteral("--save"), saved});
        QVERIFY2(tty.startsWith(QLatin1Char('/')), qPrintable(tty));
        QStringList shown;
        const int code = runCli({QStringLiteral("upload"), QStringLiteral("--port"), tty, in}, &shown);
        QCOMPARE(shown, QStringList{line});
        QCOMPARE(code, exitCode);
        stopEmulator();
        const QByteArray after = readAll(saved);
        QCOMPARE(after.size(), file.size());
        QCOMPARE(after == file, stored);
        QCOMPARE(readAll(in), file);  // the input file is never touched
    }

    void ctrlCStopsTheRead()
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
        QCOMPARE(cli.readLine().trimmed(), kFw.toLatin1());
        ::kill(pid_t(cli.processId()), SIGINT);
        QVERIFY(cli.waitForFinished(10000));
        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        QCOMPARE(cli.exitCode(), 1);
        QCOMPARE(cli.readAllStandardOutput().trimmed(), QByteArray("Download failed."));
        QVERIFY(!QFile::exists(out));
    }

private:
    // Starts the emulator; returns its terminal's path.
    QString startEmulator(const QStringList& args)
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

    // Stops the emulator the way a person does (it saves on the way out).
    void stopEmulator()
    {
        m_emulator.terminate();
        if (!m_emulator.waitForFinished(5000)) {
            m_emulator.kill();
            m_emulator.waitForFinished(2000);
        }
    }

    int runCli(const QStringList& args, QStringList* lines)
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

    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
    QProcess m_emulator;
};

QTEST_GUILESS_MAIN(TestLinkE2E)
#include "tst_link_e2e.moc"
