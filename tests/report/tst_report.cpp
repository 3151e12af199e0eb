// The parameter report's lines: texts, values and patterns, and where they sit.
#include "params/defaults.h"
#include "report/content.h"

#include <QtTest>

using report::Line;
using report::Page;
using report::Piece;

namespace {

ParameterSet defaults()
{
    ParameterStore store;
    loadDefaults(store);
    return store.params;
}

report::Header header(const QString& comment = QString())
{
    report::Header h;
    h.companyName = QStringLiteral("Velmont Sensors");
    h.firmwareID = QStringLiteral("Shift Light V2.1");
    h.comment = comment;
    h.printedAt = QDateTime(QDate(2024, 3, 9), QTime(14, 5, 7));
    h.locale = QLocale(QLocale::English, QLocale::UnitedStates);
    return h;
}

// The value printed beside a label, or a null string when no line has that label.
QString valueOf(const Page& page, const QString& label)
{
    for (const Line& line : page)
        if (line.size() == 2 && line[0].text == label)
            return line[1].text;
    return QString();
}

bool hasLine(const Page& page, const QString& text)
{
    for (const Line& line : page)
        if (line.size() == 1 && line[0].text == text)
            return true;
    return false;
}

}  // namespace

class TestReport : public QObject {
    Q_OBJECT
private slots:
    void defaultsValues_data();
    void defaultsValues();
    void pageShapes();
    void commentLine();
    void switchesAndInputs_data();
    void switchesAndInputs();
    void patterns_data();
    void patterns();
    void colorText_data();
    void colorText();
    void plainText();
    void entriesCoverTheImage();
};

void TestReport::defaultsValues_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("value");
    QTest::newRow("firmware") << 1 << "Firmware ID:" << "Shift Light V2.1";
    QTest::newRow("ppr") << 1 << "RPM Pulses/Rev:" << "0.5";
    QTest::newRow("debounce") << 1 << "RPM Debounce Time:" << "0.50";
    QTest::newRow("vss freq") << 1 << "VSS Frequency (Hz) at 60 MPH:" << "150";
    QTest::newRow("tps zero") << 1 << "Zero TPS (volts):" << "0.9";
    QTest::newRow("tps full") << 1 << "100% TPS (volts):" << "4.6";
    QTest::newRow("log") << 1 << "Data Logging Interval (sec):" << "0.10";
    QTest::newRow("min led") << 1 << "Minimum LED Brightness:" << "6";
    QTest::newRow("max led") << 1 << "Maximum LED Brightness:" << "100";
    QTest::newRow("launch colour") << 1 << "Launch Light Color (RGB):" << "255, 0, 0";
    QTest::newRow("launch") << 1 << "Launch RPM:" << "3000";
    QTest::newRow("gear 5") << 1 << "Gear 5 Shift RPM:" << "6000";
    QTest::newRow("short shift") << 1 << "Short Shift Window (RPM):" << "500";
    QTest::newRow("gear 4 vss") << 1 << "Gear 4 Minimum VSS (MPH):" << "100";
    QTest::newRow("gpo min rpm") << 1 << "GPO Minimum RPM:" << "6000";
    QTest::newRow("gpo max rpm") << 1 << "GPO Maximum RPM:" << "12000";
    QTest::newRow("gpo off") << 1 << "GPO TPS Off (%):" << "89";
    QTest::newRow("gpo on") << 1 << "GPO TPS On (%):" << "94";
    QTest::newRow("gpo delay") << 1 << "GPO Delay (sec):" << "0.00";
    QTest::newRow("vss alarm colour") << 1 << "VSS Alarm Color (RGB):" << "0, 255, 0";
    QTest::newRow("vss alarm max") << 1 << "Alarm Maximum VSS (MPH):" << "225";
    QTest::newRow("alarm 1 above") << 2 << "Alarm 1 Above Value (volts):" << "5.0";
    QTest::newRow("alarm 1 below") << 2 << "Alarm 1 Below Value (volts):" << "0.0";
    QTest::newRow("alarm 2 above") << 2 << "Alarm 2 Above Value (volts):" << "5.0";
    QTest::newRow("alarm 2 colour") << 2 << "Alarm 2 Color (RGB):" << "255, 255, 0";
    QTest::newRow("alarm 2 delay") << 2 << "Alarm 2 Delay (sec):" << "0.00";
}

