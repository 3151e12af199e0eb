// The command-line tool and its serial backend against the emulator program, at the protocol's own timing.
#include "emulator/factoryimage.h"
#include "params/codec.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

namespace {
using Changes = QList<QPair<int, int>>;

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
        m_env = QProcessEnvironment::systemEnvironment();
        // Both programs find ComN through a settings store of the test's own.
        m_env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
        // Unlike the factory's; the blanks before the user text go up as the window's text box holds it.
        ParameterStore store = defaultsStore();
        store.params.UserData = QStringLiteral("  end to end");
        QVERIFY(UpdateEEPROM(store.params, store.image));
        m_block = store.image.configBlock();
        store.params.UserData = QStringLiteral("end to end");
        QVERIFY(UpdateEEPROM(store.params, store.image));
        m_uploaded = store.image.configBlock();
        writeFile(path("@file"), m_block);
    }
    void cleanup() { stopEmulator(); }

    // Per command and outcome: exit status, stdout, stderr, the files. A stop signal ends the link check and
    // the read at once; programming answers it once, however often sent, and finishes the block.
    void transfer_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("emulatorArgs");
        // "COMMAND TIMES [TERM]": Ctrl+C, or SIGTERM, sent as the emulator's --log shows the command
        QTest::addColumn<QString>("ctrlC");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QStringList>("out");
        QTest::addColumn<QStringList>("err");
        const auto row = [](const char* name, const QString& command, const char* emulator, int exit,
                            const QStringList& err, const QStringList& out = {}, const char* ctrlC = "") {
            QTest::newRow(name) << command << QString::fromLatin1(emulator) << QString::fromLatin1(ctrlC) << exit
                                << out << err;
        };
        const QString download = QStringLiteral("download --port @tty @out");
        const QString upload = QStringLiteral("upload --port @tty @file");
        const QString compare = QStringLiteral("compare --port @tty @file");
        // Over the real backend on a 56000-baud line behind a 1 ms adapter (the pauses are judged by tst_link).
        row("download, 56000-baud line", download, "--eeprom @file --line --answer-us 50 --usb-latency 1", 0, {kFw});
        row("backup, upload, 56000-baud line", "upload --backup=@dir --port=@tty @file",
            "--line --answer-us 50 --usb-latency 1", 0, {}, {"Upload completed.", "Backup saved as @dir/"});
        row("backup unread", "upload --backup @dir --port @tty @file", "--fail mute-read:40", 1,
            {kTimeout, "No backup was made: The controller's configuration could not be read for the backup. "
                       "Nothing was written to the controller."});
        // Compare takes what an upload of the file writes: the blanks before the text are gone.
        row("compare, differs", compare, "", 1, {kFw},
            {"From the controller (left) to @file (right):", "User Data: \"\" -> \"end to end\""});
        row("compare refused", compare, "--fail armed", 2, {"Cannot compare while controller is armed."});
        row("download, one byte read wrong", download, "--eeprom @file --fail garble-read:30", 0, {kFw});
        // A port that vanishes (the emulator closes its terminal) ends the transfer at once, saying so.
        const QString lost = QStringLiteral("The serial port @tty was lost: the adapter was unplugged or the port went "
                                            "away. Plug it in again and check the port chosen.");
        row("port lost, download", download, "--fail unplug:60", 1, {kFw, "Download failed.", lost});
        row("port lost, programming", upload, "--fail unplug:240", 1,
            {"Upload aborted - EEPROM programming failed.",
             lost + " The controller holds part of the new configuration and part of the old: upload again once "
                    "the port is back."});
        row("port lost, verify", upload, "--fail unplug:350", 1,
            {"Upload aborted - EEPROM verification failed.",
             lost + " The controller holds the whole new configuration, not verified, and was not reset: upload "
                    "again once the port is back."});
        // A transfer a signal stopped exits with 128 + the signal's number (Ctrl+C 130, SIGTERM 143).
        row("Ctrl+C link check", download, "--fail silent --log", 130, {"Stopped by Ctrl+C."}, {}, "33 1");
        row("SIGTERM programming", upload, "--log", 143,
            {"SIGTERM: the configuration block is being written and cannot be stopped half-way; the transfer stops "
             "when it is written.",
             "Upload stopped: the controller holds the whole new configuration, but it was not verified and the "
             "controller was not reset. Upload again to verify it and restart the controller."},
            {}, "16 3 TERM");
    }
    void transfer()
    {
        QFETCH(QString, command);
        QFETCH(QString, emulatorArgs);
        QFETCH(QString, ctrlC);
        QFETCH(int, exit);
        QFETCH(QStringList, out);
        QFETCH(QStringList, err);
        QFile::remove(path("@out"));
        QDir(path("@dir")).removeRecursively();
        const QByteArray held = emulatorArgs.contains(QLatin1String("--eeprom @file")) ? m_block : factoryConfigBlock();
        m_tty = startEmulator(expand(emulatorArgs + QStringLiteral(" --save @saved --log")));
        QProcess cli;
        cli.setProcessEnvironment(m_env);
        cli.start(QStringLiteral(REVORA_CLI), expand(command));
        const QStringList press = ctrlC.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        bool seen = press.isEmpty();
        while (!seen && m_emulator.waitForReadyRead(10000))
            while (!seen && m_emulator.canReadLine())
                seen = m_emulator.readLine().startsWith(press[0].toLatin1() + ' ');
        QVERIFY(seen);
        for (int i = 0; i < press.value(1).toInt(); ++i) {
            ::kill(pid_t(cli.processId()), press.value(2) == "TERM" ? SIGTERM : SIGINT);
            QThread::msleep(20);  // not qWait: the finished tool must be left for waitForFinished
        }
        const bool unplugged = emulatorArgs.contains(QLatin1String("unplug"));
        QVERIFY(!unplugged || m_emulator.waitForFinished(10000));  // it stops as it closes its terminal
        QElapsedTimer sinceLoss;
        sinceLoss.start();
        QVERIFY(cli.waitForFinished(30000));
        QVERIFY2(!unplugged || sinceLoss.elapsed() < 1000, qPrintable(QString::number(sinceLoss.elapsed())));
        for (QString& line : err)
            line = expand(line).join(QLatin1Char(' '));
        const QStringList stdOut = lines(cli.readAllStandardOutput());
        QCOMPARE(lines(cli.readAllStandardError()), err);
        QCOMPARE(stdOut.size(), out.size());
        for (int i = 0; i < out.size(); ++i)  // the backup's name holds the time
            QVERIFY2(stdOut[i].startsWith(expand(out[i]).join(QLatin1Char(' '))), qPrintable(stdOut[i]));
        QCOMPARE(cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1, exit);
        stopEmulator();
        // An upload programs the whole block, unless it says it wrote nothing; only one that completed resets.
        const bool programmed = command.startsWith(QLatin1String("upload")) && !err.join(' ').contains("Nothing was");
        const QByteArray saved = readFile(path("@saved"));
        if (err.join(' ').contains(QLatin1String("part of the new")))
            QVERIFY(saved != m_uploaded && saved != held && saved.left(116) == m_uploaded.left(116));
        else
            QCOMPARE(saved, programmed ? m_uploaded : held);
        QCOMPARE(m_emulator.readAllStandardError().count("  reset #"), programmed && exit == 0 ? 1 : 0);
        QCOMPARE(readFile(path("@out")), command.startsWith("download") && exit == 0 ? m_block : QByteArray());
        // The backup holds the controller's block from before.
        const QStringList backups = QDir(path("@dir")).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(backups.size(), command.contains(QLatin1String("backup")) && exit == 0 ? 1 : 0);
        if (!backups.isEmpty())
            QCOMPARE(readFile(QDir(path("@dir")).filePath(backups[0])), factoryConfigBlock());
        QCOMPARE(readFile(path("@file")), m_block);  // the input file is never touched
    }

    // Whatever the file holds (blanks around the text, gear detection in single-stage mode, alarm flags that
    // carry nothing, an unprintable last byte), compare right after an upload of it finds nothing and says so
    // (on stderr, as the firmware line): both take the image the upload writes. The emulator's terminal, mapped
    // to the last Com number, is in the list of ports and is reached by that name.
    void uploadThenCompare()
    {
        QByteArray block = defaultsBlock();
        const Changes changes{{128, ' '}, {129, ' '}, {130, 'C'}, {140, 'x'}, {20, 214},
                              {96, 0xFF},  {112, 0xFF}, {71, 0xFF}, {159, 0xFF}};
        for (const auto& [offset, byte] : changes)
            block[offset - kConfigFirst] = char(byte);
        writeFile(path("@crafted"), block);
        m_tty = startEmulator({QStringLiteral("--com"), QStringLiteral("255")});
        QStringList said;
        for (const char* command : {"ports", "upload --port Com255 @crafted", "compare --port com255 @crafted"}) {
            QProcess cli;
            cli.setProcessEnvironment(m_env);
            cli.start(QStringLiteral(REVORA_CLI), expand(QString::fromLatin1(command)));
            QVERIFY(cli.waitForFinished(30000) && cli.exitStatus() == QProcess::NormalExit);
            QCOMPARE(cli.exitCode(), 0);
            if (command[0] == 'p')
                QVERIFY(cli.readAllStandardOutput().contains(m_tty.toUtf8()));
            said = lines(cli.readAllStandardError());
        }
        QCOMPARE(said, QStringList({kFw, "The controller holds this configuration."}));
    }

