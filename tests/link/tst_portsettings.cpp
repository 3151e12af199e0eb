// The port number in the settings store and the device each Com n stands for.
#include "link/portsettings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestPortSettings : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        static QTemporaryDir config;
        QVERIFY(config.isValid());
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());  // before the first QSettings fixes the store
    }

    // A damaged stored number means Com1; a save writes decimal text; a path is stored beside the number.
    void storedPort()
    {
        QSettings store(QStringLiteral("Revora_Shift"), QStringLiteral("Revora_Shift"));
        store.setValue(QStringLiteral("Properties/CommPort"), QStringLiteral("256"));
        QCOMPARE(portsettings::loadPortNumber(), 1);
        portsettings::savePortNumber(255);
        QCOMPARE(store.value(QStringLiteral("Properties/CommPort")), QVariant(QStringLiteral("255")));
        const QString byId = QStringLiteral("/dev/serial/by-id/usb-FTDI-if00-port0");
        portsettings::savePortChoice(byId);
        QCOMPARE(portsettings::loadPortChoice(), byId);
        QCOMPARE(portsettings::loadPortNumber(), 255);
    }

    // A path is used as it is; Com n is the n-th serial device unless the emulator mapped it.
    void portArgument_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("device");  // empty: refused
#ifdef Q_OS_WIN
        QTest::newRow("Com12") << "Com12" << "\\\\.\\COM12";
        QTest::newRow("lower case") << "com5" << "\\\\.\\COM5";
        QTest::newRow("device name") << "\\\\.\\COM3" << "\\\\.\\COM3";
#else
        QTest::newRow("path") << "/dev/ttyUSB0" << "/dev/ttyUSB0";
        QTest::newRow("lower case") << "com5" << "/dev/ttyS4";
        QTest::newRow("mapped") << "Com9" << "/dev/pts/7";
#endif
        QTest::newRow("Com256") << "COM256" << QString();
        QTest::newRow("a sign") << "Com+5" << QString();  // digits only, three at most
        QTest::newRow("four digits") << "Com0007" << QString();
    }
    void portArgument()
    {
        QFETCH(QString, text);
        QFETCH(QString, device);
        portsettings::mapPortDevice(9, QStringLiteral("/dev/pts/7"));
        QString error;
        QCOMPARE(portsettings::resolvePortArgument(text, &error), device);
        QCOMPARE(error.isEmpty(), !device.isEmpty());
    }

    // The labels from the system's records, each storing the name that survives replugging; then Com1 to Com255.
    void portList()
    {
        const QString byId = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
        const QString gone = QStringLiteral("/dev/serial/by-id/usb-Prolific-if00-port0");
        const QList<portsettings::PortRecord> records{{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", byId, true},
                                                      {"/dev/ttyS0", "", "", "", true}, {gone, "", "", gone, false}};
        const QList<portsettings::PortEntry> list = portsettings::portEntries(records, {{7, "/dev/pts/3"}});
        QCOMPARE(list.size(), 3 + 255);
        QCOMPARE(list[0].name, byId);
        QCOMPARE(list[0].label, QStringLiteral("/dev/ttyUSB0 \u2014 FT232R USB UART (FTDI)"));
        QCOMPARE(list[1].label, QStringLiteral("/dev/ttyS0"));
        QCOMPARE(list[2].label, gone + " (not found)");
        QCOMPARE(list[3].name, QStringLiteral("Com1"));
        QCOMPARE(list[9].label, QStringLiteral("Com7 \u2014 /dev/pts/3"));
    }

#ifdef Q_OS_WIN
    // Windows keeps the choice per user in the registry, where another program or an administrator finds it.
    void registryStore()
    {
        portsettings::savePortChoice(QStringLiteral("COM12"));
        const QSettings registry(QStringLiteral("HKEY_CURRENT_USER\\Software\\Revora_Shift\\Revora_Shift"),
                                 QSettings::NativeFormat);
        QCOMPARE(registry.value(QStringLiteral("Properties/CommPort")).toString(), QStringLiteral("12"));
        QCOMPARE(portsettings::loadPortChoice(), QStringLiteral("Com12"));
        QCOMPARE(portsettings::deviceForPort(12), QStringLiteral("\\\\.\\COM12"));
    }
#endif
};

QTEST_GUILESS_MAIN(TestPortSettings)
#include "tst_portsettings.moc"
