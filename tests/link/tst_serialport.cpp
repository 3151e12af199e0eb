// The QSerialPort backend on a pseudo-terminal, a device without modem lines or error counters.
#include "link/link.h"
#include "link/serialport.h"
#include "support/scriptedprompter.h"

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
    ~Pty() { hangUp(); }
    void hangUp() { ::close(std::exchange(master, -1)); }  // closing -1 again is harmless
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
    // Every byte, NUL, CR, XON and XOFF included, is data both ways; a wait sleeps; a hang-up is a lost port.
    void aTerminalFromOpenToHangUp()
    {
        Pty pty;
        QVERIFY(pty.port.open(nullptr));
        QVERIFY(pty.send(QByteArray("\x00\x41\x00\x0d\x11\x13", 6)) && pty.port.waitForBytes(6, 1000));
        QList<int> got;
        for (int i = 0; i < 7; ++i)
            got << pty.port.readByte();
        QCOMPARE(got, QList<int>({0x00, 0x41, 0x00, 0x0D, 0x11, 0x13, -1}));
        for (uint8_t b : {0x00, 0x0A, 0xFF})
            QVERIFY(pty.port.writeByte(b));
        QCOMPARE(pty.receive(3), QByteArray("\x00\x0a\xff", 3));
        QVERIFY(pty.send("junk") && pty.port.waitForBytes(4, 1000));
        pty.port.discardInput();
        QCOMPARE(pty.port.bytesWaiting(), 0);
        // A timed-out wait sleeps and is no error.
        const std::clock_t cpu0 = std::clock();
        QElapsedTimer t;
        t.start();
        QVERIFY(!pty.port.waitForBytes(1, 150));
        QVERIFY2(t.elapsed() >= 150 && t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));
        QVERIFY2(std::clock() - cpu0 < CLOCKS_PER_SEC / 30, "the wait keeps the processor busy");
        QVERIFY(pty.port.isOpen());
        ScriptedPrompter prompter;
        NullLinkView view;
        LinkState state;
        ControllerLink link(pty.port, prompter, view, state, LinkTiming{300, 0});
        // A port that went away ends the transaction at once, with nothing to retry and nothing asked.
        pty.hangUp();
        t.restart();
        QCOMPARE(link.ReadStatus().error, LinkError::PortLost);
        QVERIFY2(t.elapsed() < 200, qPrintable(QString::number(t.elapsed())));
        QCoreApplication::processEvents();  // nothing keeps firing once the port is closed
        QVERIFY(!pty.port.isOpen() && pty.port.wasLost());
        QVERIFY_PROMPTS(prompter);
    }

    // A missing device and one in use are refused saying which and why; an account without the right to the
    // port is told the command that gives it.
    void openFailures()
    {
        Pty holder;
        QVERIFY(holder.port.open(nullptr));
        const QList<QPair<QString, QString>> cases{{holder.slave + "-none", "does not exist"},
                                                   {holder.slave, "in use by another program"}};
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
