// The emulated controller's answers, byte for byte, and each named failure mode.
#include "emulator/controller.h"
#include "emulator/emulatedport.h"

#include <QElapsedTimer>
#include <QtTest>

namespace {

QByteArray bytes(const char* hex) { return QByteArray::fromHex(QByteArray(hex)); }
QString hex(const QByteArray& b) { return QString::fromLatin1(b.toHex(' ').toUpper()); }

// EEPROM byte a holds the low byte of a, so every read names its own address.
void fillWithAddresses(EmulatedController& c)
{
    for (int a = 0; a < emu::kEepromSize; ++a)
        c.eeprom()[a] = uint8_t(a);
}

// Feeds the bytes one at a time, 2 ms apart as the PC sends them, and collects
// every answer.
QByteArray exchange(EmulatedController& c, const QByteArray& in)
{
    QByteArray out;
    qint64 t = 0;
    for (char b : in) {
        out += c.receive(uint8_t(b), t);
        t += 2;
    }
    return out;
}

const QByteArray kFirmwareHex = QByteArray(emu::kDefaultFirmwareId).toHex();

}  // namespace

class TestEmulatedController : public QObject {
    Q_OBJECT
private slots:
    void protocol_data();
    void protocol();
    void failureModes_data();
    void failureModes();
    void parser_data();
    void parser();
    void incompleteCommandIsDroppedAfterAPause();
    void configBlockIsAddresses16To159();

    void portRecordsWrittenBytesAndAnswersAtOnce();
    void closedPortRefusesWritesAndDropsAnswers();
    void waitForBytesWaitsOnlyTheGivenTime();
    void disconnectClosesThePort();
    void openErrorIsReported();
};

void TestEmulatedController::protocol_data()
{
    QTest::addColumn<QByteArray>("in");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<int>("addressAfter");

    QTest::newRow("resync") << bytes("33") << bytes("06") << 0;
    QTest::newRow("status not armed") << bytes("2E") << bytes("00") << 0;
    QTest::newRow("firmware ID ends with CR") << bytes("10") << QByteArray::fromHex(kFirmwareHex + "0D") << 0;
    QTest::newRow("address then consecutive reads") << bytes("14 10 00 15 15") << bytes("06 10 11") << 18;
    QTest::newRow("high address byte") << bytes("14 00 01 15") << bytes("06 00") << 257;
    QTest::newRow("read wraps at the end") << bytes("14 FF 01 15 15") << bytes("06 FF 00") << 1;
    QTest::newRow("address beyond the EEPROM refused")
        << bytes("14 20 00 14 00 02 15") << bytes("06 15 20") << 33;
    QTest::newRow("write, NUL kept, read back")
        << bytes("14 20 00 16 AB 16 00 14 20 00 15 15") << bytes("06 06 06 06 AB 00") << 34;
    QTest::newRow("command bytes as data")
        << bytes("14 30 00 16 33 16 0D 14 30 00 15 15") << bytes("06 06 06 06 33 0D") << 50;
    QTest::newRow("reset answers 06 and its follow-up byte")
        << bytes("14 10 00 34 5A A5 3C C3") << bytes("06 06 00") << 0;
    QTest::newRow("wrong confirmation refused at once")
        << bytes("14 10 00 34 5A 00 33") << bytes("06 15 06") << 16;
    QTest::newRow("wrong last confirmation byte") << bytes("34 5A A5 3C 00 33") << bytes("15 06") << 0;
    QTest::newRow("unknown command refused") << bytes("99 33") << bytes("15 06") << 0;
}

void TestEmulatedController::protocol()
{
    QFETCH(QByteArray, in);
    QFETCH(QByteArray, out);
    QFETCH(int, addressAfter);
    EmulatedController c;
    fillWithAddresses(c);
    QCOMPARE(hex(exchange(c, in)), hex(out));
    QCOMPARE(c.address(), addressAfter);
}