void TestReport::defaultsValues()
{
    QFETCH(int, page);
    QFETCH(QString, label);
    QFETCH(QString, value);
    const ParameterSet p = defaults();
    const Page lines = page == 1 ? report::page1(p, header()) : report::page2(p, header());
    QCOMPARE(valueOf(lines, label), value);
}

// Line by line: the heading first on both pages, the blank lines, the columns.
void TestReport::pageShapes()
{
    const ParameterSet p = defaults();
    const Page one = report::page1(p, header());
    const Page two = report::page2(p, header());
    const Line heading{{10, QStringLiteral("Velmont Sensors Controller Data Printed: 3/9/24 2:05:07 PM")}};
    QCOMPARE(one.first(), heading);
    QCOMPARE(two.first(), heading);
    // No comment: two blank lines follow the heading.
    QVERIFY(one[1].isEmpty());
    QVERIFY(one[2].isEmpty());
    QCOMPARE(one[3], (Line{{10, QStringLiteral("Firmware ID:")}, {30, QStringLiteral("Shift Light V2.1")}}));
    QCOMPARE(one[5][0], (Piece{10, QStringLiteral("User Data:")}));
    QCOMPARE(one[5][1].column, 30);
    QCOMPARE(one[7], (Line{{10, QStringLiteral("Scale Factors and General Setup")}}));
    QCOMPARE(one[8], (Line{{10, QStringLiteral("RPM Pulses/Rev:")}, {50, QStringLiteral("0.5")}}));
    QCOMPARE(one.size(), 53);
    QCOMPARE(one.last(), (Line{{10, QStringLiteral("Alarm Maximum VSS (MPH):")}, {50, QStringLiteral("225")}}));
    QCOMPARE(two.size(), 24);
    QVERIFY(two[1].isEmpty());
    QCOMPARE(two[2], (Line{{10, QStringLiteral("Alarm 1 Parameters")}}));
    QVERIFY(two[13].isEmpty());
    QCOMPARE(two[14], (Line{{10, QStringLiteral("Alarm 2 Parameters")}}));
    QCOMPARE(two.last(), (Line{{10, QStringLiteral("Alarm 2 Delay (sec):")}, {50, QStringLiteral("0.00")}}));
    // Alarm 2 has no pressure unit line.
    for (const Line& line : two)
        QVERIFY(line.isEmpty() || !line[0].text.startsWith(QLatin1String("Alarm 2 ")) ||
                !line[0].text.contains(QLatin1String("MAP units")));
}

void TestReport::commentLine()
{
    const Page one = report::page1(defaults(), header(QStringLiteral("SN 4711")));
    QCOMPARE(one.size(), 54);
    QVERIFY(one[1].isEmpty());
    QCOMPARE(one[2], (Line{{10, QStringLiteral("Comment: SN 4711")}}));
    QVERIFY(one[3].isEmpty());
}

