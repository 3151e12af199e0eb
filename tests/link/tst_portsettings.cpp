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
        QVERIFY(m_config.isValid());
        // Before the first QSettings: the store's location is fixed at first use.
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    }
    void init() { store().clear(); }

    // Anything but a whole number from 1 to 255 means Com1.
    void storedPortNumber_data()
    {
        QTest::addColumn<QVariant>("stored");  // invalid: nothing stored
        QTest::addColumn<int>("port");
        QTest::newRow("nothing stored") << QVariant() << 1;
        QTest::newRow("255") << QVariant(QStringLiteral("255")) << 255;
        QTest::newRow("spaces") << QVariant(QStringLiteral(" 12 ")) << 12;
        QTest::newRow("0") << QVariant(QStringLiteral("0")) << 1;
        QTest::newRow("256") << QVariant(QStringLiteral("256")) << 1;
        QTest::newRow("text") << QVariant(QStringLiteral("COM3")) << 1;
    }
    void storedPortNumber()
    {
        QFETCH(QVariant, stored);
        QFETCH(int, port);
        if (stored.isValid())
            store().setValue(QStringLiteral("Properties/CommPort"), stored);
        QCOMPARE(portsettings::loadPortNumber(), port);
    }

    void saveWritesDecimalText()
    {
        portsettings::savePortNumber(3);
        QCOMPARE(store().value(QStringLiteral("Properties/CommPort")).toString(), QStringLiteral("3"));
        QCOMPARE(portsettings::loadPortNumber(), 3);
    }

    // A device path is used as it is; Com n is the n-th serial device unless
    // something (the emulator) mapped it elsewhere.
    void portArgument_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("device");  // empty: refused
#ifdef Q_OS_WIN
        QTest::newRow("Com12") << "Com12" << "COM12";
#else
        QTest::newRow("path") << "/dev/ttyUSB0" << "/dev/ttyUSB0";
        QTest::newRow("Com1") << "Com1" << "/dev/ttyS0";
        QTest::newRow("lower case") << "com5" << "/dev/ttyS4";
        QTest::newRow("mapped") << "Com9" << "/dev/pts/7";
#endif
        QTest::newRow("Com0") << "Com0" << QString();
        QTest::newRow("Com256") << "COM256" << QString();
        QTest::newRow("empty") << "" << QString();
    }
    void portArgument()
    {
        QFETCH(QString, text);
        QFETCH(QString, device);
        if (text == QLatin1String("Com9"))
            portsettings::mapPortDevice(9, device);
        QString error;
        QCOMPARE(portsettings::resolvePortArgument(text, &error), device);
        QCOMPARE(error.isEmpty(), !device.isEmpty());
    }

private:
    static QSettings store() { return QSettings(QStringLiteral("Revora_Shift"), QStringLiteral("Revora_Shift")); }
    QTemporaryDir m_config;
};

QTEST_GUILESS_MAIN(TestPortSettings)
#include "tst_portsettings.moc"
