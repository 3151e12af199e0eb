// The emulator program as a process, talked to through its pseudo-terminal with plain POSIX calls.
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

// Sends the bytes and collects up to `count` answer bytes within two seconds.
QByteArray transact(int fd, const QByteArray& out, int count)
{
    QByteArray in;
    char buf[256];
    pollfd p{fd, POLLIN, 0};
    ssize_t n = ::write(fd, out.constData(), size_t(out.size()));
    while (n > 0 && in.size() < count && ::poll(&p, 1, 2000) > 0 && (n = ::read(fd, buf, sizeof buf)) > 0)
        in.append(buf, int(n));
    return in;
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
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.filePath("config")));  // for --com; the emulator inherits it
    }

    // The factory block is served, the EEPROM saved at each reset and the stop, and Com7 names the terminal meanwhile.
    void session()
    {
        const QString out = dir_.filePath(QStringLiteral("out.dat"));
        QProcess proc;
        proc.start(QStringLiteral(EMULATOR_PATH), {QStringLiteral("--save"), out, QStringLiteral("--com"), "7"});
        while (proc.waitForStarted(5000) && !proc.canReadLine() && proc.waitForReadyRead(5000)) {
        }
        const QString path = QString::fromLocal8Bit(proc.readLine()).trimmed();
        QSettings settings(QStringLiteral("Revora_Shift"), QStringLiteral("Revora_Shift"));
        QCOMPARE(settings.value("Ports/Com7").toString(), path);
        // A client that does not set the line up itself must still see CR, XON and XOFF as data.
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        auto closeFd = qScopeGuard([fd] { ::close(fd); });
        termios tio{};
        QVERIFY(fd >= 0 && tcgetattr(fd, &tio) == 0 && (tio.c_lflag & (ICANON | ECHO | ISIG)) == 0);
        QVERIFY((tio.c_iflag & (ICRNL | IXON | ISTRIP)) == 0 && (tio.c_oflag & OPOST) == 0);

        QCOMPARE(transact(fd, bytes("33 2E 10 14 10 00"), 27), QByteArray("\x06\x00Revora Shift Light v1.0\r\x06", 27));
        const QByteArray block = transact(fd, QByteArray(144, 0x15), 144);
        // 0.5 pulses/rev, 150 Hz, interval 6, option flags 29, TPS 44 and 235, debounce 10; user text spaces.
        QCOMPARE(block.left(8), bytes("01 96 00 06 1D 2C EB 0A"));
        QCOMPARE(block.right(32), QByteArray(32, ' '));

        QCOMPARE(transact(fd, bytes("14 14 00 16 AA"), 2), bytes("06 06"));
        QVERIFY(!QFile::exists(out));
        QCOMPARE(transact(fd, bytes("34 5A A5 3C C3"), 2), bytes("06 00"));
        QByteArray image = block;
        image[4] = char(0xAA);
        QTRY_COMPARE_WITH_TIMEOUT(readAll(out), image, 2000);
        QCOMPARE(transact(fd, bytes("14 9F 00 16 55"), 2), bytes("06 06"));
        proc.terminate();
        QVERIFY(proc.waitForFinished(5000) && proc.exitStatus() == QProcess::NormalExit && proc.exitCode() == 0);
        image[143] = char(0x55);
        QCOMPARE(readAll(out), image);
        settings.sync();
        QCOMPARE(settings.value("Ports/Com7").toString(), QString());
    }

    // A refused start says why on standard error, exits with 2 and names no device.
    void refusedStart()
    {
        QProcess p;
        p.start(QStringLiteral(EMULATOR_PATH), {QStringLiteral("--eeprom"), QStringLiteral("/nonexistent/none.dat")});
        QVERIFY(p.waitForFinished(5000) && p.exitCode() == 2 && p.readAllStandardOutput().isEmpty());
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        QVERIFY2(err.contains(QStringLiteral("Cannot open")), qPrintable(err));
    }

private:
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(TestEmulatorProgram)
#include "tst_program.moc"