void TestReport::switchesAndInputs_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("line");
    QTest::newRow("log armed") << "LogArmed" << 1 << "Data Logging Only When Armed";
    QTest::newRow("continuous") << "" << 1 << "Continuous Data Logging Enabled";
    QTest::newRow("single stage") << "MultiStageShift" << 1 << "Multi-Stage Shift Light Disabled";
    QTest::newRow("no gear detect") << "VSSGearDetect" << 1 << "VSS Based Gear Detection Disabled";
    QTest::newRow("gpo off") << "GPOEnable" << 1 << "GPO Disabled";
    QTest::newRow("one shot") << "GPOOneShotDelay" << 1 << "GPO One-Shot Delay Enabled";
    QTest::newRow("vss alarm off") << "AlarmVSSEnable" << 1 << "VSS Alarm Disabled";
    QTest::newRow("alarm 1 on") << "Alarm1Enable" << 2 << "Alarm 1 Enabled";
    QTest::newRow("alarm 2 on") << "Alarm2Enable" << 2 << "Alarm 2 Enabled";
    QTest::newRow("psi") << "Alarm1PressurePSI" << 2 << "Alarm 1 psi MAP units";
    QTest::newRow("in-hg") << "" << 2 << "Alarm 1 In-HG MAP units";
    QTest::newRow("input 1") << "Alarm1Input=1" << 2 << "Alarm 1 AFR Input";
    QTest::newRow("input 2") << "Alarm1Input=2" << 2 << "Alarm 1 MAP 1 bar Input";
    QTest::newRow("input 3") << "Alarm1Input=3" << 2 << "Alarm 1 MAP 2 bar Input";
    QTest::newRow("input 7") << "Alarm1Input=7" << 2 << "Alarm 1 MAP 3 bar Input";
    QTest::newRow("alarm 2 input 3") << "Alarm2Input=3" << 2 << "Alarm 2 AFR Input";
    QTest::newRow("alarm 2 analog") << "" << 2 << "Alarm 2 Analog 0-5V Input";
}

void TestReport::switchesAndInputs()
{
    QFETCH(QString, change);
    QFETCH(int, page);
    QFETCH(QString, line);
    ParameterSet p = defaults();
    if (change == QLatin1String("LogArmed")) p.LogArmed = !p.LogArmed;
    if (change == QLatin1String("MultiStageShift")) p.MultiStageShift = !p.MultiStageShift;
    if (change == QLatin1String("VSSGearDetect")) p.VSSGearDetect = !p.VSSGearDetect;
    if (change == QLatin1String("GPOEnable")) p.GPOEnable = !p.GPOEnable;
    if (change == QLatin1String("GPOOneShotDelay")) p.GPOOneShotDelay = !p.GPOOneShotDelay;
    if (change == QLatin1String("AlarmVSSEnable")) p.AlarmVSSEnable = !p.AlarmVSSEnable;
    if (change == QLatin1String("Alarm1Enable")) p.Alarm1Enable = !p.Alarm1Enable;
    if (change == QLatin1String("Alarm2Enable")) p.Alarm2Enable = !p.Alarm2Enable;
    if (change == QLatin1String("Alarm1PressurePSI")) p.Alarm1PressurePSI = !p.Alarm1PressurePSI;
    if (change.startsWith(QLatin1String("Alarm1Input="))) p.Alarm1Input = uint8_t(change.mid(12).toInt());
    if (change.startsWith(QLatin1String("Alarm2Input="))) p.Alarm2Input = uint8_t(change.mid(12).toInt());
    const Page lines = page == 1 ? report::page1(p, header()) : report::page2(p, header());
    QVERIFY2(hasLine(lines, line), qPrintable(line));
}

// Values whose pattern or rounding matters.
void TestReport::patterns_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("value");
    QTest::newRow("tps 255 keeps point") << "100% TPS (volts):" << 255 << "5.";
    QTest::newRow("tps 0") << "100% TPS (volts):" << 0 << "0.";
    QTest::newRow("tps 44") << "100% TPS (volts):" << 44 << "0.9";
    QTest::newRow("ppr 3") << "RPM Pulses/Rev:" << 3 << "1.5";
    QTest::newRow("ppr 24") << "RPM Pulses/Rev:" << 24 << "12.0";
    QTest::newRow("log 62") << "Data Logging Interval (sec):" << 62 << "1.00";
    QTest::newRow("log 34") << "Data Logging Interval (sec):" << 34 << "0.55";
    QTest::newRow("gpo delay 31") << "GPO Delay (sec):" << 31 << "1.00";
    QTest::newRow("gpo delay 250") << "GPO Delay (sec):" << 250 << "8.00";
    QTest::newRow("alarm above 128") << "Alarm 1 Above Value (volts):" << 128 << "2.5";
    QTest::newRow("alarm above 1") << "Alarm 1 Above Value (volts):" << 1 << "0.0";
    QTest::newRow("alarm rpm steps") << "Alarm 1 Minimum RPM:" << 199 << "19900";
    QTest::newRow("alarm 2 delay 2") << "Alarm 2 Delay (sec):" << 2 << "0.05";
}

