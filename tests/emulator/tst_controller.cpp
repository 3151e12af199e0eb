// The emulated controller's answers, byte for byte, and the failure modes the
// link tests do not already pin down through their outcomes.
#include "emulator/controller.h"
#include "emulator/emulatedport.h"

#include <QElapsedTimer>
#include <QtTest>

namespace {
QByteArray bytes(const char* hex) { return QByteArray::fromHex(QByteArray(hex)); }
QString hex(const QByteArray& b) { return QString::fromLatin1(b.toHex(' ').toUpper()); }

// EEPROM byte a holds the low byte of a, so every read names its own address.
// The bytes arrive 2 ms apart, as the PC sends them; returns every answer.
QByteArray exchange(EmulatedController& c, const QByteArray& in)
{
    for (int a = 0; a < emu::kEepromSize; ++a)
        c.eeprom()[a] = uint8_t(a);
    QByteArray out;
    qint64 t = 0;
    for (char b : in) {
        out += c.receive(uint8_t(b), t);
        t += 2;
    }
    return out;
}
}  // namespace

class TestEmulatedController : public QObject {
    Q_OBJECT
private slots:
    void protocol_data()
    {
        QTest::addColumn<QString>("mode");  // empty: none
        QTest::addColumn<QByteArray>("in");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<int>("resets");
        const QByteArray reset = bytes("34 5A A5 3C C3");
        const QByteArray fw = QByteArray(emu::kDefaultFirmwareId) + '\r';
        QTest::newRow("resync, status") << "" << bytes("33 2E") << bytes("06 00") << 0;
        QTest::newRow("firmware ID ends with CR") << "" << bytes("10") << fw << 0;
        QTest::newRow("consecutive reads") << "" << bytes("14 10 00 15 15") << bytes("06 10 11") << 0;
        QTest::newRow("read wraps at the end") << "" << bytes("14 FF 01 15 15") << bytes("06 FF 00") << 0;
        QTest::newRow("address too high") << "" << bytes("14 20 00 14 00 02 15") << bytes("06 15 20") << 0;
        QTest::newRow("write, NUL kept") << "" << bytes("14 20 00 16 AB 16 00 14 20 00 15 15")
                                         << bytes("06 06 06 06 AB 00") << 0;
        QTest::newRow("command bytes as data") << "" << bytes("14 30 00 16 33 16 0D 14 30 00 15 15")
                                               << bytes("06 06 06 06 33 0D") << 0;
        QTest::newRow("reset: 06, follow-up") << "" << reset << bytes("06 00") << 1;
        QTest::newRow("wrong confirmation") << "" << bytes("34 5A 00 33") << bytes("15 06") << 0;
        QTest::newRow("unknown command") << "" << bytes("99 33") << bytes("15 06") << 0;
        QTest::newRow("silent never resets") << "silent" << bytes("33 2E 10") + reset << QByteArray() << 0;
        QTest::newRow("nak-address at 16") << "nak-address:16" << bytes("14 10 00 14 11 00") << bytes("15 06") << 0;
        QTest::newRow("nak-read: no advance") << "nak-read:17" << bytes("14 10 00 15 15 15") << bytes("06 10 15 15")
                                              << 0;
        QTest::newRow("reset-ack-only resets") << "reset-ack-only" << reset << bytes("06") << 1;
        QTest::newRow("junk before replies") << "junk:2" << bytes("33 15") << bytes("FF FF 06 FF FF 00") << 0;
        QTest::newRow("disconnect mid-command") << "disconnect:3" << bytes("33 14 10 00 33") << bytes("06") << 0;
    }
    void protocol()
    {
        QFETCH(QString, mode);
        QFETCH(QByteArray, in);
        QFETCH(QByteArray, out);
        QFETCH(int, resets);
        EmulatedController c;
        std::optional<emu::Failure> failure;
        if (!mode.isEmpty()) {
            QString error;
            failure = emu::parseFailure(mode, &error);
            QVERIFY2(failure, qPrintable(error));
            c.addFailure(*failure);
        }
        int resetCalls = 0;
        c.onReset = [&] { ++resetCalls; };
        QCOMPARE(hex(exchange(c, in)), hex(out));
        QCOMPARE(c.resetCount(), resets);
        QCOMPARE(resetCalls, resets);
        QCOMPARE(c.isDisconnected(), failure && failure->kind == emu::FailureKind::Disconnect);
    }

