// The port number in the settings store and the device each Com n stands for.
#include "link/portsettings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestPortSettings : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void storedPortNumber_data();
    void storedPortNumber();
    void saveWritesDecimalText();
    void deviceForPort_data();
    void deviceForPort();
    void portArgument_data();
    void portArgument();

private:
    QTemporaryDir m_config;
};

void TestPortSettings::initTestCase()
{
    QVERIFY(m_config.isValid());
    // Before the first QSettings: the store's location is fixed at first use.
    qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
}

void TestPortSettings::init()
{
    QSettings s(QStringLiteral("Revora_Shift"), QStringLiteral("Revora_Shift"));
    s.clear();
}

void TestPortSettings::storedPortNumber_data()
{
    QTest::addColumn<QVariant>("stored");  // invalid: nothing stored
    QTest::addColumn<int>("port");
    QTest::newRow("nothing stored") << QVariant() << 1;
    QTest::newRow("7") << QVariant(QStringLiteral("7")) << 7;
    QTest::newRow("255") << QVariant(QStringLiteral("255")) << 255;
    QTest::newRow("spaces") << QVariant(QStringLiteral(" 12 ")) << 12;
    QTest::newRow("0") << QVariant(QStringLiteral("0")) << 1;
    QTest::newRow("256") << QVariant(QStringLiteral("256")) << 1;
    QTest::newRow("negative") << QVariant(QStringLiteral("-3")) << 1;
    QTest::newRow("text") << QVariant(QStringLiteral("COM3")) << 1;
    QTest::newRow("fraction") << QVariant(QStringLiteral("2.5")) << 1;
    QTest::newRow("huge") << QVariant(QStringLiteral("99999999999999999999")) << 1;
}

void TestPortSettings::storedPortNumber()
{
    QFETCH(QVariant, stored);
    QFETCH(int, port);
    if (stored.isValid()) {
        QSettings s(QStringLiteral("Revora_Shift"), QStringLiteral("Revora_Shift"));
        s.setValue(QStringLiteral("Properties/CommPort"), stored);
    }
    QCOMPARE(portsettings::loadPortNumber(), port);
}

void TestPortSettings::saveWritesDecimalText()
{
    portsettings::savePortNumber(3);
    QSettings s(QStringLiteral("Revora_Shift"), QStringLiteral("Revora_Shift"));
    QCOMPARE(s.value(QStringLiteral("Properties/CommPort")).toString(), QStringLiteral("3"));
    QCOMPARE(portsettings::loadPortNumber(), 3);
}

void TestPortSettings::deviceForPort_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("mapped");
    QTest::addColumn<QString>("device");
#ifdef Q_OS_WIN
    QTest::newRow("Com1") << 1 << QString() << "COM1";
    QTest::newRow("Com12") << 12 << QString() << "COM12";
#else
    QTest::newRow("Com1") << 1 << QString() << "/dev/ttyS0";
    QTest::newRow("Com4") << 4 << QString() << "/dev/ttyS3";
    QTest::newRow("mapped") << 9 << "/dev/pts/7" << "/dev/pts/7";
#endif
}

void TestPortSettings::deviceForPort()
{
    QFETCH(int, port);
    QFETCH(QString, mapped);
    QFETCH(QString, device);
    if (!mapped.isEmpty())
        portsettings::mapPortDevice(port, mapped);
    QCOMPARE(portsettings::deviceForPort(port), device);
}

void TestPortSettings::portArgument_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("device");  // empty: refused
#ifndef Q_OS_WIN
    QTest::newRow("path") << "/dev/ttyUSB0" << "/dev/ttyUSB0";
    QTest::newRow("Com2") << "Com2" << "/dev/ttyS1";
    QTest::newRow("lower case") << "com5" << "/dev/ttyS4";
#endif
    QTest::newRow("Com0") << "Com0" << QString();
    QTest::newRow("Com256") << "COM256" << QString();
    QTest::newRow("Com") << "Com" << QString();
    QTest::newRow("empty") << "" << QString();
}

void TestPortSettings::portArgument()
{
    QFETCH(QString, text);
    QFETCH(QString, device);
    QString error;
    QCOMPARE(portsettings::resolvePortArgument(text, &error), device);
    QCOMPARE(error.isEmpty(), !device.isEmpty());
}

QTEST_GUILESS_MAIN(TestPortSettings)
#include "tst_portsettings.moc"
