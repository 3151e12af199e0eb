// The emulator program end to end: started as a process, talked to through its
// pseudo-terminal with plain POSIX calls, stopped with SIGTERM.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

QByteArray bytes(const char* hex) { return QByteArray::fromHex(QByteArray(hex)); }
QString hex(const QByteArray& b) { return QString::fromLatin1(b.toHex(' ').toUpper()); }

// The factory configuration's first bytes: 0.5 pulses/rev, 150 Hz, interval 6,
// option flags 29, TPS 44 and 235, debounce 10.
const QByteArray kFactoryStart = bytes("01 96 00 06 1D 2C EB 0A");

class Emulator {
public:
    ~Emulator()
    {
        closeLine();
        if (proc.state() != QProcess::NotRunning) {
            proc.kill();
            proc.waitForFinished(2000);
        }
    }

    bool start(const QStringList& args)
    {
        proc.start(QStringLiteral(EMULATOR_PATH), args);
        if (!proc.waitForStarted(5000))
            return false;
        while (!proc.canReadLine()) {
            if (!proc.waitForReadyRead(5000))
                return false;
        }
        path = QString::fromLocal8Bit(proc.readLine()).trimmed();
        return path.startsWith(QLatin1Char('/'));
    }

    bool openLine()
    {
        fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios tio{};
        if (fd < 0 || tcgetattr(fd, &tio) != 0)
            return false;
        cfmakeraw(&tio);
        return tcsetattr(fd, TCSANOW, &tio) == 0;
    }

    void closeLine()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }

    // Sends the bytes and collects up to `count` answer bytes within `msecs`.
    QByteArray transact(const QByteArray& out, int count, int msecs = 2000)
    {
        if (::write(fd, out.constData(), size_t(out.size())) != out.size())
            return "write failed";
        QByteArray in;
        QElapsedTimer t;
        t.start();
        while (in.size() < count && t.elapsed() < msecs) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, int(msecs - t.elapsed())) <= 0)
                break;
            char buf[256];
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

QSettings store() { return QSettings(QStringLiteral("Revora_Shift"), QStringLiteral("Revora_Shift")); }

}  // namespace

class TestEmulatorProgram : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void servesTheFactoryBlock();
    void lineIsRawFromTheStart();
    void reopeningTheLineKeepsItWorking();
    void controlBytesPassUnchanged();
    void eepromFileLoadsAndSaveWritesAfterResetAndAtStop();
    void comMappingLastsWhileRunning();
    void failureModeOnTheLine();
    void disconnectStopsTheProgram();
    void badOptions_data();
    void badOptions();
    void helpListsTheFailureModes();

private:
    QTemporaryDir dir_;
};

void TestEmulatorProgram::initTestCase()
{
    QVERIFY(dir_.isValid());
    // The --com mapping lands in this folder, never in the real settings; the
    // emulator inherits it.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.filePath(QStringLiteral("config"))));
}

void TestEmulatorProgram::servesTheFactoryBlock()
{
    Emulator e;
    QVERIFY(e.start({}));
    QVERIFY(e.openLine());
    QCOMPARE(hex(e.transact(bytes("33"), 1)), QStringLiteral("06"));
    QCOMPARE(hex(e.transact(bytes("2E"), 1)), QStringLiteral("00"));
    QCOMPARE(e.transact(bytes("10"), 24), QByteArray("Revora Shift Light v1.0\r"));
    QCOMPARE(hex(e.transact(bytes("14 10 00"), 1)), QStringLiteral("06"));
    QByteArray block;
    for (int a = 16; a <= 159; ++a)
        block += e.transact(bytes("15"), 1);
    QCOMPARE(block.size(), 144);
    QCOMPARE(hex(block.left(8)), hex(kFactoryStart));
    QCOMPARE(block.right(32), QByteArray(32, ' '));  // the user text: spaces
    QVERIFY(e.stop());
}

void TestEmulatorProgram::lineIsRawFromTheStart()
{
    // A client that does not set the line up itself must still see CR, XON and
    // XOFF as data: the emulator puts the line in raw mode.
    Emulator e;
    QVERIFY(e.start({}));
    const int fd = ::open(QFile::encodeName(e.path).constData(), O_RDWR | O_NOCTTY);
    QVERIFY(fd >= 0);
    termios tio{};
    QCOMPARE(tcgetattr(fd, &tio), 0);
    ::close(fd);
    QCOMPARE(tio.c_lflag & (ICANON | ECHO | ISIG), tcflag_t(0));
    QCOMPARE(tio.c_iflag & (ICRNL | IXON | ISTRIP), tcflag_t(0));
    QCOMPARE(tio.c_oflag & OPOST, tcflag_t(0));
    QVERIFY(e.stop());
}

void TestEmulatorProgram::reopeningTheLineKeepsItWorking()
{
    Emulator e;
    QVERIFY(e.start({}));
    for (int i = 0; i < 3; ++i) {
        QVERIFY(e.openLine());
        QCOMPARE(hex(e.transact(bytes("33"), 1)), QStringLiteral("06"));
        e.closeLine();
    }
    QVERIFY(e.stop());
}

