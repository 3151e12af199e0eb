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
#include <poll.h>
#include <unistd.h>

namespace {
// The controller's end of a pseudo-terminal, with the port open on the other end.
struct Pty {
    int master = -1;
    QString slave;
    SerialPort port;
    Pty()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0)
            slave = QString::fromLocal8Bit(::ptsname(master));
        port.setPortName(slave);
    }
    ~Pty()
    {
        port.close();
        hangUp();
    }
    void hangUp()
    {
        if (master >= 0)
            ::close(master);
        master = -1;
    }
    void send(const QByteArray& b) { QCOMPARE(::write(master, b.constData(), b.size()), qint64(b.size())); }
    QByteArray receive(int n)
    {
        QByteArray got;
        char buf[64];
        pollfd p{master, POLLIN, 0};
        for (int i = 0; i < 100 && got.size() < n; ++i) {
            if (::poll(&p, 1, 10) > 0 && (p.revents & POLLIN)) {
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
    // A terminal that refuses DTR and keeps no counters still opens; every byte,
    // NUL, CR, XON and XOFF included, is plain data both ways; a wait sleeps.
    void bytesBothWaysOnATerminal()
    {
        Pty pty;
        QString error;
        QVERIFY2(pty.port.open(&error), qPrintable(error));
        QVERIFY(error.isEmpty());
        QVERIFY(!pty.port.hasLineCounters());
        QVERIFY(pty.port.actualBaudRate() == 0 || pty.port.actualBaudRate() == SerialPort::kBaudRate);

        pty.send(QByteArray("\x00\x41\x00\x0d\x11\x13", 6));
        QVERIFY(pty.port.waitForBytes(6, 1000));
        QCOMPARE(pty.port.bytesWaiting(), 6);
        QList<int> got;
        for (int i = 0; i < 6; ++i)
            got << pty.port.readByte();
        QCOMPARE(got, QList<int>({0x00, 0x41, 0x00, 0x0D, 0x11, 0x13}));
        QCOMPARE(pty.port.readByte(), -1);
        for (uint8_t b : {0x00, 0x0A, 0xFF})
            QVERIFY(pty.port.writeByte(b));
        QCOMPARE(pty.receive(3), QByteArray("\x00\x0a\xff", 3));

        pty.send("junk");
        QVERIFY(pty.port.waitForBytes(4, 1000));
        pty.port.discardInput();
        QCOMPARE(pty.port.bytesWaiting(), 0);

        // Nothing more to read: the wait sleeps on the device, and a timed-out wait is no error.
        const std::clock_t cpu0 = std::clock();
        QElapsedTimer t;
        t.start();
        QVERIFY(!pty.port.waitForBytes(1, 150));
        const qint64 ms = t.elapsed();
        const double cpuMs = double(std::clock() - cpu0) * 1000.0 / CLOCKS_PER_SEC;
        QVERIFY2(ms >= 150 && ms < 1000, qPrintable(QString::number(ms)));
        QVERIFY2(cpuMs < 30, qPrintable(QString::number(cpuMs)));
        QVERIFY(pty.port.isOpen());
        pty.port.close();
        QVERIFY(!pty.port.isOpen());
    }

    void vanishedDeviceClosesThePortAndPromptsOnce()
    {
        Pty pty;
        ScriptedPrompter prompter;
        NullLinkView view;
        LinkState state;
        state.DevicePath = pty.slave;
        LinkTiming timing;
        timing.replyDeadlineMs = 300;
        timing.pauseMs = 0;
        ControllerLink link(pty.port, prompter, view, state, timing);
        // The port is open and working, then the terminal goes away under it.
        QVERIFY(pty.port.open(nullptr));
        QVERIFY(pty.port.writeByte(0x33));
        QCOMPARE(pty.receive(1), QByteArray("\x33"));
        pty.hangUp();

        prompter.expectError(QStringLiteral("RS-232 timeout. Check cable and click Abort."), PromptAnswer::Abort);
        QElapsedTimer t;
        t.start();
        link.ReadStatus();
        QVERIFY(!state.LinkOK);
        QVERIFY(!pty.port.isOpen());
        QVERIFY2(t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));
        // Nothing keeps firing from the event loop once the port is closed.
        QCoreApplication::processEvents();
        QVERIFY(!pty.port.isOpen());
        QVERIFY_PROMPTS(prompter);
    }

    void openFailures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("says");
        QTest::newRow("missing") << "missing" << "does not exist";
        QTest::newRow("not permitted") << "denied" << "dialout";
        // Qt claims a terminal exclusively, so a second opener is refused, root or not.
        QTest::newRow("in use") << "busy" << "in use by another program";
    }
    void openFailures()
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
        Pty holder;
        if (kind == QLatin1String("busy")) {
            path = holder.slave;
            QVERIFY(holder.port.open(nullptr));
        }
        SerialPort port;
        port.setPortName(path);
        QString error;
        QVERIFY(!port.open(&error));
        QVERIFY(!port.isOpen());
        QVERIFY2(error.contains(says), qPrintable(error));
        QVERIFY2(error.contains(path), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestSerialPort)
#include "tst_serialport.moc"
