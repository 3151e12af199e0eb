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

    // A damaged stored number means Com1 rather than stopping the program; a save writes decimal text.
    void storedPortNumber()
    {
        QSettings store(QStringLiteral("Revora_Shift"), QStringLiteral("Revora_Shift"));
        store.setValue(QStringLiteral("Properties/CommPort"), QStringLiteral("256"));
        QCOMPARE(portsettings::loadPortNumber(), 1);
        portsettings::savePortNumber(255);
        QCOMPARE(store.value(QStringLiteral("Properties/CommPort")), QVariant(QStringLiteral("255")));
        QCOMPARE(portsettings::loadPortNumber(), 255);
    }

    // A path is used as it is; Com n is the n-th serial device unless the emulator mapped it.
    void portArgument_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("device");  // empty: refused
#ifdef Q_OS_WIN
        QTest::newRow("Com12") << "Com12" << "COM12";
#else
        QTest::newRow("path") << "/dev/ttyUSB0" << "/dev/ttyUSB0";
        QTest::newRow("lower case") << "com5" << "/dev/ttyS4";
        QTest::newRow("mapped") << "Com9" << "/dev/pts/7";
#endif
        QTest::newRow("Com256") << "COM256" << QString();
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
};

QTEST_GUILESS_MAIN(TestPortSettings)
#include "tst_portsettings.moc"
