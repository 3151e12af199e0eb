// The port number in the settings store and the device each Com n stands for.
#include "link/portsettings.h"
#include "link/portwatcher.h"

#include "support/testfiles.h"

#include <QSettings>
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

    // A path is stored beside the number; a Com name, in any case, is a number again and the path is gone.
    // The emulator's mapping comes and goes; it is not taken away once another terminal has the number.
    void settingsStore()
    {
        const QString byId = QStringLiteral("/dev/serial/by-id/usb-FTDI-if00-port0");
        portsettings::savePortChoice(QStringLiteral("Com255"));
        portsettings::savePortChoice(byId);
        QVERIFY(portsettings::loadPortChoice() == byId && portsettings::loadPortNumber() == 255);
        portsettings::savePortChoice(QStringLiteral("com12"));
        QVERIFY(portsettings::loadPortChoice() == QStringLiteral("Com12") && portsettings::loadPortNumber() == 12);
        QVERIFY(portsettings::mapPortDevice(9, QStringLiteral("/dev/pts/7")));
        portsettings::unmapPortDevice(9, QStringLiteral("/dev/pts/8"));
        QCOMPARE(portsettings::mappedPorts().value(9), QStringLiteral("/dev/pts/7"));
        portsettings::unmapPortDevice(9, QStringLiteral("/dev/pts/7"));
        QVERIFY(!portsettings::mappedPorts().contains(9));
        QSettings store(QStringLiteral("Revora_Shift"), QStringLiteral("Revora_Shift"));
        // A hand-edited store: a blank device or a key that is no Com name maps nothing.
        store.setValue(QStringLiteral("Ports/Com8"), QStringLiteral(" "));
        store.setValue(QStringLiteral("Ports/Tty3"), QStringLiteral("/dev/pts/3"));
        store.sync();
        QVERIFY(portsettings::mappedPorts().isEmpty());
#ifndef Q_OS_WIN  // the registry has no file to put a folder in its place
        // A store that cannot be written says where it is.
        const QString file = store.fileName();
        QVERIFY(QFile::remove(file) && QDir().mkdir(file));
        QString error;
        QVERIFY(!portsettings::mapPortDevice(9, QStringLiteral("/dev/pts/7"), &error));
        QVERIFY2(error.startsWith("Cannot write Com9 to the settings in " + file), qPrintable(error));
        QVERIFY(QDir().rmdir(file));
#endif
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
        // From the working folder, not from /dev where the serial layer looks for a bare name.
        QTest::newRow("relative") << "pts/../emu" << QDir::currentPath() + "/emu";
        QTest::newRow("Com-like folder") << "com5/tty" << QDir::currentPath() + "/com5/tty";
        QTest::newRow("lower case") << "com5" << "/dev/ttyS4";
        QTest::newRow("mapped") << "Com9" << "/dev/pts/7";
#endif
        // Digits only, three at most, from 1 to 255.
        QTest::newRow("a sign") << "Com+5" << QString();
        QTest::newRow("four digits") << "Com0007" << QString();
        QTest::newRow("Com0") << "Com0" << QString();
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

    // An adapter's latency timer as sysfs shows it; devices without the file, or with no number in it, have none.
    void latencyTimer_data()
    {
        QTest::addColumn<QString>("device");  // relative: under the test's own /dev
        QTest::addColumn<QByteArray>("timer");  // the sysfs file's text; empty: no file
        QTest::addColumn<int>("ms");
#ifndef Q_OS_WIN  // a stable by-id name is a symbolic link on Linux
        QTest::newRow("by-id link") << "serial/by-id/usb-FTDI-if00" << QByteArray("16\n") << 16;
#endif
        QTest::newRow("0 ms") << "ttyUSB0" << QByteArray("0") << 0;
        QTest::newRow("no number") << "ttyUSB0" << QByteArray("fast\n") << -1;
        QTest::newRow("negative") << "ttyUSB0" << QByteArray("-3\n") << -1;
        QTest::newRow("no file") << "pts/0" << QByteArray() << -1;
    }
    void latencyTimer()
    {
        QFETCH(QString, device);
        QFETCH(QByteArray, timer);
        QTemporaryDir root;
        const QString dev = root.filePath(QStringLiteral("dev"));
        const QString dir = root.filePath(QStringLiteral("sys/bus/usb-serial/devices/ttyUSB0"));
        QVERIFY(QDir().mkpath(dir) && QDir().mkpath(dev + "/serial/by-id"));
        writeFile(dev + "/ttyUSB0", {});
        QVERIFY(QFile::link(dev + "/ttyUSB0", dev + "/serial/by-id/usb-FTDI-if00"));
        if (!timer.isEmpty())
            writeFile(dir + QStringLiteral("/latency_timer"), timer);
        QTEST(portsettings::usbLatencyTimer(dev + "/" + device, root.filePath("sys")), "ms");
    }

    // The advice names each slow adapter and the command; 1 ms is fast enough.
    void latencyAdvice()
    {
        portsettings::PortRecord usb{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "", true, 16};
        const QString advice = portsettings::latencyAdvice({usb, {"/dev/ttyS0", "", "", "", true, -1}});
        QVERIFY2(advice.contains("/dev/ttyUSB0 (16 ms)")
                     && advice.endsWith("\n    echo 1 | sudo tee /sys/bus/usb-serial/devices/ttyUSB0/latency_timer"),
                 qPrintable(advice));
        usb.latencyMs = 1;
        QVERIFY(portsettings::latencyAdvice({usb}).isEmpty());
        usb.latencyMs = 0;  // the label shows any timer the adapter has, 0 ms too
        QVERIFY(portsettings::portLabel(usb).endsWith(QStringLiteral(", latency timer 0 ms")));
    }

    // The one adapter plugged in is offered only when the stored port (a path, or a Com n whose device is
    // there) is missing and it is the only adapter present.
    void adapterToOffer_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("records");  // of a, b, c (adapters), uart, gone (an adapter not plugged in)
        QTest::addColumn<QString>("offered");  // empty: none
        const QString gone = QStringLiteral("/dev/serial/by-id/usb-Prolific-if00");
        QTest::newRow("stored one gone") << gone << "uart a" << "/dev/ttyUSB0";
        QTest::newRow("nothing stored") << "" << "uart c" << "/dev/ttyUSB2";
        QTest::newRow("two adapters") << gone << "a b" << "";
        QTest::newRow("stored by-id here") << "/dev/serial/by-id/usb-FTDI-if00" << "a" << "";
        QTest::newRow("stored device here") << "/dev/ttyUSB0" << "a" << "";
        QTest::newRow("no adapter") << gone << "uart" << "";
        QTest::newRow("missing adapter not counted") << gone << "gone a" << "/dev/ttyUSB0";
#ifndef Q_OS_WIN  // on Windows Com n is \\.\COMn, never a file the test can make
        QTest::newRow("Com n here") << "Com9" << "a" << "";
#endif
        QTest::newRow("Com n missing") << "Com8" << "a" << "/dev/ttyUSB0";
    }
    void adapterToOffer()
    {
        QFETCH(QString, stored);
        QFETCH(QString, records);
        QTemporaryDir dir;
        const QString present = dir.filePath(QStringLiteral("ttyS8"));
        writeFile(present, {});
        QVERIFY(portsettings::mapPortDevice(9, present) && portsettings::mapPortDevice(8, dir.filePath("ttyS7")));
        const QMap<QString, portsettings::PortRecord> known{
            {"a", {"/dev/ttyUSB0", "", "", "/dev/serial/by-id/usb-FTDI-if00", true}},
            {"b", {"/dev/ttyACM0", "", "", "", true}},
            {"c", {"/dev/ttyUSB2", "", "", "", true}},  // no by-id name, as in a container
            {"uart", {"/dev/ttyS4", "", "", "", true}},
            {"gone", {"/dev/ttyUSB1", "", "", "/dev/serial/by-id/usb-Prolific-if00", false}}};
        QList<portsettings::PortRecord> list;
        for (const QString& r : records.split(QLatin1Char(' ')))
            list << known.value(r);
        QTEST(portsettings::adapterToOffer(stored, list).value_or(portsettings::PortRecord{}).device, "offered");
    }

    // Plugging in and pulling out are noticed without a Refresh; the same list says nothing.
    void watcher()
    {
        QList<portsettings::PortRecord> now{{"/dev/ttyS0", "", "", "", true}};
        PortWatcher w([&] { return now; }, 60000);
        QSignalSpy changed(&w, &PortWatcher::portsChanged);
        w.look();
        now.append({"/dev/ttyUSB0", "", "", "", true});
        w.look();
        w.look();
        now.removeLast();
        w.look();
        QCOMPARE(changed.size(), 2);
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
