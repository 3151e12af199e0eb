// The parameter report's lines: texts, values and patterns, and where they sit.
#include "report/compare.h"
#include "report/content.h"
#include "params/codec.h"
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
        blanks.UserData = QStringLiteral("  Car 7   ");  // printed as decoded, leading blanks and all
        QCOMPARE(report::page1(blanks, header())[5], line(QStringLiteral("User Data:"), 30, blanks.UserData));
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
        // As text each piece starts at its column, also the first one; a text that runs into the next column
        // keeps one blank before it. One blank line between the pages.
        QCOMPARE(report::toPlainText(line(QStringLiteral("Firmware ID:"), 30, QStringLiteral("V2"))),
                 QString(9, ' ') + "Firmware ID:" + QString(8, ' ') + "V2");
        QCOMPARE(report::toPlainText(Line{{1, "Overlong"}, {3, "x"}}), QStringLiteral("Overlong x"));
        QCOMPARE(report::toPlainText(QList<report::Page>{{line("1"), {}}, {line("2")}}),
                 QString(9, ' ') + "1\n\n\n" + QString(9, ' ') + "2\n");
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
        QCOMPARE(list.first().label, QStringLiteral("User Data"));
    }

    // What every view reads besides the printed text: key, section, label without its colon, unit, the value in
    // user units (the number as printed) and the value as a comparison shows it. "text|value|shown".
    void entries_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("where");  // "section|label|unit"
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QVariant>("value");
        const Change none = SET((void)p);
        const QString general = QStringLiteral("Scale Factors and General Setup|");
        QTest::newRow("volts") << none << "TPSZero" << general + "Zero TPS (volts)|volts" << "0.9|0.9" << QVariant(0.9);
        QTest::newRow("point kept") << SET(p.TPSFullscale = 255) << "TPSFullscale" << general + "100% TPS (volts)|volts"
                                    << "5.|5." << QVariant(5.0);
        QTest::newRow("pulses") << SET(p.PulsePerRev = 3) << "PulsePerRev" << general + "RPM Pulses/Rev|pulses/rev"
                                << "1.5|1.5" << QVariant(1.5);
        QTest::newRow("debounce") << none << "RPMDebounce" << general + "RPM Debounce Time|ms" << "0.50|0.50"
                                  << QVariant(0.5);
        QTest::newRow("hertz") << none << "VSSFreq" << general + "VSS Frequency (Hz) at 60 MPH|Hz" << "150|150"
                               << QVariant(150.0);
        QTest::newRow("interval") << SET(p.DataLogInterval = 62) << "DataLogInterval"
                                  << general + "Data Logging Interval (sec)|sec" << "1.00|1.00" << QVariant(1.0);
        QTest::newRow("brightness") << none << "MinLEDPWM" << general + "Minimum LED Brightness|%" << "6|6"
                                    << QVariant(6.0);
        QTest::newRow("armed") << SET(p.LogArmed = true) << "OptionFlags.LogArmed"
                               << general + "Data Logging Only When Armed|"
                               << "Data Logging Only When Armed|Enabled" << QVariant(true);
        QTest::newRow("user text") << SET(p.UserData = "  Car 7  ") << "UserData" << general + "User Data|"
                                   << "  Car 7  |\"  Car 7\"" << QVariant("  Car 7  ");
        const QString shift = QStringLiteral("Shift Light Setup|");
        QTest::newRow("gear detection") << SET(p.VSSGearDetect = false) << "OptionFlags.VSSGearDetect"
                                        << shift + "VSS Based Gear Detection|"
                                        << "VSS Based Gear Detection Disabled|Disabled" << QVariant(false);
        QTest::newRow("colour") << SET(p.LaunchColor = 0x030201) << "LaunchColor"
                                << shift + "Launch Light Color (RGB)|RGB" << "1, 2, 3|1, 2, 3"
                                << QVariant(QVariantList{1, 2, 3});
        QTest::newRow("gear rpm") << SET(p.ShiftRPM3 = 6543) << "ShiftRPM3" << shift + "Gear 3 Shift RPM|RPM"
                                  << "6543|6543" << QVariant(6543.0);
        QTest::newRow("gear speed") << none << "ShiftVSS5" << shift + "Gear 5 Minimum VSS (MPH)|MPH" << "125|125"
                                    << QVariant(125.0);
        const QString gpo = QStringLiteral("GPO Parameters|");
        QTest::newRow("gpo") << SET(p.GPOEnable = true) << "OptionFlags.GPOEnable" << gpo + "GPO Enable|"
                             << "GPO Enabled|Enabled" << QVariant(true);
        QTest::newRow("gpo percent") << none << "GPOOffTPSPercent" << gpo + "GPO TPS Off (%)|%" << "89|89"
                                     << QVariant(89.0);
        QTest::newRow("gpo delay") << SET(p.GPODelay = 3) << "GPODelay" << gpo + "GPO Delay (sec)|sec" << "0.10|0.10"
                                   << QVariant(0.1);
        QTest::newRow("one-shot") << SET(p.GPOOneShotDelay = true) << "GPOFlags.GPOOneShotDelay"
                                  << gpo + "GPO One-Shot Delay|" << "GPO One-Shot Delay Enabled|Enabled"
                                  << QVariant(true);
        QTest::newRow("speed alarm") << SET(p.AlarmVSSEnable = false) << "OptionFlags.AlarmVSSEnable"
                                     << "VSS (Speed) Alarm Parameters|VSS Alarm Enable|"
                                     << "VSS Alarm Disabled|Disabled" << QVariant(false);
        const QString one = QStringLiteral("Alarm 1 Parameters|");
        QTest::newRow("alarm 1") << SET(p.Alarm1Enable = true) << "Alarm1Flags.Alarm1Enable" << one + "Alarm 1 Enable|"
                                 << "Alarm 1 Enabled|Enabled" << QVariant(true);
        QTest::newRow("alarm 1 input") << SET(p.Alarm1Input = 2) << "Alarm1Input" << one + "Alarm 1 Input|"
                                       << "Alarm 1 MAP 1 bar Input|MAP 1 bar" << QVariant("MAP 1 bar");
        QTest::newRow("alarm 1 units") << SET(p.Alarm1PressurePSI = true) << "Alarm1Flags.Alarm1PressurePSI"
                                       << one + "Alarm 1 MAP Units|" << "Alarm 1 psi MAP units|psi" << QVariant(true);
        QTest::newRow("alarm 1 in-hg") << none << "Alarm1Flags.Alarm1PressurePSI" << one + "Alarm 1 MAP Units|"
                                       << "Alarm 1 In-HG MAP units|In-HG" << QVariant(false);
        QTest::newRow("alarm 1 volts") << SET(p.Alarm1Above = 128) << "Alarm1Above"
                                       << one + "Alarm 1 Above Value (volts)|volts" << "2.5|2.5" << QVariant(2.5);
        QTest::newRow("alarm 1 rpm") << SET(p.Alarm1MinRPM = 7) << "Alarm1MinRPM" << one + "Alarm 1 Minimum RPM|RPM"
                                     << "700|700" << QVariant(700.0);
        QTest::newRow("alarm 2 input") << SET(p.Alarm2Input = 9) << "Alarm2Input"
                                       << "Alarm 2 Parameters|Alarm 2 Input|" << "Alarm 2 AFR Input|AFR"
                                       << QVariant("AFR");
        QTest::newRow("alarm 2 tps") << SET(p.Alarm2MinTPSPercent = 12.5f) << "Alarm2MinTPSPercent"
                                     << "Alarm 2 Parameters|Alarm 2 Minimum TPS (%)|%" << "13|13" << QVariant(13.0);
    }
    void entries()
    {
        QFETCH(Change, change);
        QFETCH(QString, key);
        QFETCH(QString, where);
        QFETCH(QString, expected);
        QFETCH(QVariant, value);
        ParameterSet p = defaultsStore().params;
        change(p);
        const QList<report::Entry> list = report::entries(p);
        const auto e = std::find_if(list.cbegin(), list.cend(), [&](const report::Entry& x) { return x.name == key; });
        QVERIFY(e != list.cend());
        QCOMPARE(QStringList({e->section, e->label, e->unit}).join('|'), where);
        QCOMPARE(e->text + '|' + e->shown, expected);
        QCOMPARE(e->value, value);
        // The printed line shows that very text: alone for a switch or an input, else after the label.
        const Line printed = e->wholeLine ? line(e->text)
                             : key == "UserData" ? line(e->label + ':', 30, e->text)
                                                 : line(e->label + ':', 50, e->text);
        QVERIFY((report::page1(p, header()) + report::page2(p, header())).contains(printed));
    }

    // The comparison's rows are typed: a section, a label and both values as shown, also for switches and
    // inputs, so no view has to take a line apart. Values that show alike are no row; their bytes are.
    void comparisonRows()
    {
        ParameterStore a = defaultsStore(), b = a;
        b.params.Alarm1Enable = true, b.params.Alarm1Input = 1, b.params.Alarm1PressurePSI = true;
        b.params.UserData = QStringLiteral("  Car 7");
        b.params.ShiftRPM2 = 6100;
        QVERIFY(UpdateEEPROM(b.params, b.image));
        b.image.EEPROMBuffer[159] = 0x01;  // a byte the decoder drops: the text shows alike
        b.image.EEPROMBuffer[60] = 9;      // a reserved byte
        ParameterSet decodedB;
        QVERIFY(UpdateParams(b.image, decodedB));
        const report::Comparison c = report::compare(a.image, a.params, b.image, decodedB);
        QStringList rows;
        for (const report::Difference& d : c.parameters)
            rows << QStringList{d.section, d.label, d.unit, d.left, d.right}.join('|');
        QCOMPARE(rows, (QStringList{"Scale Factors and General Setup|User Data||\"\"|\"  Car 7\"",
                                    "Shift Light Setup|Gear 2 Shift RPM|RPM|6000|6100",
                                    "Alarm 1 Parameters|Alarm 1 Enable||Disabled|Enabled",
                                    "Alarm 1 Parameters|Alarm 1 Input||Analog 0-5V|AFR",
                                    "Alarm 1 Parameters|Alarm 1 MAP Units||In-HG|psi"}));
        QCOMPARE(report::differenceLines(c, [](int o) { return QString::number(o * 2); }),
                 (QStringList{"User Data: \"\" -> \"  Car 7\"", "Gear 2 Shift RPM: 6000 -> 6100",
                              "Alarm 1 Enable: Disabled -> Enabled", "Alarm 1 Input: Analog 0-5V -> AFR",
                              "Alarm 1 MAP Units: In-HG -> psi", "Offset 60 (120): 0 -> 9"}));
        // Padding alone: no parameter row, the byte instead (the block's last one).
        ImageBuffer padded = a.image;
        padded.EEPROMBuffer[159] = 0x7F;
        ParameterSet decodedPadded;
        QVERIFY(UpdateParams(padded, decodedPadded));
        const report::Comparison p = report::compare(a.image, a.params, padded, decodedPadded);
        QVERIFY(p.parameters.isEmpty());
        QCOMPARE(report::differenceLines(p), QStringList{"Offset 159: 32 -> 127"});
        QVERIFY(report::compare(a.image, a.params, a.image, a.params).same());
    }
};

QTEST_GUILESS_MAIN(TestReport)
#include "tst_report.moc"
