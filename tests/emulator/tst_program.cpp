// The emulator program end to end: started as a process, talked to through its
// pseudo-terminal with plain POSIX calls, stopped with SIGTERM. Downloads and
// uploads through it are in the link's end-to-end test.
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {
QByteArray bytes(const char* hex) { return QByteArray::fromHex(QByteArray(hex)); }
QString hex(const QByteArray& b) { return QString::fromLatin1(b.toHex(' ').toUpper()); }

struct Emulator {
    ~Emulator()
    {
        if (fd >= 0)
            ::close(fd);
        proc.kill();
        proc.waitForFinished(2000);
    }
    // Starts the program and opens its line as it is: a client that does not set
    // the line up itself must still see CR, XON and XOFF as data.
    bool start(const QStringList& args)
    {
        proc.start(QStringLiteral(EMULATOR_PATH), args);
        while (proc.waitForStarted(5000) && !proc.canReadLine())
            if (!proc.waitForReadyRead(5000))
                return false;
        path = QString::fromLocal8Bit(proc.readLine()).trimmed();
        fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios tio{};
        return fd >= 0 && tcgetattr(fd, &tio) == 0 && (tio.c_lflag & (ICANON | ECHO | ISIG)) == 0
               && (tio.c_iflag & (ICRNL | IXON | ISTRIP)) == 0 && (tio.c_oflag & OPOST) == 0;
    }
    // Sends the bytes and collects up to `count` answer bytes within `msecs`.
    QByteArray transact(const QByteArray& out, int count, int msecs = 2000)
    {
        if (::write(fd, out.constData(), size_t(out.size())) != out.size())
            return "write failed";
        QByteArray in;
        QElapsedTimer t;
        t.start();
        char buf[256];
        pollfd p{fd, POLLIN, 0};
        while (in.size() < count && ::poll(&p, 1, qMax(0, int(msecs - t.elapsed()))) > 0) {
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n <= 0)
                break;
            in.append(buf, int(n));
        }
        return in;
    }
    bool stop()
    {
        proc.terminate();
        return proc.waitForFinished(5000) && proc.exitStatus() == QProcess::NormalExit && proc.exitCode() == 0;
    }
    QProcess proc;
    QString path;
    int fd = -1;
};

QString mappedCom7()
{
    return QSettings(QStringLiteral("Revora_Shift"), QStringLiteral("Revora_Shift")).value("Ports/Com7").toString();
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("missing");
}
}  // namespace