    void parser_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("parsed");  // empty when the text is refused
        QTest::addColumn<QString>("errorPart");
        QTest::newRow("hex address, any case") << " NAK-Read:0x28 " << "nak-read:40" << "";
        QTest::newRow("optional address left out") << "nak-address" << "nak-address" << "";
        QTest::newRow("unknown") << "explode" << "" << "Unknown failure mode \"explode\".";
        QTest::newRow("address required") << "mismatch" << "" << "needs an EEPROM address, for example mismatch:40";
        QTest::newRow("count required") << "disconnect" << "" << "needs a byte count";
        QTest::newRow("address too high") << "nak-read:512" << "" << "use 0 to 511";
        QTest::newRow("not a number") << "mismatch:forty" << "" << "\"forty\" in \"mismatch:forty\" is not an EEPROM";
        QTest::newRow("no number allowed") << "armed:2" << "" << "takes no number";
        QTest::newRow("too much junk") << "junk:65" << "" << "use 1 to 64";
        QTest::newRow("zero bytes before disconnect") << "disconnect:0" << "" << "not a byte count";
    }
    void parser()
    {
        QFETCH(QString, text);
        QFETCH(QString, parsed);
        QFETCH(QString, errorPart);
        QString error;
        const auto failure = emu::parseFailure(text, &error);
        if (parsed.isEmpty()) {
            QVERIFY(!failure);
            QVERIFY2(error.contains(errorPart), qPrintable(error));
            QVERIFY2(error.contains(QStringLiteral("nak-read[:A]")), "the error lists the modes");
        } else {
            QVERIFY2(failure, qPrintable(error));
            QCOMPARE(failure->toString(), parsed);
            QCOMPARE(emu::parseFailure(failure->toString()), failure);
        }
    }

    void incompleteCommandIsDroppedAfterAPause()
    {
        EmulatedController c;
        // The PC gave up after two bytes of an address command; its next resync comes
        // more than the inter-byte timeout later and must be understood as a resync.
        QVERIFY(c.receive(0x14, 0).isEmpty());
        QVERIFY(c.receive(0x20, 2).isEmpty());
        QCOMPARE(hex(c.receive(0x33, 2 + emu::kCommandByteTimeoutMs + 1)), QStringLiteral("06"));
        // A slow but timely command still completes.
        QVERIFY(c.receive(0x14, 10000).isEmpty());
        QVERIFY(c.receive(0x20, 10000 + emu::kCommandByteTimeoutMs).isEmpty());
        QCOMPARE(hex(c.receive(0x00, 10000 + 2 * emu::kCommandByteTimeoutMs)), QStringLiteral("06"));
        QCOMPARE(c.address(), 0x20);
    }

    // The in-process port: answers at once, a closed port drops them, a wait that
    // cannot be met lasts its deadline, and a dropped line cannot be reopened.
    void emulatedPort()
    {
        EmulatedController c;
        c.addFailure({emu::FailureKind::Disconnect, 4});
        EmulatedPort port(c);
        QVERIFY(!port.writeByte(0x33));
        QCOMPARE(c.bytesReceived(), 0);
        QVERIFY(port.open(nullptr));
        for (uint8_t b : {0x14, 0x10, 0x00})
            QVERIFY(port.writeByte(b));
        QCOMPARE(hex(port.written()), QStringLiteral("14 10 00"));
        QVERIFY(port.waitForBytes(1, 0));
        QCOMPARE(port.readByte(), 0x06);
        QCOMPARE(port.readByte(), -1);
        QElapsedTimer t;
        t.start();
        QVERIFY(!port.waitForBytes(1, 40));
        QVERIFY2(t.elapsed() >= 35 && t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));

        QVERIFY(port.writeByte(0x33));  // the 4th byte: the line drops, unanswered
        QVERIFY(!port.isOpen());
        QVERIFY(!port.writeByte(0x33));
        QString error;
        QVERIFY(!port.open(&error));
        QVERIFY(error.contains(QStringLiteral("Check the cable")));

        EmulatedController d;
        EmulatedPort other(d);
        QVERIFY(other.open(nullptr));
        other.writeByte(0x33);
        other.close();
        QVERIFY(other.open(nullptr));
        QCOMPARE(other.bytesWaiting(), 0);  // the unread answer went with the closed port
        QCOMPARE(other.openCount(), 2);
    }
};

QTEST_GUILESS_MAIN(TestEmulatedController)
#include "tst_controller.moc"
