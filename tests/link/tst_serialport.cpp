// The QSerialPort backend on a pseudo-terminal, a device without modem lines or error counters.
#include "link/serialport.h"

#include <QElapsedTimer>
#include <QtTest>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {
// The controller's end of a pseudo-terminal, with the port on the other end.
struct Pty {
    int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    QString slave = ::grantpt(master) == 0 && ::unlockpt(master) == 0 ? QString(::ptsname(master)) : QString();
    SerialPort port;
    Pty() { port.setPortName(slave); }
    ~Pty() { ::close(master); }
    bool send(const QByteArray& b) { return ::write(master, b.constData(), size_t(b.size())) == b.size(); }
    QByteArray receive(int n)
    {
        QByteArray got;
        char buf[64];
        pollfd p{master, POLLIN, 0};
        for (ssize_t r = 0; got.size() < n && ::poll(&p, 1, 1000) > 0 && (r = ::read(master, buf, sizeof buf)) > 0;)
            got.append(buf, int(r));
        return got;
    }
};
}  // namespace

class TestSerialPort : public QObject {
    Q_OBJECT
private slots:
    // Every byte value, NUL, CR, XON and XOFF among them, is data both ways, and none is read where there is
    // none; input can be discarded; a wait that times out sleeps. (A hang-up, a port lost, is judged on this
    // backend by tst_link_e2e's port-lost rows.)
    void aTerminal()
    {
        Pty pty;
        QVERIFY(pty.port.open(nullptr));
        QByteArray every;
        for (int b = 0; b < 256; ++b)
            every.append(char(b));
        QVERIFY(pty.send(every) && pty.port.waitForBytes(256, 1000));
        QByteArray got;
        for (int b = 0; got.size() <= 256 && (b = pty.port.readByte()) >= 0;)
            got.append(char(b));
        QCOMPARE(got, every);
        for (char b : every)
            QVERIFY(pty.port.writeByte(uint8_t(b)));
        QCOMPARE(pty.receive(256), every);
        QVERIFY(pty.send("junk") && pty.port.waitForBytes(4, 1000));
        pty.port.discardInput();
        QCOMPARE(pty.port.bytesWaiting(), 0);
        const std::clock_t cpu0 = std::clock();
        QElapsedTimer t;
        t.start();
        QVERIFY(!pty.port.waitForBytes(1, 150));
        QVERIFY2(t.elapsed() >= 150 && t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));
        QVERIFY2(std::clock() - cpu0 < CLOCKS_PER_SEC / 30, "the wait keeps the processor busy");
        QVERIFY(pty.port.isOpen());
    }

    // A missing device, one in use and none named are refused saying which and why; an account without the
    // right to the port is told the command that gives it.
    void openFailures()
    {
        Pty holder;
        QVERIFY(holder.port.open(nullptr));
        const QList<QPair<QString, QString>> cases{{holder.slave + "-none", "does not exist"},
                                                   {holder.slave, "in use by another program"},
                                                   {QString(), "No serial port chosen."}};
        for (const auto& [path, says] : cases) {
            SerialPort port;
            port.setPortName(path);
            QString error;
            QVERIFY(!port.open(&error));
            QVERIFY2(error.contains(says) && error.contains(path), qPrintable(error));
        }
        const QString text = SerialPort::noPermissionText("/dev/ttyUSB0", "dialout", "alice");
        QVERIFY2(text.contains("\n    sudo usermod -aG dialout alice\n") && text.contains("log out and in again"),
                 qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(TestSerialPort)
#include "tst_serialport.moc"