private:
    // A file of the test's own, by its name in the tables.
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name + 1)); }
    // The arguments of a table's line, with the names replaced.
    QStringList expand(QString line) const
    {
        line.replace(QLatin1String("@tty"), m_tty);
        for (const char* name : {"@file", "@out", "@dir", "@saved", "@crafted"})
            line.replace(QLatin1String(name), path(name));
        return line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }
    // Starts the emulator; returns its terminal's path. Its log on stderr is read from then on.
    QString startEmulator(const QStringList& args)
    {
        m_emulator.setProcessEnvironment(m_env);
        m_emulator.setReadChannel(QProcess::StandardOutput);
        m_emulator.start(QStringLiteral(REVORA_EMULATOR), args);
        while (m_emulator.waitForStarted(5000) && !m_emulator.canReadLine() && m_emulator.waitForReadyRead(5000)) {
        }
        const QString tty = QString::fromLocal8Bit(m_emulator.readLine()).trimmed();
        m_emulator.setReadChannel(QProcess::StandardError);
        return tty;
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
    QByteArray m_block;
    QByteArray m_uploaded;  // what an upload of m_block sends
    QProcessEnvironment m_env;
    QProcess m_emulator;
    QString m_tty;
};

QTEST_GUILESS_MAIN(TestLinkE2E)
#include "tst_link_e2e.moc"