class TestEmulatorProgram : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        // The --com mapping lands in this folder, never in the real settings; the
        // emulator inherits it.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.filePath(QStringLiteral("config"))));
    }

    void servesTheFactoryBlockAndEveryByte()
    {
        Emulator e;
        QVERIFY(e.start({}));
        QCOMPARE(hex(e.transact(bytes("33 2E"), 2)), QStringLiteral("06 00"));
        QCOMPARE(e.transact(bytes("10"), 24), QByteArray("Revora Shift Light v1.0\r"));
        QCOMPARE(hex(e.transact(bytes("14 10 00"), 1)), QStringLiteral("06"));
        QByteArray block;
        for (int a = 16; a <= 159; ++a)
            block += e.transact(bytes("15"), 1);
        // 0.5 pulses/rev, 150 Hz, interval 6, option flags 29, TPS 44 and 235,
        // debounce 10; the user text is spaces.
        QCOMPARE(hex(block.left(8)), QStringLiteral("01 96 00 06 1D 2C EB 0A"));
        QCOMPARE(block.right(32), QByteArray(32, ' '));
        // CR, XON, XOFF, NUL, LF, Ctrl+C and DEL are data on this line.
        const QByteArray data = bytes("0D 11 13 00 0A 03 7F");
        QCOMPARE(hex(e.transact(bytes("14 40 00"), 1)), QStringLiteral("06"));
        for (char b : data)
            QCOMPARE(hex(e.transact(QByteArray(1, char(0x16)) + b, 1)), QStringLiteral("06"));
        QCOMPARE(hex(e.transact(bytes("14 40 00"), 1)), QStringLiteral("06"));
        QByteArray back;
        for (int i = 0; i < data.size(); ++i)
            back += e.transact(bytes("15"), 1);
        QCOMPARE(hex(back), hex(data));
        QVERIFY(e.stop());
    }

    void savesAfterEachResetAndAtStop()
    {
        const QString in = dir_.filePath(QStringLiteral("in.dat"));
        const QString out = dir_.filePath(QStringLiteral("out.dat"));
        QByteArray image;
        for (int i = 0; i < 144; ++i)
            image.append(char(i * 3));
        QFile f(in);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(image) == 144);
        f.close();
        QFile::remove(out);
        Emulator e;
        QVERIFY(e.start({QStringLiteral("--eeprom"), in, QStringLiteral("--save"), out}));
        QCOMPARE(hex(e.transact(bytes("14 14 00 16 AA"), 2)), QStringLiteral("06 06"));
        QVERIFY2(!QFile::exists(out), "nothing is saved before a reset or the stop");
        QCOMPARE(hex(e.transact(bytes("34 5A A5 3C C3"), 2)), QStringLiteral("06 00"));
        image[4] = char(0xAA);
        QTRY_COMPARE_WITH_TIMEOUT(hex(readAll(out)), hex(image), 2000);
        QCOMPARE(hex(e.transact(bytes("14 9F 00 16 55"), 2)), QStringLiteral("06 06"));
        QVERIFY(e.stop());
        image[143] = char(0x55);
        QCOMPARE(hex(readAll(out)), hex(image));
    }

    void comMappingLastsWhileRunning()
    {
        Emulator e;
        QVERIFY(e.start({QStringLiteral("--com"), QStringLiteral("7")}));
        QCOMPARE(mappedCom7(), e.path);
        QVERIFY(e.stop());
        QCOMPARE(mappedCom7(), QString());
    }

    void disconnectStopsTheProgramAndSaves()
    {
        const QString out = dir_.filePath(QStringLiteral("dropped.dat"));
        Emulator e;
        QVERIFY(e.start({QStringLiteral("--fail"), QStringLiteral("disconnect:2"), QStringLiteral("--save"), out}));
        QCOMPARE(hex(e.transact(bytes("33"), 1)), QStringLiteral("06"));
        QCOMPARE(hex(e.transact(bytes("33"), 1, 300)), QString());
        QVERIFY(e.proc.waitForFinished(5000));
        QCOMPARE(e.proc.exitCode(), 0);
        QVERIFY(e.proc.readAllStandardError().contains("line dropped after 2 bytes"));
        QCOMPARE(QFileInfo(out).size(), 144);
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says");  // on standard output for 0, else on standard error
        QTest::newRow("help lists the modes") << QStringList{"--help"} << 0 << "nak-read[:A]";
        QTest::newRow("unknown mode") << QStringList{"--fail", "explode"} << 2 << "Unknown failure mode \"explode\"";
        QTest::newRow("status too big") << QStringList{"--status", "300"} << 2 << "use 0 to 255";
        QTest::newRow("missing eeprom file") << QStringList{"--eeprom", dir_.filePath(QStringLiteral("none.dat"))}
                                             << 2 << "Cannot open";
        QTest::newRow("firmware beyond Latin-1") << QStringList{"--firmware", QString::fromUtf8("Shift Light \u20ac")}
                                                 << 2 << "Latin-1 characters only";
        QTest::newRow("unknown option") << QStringList{"--colour"} << 2 << "See --help";
    }
    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        QProcess p;
        p.start(QStringLiteral(EMULATOR_PATH), args);
        QVERIFY(p.waitForFinished(5000));
        QCOMPARE(p.exitCode(), exitCode);
        const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        QVERIFY2((exitCode == 0 ? out : err).contains(says), qPrintable(out + err));
        if (exitCode != 0)
            QVERIFY2(out.isEmpty(), "no device path for a refused start");
    }

private:
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(TestEmulatorProgram)
#include "tst_program.moc"
