// The QSerialPort backend on a pseudo-terminal: the device refuses the modem
// lines and has no line-error counters, and it can vanish under an open port.
#include "link/link.h"
#include "link/serialport.h"
#include "support/scriptedprompter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace {
// The controller's end of a pseudo-terminal.
struct Pty {
    int master = -1;
    QString slave;
    Pty()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0)
            slave = QString::fromLocal8Bit(::ptsname(master));
    }
    ~Pty() { hangUp(); }
    void hangUp()
    {
        if (master >= 0)
            ::close(master);
        master = -1;
    }
    void send(const QByteArray& b) { QCOMPARE(::write(master, b.constData(), b.size()), qint64(b.size())); }
    QByteArray receive(int n, int msecs = 1000)
    {
        QByteArray got;
        QElapsedTimer t;
        t.start();
        while (got.size() < n && t.elapsed() < msecs) {
            char buf[64];
            fd_set fds;
            FD_ZERO(&fds);
            FD_SET(master, &fds);
            timeval tv{0, 10000};
            if (::select(master + 1, &fds, nullptr, nullptr, &tv) > 0) {
                const ssize_t r = ::read(master, buf, sizeof buf);
                if (r > 0)
                    got.append(buf, int(r));
            }
        }
        return got;
    }
};
}  // namespace

class TestSerialPort : public QObject {
    Q_OBJECT
private slots:
    void opensATerminalThatRefusesDTR();
    void bytesBothWaysNulIncluded();
    void waitSleepsOnTheDevice();
    void vanishedDeviceClosesThePortAndPromptsOnce();
    void openFailures_data();
    void openFailures();
};

void TestSerialPort::opensATerminalThatRefusesDTR()
{
    Pty pty;
    QVERIFY(!pty.slave.isEmpty());
    SerialPort port;
    port.setPortName(pty.slave);
    QString error;
    QVERIFY2(port.open(&error), qPrintable(error));
    QVERIFY(error.isEmpty());
    QVERIFY(port.isOpen());
    QVERIFY(!port.hasLineCounters());
    QVERIFY(port.actualBaudRate() == 0 || port.actualBaudRate() == SerialPort::kBaudRate);
    port.close();
    QVERIFY(!port.isOpen());
}

void TestSerialPort::bytesBothWaysNulIncluded()
{
    Pty pty;
    SerialPort port;
    port.setPortName(pty.slave);
    QVERIFY(port.open(nullptr));
    pty.send(QByteArray("\x00\x41\x00\x0d\x11\x13", 6));  // NUL, CR, XON, XOFF: all plain data
    QVERIFY(port.waitForBytes(6, 1000));
    QCOMPARE(port.bytesWaiting(), 6);
    QList<int> got;
    for (int i = 0; i < 6; ++i)
        got << port.readByte();
    QCOMPARE(got, QList<int>({0x00, 0x41, 0x00, 0x0D, 0x11, 0x13}));
    QCOMPARE(port.readByte(), -1);

    for (uint8_t b : {0x00, 0x0A, 0xFF})
        QVERIFY(port.writeByte(b));
    QCOMPARE(pty.receive(3), QByteArray("\x00\x0a\xff", 3));

    pty.send("junk");
    QVERIFY(port.waitForBytes(4, 1000));
    port.discardInput();
    QCOMPARE(port.bytesWaiting(), 0);
}

void TestSerialPort::waitSleepsOnTheDevice()
{
    Pty pty;
    SerialPort port;
    port.setPortName(pty.slave);
    QVERIFY(port.open(nullptr));
    const std::clock_t cpu0 = std::clock();
    QElapsedTimer t;
    t.start();
    QVERIFY(!port.waitForBytes(1, 150));
    const qint64 ms = t.elapsed();
    const double cpuMs = double(std::clock() - cpu0) * 1000.0 / CLOCKS_PER_SEC;
    QVERIFY2(ms >= 150 && ms < 1000, qPrintable(QString::number(ms)));
    QVERIFY2(cpuMs < 30, qPrintable(QString::number(cpuMs)));
    QVERIFY(port.isOpen());  // a timed-out wait is no error
}

void TestSerialPort::vanishedDeviceClosesThePortAndPromptsOnce()
{
    Pty pty;
    SerialPort port;
    ScriptedPrompter prompter;
    NullLinkView view;
    LinkState state;
    state.DevicePath = pty.slave;
    LinkTiming timing;
    timing.replyDeadlineMs = 300;
    timing.pauseMs = 0;
    ControllerLink link(port, prompter, view, state, timing);

    // The port is open and working, then the terminal goes away under it.
    port.setPortName(pty.slave);
    QVERIFY(port.open(nullptr));
    QVERIFY(port.writeByte(0x33));
    QCOMPARE(pty.receive(1), QByteArray("\x33"));
    pty.hangUp();

    prompter.expectError(QStringLiteral("RS-232 timeout. Check cable and click Abort."), PromptAnswer::Abort);
    QElapsedTimer t;
    t.start();
    link.ReadStatus();
    QVERIFY(!state.LinkOK);
    QVERIFY(!port.isOpen());
    QVERIFY2(t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));
    QVERIFY_PROMPTS(prompter);
    // Nothing keeps firing from the event loop once the port is closed.
    QCoreApplication::processEvents();
    QVERIFY(!port.isOpen());
    QVERIFY_PROMPTS(prompter);
}

void TestSerialPort::openFailures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("says");
    QTest::newRow("missing") << "missing" << "does not exist";
    QTest::newRow("not permitted") << "denied" << "dialout";
    // Qt claims a terminal exclusively, so a second opener is refused, root or not.
    QTest::newRow("in use") << "busy" << "in use by another program";
}

void TestSerialPort::openFailures()
{
    QFETCH(QString, kind);
    QFETCH(QString, says);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("ttyNone"));
    if (kind == QLatin1String("denied")) {
        if (::geteuid() == 0)
            QSKIP("permissions do not apply to root");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY(f.setPermissions(QFileDevice::Permissions()));
    }
    Pty pty;
    SerialPort holder;
    if (kind == QLatin1String("busy")) {
        path = pty.slave;
        holder.setPortName(path);
        QVERIFY(holder.open(nullptr));
    }
    SerialPort port;
    port.setPortName(path);
    QString error;
    QVERIFY(!port.open(&error));
    QVERIFY(!port.isOpen());
    QVERIFY2(error.contains(says), qPrintable(error));
    QVERIFY2(error.contains(path), qPrintable(error));
}

QTEST_GUILESS_MAIN(TestSerialPort)
#include "tst_serialport.moc"