void TestEmulatedController::failureModes_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QByteArray>("in");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<int>("resets");

    const QByteArray reset = bytes("34 5A A5 3C C3");
    QTest::newRow("silent") << "silent" << bytes("33 2E 10 14 10 00") << QByteArray() << 0;
    QTest::newRow("silent never resets") << "silent" << reset << QByteArray() << 0;
    QTest::newRow("armed") << "armed" << bytes("2E") << bytes("02") << 0;
    QTest::newRow("firmware-no-cr") << "firmware-no-cr" << bytes("10") << QByteArray::fromHex(kFirmwareHex) << 0;
    QTest::newRow("firmware-empty") << "firmware-empty" << bytes("10") << bytes("0D") << 0;
    QTest::newRow("firmware-unknown") << "firmware-unknown" << bytes("10")
                                      << QByteArray(emu::kUnknownFirmwareId) + '\r' << 0;
    QTest::newRow("nak-address at 16") << "nak-address:16" << bytes("14 10 00 14 11 00") << bytes("15 06") << 0;
    QTest::newRow("nak-address everywhere") << "nak-address" << bytes("14 11 00 33") << bytes("15 06") << 0;
    QTest::newRow("mute-address") << "mute-address:16" << bytes("14 10 00 33") << bytes("06") << 0;
    QTest::newRow("nak-read does not advance")
        << "nak-read:17" << bytes("14 10 00 15 15 15") << bytes("06 10 15 15") << 0;
    QTest::newRow("mute-read") << "mute-read:16" << bytes("14 10 00 15 33") << bytes("06 06") << 0;
    QTest::newRow("nak-write stores nothing")
        << "nak-write:16" << bytes("14 10 00 16 AA 14 10 00 15") << bytes("06 15 06 10") << 0;
    QTest::newRow("nak-write elsewhere unaffected")
        << "nak-write:40" << bytes("14 10 00 16 AA 14 10 00 15") << bytes("06 06 06 AA") << 0;
    QTest::newRow("mute-write stores nothing") << "mute-write:16" << bytes("14 10 00 16 AA 15") << bytes("06 10") << 0;
    QTest::newRow("mismatch reads the inverse of what was written")
        << "mismatch:16" << bytes("14 10 00 16 AA 14 10 00 15 15") << bytes("06 06 06 55 11") << 0;
    QTest::newRow("reset-ack-only still resets") << "reset-ack-only" << reset << bytes("06") << 1;
    QTest::newRow("reset-nak") << "reset-nak" << reset << bytes("15") << 0;
    QTest::newRow("reset-silent") << "reset-silent" << reset + bytes("33") << bytes("06") << 0;
    QTest::newRow("junk before every reply") << "junk:2" << bytes("33 15") << bytes("FF FF 06 FF FF 00") << 0;
    QTest::newRow("junk defaults to one byte") << "junk" << bytes("33") << bytes("FF 06") << 0;
    QTest::newRow("disconnect on the second byte") << "disconnect:2" << bytes("33 33 33") << bytes("06") << 0;
    QTest::newRow("disconnect inside a command") << "disconnect:3" << bytes("33 14 10 00 33") << bytes("06") << 0;
}

void TestEmulatedController::failureModes()
{
    QFETCH(QString, mode);
    QFETCH(QByteArray, in);
    QFETCH(QByteArray, out);
    QFETCH(int, resets);
    EmulatedController c;
    fillWithAddresses(c);
    QString error;
    const auto failure = emu::parseFailure(mode, &error);
    QVERIFY2(failure, qPrintable(error));
    c.addFailure(*failure);
    int resetCalls = 0;
    c.onReset = [&] { ++resetCalls; };
    QCOMPARE(hex(exchange(c, in)), hex(out));
    QCOMPARE(c.resetCount(), resets);
    QCOMPARE(resetCalls, resets);
    QCOMPARE(c.isDisconnected(), failure->kind == emu::FailureKind::Disconnect);
}

void TestEmulatedController::parser_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("parsed");  // empty when the text is refused
    QTest::addColumn<QString>("errorPart");

    QTest::newRow("address") << "nak-read:40" << "nak-read:40" << "";
    QTest::newRow("hex address, any case") << " NAK-Read:0x28 " << "nak-read:40" << "";
    QTest::newRow("top address") << "mute-write:511" << "mute-write:511" << "";
    QTest::newRow("optional address left out") << "nak-address" << "nak-address" << "";
    QTest::newRow("plain mode") << "reset-ack-only" << "reset-ack-only" << "";
    QTest::newRow("count") << "disconnect:300" << "disconnect:300" << "";
    QTest::newRow("junk count") << "junk:64" << "junk:64" << "";
    QTest::newRow("unknown") << "explode" << "" << "Unknown failure mode \"explode\".";
    QTest::newRow("empty") << "" << "" << "Unknown failure mode";
    QTest::newRow("address required") << "mismatch" << "" << "needs an EEPROM address, for example mismatch:40";
    QTest::newRow("count required") << "disconnect" << "" << "needs a byte count";
    QTest::newRow("address too high") << "nak-read:512" << "" << "use 0 to 511";
    QTest::newRow("negative address") << "nak-read:-1" << "" << "use 0 to 511";
    QTest::newRow("not a number") << "mismatch:forty" << "" << "\"forty\" in \"mismatch:forty\" is not an EEPROM";
    QTest::newRow("no number allowed") << "armed:2" << "" << "takes no number";
    QTest::newRow("zero junk") << "junk:0" << "" << "use 1 to 64";
    QTest::newRow("too much junk") << "junk:65" << "" << "use 1 to 64";
    QTest::newRow("zero bytes before disconnect") << "disconnect:0" << "" << "not a byte count";
}

void TestEmulatedController::parser()
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

void TestEmulatedController::incompleteCommandIsDroppedAfterAPause()
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

