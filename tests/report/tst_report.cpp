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
    // The heading first on both pages, the comment and the firmware ID (the user text: entries()).
    void pageShapes()
    {
        const ParameterSet p = defaultsStore().params;
        const auto one = report::page1(p, header()), two = report::page2(p, header());
        const Line heading = line(QStringLiteral("Velmont Sensors Controller Data Printed: 3/9/24 2:05:07 PM"));
        QVERIFY(one.first() == heading && two.first() == heading);
        QCOMPARE(one[3], line(QStringLiteral("Firmware ID:"), 30, QStringLiteral("Shift Light V2.1")));
        QCOMPARE(report::page1(p, header(QStringLiteral("SN 4711")))[2], line(QStringLiteral("Comment: SN 4711")));
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
    }

    // What every view reads: key, section, label, unit, the value in user units and as printed and compared.
    void entries_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("where");  // "section|label|unit"
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QVariant>("value");
        const Change none = SET((void)p);
        QString section;
        const auto row = [&section](const char* name, const Change& change, const char* key, const char* labelUnit,
                                    const QString& expected, const QVariant& value) {  // expected: "text[|shown]"
            QTest::newRow(name) << change << QString(key) << section + '|' + labelUnit
                                << (expected.contains('|') ? expected : expected + '|' + expected) << value;
        };
        section = "Scale Factors and General Setup";
        row("volts", none, "TPSZero", "Zero TPS (volts)|volts", "0.9", 0.9);
        row("pulses", SET(p.PulsePerRev = 3), "PulsePerRev", "RPM Pulses/Rev|pulses/rev", "1.5", 1.5);
        row("debounce", none, "RPMDebounce", "RPM Debounce Time|ms", "0.50", 0.5);
        row("interval", SET(p.DataLogInterval = 62), "DataLogInterval", "Data Logging Interval (sec)|sec", "1.00", 1.0);
        row("brightness", none, "MinLEDPWM", "Minimum LED Brightness|%", "6", 6.0);
        row("user text", SET(p.UserData = "  Car 7  "), "UserData", "User Data|", "  Car 7  |\"  Car 7\"", "  Car 7  ");
        section = "Shift Light Setup";
        row("colour", SET(p.LaunchColor = 0x030201), "LaunchColor", "Launch Light Color (RGB)|RGB", "1, 2, 3",
            QVariantList{1, 2, 3});
        row("gear rpm", SET(p.ShiftRPM3 = 6543), "ShiftRPM3", "Gear 3 Shift RPM|RPM", "6543", 6543.0);
        row("gear speed", none, "ShiftVSS5", "Gear 5 Minimum VSS (MPH)|MPH", "125", 125.0);
        section = "GPO Parameters";
        row("gpo", SET(p.GPOEnable = true), "OptionFlags.GPOEnable", "GPO Enable|", "GPO Enabled|Enabled", true);
        row("gpo percent", none, "GPOOffTPSPercent", "GPO TPS Off (%)|%", "89", 89.0);
        row("gpo delay", SET(p.GPODelay = 3), "GPODelay", "GPO Delay (sec)|sec", "0.10", 0.1);
        row("one-shot", SET(p.GPOOneShotDelay = true), "GPOFlags.GPOOneShotDelay", "GPO One-Shot Delay|",
            "GPO One-Shot Delay Enabled|Enabled", true);
        section = "VSS (Speed) Alarm Parameters";
        section = "Alarm 1 Parameters";
        row("alarm 1 volts", SET(p.Alarm1Above = 128), "Alarm1Above", "Alarm 1 Above Value (volts)|volts", "2.5", 2.5);
        row("alarm 1 rpm", SET(p.Alarm1MinRPM = 199), "Alarm1MinRPM", "Alarm 1 Minimum RPM|RPM", "19900", 19900.0);
        section = "Alarm 2 Parameters";
        row("alarm 2 tps", SET(p.Alarm2MinTPSPercent = 12.5f), "Alarm2MinTPSPercent", "Alarm 2 Minimum TPS (%)|%",
            "13", 13.0);
        // Alarm 2 knows two inputs: 0 is the analog one (comparisonRows), anything else AFR.
        row("alarm 2 AFR", SET(p.Alarm2Input = 2), "Alarm2Input", "Alarm 2 Input|", "Alarm 2 AFR Input|AFR", "AFR");
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
        // The printed line shows that very text: alone for a switch or an input (no unit), else after the label.
        const Line printed = e->unit.isEmpty() && key != "UserData" ? line(e->text)
                             : key == "UserData" ? line(e->label + ':', 30, e->text)
                                                 : line(e->label + ':', 50, e->text);
        QVERIFY((report::page1(p, header()) + report::page2(p, header())).contains(printed));
    }

    // The comparison's rows are typed (section, label, both values as shown), so no view takes a line apart.
    void comparisonRows()
    {
        ParameterStore a = defaultsStore(), b = a;
        b.params.Alarm1Enable = true, b.params.Alarm1Input = 3, b.params.Alarm1PressurePSI = true;
        b.params.Alarm2Input = 1;
        b.params.UserData = QStringLiteral("  Car 7");
        b.params.ShiftRPM2 = 6100;
        QVERIFY(UpdateEEPROM(b.params, b.image));
        b.image.EEPROMBuffer[159] = 0x01;  // a byte the decoder drops, within the User Data row
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
                                    "Alarm 1 Parameters|Alarm 1 Input||Analog 0-5V|MAP 2 bar",
                                    "Alarm 1 Parameters|Alarm 1 MAP Units||In-HG|psi",
                                    "Alarm 2 Parameters|Alarm 2 Input||Analog 0-5V|AFR"}));
        // Bytes no row explains (tst_cli has the labelled lines); a byte that shows alike, the block's last one too.
        QCOMPARE(report::differenceLines(c).mid(6), QStringList{"Offset 60: 0 -> 9"});
        ImageBuffer padded = a.image;
        padded.EEPROMBuffer[159] = 0x7F;  // dropped on decoding: the text shows as before
        QCOMPARE(report::differenceLines(report::compare(a.image, a.params, padded, a.params)),
                 QStringList{"Offset 159: 32 -> 127"});
    }
};

QTEST_GUILESS_MAIN(TestReport)
#include "tst_report.moc"
