// The command-line tool and its serial backend against the emulator program, at the protocol's own timing.
#include "emulator/factoryimage.h"
#include "params/codec.h"
#include "params/defaults.h"

#include <QDir>
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

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

QStringList lines(const QByteArray& text)
{
    return QString::fromLocal8Bit(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

const QString kFw = QStringLiteral("Firmware ID: Revora Shift Light v1.0");
const QString kTimeout = QStringLiteral("RS-232 timeout. Check cable and click Abort.");
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
        // Blanks before the user text: the upload sends it as the window's text box holds it.
        store.params.UserData = QStringLiteral("  end to end");
        QVERIFY(UpdateEEPROM(store.params, store.image));
        m_block = store.image.configBlock();
        store.params.UserData = QStringLiteral("end to end");
        QVERIFY(UpdateEEPROM(store.params, store.image));
        m_uploaded = store.image.configBlock();
        QVERIFY(writeAll(m_file, m_block));
        QByteArray changed = m_block;
        changed[32 - 16] = char(0xB0);  // LaunchRPM 3000 becomes 2992
        QVERIFY(writeAll(m_changed, changed));
    }
    void cleanup() { stopEmulator(); }

    // Download copies the controller's bytes to the file, upload the file's to it (after a backup of the
    // controller's block when asked), compare reads without writing. Results on stdout, the rest on stderr.
    void transfer_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("emulatorArgs");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QStringList>("out");
        QTest::addColumn<QStringList>("err");
        QTest::addColumn<bool>("transferred");
        const QStringList none;
        QTest::newRow("download") << "download" << "" << 0 << none << QStringList{kFw} << true;
        QTest::newRow("download by ComN") << "download" << "--com 7" << 0 << none << QStringList{kFw} << true;
        QTest::newRow("line drops") << "download" << "--fail disconnect:60" << 1 << none
                                    << QStringList{kFw, kTimeout, "Download failed."} << false;
        QTest::newRow("upload") << "upload" << "" << 0 << QStringList{"Upload completed."} << none << true;
        QTest::newRow("mismatch") << "upload" << "--fail mismatch:77" << 1 << none
                                  << QStringList{"Upload aborted - EEPROM verification failed."} << true;
        QTest::newRow("backup first") << "upload --backup DIR" << "" << 0
                                      << QStringList{"Upload completed.", "Backup saved as DIR/"} << none << true;
        QTest::newRow("backup unread")
            << "upload --backup DIR" << "--fail mute-read:40" << 1 << none
            << QStringList{kTimeout, "No backup was made: The controller's configuration could not be read for "
                                     "the backup. Nothing was written to the controller."}
            << false;
        QTest::newRow("compare same") << "compare" << "--eeprom FILE" << 0 << none
                                      << QStringList{kFw, "The controller holds this configuration."} << false;
        QTest::newRow("compare one byte") << "compare" << "--eeprom CHANGED" << 1
                                          << QStringList{"Launch RPM: 2992 -> 3000"} << QStringList{kFw} << false;
    }
    void transfer()
    {
        QFETCH(QString, command);
        QFETCH(QString, emulatorArgs);
        QFETCH(int, exit);
        QFETCH(QStringList, out);
        QFETCH(QStringList, err);
        QFETCH(bool, transferred);
        const bool download = command == QLatin1String("download");
        const QString other = m_dir.filePath(QStringLiteral("other.dat"));  // the download, or the saved EEPROM
        const QString backups = m_dir.filePath(QStringLiteral("backups"));
        QFile::remove(other);
        QDir(backups).removeRecursively();
        QStringList args = emulatorArgs.replace(QLatin1String("CHANGED"), m_changed)
                               .replace(QLatin1String("FILE"), m_file)
                               .split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (command.startsWith(QLatin1String("upload")))
            args << QStringLiteral("--save") << other;
        else if (download)
            args << QStringLiteral("--eeprom") << m_file;
        const QString tty = startEmulator(args);
        QVERIFY2(tty.startsWith(QLatin1Char('/')), qPrintable(tty));
        QStringList cliArgs = command.replace(QLatin1String("DIR"), backups).split(QLatin1Char(' '));
        cliArgs << QStringLiteral("--port") << (args.contains(QStringLiteral("--com")) ? QStringLiteral("Com7") : tty)
                << (download ? other : m_file);
        QProcess cli;
        cli.setProcessEnvironment(m_env);
        cli.start(QStringLiteral(REVORA_CLI), cliArgs);
        QVERIFY(cli.waitForFinished(30000));
        const QStringList stdOut = lines(cli.readAllStandardOutput());
        QCOMPARE(lines(cli.readAllStandardError()), err);
        QCOMPARE(stdOut.size(), out.size());
        for (int i = 0; i < out.size(); ++i)  // the backup's name holds the time
            QVERIFY2(stdOut[i].startsWith(out[i].replace(QLatin1String("DIR"), backups)), qPrintable(stdOut[i]));
        QCOMPARE(cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1, exit);
        stopEmulator();
        const QStringList backupFiles = QDir(backups).entryList(QDir::Files | QDir::Hidden);
        if (download) {
            QCOMPARE(readAll(other), transferred ? m_block : QByteArray());  // a failed download writes nothing
        } else if (command.startsWith(QLatin1String("upload"))) {
            QCOMPARE(readAll(other) == m_uploaded, transferred);
            if (command.contains(QLatin1String("--backup"))) {
                // The backup holds the controller's block from before; without one nothing is written.
                QCOMPARE(backupFiles.size(), transferred ? 1 : 0);
                if (transferred)
                    QCOMPARE(readAll(QDir(backups).filePath(backupFiles.value(0))), factoryConfigBlock());
                else
                    QCOMPARE(readAll(other), factoryConfigBlock());
            }
        }
        QCOMPARE(readAll(m_file), m_block);  // the input file is never touched
    }

    // The emulator's pseudo-terminal, mapped to Com7, is in the list of ports.
    void portsListsTheEmulator()
    {
        const QString tty = startEmulator({QStringLiteral("--com"), QStringLiteral("7")});
        QProcess cli;
        cli.setProcessEnvironment(m_env);
        cli.start(QStringLiteral(REVORA_CLI), {QStringLiteral("ports")});
        QVERIFY(cli.waitForFinished(10000) && cli.exitCode() == 0);
        QVERIFY(lines(cli.readAllStandardOutput()).contains(QStringLiteral("Com7  Com7 \u2014 ") + tty));
    }

    // Ctrl+C: during the link check it stops at once; during the read it stops the read; during programming it
    // is answered once, however often pressed, and the transfer stops after the block.
    void ctrlC_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("emulatorArgs");
        QTest::addColumn<QString>("pressAt");  // the command, as the emulator logs it
        QTest::addColumn<int>("presses");
        QTest::addColumn<QStringList>("err");
        QTest::newRow("link check") << "download" << "--fail silent" << "33" << 1 << QStringList{"Stopped by Ctrl+C."};
        QTest::newRow("read") << "download" << "" << "15" << 1 << QStringList{kFw, "Download failed."};
        QTest::newRow("programming")
            << "upload" << "" << "16" << 3
            << QStringList{"Ctrl+C: the configuration block is being written and cannot be stopped half-way; the "
                           "transfer stops when it is written.",
                           "Upload aborted - EEPROM verification failed."};
    }
    void ctrlC()
    {
        QFETCH(QString, command);
        QFETCH(QString, emulatorArgs);
        QFETCH(QString, pressAt);
        QFETCH(int, presses);
        QFETCH(QStringList, err);
        const QString out = m_dir.filePath(QStringLiteral("interrupted.dat"));
        QFile::remove(out);
        const QString tty =
            startEmulator(emulatorArgs.split(QLatin1Char(' '), Qt::SkipEmptyParts) << QStringLiteral("--log"), true);
        QProcess cli;
        cli.setProcessEnvironment(m_env);
        cli.start(QStringLiteral(REVORA_CLI),
                  {command, QStringLiteral("--port"), tty, command == QLatin1String("upload") ? m_file : out});
        // Pressed when the command reaches the controller for the first time.
        m_emulator.setReadChannel(QProcess::StandardError);
        bool seen = false;
        while (!seen && m_emulator.waitForReadyRead(10000))
            while (!seen && m_emulator.canReadLine())
                seen = m_emulator.readLine().startsWith(pressAt.toLatin1() + ' ');
        QVERIFY(seen);
        for (int i = 0; i < presses; ++i) {
            ::kill(pid_t(cli.processId()), SIGINT);
            QThread::msleep(20);  // not qWait: the finished tool must be left for waitForFinished
        }
        QVERIFY(cli.waitForFinished(10000));
        QCOMPARE(cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1, 1);
        QVERIFY(cli.readAllStandardOutput().isEmpty());
        QCOMPARE(lines(cli.readAllStandardError()), err);
        QVERIFY(!QFile::exists(out));
    }

private:
    // Starts the emulator; returns its terminal's path. Its log on stderr is read by the test when `readLog`.
    QString startEmulator(const QStringList& args, bool readLog = false)
    {
        m_emulator.setProcessEnvironment(m_env);
        m_emulator.setProcessChannelMode(readLog ? QProcess::SeparateChannels : QProcess::ForwardedErrorChannel);
        m_emulator.setReadChannel(QProcess::StandardOutput);
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
    QString m_changed = m_dir.filePath(QStringLiteral("changed.dat"));
    QByteArray m_block;
    QByteArray m_uploaded;  // what an upload of m_block sends
    QProcessEnvironment m_env;
    QProcess m_emulator;
};

QTEST_GUILESS_MAIN(TestLinkE2E)
#include "tst_link_e2e.moc"
