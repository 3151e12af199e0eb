// The Win32 backend, under Wine on two COM ports joined by a null-modem pair of
// pseudo-terminals (ptypair.cpp): the same checks as the QSerialPort backend's on a
// pseudo-terminal. REVORA_TEST_PORTS names the port under test, the controller's
// end and the file whose creation hangs the line up ("COM8 COM9 Z:\tmp\x\hangup");
// without it only the checks that need no line run.
#include "link/link.h"
#include "link/serialport.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtTest>
#include <windows.h>

namespace {
QStringList testPorts() { return qEnvironmentVariable("REVORA_TEST_PORTS").split(QLatin1Char(' '), Qt::SkipEmptyParts); }

// The controller's end of the cable, opened with plain file calls.
struct ControllerEnd {
    HANDLE h = INVALID_HANDLE_VALUE;
    explicit ControllerEnd(const QString& name)
    {
        const QString path = WinSerialPort::devicePath(name);
        h = CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                        OPEN_EXISTING, 0, nullptr);
        COMMTIMEOUTS t{};
        t.ReadTotalTimeoutConstant = 1000;
        t.WriteTotalTimeoutConstant = 1000;
        SetCommTimeouts(h, &t);
    }
    ~ControllerEnd() { CloseHandle(h); }
    bool send(const QByteArray& b)
    {
        DWORD n = 0;
        return WriteFile(h, b.constData(), DWORD(b.size()), &n, nullptr) && n == DWORD(b.size());
    }
    QByteArray receive(int n)
    {
        QByteArray got(n, '\0');
        DWORD r = 0;
        if (!ReadFile(h, got.data(), DWORD(n), &r, nullptr))
            r = 0;
        got.truncate(int(r));
        return got;
    }
};
}  // namespace

class TestWinSerialPort : public QObject {
    Q_OBJECT
private slots:
    // Every byte, NUL, CR, XON and XOFF included, is data both ways; a wait sleeps; a hang-up is a lost port.
    void aLineFromOpenToHangUp()
    {
        const QStringList ports = testPorts();
        if (ports.size() != 3)
            QSKIP("REVORA_TEST_PORTS is not set (the Wine stage sets it)");
        SerialPort port;
        port.setPortName(ports[0]);
        QString error;
        QVERIFY2(port.open(&error), qPrintable(error));
        // Not checked here, as Wine differs from Windows: the rate (Wine sets 56000 on a terminal as 38400
        // with a divisor and reports 38400) and a second opener's refusal (Wine lets it share the port).
        ControllerEnd controller(ports[1]);
        QVERIFY(controller.h != INVALID_HANDLE_VALUE);

        QVERIFY(controller.send(QByteArray("\x00\x41\x00\x0d\x11\x13", 6)) && port.waitForBytes(6, 1000));
        QList<int> got;
        for (int i = 0; i < 7; ++i)
            got << port.readByte();
        QCOMPARE(got, QList<int>({0x00, 0x41, 0x00, 0x0D, 0x11, 0x13, -1}));
        for (uint8_t b : {0x00, 0x0A, 0xFF})
            QVERIFY(port.writeByte(b));
        QCOMPARE(controller.receive(3), QByteArray("\x00\x0a\xff", 3));
        QVERIFY(controller.send("junk") && port.waitForBytes(4, 1000));
        port.discardInput();
        QCOMPARE(port.bytesWaiting(), 0);
        // A byte that comes during a wait ends it at once.
        QElapsedTimer t;
        t.start();
        QVERIFY(controller.send("\x06") && port.waitForBytes(1, 2000));
        QVERIFY2(t.elapsed() < 500, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(port.readByte(), 0x06);
        // Nothing more to read: the wait sleeps in the driver, and a timed-out wait is no error.
        const double cpu0 = processorSeconds();
        t.restart();
        QVERIFY(!port.waitForBytes(1, 300));
        QVERIFY2(t.elapsed() >= 290 && t.elapsed() < 1500, qPrintable(QString::number(t.elapsed())));
        QVERIFY2(processorSeconds() - cpu0 < 0.1, "the wait keeps the processor busy");
        QVERIFY(port.isOpen());

        ScriptedPrompter prompter;
        NullLinkView view;
        LinkState state;
        ControllerLink link(port, prompter, view, state, LinkTiming{300, 0});
        QFile hangup(ports[2]);
        QVERIFY(hangup.open(QIODevice::WriteOnly));
        hangup.close();
        QThread::msleep(100);  // the cable looks for the file every 10 ms
        // A port that went away ends the transaction, with nothing to retry and nothing asked.
        QCOMPARE(link.ReadStatus().error, LinkError::PortLost);
        QVERIFY(!port.isOpen() && port.wasLost());
        QVERIFY_PROMPTS(prompter);
    }

    // A missing port is refused with a text that says which and why, and so is one in use (its Win32 codes).
    void openFailures()
    {
        SerialPort missing;
        missing.setPortName(QStringLiteral("COM231"));
        QString error;
        QVERIFY(!missing.open(&error));
        QVERIFY2(error.contains("does not exist") && error.contains("COM231"), qPrintable(error));
        QVERIFY(!missing.isOpen() && missing.bytesWaiting() == 0 && missing.readByte() == -1 && !missing.writeByte(1));

        QCOMPARE(WinSerialPort::openErrorText(ERROR_ACCESS_DENIED, "COM3").contains("in use by another program"), true);
        QCOMPARE(WinSerialPort::openErrorText(ERROR_SHARING_VIOLATION, "COM3").contains("in use by another program"),
                 true);
        QVERIFY(WinSerialPort::openErrorText(ERROR_GEN_FAILURE, "COM3").contains("cannot be opened ("));
    }

    // Com n is \\.\COMn, the only form that opens COM10 and above.
    void deviceNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("device");
        QTest::newRow("COM3") << "COM3" << "\\\\.\\COM3";
        QTest::newRow("lower case, two digits") << "com12" << "\\\\.\\COM12";
        QTest::newRow("already a device name") << "\\\\.\\COM200" << "\\\\.\\COM200";
        QTest::newRow("leading zero dropped") << "COM07" << "\\\\.\\COM7";
    }
    void deviceNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, device);
        QCOMPARE(WinSerialPort::devicePath(name), device);
    }

    // ClearCommError's mask, one event per kind; bits it does not define are no event.
    void lineErrors()
    {
        QCOMPARE(WinSerialPort::lineErrorsOf(0), QList<LineError>());
        QCOMPARE(WinSerialPort::lineErrorsOf(CE_FRAME | CE_RXPARITY),
                 QList<LineError>({LineError::Framing, LineError::Parity}));
        QCOMPARE(WinSerialPort::lineErrorsOf(CE_OVERRUN | CE_RXOVER | CE_BREAK | CE_TXFULL),
                 QList<LineError>({LineError::Overrun, LineError::RxOverflow, LineError::Break, LineError::TxFull}));
        QCOMPARE(WinSerialPort::lineErrorsOf(CE_MODE), QList<LineError>());
    }
};

QTEST_GUILESS_MAIN(TestWinSerialPort)
#include "tst_winserialport.moc"
