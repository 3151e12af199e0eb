// The command-line tool and its serial backend against the emulator program, at the protocol's own timing.
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
        // A configuration unlike the factory's, so its bytes can only have crossed the line.
        ParameterStore store;
        loadDefaults(store);
        store.params.UserData = QStringLiteral("end to end");
        QVERIFY(UpdateEEPROM(store.params, store.image));
        m_block = store.image.configBlock();
        QFile f(m_file);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(m_block) == m_block.size() && f.flush());
    }
    void cleanup() { stopEmulator(); }

    // Download copies the controller's bytes to the file, upload the file's to it; a failure says why, exits 1.
    void transfer_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("emulatorArgs");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("transferred");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("download") << "download" << "" << true << true << QStringList{kFw};
        QTest::newRow("download by ComN") << "download" << "--com 7" << true << true << QStringList{kFw};
        QTest::newRow("armed") << "download" << "--status 2" << false << false
                               << QStringList{"Cannot download while controller is armed."};
        QTest::newRow("line drops")
            << "download" << "--fail disconnect:60" << false << false
            << QStringList{kFw, "RS-232 timeout. Check cable and click Abort.", "Download failed."};
        QTest::newRow("upload") << "upload" << "" << true << true << QStringList{"Upload completed."};
        QTest::newRow("unknown firmware") << "upload" << "--fail firmware-unknown" << false << false
                                          << QStringList{"Unknown product firmware ID - cannot upload."};
        QTest::newRow("write NAK") << "upload" << "--fail nak-write:40" << false << false
                                   << QStringList{"Upload aborted - EEPROM programming failed."};
        QTest::newRow("mismatch") << "upload" << "--fail mismatch:77" << false << true
                                  << QStringList{"Upload aborted - EEPROM verification failed."};
    }
    void transfer()
    {
        QFETCH(QString, command);
        QFETCH(QString, emulatorArgs);
        QFETCH(bool, ok);
        QFETCH(bool, transferred);
        QFETCH(QStringList, lines);
        const bool download = command == QLatin1String("download");
        const QString other = m_dir.filePath(QStringLiteral("other.dat"));  // the download, or the saved EEPROM
        QFile::remove(other);
        QStringList args = emulatorArgs.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString tty = startEmulator(args << (download ? "--eeprom" : "--save") << (download ? m_file : other));
        QVERIFY2(tty.startsWith(QLatin1Char('/')), qPrintable(tty));
        const QString port = args.contains(QStringLiteral("--com")) ? QStringLiteral("Com7") : tty;
        QProcess cli;
        cli.setProcessEnvironment(m_env);
        cli.start(QStringLiteral(REVORA_CLI), {command, QStringLiteral("--port"), port, download ? other : m_file});
        QVERIFY(cli.waitForFinished(30000));
        QCOMPARE(QString::fromLocal8Bit(cli.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
                 lines);
        QCOMPARE(cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1, ok ? 0 : 1);
        stopEmulator();
        if (download)
            QCOMPARE(readAll(other), transferred ? m_block : QByteArray());  // a failed download writes nothing
        else
            QCOMPARE(readAll(other) == m_block, transferred);
        QCOMPARE(readAll(m_file), m_block);  // the input file is never touched
    }

    void ctrlCStopsTheRead()
    {
        const QString tty = startEmulator({});
        const QString out = m_dir.filePath(QStringLiteral("interrupted.dat"));
        QProcess cli;
        cli.setProcessEnvironment(m_env);
        cli.start(QStringLiteral(REVORA_CLI), {QStringLiteral("download"), QStringLiteral("--port"), tty, out});
        // The firmware ID is shown just before the block read, which lasts over half a second.
        while (!cli.canReadLine() && cli.waitForReadyRead(10000)) {
        }
        QCOMPARE(cli.readLine().trimmed(), kFw.toLatin1());
        ::kill(pid_t(cli.processId()), SIGINT);
        QVERIFY(cli.waitForFinished(10000));
        QCOMPARE(cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1, 1);
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
        while (m_emulator.waitForStarted(5000) && !m_emulator.canReadLine() && m_emulator.waitForReadyRead(5000)) {
        }
        return QString::fromLocal8Bit(m_emulator.readLine()).trimmed();
    }
    // Stops the emulator the way a person does (it saves on the way out).
    void stopEmulator()
    {
        m_emulator.terminate();
        if (!m_emulator.waitForFinished(5000))
            m_emulator.kill();
        m_emulator.waitForFinished(2000);
    }

    QTemporaryDir m_dir;
    QString m_file = m_dir.filePath(QStringLiteral("file.dat"));
    QByteArray m_block;
    QProcessEnvironment m_env;
    QProcess m_emulator;
};

QTEST_GUILESS_MAIN(TestLinkE2E)
#include "tst_link_e2e.moc"
