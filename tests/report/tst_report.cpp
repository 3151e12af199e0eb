// The parameter report's lines: texts, values and patterns, and where they sit.
#include "report/content.h"
#include "support/testfiles.h"

#include <QtTest>
#include <functional>

using report::Line;

namespace {

using Change = std::function<void(ParameterSet&)>;
#define SET(statement) Change([](ParameterSet& p) { statement; })

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
    // "label|value": the value at the value column; a switch or input is a line of its own.
    void lines_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("expected");
        const Change none = SET((void)p);
        QTest::newRow("debounce") << none << "RPM Debounce Time:|0.50";
        QTest::newRow("min led") << none << "Minimum LED Brightness:|6";
        QTest::newRow("gpo tps off") << none << "GPO TPS Off (%):|89";
        QTest::newRow("log armed") << SET(p.LogArmed = true) << "Data Logging Only When Armed";
        QTest::newRow("one shot") << SET(p.GPOOneShotDelay = true) << "GPO One-Shot Delay Enabled";
        QTest::newRow("psi") << SET(p.Alarm1PressurePSI = true) << "Alarm 1 psi MAP units";
        QTest::newRow("input 3") << SET(p.Alarm1Input = 3) << "Alarm 1 MAP 2 bar Input";
        QTest::newRow("input 7") << SET(p.Alarm1Input = 7) << "Alarm 1 MAP 3 bar Input";
        QTest::newRow("alarm 2 input 0") << none << "Alarm 2 Analog 0-5V Input";
        QTest::newRow("alarm 2 input 3") << SET(p.Alarm2Input = 3) << "Alarm 2 AFR Input";
        QTest::newRow("tps 255 keeps point") << SET(p.TPSFullscale = 255) << "100% TPS (volts):|5.";
        QTest::newRow("ppr 24") << SET(p.PulsePerRev = 24) << "RPM Pulses/Rev:|12.0";
        QTest::newRow("log 62") << SET(p.DataLogInterval = 62) << "Data Logging Interval (sec):|1.00";
        QTest::newRow("alarm above 128") << SET(p.Alarm1Above = 128) << "Alarm 1 Above Value (volts):|2.5";
        QTest::newRow("alarm rpm steps") << SET(p.Alarm1MinRPM = 199) << "Alarm 1 Minimum RPM:|19900";
        QTest::newRow("alarm 2 delay 2") << SET(p.Alarm2Delay = 2) << "Alarm 2 Delay (sec):|0.05";
        QTest::newRow("gpo delay 250") << SET(p.GPODelay = 250) << "GPO Delay (sec):|8.00";
    }
    void lines()
    {
        QFETCH(Change, change);
        QFETCH(QString, expected);
        ParameterSet p = defaultsStore().params;
        change(p);
        const QStringList parts = expected.split(QLatin1Char('|'));
        const Line want = parts.size() == 1 ? line(parts[0]) : line(parts[0], 50, parts[1]);
        QVERIFY2((report::page1(p, header()) + report::page2(p, header())).contains(want), qPrintable(expected));
    }

    // Line by line: the heading first on both pages, the blank lines, the columns.
    void pageShapes()
    {
        const ParameterSet p = defaultsStore().params;
        const auto one = report::page1(p, header()), two = report::page2(p, header());
        const Line heading = line(QStringLiteral("Velmont Sensors Controller Data Printed: 3/9/24 2:05:07 PM"));
        QVERIFY(one.first() == heading && two.first() == heading);
        QVERIFY(one[1].isEmpty() && one[2].isEmpty());  // no comment: two blank lines
        QCOMPARE(one[3], line(QStringLiteral("Firmware ID:"), 30, QStringLiteral("Shift Light V2.1")));
        ParameterSet blanks = p;
        blanks.UserData = QStringLiteral("  Car 7   ");  // printed as the window shows it
        QCOMPARE(report::page1(blanks, header())[5], line(QStringLiteral("User Data:"), 30, QStringLiteral("Car 7")));
        QCOMPARE(one[7], line(QStringLiteral("Scale Factors and General Setup")));
        QCOMPARE(one.size(), 53);
        QCOMPARE(one.last(), line(QStringLiteral("Alarm Maximum VSS (MPH):"), 50, QStringLiteral("225")));
        QCOMPARE(two.size(), 24);  // alarm 2 has no pressure unit line
        QVERIFY(two[1].isEmpty() && two[13].isEmpty());
        QCOMPARE(two[14], line(QStringLiteral("Alarm 2 Parameters")));
        QCOMPARE(two.last(), line(QStringLiteral("Alarm 2 Delay (sec):"), 50, QStringLiteral("0.00")));
        const auto commented = report::page1(p, header(QStringLiteral("SN 4711")));
        QCOMPARE(commented.size(), 54);  // a comment: one line between the two blank ones
        QVERIFY(commented[1].isEmpty() && commented[3].isEmpty());
        QCOMPARE(commented[2], line(QStringLiteral("Comment: SN 4711")));
        // A data file has no firmware ID: its line ends at the label, no blanks after it.
        QCOMPARE(report::toPlainText(line(QStringLiteral("Firmware ID:"), 30)), QString(9, ' ') + "Firmware ID:");
    }

    // Every parameter byte belongs to a uniquely named entry, so a comparison misses nothing.
    void entriesCoverTheImage()
    {
        const QList<report::Entry> list = report::entries(defaultsStore().params);
        QSet<QString> names;
        QSet<int> covered;
        QMap<int, int> flagBits;  // the bits of the flag bytes the switch lines show
        for (const report::Entry& e : list) {
            names << e.name, covered.unite(QSet<int>(e.offsets.cbegin(), e.offsets.cend()));
            if (e.bits != 0xFF)
                flagBits[e.offsets.value(0)] |= e.bits;
        }
        QCOMPARE(flagBits, (QMap<int, int>{{20, 0x1F}, {71, 0x01}, {96, 0x03}, {112, 0x01}}));
        QCOMPARE(names.size(), list.size());
        for (const auto& [from, to] : {std::pair(16, 52), {64, 71}, {80, 84}, {96, 106}, {112, 122}, {128, 128}})
            for (int o = from; o <= to; ++o)
                QVERIFY2(covered.contains(o), qPrintable(QString::number(o)));
        QVERIFY(covered.contains(159) && !covered.contains(60));
        QCOMPARE(list.first().label, QStringLiteral("User Data:"));
    }
};

QTEST_GUILESS_MAIN(TestReport)
#include "tst_report.moc"