void TestEmulatedController::configBlockIsAddresses16To159()
{
    EmulatedController c;
    fillWithAddresses(c);
    const QByteArray block = c.configBlock();
    QCOMPARE(block.size(), 144);
    QCOMPARE(uint8_t(block.front()), uint8_t(16));
    QCOMPARE(uint8_t(block.back()), uint8_t(159));

    EmulatedController d;
    d.setConfigBlock(block + QByteArray(10, '\x77'));  // extra bytes are not copied
    QCOMPARE(d.eeprom()[15], uint8_t(0));
    QCOMPARE(d.eeprom()[16], uint8_t(16));
    QCOMPARE(d.eeprom()[159], uint8_t(159));
    QCOMPARE(d.eeprom()[160], uint8_t(0));
}

void TestEmulatedController::portRecordsWrittenBytesAndAnswersAtOnce()
{
    EmulatedController c;
    EmulatedPort port(c);
    QVERIFY(port.open(nullptr));
    int hooked = 0;
    port.onWrite = [&](uint8_t) { ++hooked; };
    for (uint8_t b : {0x14, 0x10, 0x00})
        QVERIFY(port.writeByte(b));
    QCOMPARE(hex(port.written()), QStringLiteral("14 10 00"));
    QCOMPARE(hooked, 3);
    QCOMPARE(port.bytesWaiting(), 1);
    QVERIFY(port.waitForBytes(1, 0));
    QCOMPARE(port.readByte(), 0x06);
    QCOMPARE(port.readByte(), -1);

    port.writeByte(0x33);
    port.writeByte(0x33);
    port.discardInput();
    QCOMPARE(port.bytesWaiting(), 0);
    port.clearWritten();
    QVERIFY(port.written().isEmpty());
}

void TestEmulatedController::closedPortRefusesWritesAndDropsAnswers()
{
    EmulatedController c;
    EmulatedPort port(c);
    QVERIFY(!port.writeByte(0x33));
    QCOMPARE(c.bytesReceived(), 0);

    QVERIFY(port.open(nullptr));
    port.writeByte(0x33);
    port.close();
    QVERIFY(port.open(nullptr));
    QCOMPARE(port.bytesWaiting(), 0);  // the unread answer went with the closed port
    QCOMPARE(port.openCount(), 2);
}

void TestEmulatedController::waitForBytesWaitsOnlyTheGivenTime()
{
    EmulatedController c;
    c.addFailure({emu::FailureKind::Silent, -1});
    EmulatedPort port(c);
    QVERIFY(port.open(nullptr));
    port.writeByte(0x33);
    QElapsedTimer t;
    t.start();
    QVERIFY(!port.waitForBytes(1, 40));
    QVERIFY2(t.elapsed() >= 35, "the wait must really last its deadline");
    QVERIFY2(t.elapsed() < 1000, "and no longer");

    // A firmware ID without CR: some bytes are there, but not the count asked for.
    EmulatedController d;
    EmulatedPort p2(d);
    p2.open(nullptr);
    p2.writeByte(0x33);
    t.restart();
    QVERIFY(p2.waitForBytes(1, 1000));
    QVERIFY(!p2.waitForBytes(2, 20));
    QVERIFY(t.elapsed() < 1000);
}

void TestEmulatedController::disconnectClosesThePort()
{
    EmulatedController c;
    c.addFailure({emu::FailureKind::Disconnect, 2});
    bool dropped = false;
    c.onDisconnect = [&] { dropped = true; };
    EmulatedPort port(c);
    QVERIFY(port.open(nullptr));
    QVERIFY(port.writeByte(0x33));
    QVERIFY(port.writeByte(0x33));
    QVERIFY(dropped);
    QVERIFY(!port.isOpen());
    QVERIFY(!port.writeByte(0x33));
    QString error;
    QVERIFY(!port.open(&error));
    QVERIFY(error.contains(QStringLiteral("Check the cable")));
}

void TestEmulatedController::openErrorIsReported()
{
    EmulatedController c;
    EmulatedPort port(c);
    port.setOpenError(QStringLiteral("Com7 is in use by another program. Close it and try again."));
    QString error;
    QVERIFY(!port.open(&error));
    QVERIFY(error.startsWith(QStringLiteral("Com7 is in use")));
    QVERIFY(!port.isOpen());
    port.setOpenError({});
    port.setPortName(QStringLiteral("/dev/ttyS2"));
    QVERIFY(port.open(&error));
    QCOMPARE(port.portName(), QStringLiteral("/dev/ttyS2"));

    LineError seen = LineError::Break;
    port.onLineError = [&](LineError e) { seen = e; };
    port.raiseLineError(LineError::Framing);
    QCOMPARE(seen, LineError::Framing);
}

QTEST_GUILESS_MAIN(TestEmulatedController)
#include "tst_controller.moc"