void TestEmulatorProgram::controlBytesPassUnchanged()
{
    Emulator e;
    QVERIFY(e.start({}));
    QVERIFY(e.openLine());
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

void TestEmulatorProgram::eepromFileLoadsAndSaveWritesAfterResetAndAtStop()
{
    const QString in = dir_.filePath(QStringLiteral("in.dat"));
    const QString out = dir_.filePath(QStringLiteral("out.dat"));
    QByteArray image;
    for (int i = 0; i < 144; ++i)
        image.append(char(i * 3));
    QFile f(in);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(image);
    f.close();
    QFile::remove(out);

    Emulator e;
    QVERIFY(e.start({QStringLiteral("--eeprom"), in, QStringLiteral("--save"), out}));
    QVERIFY(e.openLine());
    QCOMPARE(hex(e.transact(bytes("14 11 00 15"), 2)), QStringLiteral("06 03"));
    QCOMPARE(hex(e.transact(bytes("14 14 00 16 AA"), 2)), QStringLiteral("06 06"));
    QVERIFY2(!QFile::exists(out), "nothing is saved before a reset or the stop");
    QCOMPARE(hex(e.transact(bytes("34 5A A5 3C C3"), 2)), QStringLiteral("06 00"));

    QByteArray expected = image;
    expected[4] = char(0xAA);
    QFile saved(out);
    QTRY_VERIFY_WITH_TIMEOUT(saved.exists() && saved.size() == 144, 2000);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(hex(saved.readAll()), hex(expected));
    saved.close();

    QCOMPARE(hex(e.transact(bytes("14 9F 00 16 55"), 2)), QStringLiteral("06 06"));
    QVERIFY(e.stop());
    expected[143] = char(0x55);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(hex(saved.readAll()), hex(expected));
}

void TestEmulatorProgram::comMappingLastsWhileRunning()
{
    Emulator e;
    QVERIFY(e.start({QStringLiteral("--com"), QStringLiteral("7")}));
    QCOMPARE(store().value(QStringLiteral("Ports/Com7")).toString(), e.path);
    QVERIFY(QFile::exists(dir_.filePath(QStringLiteral("config/Revora_Shift/Revora_Shift.conf"))));
    QVERIFY(e.stop());
    QVERIFY(!store().contains(QStringLiteral("Ports/Com7")));
}

void TestEmulatorProgram::failureModeOnTheLine()
{
    Emulator e;
    QVERIFY(e.start({QStringLiteral("--fail"), QStringLiteral("nak-read:17"), QStringLiteral("--fail"),
                     QStringLiteral("firmware-unknown"), QStringLiteral("--status"), QStringLiteral("3")}));
    QVERIFY(e.openLine());
    QCOMPARE(hex(e.transact(bytes("2E"), 1)), QStringLiteral("03"));
    QCOMPARE(e.transact(bytes("10"), 25), QByteArray("Revora Tach Adapter v2.1\r"));
    QCOMPARE(hex(e.transact(bytes("14 10 00 15 15"), 3)), QStringLiteral("06 01 15"));
    QVERIFY(e.stop());
}

void TestEmulatorProgram::disconnectStopsTheProgram()
{
    const QString out = dir_.filePath(QStringLiteral("dropped.dat"));
    Emulator e;
    QVERIFY(e.start({QStringLiteral("--fail"), QStringLiteral("disconnect:2"), QStringLiteral("--save"), out}));
    QVERIFY(e.openLine());
    QCOMPARE(hex(e.transact(bytes("33"), 1)), QStringLiteral("06"));
    QCOMPARE(hex(e.transact(bytes("33"), 1, 300)), QString());
    QVERIFY(e.proc.waitForFinished(5000));
    QCOMPARE(e.proc.exitCode(), 0);
    QVERIFY(e.proc.readAllStandardError().contains("line dropped after 2 bytes"));
    QCOMPARE(QFileInfo(out).size(), 144);
}

void TestEmulatorProgram::badOptions_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");

    const QString shortFile = dir_.filePath(QStringLiteral("short.dat"));
    QFile f(shortFile);
    if (f.open(QIODevice::WriteOnly))
        f.write(QByteArray(100, 'x'));

    QTest::newRow("unknown mode") << QStringList{"--fail", "explode"} << "Unknown failure mode \"explode\"";
    QTest::newRow("mode without address") << QStringList{"--fail", "mismatch"} << "needs an EEPROM address";
    QTest::newRow("status too big") << QStringList{"--status", "300"} << "use 0 to 255";
    QTest::newRow("com zero") << QStringList{"--com", "0"} << "use 1 to 255";
    QTest::newRow("missing eeprom file")
        << QStringList{"--eeprom", dir_.filePath(QStringLiteral("none.dat"))} << "Cannot open";
    QTest::newRow("short eeprom file") << QStringList{"--eeprom", shortFile} << "premature end-of-file";
    QTest::newRow("firmware beyond Latin-1") << QStringList{"--firmware", QString::fromUtf8("Shift Light \u20ac")}
                                             << "Latin-1 characters only";
    QTest::newRow("stray argument") << QStringList{"extra"} << "Unexpected argument \"extra\"";
    QTest::newRow("unknown option") << QStringList{"--colour"} << "See --help";
}

void TestEmulatorProgram::badOptions()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    QProcess p;
    p.start(QStringLiteral(EMULATOR_PATH), args);
    QVERIFY(p.waitForFinished(5000));
    QCOMPARE(p.exitCode(), 2);
    QVERIFY2(p.readAllStandardOutput().isEmpty(), "no device path for a refused start");
    const QString err = QString::fromLocal8Bit(p.readAllStandardError());
    QVERIFY2(err.contains(message), qPrintable(err));
}

void TestEmulatorProgram::helpListsTheFailureModes()
{
    QProcess p;
    p.start(QStringLiteral(EMULATOR_PATH), {QStringLiteral("--help")});
    QVERIFY(p.waitForFinished(5000));
    QCOMPARE(p.exitCode(), 0);
    const QByteArray help = p.readAllStandardOutput();
    for (const char* word : {"--eeprom", "--save", "--firmware", "--status", "--fail", "--log", "--com",
                             "nak-read[:A]", "disconnect:N", "34 5A A5 3C C3"})
        QVERIFY2(help.contains(word), word);
}

QTEST_GUILESS_MAIN(TestEmulatorProgram)
#include "tst_program.moc"