void TestReport::patterns()
{
    QFETCH(QString, label);
    QFETCH(int, stored);
    QFETCH(QString, value);
    ParameterSet p = defaults();
    p.TPSFullscale = int16_t(stored);
    p.PulsePerRev = int16_t(stored);
    p.DataLogInterval = int16_t(stored);
    p.GPODelay = int16_t(stored);
    p.Alarm1Above = int16_t(stored);
    p.Alarm1MinRPM = int16_t(stored);
    p.Alarm2Delay = int16_t(stored);
    const Page all = report::page1(p, header()) + report::page2(p, header());
    QCOMPARE(valueOf(all, label), value);
}

void TestReport::colorText_data()
{
    QTest::addColumn<int>("rgb");
    QTest::addColumn<QString>("text");
    QTest::newRow("red") << 255 << "255, 0, 0";
    QTest::newRow("green") << 65280 << "0, 255, 0";
    QTest::newRow("yellow") << 65535 << "255, 255, 0";
    QTest::newRow("mixed") << 0x123456 << "86, 52, 18";
    QTest::newRow("high bits ignored") << 0x7F0000FF << "255, 0, 0";
    QTest::newRow("black") << 0 << "0, 0, 0";
}

void TestReport::colorText()
{
    QFETCH(int, rgb);
    QFETCH(QString, text);
    QCOMPARE(report::colorText(rgb), text);
}

void TestReport::plainText()
{
    QCOMPARE(report::toPlainText(Line{{10, QStringLiteral("Launch RPM:")}, {50, QStringLiteral("3000")}}),
             QString(9, QLatin1Char(' ')) + QStringLiteral("Launch RPM:") + QString(29, QLatin1Char(' ')) +
                 QStringLiteral("3000"));
    QCOMPARE(report::toPlainText(Line{}), QString());
    // A label that runs past the value column keeps one blank before the value.
    QCOMPARE(report::toPlainText(Line{{1, QString(12, QLatin1Char('x'))}, {10, QStringLiteral("v")}}),
             QString(12, QLatin1Char('x')) + QStringLiteral(" v"));
    // An empty value leaves no trailing blanks.
    QCOMPARE(report::toPlainText(Line{{10, QStringLiteral("Firmware ID:")}, {30, QString()}}),
             QString(9, QLatin1Char(' ')) + QStringLiteral("Firmware ID:"));
    const QString text = report::toPlainText(report::pages(defaults(), header()));
    QCOMPARE(text.count(QLatin1Char('\n')), 53 + 1 + 24);
    QVERIFY(text.contains(QStringLiteral("\n         Gear 3 Shift RPM:                       6000\n")));
}

// Every byte of the configuration that holds a parameter belongs to a report entry,
// so a comparison built on the entries misses nothing it could name.
void TestReport::entriesCoverTheImage()
{
    const QList<report::Entry> list = report::entries(defaults());
    QSet<QString> names;
    QSet<int> covered;
    for (const report::Entry& e : list) {
        QVERIFY2(!names.contains(e.name), qPrintable(e.name));
        names.insert(e.name);
        for (int o : e.offsets)
            covered.insert(o);
    }
    for (int o = 16; o <= 52; ++o)
        QVERIFY2(covered.contains(o), qPrintable(QString::number(o)));
    for (int o : {64, 65, 66, 67, 68, 69, 70, 71, 80, 81, 82, 83, 84, 128, 159})
        QVERIFY2(covered.contains(o), qPrintable(QString::number(o)));
    for (int o = 96; o <= 106; ++o)
        QVERIFY(covered.contains(o) && covered.contains(o + 16));
    QVERIFY(!covered.contains(60));
    const report::Entry& first = list.first();
    QCOMPARE(first.label, QStringLiteral("User Data:"));
}

QTEST_GUILESS_MAIN(TestReport)
#include "tst_report.moc"
