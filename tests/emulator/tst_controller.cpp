// The emulated controller's answers where the link tests' outcomes do not pin them down.
#include "emulator/controller.h"
#include "emulator/line.h"

#include <QtTest>

namespace {
QByteArray bytes(const char* hex) { return QByteArray::fromHex(QByteArray(hex)); }
}  // namespace
Q_DECLARE_METATYPE(emu::LineModel)

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
        EmulatedController c;
        for (int a = 0; a < emu::kEepromSize; ++a)
            c.eeprom()[a] = uint8_t(a);
        QByteArray got;
        for (int i = 0; i < in.size(); ++i)
            got += c.receive(uint8_t(in[i]), step * i);
        QTEST(got, "out");
        QCOMPARE(c.resetCount(), 0);  // only the full confirmation resets
    }

    // When answers reach the PC, and which bytes a strictly paced controller loses (tst_link's pacing relies on it).
    void line_data()
    {
        QTest::addColumn<emu::LineModel>("model");
        QTest::addColumn<QList<int>>("sentUs");
        QTest::addColumn<QByteArray>("in");
        QTest::addColumn<QList<qint64>>("arrivalNs");  // of each answer byte at the PC
        QTest::addColumn<int>("lost");
        // The adapter passes on what it holds 16 ms after the first byte came; a reply after that waits anew.
        QTest::newRow("adapter") << emu::LineModel{emu::kLineBaud, 0, 16, 0} << QList<int>{0, 1000, 20000}
                                 << bytes("15 15 15") << QList<qint64>{16357142, 16357142, 36357142} << 0;
        // Busy 1.5 ms after a byte taken, and after an answer has left: 2 ms apart gets through, 1 ms does not.
        const emu::LineModel strict{0, 0, 0, emu::kStrictPacingUs};
        QTest::newRow("paced") << strict << QList<int>{0, 2000, 4000} << bytes("14 20 00")
                               << QList<qint64>{4000000} << 0;
        QTest::newRow("pause halved") << strict << QList<int>{0, 1000, 2000, 3000} << bytes("14 20 00 15")
                                      << QList<qint64>{} << 2;  // 20 and 15 lost: 00 is taken as the low byte
        QTest::newRow("no pause after the answer") << emu::LineModel{emu::kLineBaud, 0, 0, emu::kStrictPacingUs}
                                                   << QList<int>{0, 400, 2500} << bytes("15 15 15")
                                                   << QList<qint64>{357142, 2857142} << 1;
    }
    void line()
    {
        QFETCH(emu::LineModel, model);
        QFETCH(QList<int>, sentUs);
        QFETCH(QByteArray, in);
        EmulatedController c;
        c.setLineModel(model);
        ModelledLine wire(c);
        for (int i = 0; i < in.size(); ++i)
            wire.send(uint8_t(in[i]), sentUs[i] * 1000LL);
        QList<qint64> got;
        for (qint64 t = wire.nextArrivalNs(-1); t >= 0; t = wire.nextArrivalNs(t))
            for (int n = wire.take(t).size(); n > 0; --n)
                got << t;
        QTEST(got, "arrivalNs");
        QTEST(c.bytesLost(), "lost");
    }
};

QTEST_GUILESS_MAIN(TestEmulatedController)
#include "tst_controller.moc"
