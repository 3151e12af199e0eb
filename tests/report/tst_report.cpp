// The parameter report's lines: texts, values and patterns, and where they sit.
#include "params/defaults.h"
#include "report/content.h"

#include <QtTest>
#include <functional>

using report::Line;
using report::Page;

namespace {

using Change = std::function<void(ParameterSet&)>;
#define SET(statement) Change([](ParameterSet& p) { statement; })

ParameterSet defaults()
{
    ParameterStore store;
    loadDefaults(store);
    return store.params;
}

report::Header header(const QString& comment = QString())
{
    return {QStringLiteral("Velmont Sensors"), QStringLiteral("Shift Light V2.1"), comment,
            QDateTime(QDate(2024, 3, 9), QTime(14, 5, 7)), QLocale(QLocale::English, QLocale::UnitedStates)};
}

Line line(const QString& label, int column = 0, const QString& value = QString())
{
    return column ? Line{{10, label}, {column, value}} : Line{{10, label}};
}

}  // namespace

Q_DECLARE_METATYPE(Change)

class TestReport : public QObject {
    Q_OBJECT
private slots:
    // A label with its value at the value column, or (no value) a line of its own.
    void lines_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("value");
        const Change none = SET((void)p);
        // The defaults that the printed sheet's own checks do not read back.
        QTest::newRow("debounce") << none << "RPM Debounce Time:" << "0.50";
        QTest::newRow("vss freq") << none << "VSS Frequency (Hz) at 60 MPH:" << "150";
        QTest::newRow("launch colour") << none << "Launch Light Color (RGB):" << "255, 0, 0";
        QTest::newRow("launch") << none << "Launch RPM:" << "3000";
        QTest::newRow("short shift") << none << "Short Shift Window (RPM):" << "500";
        QTest::newRow("gear 4 vss") << none << "Gear 4 Minimum VSS (MPH):" << "100";
        QTest::newRow("vss alarm colour") << none << "VSS Alarm Color (RGB):" << "0, 255, 0";
        QTest::newRow("alarm 2 colour") << none << "Alarm 2 Color (RGB):" << "255, 255, 0";
        // Switches and inputs.
        QTest::newRow("log armed") << SET(p.LogArmed = true) << "Data Logging Only When Armed" << "";
        QTest::newRow("single stage") << SET(p.MultiStageShift = false) << "Multi-Stage Shift Light Disabled" << "";
        QTest::newRow("no gear detect") << SET(p.VSSGearDetect = false) << "VSS Based Gear Detection Disabled" << "";
        QTest::newRow("gpo off") << SET(p.GPOEnable = false) << "GPO Disabled" << "";
        QTest::newRow("one shot") << SET(p.GPOOneShotDelay = true) << "GPO One-Shot Delay Enabled" << "";
        QTest::newRow("vss alarm off") << SET(p.AlarmVSSEnable = false) << "VSS Alarm Disabled" << "";
        QTest::newRow("alarm 1 on") << SET(p.Alarm1Enable = true) << "Alarm 1 Enabled" << "";
        QTest::newRow("in-hg") << none << "Alarm 1 In-HG MAP units" << "";
        QTest::newRow("psi") << SET(p.Alarm1PressurePSI = true) << "Alarm 1 psi MAP units" << "";
        QTest::newRow("input 1") << SET(p.Alarm1Input = 1) << "Alarm 1 AFR Input" << "";
        QTest::newRow("input 3") << SET(p.Alarm1Input = 3) << "Alarm 1 MAP 2 bar Input" << "";
        QTest::newRow("input 7") << SET(p.Alarm1Input = 7) << "Alarm 1 MAP 3 bar Input" << "";
        QTest::newRow("alarm 2 input 3") << SET(p.Alarm2Input = 3) << "Alarm 2 AFR Input" << "";
        QTest::newRow("alarm 2 analog") << none << "Alarm 2 Analog 0-5V Input" << "";
        // Values whose pattern or rounding matters.
        QTest::newRow("tps 255 keeps point") << SET(p.TPSFullscale = 255) << "100% TPS (volts):" << "5.";
        QTest::newRow("ppr 3") << SET(p.PulsePerRev = 3) << "RPM Pulses/Rev:" << "1.5";
        QTest::newRow("ppr 24") << SET(p.PulsePerRev = 24) << "RPM Pulses/Rev:" << "12.0";
        QTest::newRow("log 62") << SET(p.DataLogInterval = 62) << "Data Logging Interval (sec):" << "1.00";
        QTest::newRow("gpo delay 31") << SET(p.GPODelay = 31) << "GPO Delay (sec):" << "1.00";
        QTest::newRow("alarm above 128") << SET(p.Alarm1Above = 128) << "Alarm 1 Above Value (volts):" << "2.5";
        QTest::newRow("alarm rpm steps") << SET(p.Alarm1MinRPM = 199) << "Alarm 1 Minimum RPM:" << "19900";
        QTest::newRow("alarm 2 delay 2") << SET(p.Alarm2Delay = 2) << "Alarm 2 Delay (sec):" << "0.05";
    }
    void lines()
    {
        QFETCH(Change, change);
        QFETCH(QString, label);
        QFETCH(QString, value);
        ParameterSet p = defaults();
        change(p);
        const Page all = report::page1(p, header()) + report::page2(p, header());
        const Line want = value.isEmpty() ? line(label) : line(label, 50, value);
        QVERIFY2(all.contains(want), qPrintable(report::toPlainText(want)));
    }

    // Line by line: the heading first on both pages, the blank lines, the columns.
    void pageShapes()
    {
        const ParameterSet p = defaults();
        const Page one = report::page1(p, header()), two = report::page2(p, header());
        const Line heading = line(QStringLiteral("Velmont Sensors Controller Data Printed: 3/9/24 2:05:07 PM"));
        QCOMPARE(one.first(), heading);
        QCOMPARE(two.first(), heading);
        QVERIFY(one[1].isEmpty() && one[2].isEmpty());  // no comment: two blank lines
        QCOMPARE(one[3], line(QStringLiteral("Firmware ID:"), 30, QStringLiteral("Shift Light V2.1")));
        QCOMPARE(one[5][0], line(QStringLiteral("User Data:"))[0]);
        QCOMPARE(one[5][1].column, 30);
        QCOMPARE(one[7], line(QStringLiteral("Scale Factors and General Setup")));
        QCOMPARE(one[8], line(QStringLiteral("RPM Pulses/Rev:"), 50, QStringLiteral("0.5")));
        QCOMPARE(one.size(), 53);
        QCOMPARE(one.last(), line(QStringLiteral("Alarm Maximum VSS (MPH):"), 50, QStringLiteral("225")));
        QCOMPARE(two.size(), 24);
        QVERIFY(two[1].isEmpty() && two[13].isEmpty());
        QCOMPARE(two[2], line(QStringLiteral("Alarm 1 Parameters")));
        QCOMPARE(two[14], line(QStringLiteral("Alarm 2 Parameters")));
        QCOMPARE(two.last(), line(QStringLiteral("Alarm 2 Delay (sec):"), 50, QStringLiteral("0.00")));
        for (const Line& l : two)  // alarm 2 has no pressure unit line
            QVERIFY(l.isEmpty() || !l[0].text.startsWith(QLatin1String("Alarm 2 ")) ||
                    !l[0].text.contains(QLatin1String("MAP units")));
        // A comment takes one line between the two blank ones.
        const Page commented = report::page1(p, header(QStringLiteral("SN 4711")));
        QCOMPARE(commented.size(), 54);
        QVERIFY(commented[1].isEmpty() && commented[3].isEmpty());
        QCOMPARE(commented[2], line(QStringLiteral("Comment: SN 4711")));
    }

    void texts()
    {
        QCOMPARE(report::colorText(0x123456), QStringLiteral("86, 52, 18"));
        QCOMPARE(report::colorText(0x7F0000FF), QStringLiteral("255, 0, 0"));  // high bits ignored
        QCOMPARE(report::toPlainText(line(QStringLiteral("Launch RPM:"), 50, QStringLiteral("3000"))),
                 QString(9, ' ') + QStringLiteral("Launch RPM:") + QString(29, ' ') + QStringLiteral("3000"));
        QCOMPARE(report::toPlainText(Line{}), QString());
        // A label that runs past the value column keeps one blank before the value.
        QCOMPARE(report::toPlainText(Line{{1, QString(12, 'x')}, {10, QStringLiteral("v")}}),
                 QString(12, 'x') + QStringLiteral(" v"));
        // An empty value leaves no trailing blanks.
        QCOMPARE(report::toPlainText(line(QStringLiteral("Firmware ID:"), 30)),
                 QString(9, ' ') + QStringLiteral("Firmware ID:"));
        const QString text = report::toPlainText(report::pages(defaults(), header()));
        QCOMPARE(text.count(QLatin1Char('\n')), 53 + 1 + 24);
        QVERIFY(text.contains(QStringLiteral("\n         Gear 3 Shift RPM:                       6000\n")));
    }

    // Every byte of the configuration that holds a parameter belongs to a report entry,
    // so a comparison built on the entries misses nothing it could name.
    void entriesCoverTheImage()
    {
        const QList<report::Entry> list = report::entries(defaults());
        QSet<QString> names;
        QSet<int> covered;
        for (const report::Entry& e : list) {
            QVERIFY2(!names.contains(e.name), qPrintable(e.name));
            names.insert(e.name);
            covered.unite(QSet<int>(e.offsets.cbegin(), e.offsets.cend()));
        }
        QList<int> held = {64, 65, 66, 67, 68, 69, 70, 71, 80, 81, 82, 83, 84, 128, 159};
        for (int o = 16; o <= 52; ++o)
            held << o;
        for (int o = 96; o <= 106; ++o)
            held << o << o + 16;
        for (int o : held)
            QVERIFY2(covered.contains(o), qPrintable(QString::number(o)));
        QVERIFY(!covered.contains(60));
        QCOMPARE(list.first().label, QStringLiteral("User Data:"));
    }
};

QTEST_GUILESS_MAIN(TestReport)
#include "tst_report.moc"
