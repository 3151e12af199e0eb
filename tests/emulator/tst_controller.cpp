// The emulated controller's answers, byte for byte, where the link tests' outcomes do not pin them down: a
// link that sends a wrong reset confirmation, or pauses too long inside a command, must fail against it.
#include "emulator/controller.h"

#include <QtTest>

namespace {
QByteArray bytes(const char* hex) { return QByteArray::fromHex(QByteArray(hex)); }
}  // namespace

class TestEmulatedController : public QObject {
    Q_OBJECT
private slots:
    // EEPROM byte a holds the low byte of a, so every read names its own address.
    void protocol_data()
    {
        const int limit = emu::kCommandByteTimeoutMs;
        QTest::addColumn<int>("step");  // ms between two bytes; the PC sends them 2 ms apart
        QTest::addColumn<QByteArray>("in");
        QTest::addColumn<QByteArray>("out");
        QTest::newRow("wrong confirmation") << 2 << bytes("34 5A 00 33") << bytes("15 06");
        // A PC that gave up half-way through a command is understood again at its next one.
        QTest::newRow("slow command completes") << limit << bytes("14 20 00 15") << bytes("06 20");
        QTest::newRow("late byte starts anew") << limit + 1 << bytes("14 33") << bytes("06");
    }
    void protocol()
    {
        QFETCH(int, step);
        QFETCH(QByteArray, in);
        QFETCH(QByteArray, out);
        EmulatedController c;
        for (int a = 0; a < emu::kEepromSize; ++a)
            c.eeprom()[a] = uint8_t(a);
        QByteArray got;
        for (int i = 0; i < in.size(); ++i)
            got += c.receive(uint8_t(in[i]), step * i);
        QCOMPARE(got.toHex(' '), out.toHex(' '));
        QCOMPARE(c.resetCount(), 0);  // only the full confirmation resets
    }
};

QTEST_GUILESS_MAIN(TestEmulatedController)
#include "tst_controller.moc"
