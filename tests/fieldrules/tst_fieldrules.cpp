// The validated fields of the main window and the three editor dialogs: limits and
// their messages, conversions at their edges, and the rules that tie fields together.
#include "params/defaults.h"
#include "params/fieldrules.h"

#include <QtTest>
#include <functional>

namespace {

// Reads and writes the parameters the cases name, so that a case is one table row.
struct Access {
    std::function<double(const ParameterSet&)> get;
    std::function<void(ParameterSet&, double)> set;
};

#define FIELD(name) {QStringLiteral(#name), {[](const ParameterSet& p) { return double(p.name); }, \
                     [](ParameterSet& p, double v) { p.name = static_cast<decltype(p.name)>(v); }}}

const QHash<QString, Access>& access()
{
    static const QHash<QString, Access> map = {
        FIELD(ShiftRPM1),       FIELD(ShiftRPM3),         FIELD(ShiftVSS2),        FIELD(ShortShiftRPM),
        FIELD(ShiftDropRPM),    FIELD(LaunchRPM),         FIELD(PulsePerRev),      FIELD(VSSFreq),
        FIELD(TPSZero),         FIELD(TPSFullscale),      FIELD(DataLogInterval),  FIELD(RPMDebounce),
        FIELD(MinLEDPWM),       FIELD(MaxLEDPWM),         FIELD(GPOMinRPM),        FIELD(GPOMaxRPM),
        FIELD(GPOOffTPS),       FIELD(GPOOnTPS),          FIELD(GPOOffTPSPercent), FIELD(GPOOnTPSPercent),
        FIELD(GPOMinVSS),       FIELD(GPOMaxVSS),         FIELD(GPODelay),         FIELD(AlarmVSSMin),
        FIELD(AlarmVSSMax),     FIELD(Alarm1Delay),       FIELD(Alarm2Delay),      FIELD(Alarm1MinRPM),
        FIELD(Alarm2MinRPM),    FIELD(Alarm1MinTPS),      FIELD(Alarm1MinTPSPercent), FIELD(Alarm2MinTPS),
        FIELD(Alarm2MinTPSPercent), FIELD(Alarm1MinVSS),  FIELD(Alarm2MinVSS),
    };
    return map;
}

// "A=1;B=2" as pairs.
QList<QPair<QString, QString>> pairs(const QString& text)
{
    QList<QPair<QString, QString>> list;
    for (const QString& item : text.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        list << qMakePair(item.section(QLatin1Char('='), 0, 0), item.section(QLatin1Char('='), 1));
    return list;
}

// The factory defaults as the editor holds them after loading: TPS 44..235, GPO
// throttle points 89 % and 94 %.
ParameterSet defaults(const QString& setup = QString())
{
    ParameterStore store;
    loadDefaults(store);
    for (const auto& kv : pairs(setup))
        access()[kv.first].set(store.params, kv.second.toDouble());
    return store.params;
}

const QString GE = QStringLiteral("Value must be greater than or equal to ");
const QString LE = QStringLiteral("Value must be less than or equal to ");

// One validation case: ">=1000" and "<=20000" stand for the two warnings.
void row(const char* name, const char* field, const char* setup, const char* typed, const char* text,
         const char* warning, const char* stored, const char* others = "")
{
    const QString w = QLatin1String(warning);
    const QString message = w.startsWith(QLatin1String(">=")) ? GE + w.mid(2) : w.isEmpty() ? w : LE + w.mid(2);
    QTest::newRow(name) << field << setup << typed << text << message << stored << others;
}

}  // namespace

class TestFieldRules : public QObject {
    Q_OBJECT
private slots:
    // field, parameters set first, typed text -> shown text, warning, stored values,
    // other fields rewritten. The warning's title is the field's (see limits).
    void validate_data()
    {
        for (const char* column : {"field", "setup", "typed", "text", "warning", "stored", "others"})
            QTest::addColumn<QString>(column);

        // Main window: reading, whole fields floored, clamping.
        row("empty launch", "txtLaunchRPM", "", "", "1000", ">=1000", "LaunchRPM=1000");
        row("gear 3 too high", "txtShiftRPM3", "", "99999", "20000", "<=20000", "ShiftRPM3=20000");
        row("shift floored", "txtShiftRPM", "", "6500.9", "6500", "", "ShiftRPM1=6500");
        row("gear 1 is ShiftRPM1", "txtShiftRPM1", "", "7000", "7000", "", "ShiftRPM1=7000");
        row("negative speed", "txtShiftVSS2", "", "-3", "0", ">=zero", "ShiftVSS2=0");
        row("trailing words", "txtLaunchRPM", "", "4000 rpm", "4000", "", "LaunchRPM=4000");
        row("text as zero, silent", "txtShortShiftRPM", "", "abc", "0", "", "ShortShiftRPM=0");
        row("floored, then clamped", "txtShiftDropRPM", "", "249.9", "250", ">=250", "ShiftDropRPM=250");

        // Pulses per revolution: half pulses, truncated; 0.5 the only fraction shown.
        row("ppr 0.7", "txtPulsePerRev", "", "0.7", "0.5", "", "PulsePerRev=1");
        row("ppr 1", "txtPulsePerRev", "", "1", "1", "", "PulsePerRev=2");
        row("ppr 1.5", "txtPulsePerRev", "", "1.5", "2", "", "PulsePerRev=3");
        row("ppr 2.5", "txtPulsePerRev", "", "2.5", "3", "", "PulsePerRev=5");
        row("ppr 1.9 truncates", "txtPulsePerRev", "", "1.9", "2", "", "PulsePerRev=3");
        row("ppr 12", "txtPulsePerRev", "", "12", "12", "", "PulsePerRev=24");
        row("ppr 0", "txtPulsePerRev", "", "0", "0.5", ">=.5", "PulsePerRev=1");

        // Debounce truncated to 0.05 ms steps; logging interval in ticks of 0.016 s shown
        // to the nearest 0.05 s; LED brightness in 255ths, halves to even.
        row("debounce 0.12", "txtRPMDebounce", "", "0.12", "0.10", "", "RPMDebounce=2");
        row("debounce 0.75", "txtRPMDebounce", "", "0.75", "0.75", "", "RPMDebounce=15");
        row("debounce 0.35", "txtRPMDebounce", "", "0.35", "0.35", "", "RPMDebounce=7");
        row("debounce 9.9", "txtRPMDebounce", "", "9.9", "9.90", "", "RPMDebounce=198");
        row("log 0.1", "txtDataLogInterval", "", "0.1", "0.10", "", "DataLogInterval=6");
        row("log 1 to even", "txtDataLogInterval", "", "1", "1.00", "", "DataLogInterval=62");
        row("log 0.55", "txtDataLogInterval", "", "0.55", "0.55", "", "DataLogInterval=34");
        row("log 0.05", "txtDataLogInterval", "", "0.05", "0.10", ">=0.1", "DataLogInterval=6");
        row("max led 10", "txtMaxLEDPWM", "", "10", "10", "", "MaxLEDPWM=26");
        row("max led 30", "txtMaxLEDPWM", "", "30", "30", "", "MaxLEDPWM=76");
        row("max led 100", "txtMaxLEDPWM", "", "100", "100", "", "MaxLEDPWM=255");
        row("min led 5", "txtMinLEDPWM", "", "5", "5", "", "MinLEDPWM=13");

        // TPS calibration: volts to counts, order kept, GPO points re-derived, a shown
        // value kept only while it is in range.
        row("tps full 5", "txtTPSFullscale", "", "5", "5.0", "", "TPSFullscale=255");
        row("tps zero as shown keeps count", "txtTPSZero", "", "0.9", "0.9", "", "TPSZero=44;GPOOffTPS=214");
        row("tps zero retyped", "txtTPSZero", "", "0.90", "0.9", "", "TPSZero=46");
        row("tps shown, gpo re-derived", "txtTPSZero", "GPOOffTPS=215;GPOOffTPSPercent=90", "0.9", "0.9", "",
            "TPSZero=44;GPOOffTPS=216");
        row("out of range as shown", "txtVSSFreq", "VSSFreq=10", "10", "50", ">=50", "VSSFreq=50");
        row("tps zero text silent", "txtTPSZero", "", "x", "0.0", "", "TPSZero=0");
        row("tps zero drags fullscale", "txtTPSZero", "TPSFullscale=230", "4.8", "4.8", "",
            "TPSZero=245;TPSFullscale=245;GPOOffTPS=245;GPOOnTPS=245", "txtTPSFullscale=4.8");
        row("tps fullscale drags zero", "txtTPSFullscale", "TPSZero=200", "1", "1.0", "",
            "TPSZero=51;TPSFullscale=51;GPOOffTPS=51;GPOOnTPS=51", "txtTPSZero=1.0");
        row("tps equal accepted", "txtTPSZero", "TPSFullscale=230", "4.5", "4.5", "", "TPSZero=230;TPSFullscale=230");
        row("tps zero 0.5, gpo point", "txtTPSZero", "TPSFullscale=230;GPOOffTPSPercent=90", "0.5", "0.5", "",
            "TPSZero=26;GPOOffTPS=210");
        row("tps full 4.5, gpo point", "txtTPSFullscale", "TPSZero=26;GPOOffTPSPercent=90", "4.5", "4.5", "",
            "TPSFullscale=230;GPOOffTPS=210");
        row("alarm counts stay", "txtTPSFullscale", "Alarm1MinTPS=140;Alarm1MinTPSPercent=50", "3", "3.0", "",
            "Alarm1MinTPS=140;TPSFullscale=153");

        // Alarms dialog: delays in ticks of 0.032 s, RPM in hundreds, throttle percents to counts.
        row("alarm delay 9", "txtAlarm1Delay", "", "9", "8.00", "<=8.0", "Alarm1Delay=250");
        row("alarm delay 1", "txtAlarm1Delay", "", "1", "1.00", "", "Alarm1Delay=31");
        row("alarm delay 0.08 to even", "txtAlarm1Delay", "", "0.08", "0.05", "", "Alarm1Delay=2");
        row("alarm delay text", "txtAlarm2Delay", "", "abc", "0.00", "", "Alarm2Delay=0");
        row("alarm rpm -5", "txtAlarm2MinRPM", "", "-5", "0", ">=zero", "Alarm2MinRPM=0");
        row("alarm rpm 250 to even", "txtAlarm1MinRPM", "", "250", "200", "", "Alarm1MinRPM=2");
        row("alarm rpm 350 to even", "txtAlarm1MinRPM", "", "350", "400", "", "Alarm1MinRPM=4");
        row("alarm tps 95.9", "txtAlarm1MinTPS", "", "95.9", "95", "", "Alarm1MinTPSPercent=95;Alarm1MinTPS=225");
        row("alarm tps 96", "txtAlarm1MinTPS", "", "96", "95", "<=95%", "Alarm1MinTPSPercent=95");
        row("alarm tps 50 to even", "txtAlarm1MinTPS", "", "50", "50", "", "Alarm1MinTPS=140");
        row("alarm tps 1", "txtAlarm2MinTPS", "", "1", "1", "", "Alarm2MinTPS=46");
        row("alarm tps 0 is no condition", "txtAlarm1MinTPS", "Alarm1MinTPS=99", "0", "0", "",
            "Alarm1MinTPS=0;Alarm1MinTPSPercent=0");
        row("alarm tps flat calibration", "txtAlarm1MinTPS", "TPSZero=100;TPSFullscale=100", "40", "40", "",
            "Alarm1MinTPS=100");

        // GPO dialog: RPM in hundreds, the min/max pairs and the throttle pair drag each other.
        row("gpo min rpm 6050", "txtGPOMinRPM", "", "6050", "6000", "", "GPOMinRPM=60");
        row("gpo min rpm 6150", "txtGPOMinRPM", "", "6150", "6200", "", "GPOMinRPM=62");
        row("gpo min rpm 19999", "txtGPOMinRPM", "GPOMaxRPM=200", "19999", "19900", "<=19900",
            "GPOMinRPM=199;GPOMaxRPM=200");
        row("gpo min drags max", "txtGPOMinRPM", "GPOMaxRPM=120", "15000", "15000", "", "GPOMinRPM=150;GPOMaxRPM=150",
            "txtGPOMaxRPM=15000");
        row("gpo max drags min", "txtGPOMaxRPM", "GPOMinRPM=60", "900", "1000", ">=1000", "GPOMaxRPM=10;GPOMinRPM=10",
            "txtGPOMinRPM=1000");
        row("gpo off 97 drags on", "txtGPOOffTPS", "GPOOnTPSPercent=90", "97", "95", "<=95%",
            "GPOOffTPSPercent=95;GPOOnTPSPercent=95;GPOOnTPS=225;GPOOffTPS=225", "txtGPOOnTPS=95");
        row("gpo on 3.9", "txtGPOOnTPS", "GPOOffTPSPercent=5", "3.9", "10", ">=10%",
            "GPOOnTPSPercent=10;GPOOffTPSPercent=5");
        row("gpo on drags off", "txtGPOOnTPS", "", "50", "50", "",
            "GPOOnTPSPercent=50;GPOOffTPSPercent=50;GPOOffTPS=140;GPOOnTPS=140", "txtGPOOffTPS=50");
        row("gpo min vss drags max", "txtGPOMinVSS", "GPOMaxVSS=100", "200", "200", "", "GPOMinVSS=200;GPOMaxVSS=200",
            "txtGPOMaxVSS=200");
        row("gpo max vss drags min", "txtGPOMaxVSS", "GPOMinVSS=30", "abc", "10", ">=10", "GPOMaxVSS=10;GPOMinVSS=10",
            "txtGPOMinVSS=10");
        row("gpo delay 8", "txtGPODelay", "", "8", "8.00", "", "GPODelay=250");
        row("gpo delay 0.05", "txtGPODelay", "", "0.05", "0.05", "", "GPODelay=2");
        row("gpo delay 1", "txtGPODelay", "", "1", "1.00", "", "GPODelay=31");

        // VSS alarm dialog: the pair rule.
        row("vss min 250", "txtAlarmVSSMin", "AlarmVSSMax=225", "250", "245", "<=245",
            "AlarmVSSMin=245;AlarmVSSMax=245", "txtAlarmVSSMax=245");
        row("vss max 5", "txtAlarmVSSMax", "AlarmVSSMin=30", "5", "10", ">=10", "AlarmVSSMax=10;AlarmVSSMin=10",
            "txtAlarmVSSMin=10");
        row("vss min 99.9", "txtAlarmVSSMin", "", "99.9", "99", "", "AlarmVSSMin=99");
        row("vss equal passes", "txtAlarmVSSMin", "AlarmVSSMax=225", "225", "225", "",
            "AlarmVSSMin=225;AlarmVSSMax=225");
    }

    void validate()
    {
        QFETCH(QString, field);
        QFETCH(QString, setup);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(QString, warning);
        QFETCH(QString, stored);
        QFETCH(QString, others);

        for (const auto& kv : pairs(setup + QLatin1Char(';') + stored))
            QVERIFY2(access().contains(kv.first), qPrintable(kv.first));
        ParameterSet p = defaults(setup);
        const fieldrules::Outcome out = fieldrules::validate(field, typed, p);
        QCOMPARE(out.text, text);
        QCOMPARE(out.warning, warning);
        QCOMPARE(out.warningTitle, warning.isEmpty() ? QString() : fieldrules::find(field)->title);
        for (const auto& kv : pairs(stored))
            QCOMPARE(access()[kv.first].get(p), kv.second.toDouble());
        QMap<QString, QString> expectedOthers;
        for (const auto& kv : pairs(others))
            expectedOthers.insert(kv.first, kv.second);
        QCOMPARE(out.otherTexts, expectedOthers);
        // What the field shows is what display() gives for the stored value.
        QCOMPARE(fieldrules::display(field, p), text);
    }

    // Every field's two limits: the exact message, the shared title, and the limit stored.
    void limits_data()
    {
        for (const char* column : {"field", "title", "below", "minMessage", "above", "maxMessage"})
            QTest::addColumn<QString>(column);
        auto row = [](const QString& field, const char* title, const char* below, const char* min,
                      const char* above, const char* max) {
            QTest::newRow(qPrintable(field)) << field << title << below << GE + min << above << LE + max;
        };
        for (const char* g : {"", "1", "2", "3", "4", "5"})
            row(QStringLiteral("txtShiftRPM") + g, "Shift RPM", "999", "1000", "20001", "20000");
        for (const char* g : {"1", "2", "3", "4", "5"})
            row(QStringLiteral("txtShiftVSS") + g, "Minimum VSS", "-1", "zero", "256", "255");
        row("txtShortShiftRPM", "Short Shift RPM", "-1", "0", "1001", "1000");
        row("txtShiftDropRPM", "Shift Drop RPM", "249", "250", "1001", "1000");
        row("txtLaunchRPM", "Launch RPM", "999", "1000", "20001", "20000");
        row("txtPulsePerRev", "RPM Pulses Per Revolution", "0.49", ".5", "12.01", "12");
        row("txtVSSFreq", "VSS Frequency", "49", "50", "3001", "3000");
        row("txtTPSZero", "TPS Zero", "-0.01", "zero", "5.01", "5.0");
        row("txtTPSFullscale", "TPS Fullscale", "-0.01", "zero", "5.01", "5.0");
        row("txtDataLogInterval", "Data Logging Interval", "0.09", "0.1", "1.01", "1");
        row("txtRPMDebounce", "RPM Debounce Time", "0.09", ".1", "9.91", "9.9");
        row("txtMinLEDPWM", "LED PWM", "4.9", "5", "100.1", "100");
        row("txtMaxLEDPWM", "LED PWM", "9.9", "10", "100.1", "100");
        for (const QString a : {"txtAlarm1", "txtAlarm2"}) {
            row(a + "Delay", "Alarm Delay", "-0.01", "zero", "8.01", "8.0");
            row(a + "MinRPM", "Alarm Minimum RPM", "-0.5", "zero", "19900.5", "19900");
            row(a + "MinTPS", "Alarm Minimum TPS", "-0.5", "0%", "96", "95%");
            row(a + "MinVSS", "Alarm Minimum VSS", "-0.5", "zero", "246", "245");
        }
        row("txtGPOMinRPM", "Minimum RPM", "-0.01", "zero", "19900.01", "19900");
        row("txtGPOMaxRPM", "Maximum RPM", "999.9", "1000", "20000.1", "20000");
        row("txtGPOOffTPS", "Off TPS", "4.99", "5%", "96", "95%");
        row("txtGPOOnTPS", "On TPS", "9.99", "10%", "100", "99%");
        row("txtGPOMinVSS", "Minimum VSS", "-0.01", "zero", "246", "245");
        row("txtGPOMaxVSS", "Maximum VSS", "9.99", "10", "251", "250");
        row("txtGPODelay", "Delay", "-0.01", "zero", "8.01", "8.0");
        row("txtAlarmVSSMin", "Minimum VSS", "-0.01", "zero", "246", "245");
        row("txtAlarmVSSMax", "Maximum VSS", "9.99", "10", "251", "250");
    }
    void limits()
    {
        QFETCH(QString, field);
        QFETCH(QString, title);
        QFETCH(QString, below);
        QFETCH(QString, minMessage);
        QFETCH(QString, above);
        QFETCH(QString, maxMessage);
        const fieldrules::Rule* rule = fieldrules::find(field);
        QVERIFY(rule);
        for (const auto& [typed, message, limit] :
             {std::tuple(below, minMessage, rule->minimum), std::tuple(above, maxMessage, rule->maximum)}) {
            ParameterSet p = defaults(), atLimit = defaults();
            const fieldrules::Outcome out = fieldrules::validate(field, typed, p);
            QCOMPARE(out.warning, message);
            QCOMPARE(out.warningTitle, title);
            QCOMPARE(fieldrules::validate(field, QString::number(limit), atLimit).warning, QString());
            QCOMPARE(out.text, fieldrules::display(field, atLimit));
            QVERIFY(p == atLimit);
        }
    }

    void display_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("text");
        // The defaults as the editor shows them, and the edges of the stored ranges.
        QTest::newRow("defaults ppr") << "txtPulsePerRev" << "" << "0.5";
        QTest::newRow("defaults gpo off") << "txtGPOOffTPS" << "" << "89";
        QTest::newRow("ppr zero") << "txtPulsePerRev" << "PulsePerRev=0" << "0";
        QTest::newRow("log 0") << "txtDataLogInterval" << "DataLogInterval=0" << "0.00";
        QTest::newRow("negative gpo percent") << "txtGPOOffTPS" << "GPOOffTPSPercent=-4" << "-4";
    }

    void display()
    {
        QFETCH(QString, field);
        QFETCH(QString, setup);
        QFETCH(QString, text);
        QCOMPARE(fieldrules::display(field, defaults(setup)), text);
    }

    // Leaving a field without changing it keeps what it held, also where the display
    // cannot name the stored value exactly: 44 counts show 0.9 V, which reads as 46;
    // 7 ticks show 0.10 s, which reads as 6; one delay tick shows 0.05 s, read as 2.
    void unchangedTextKeepsStoredValue()
    {
        const QStringList names = fieldrules::fieldNames();
        QCOMPARE(names.size(), 22 + 8 + 7 + 2);
        for (const char* setup : {"", "DataLogInterval=7;MinLEDPWM=14;GPODelay=1;Alarm1Delay=1;Alarm2Delay=9"}) {
            for (const QString& field : names) {
                ParameterSet p = defaults(QLatin1String(setup));
                const ParameterSet before = p;
                const fieldrules::Outcome out = fieldrules::validate(field, fieldrules::display(field, p), p);
                QVERIFY2(out.warning.isEmpty() && out.otherTexts.isEmpty() && p == before, qPrintable(field + setup));
            }
        }
    }

    void unknownFieldChangesNothing()
    {
        ParameterSet p = defaults();
        const ParameterSet before = p;
        const fieldrules::Outcome out = fieldrules::validate(QStringLiteral("txtUserData"), QStringLiteral("hello"), p);
        QCOMPARE(out.text, QStringLiteral("hello"));
        QVERIFY(out.warning.isEmpty());
        QVERIFY(p == before);
        QVERIFY(!fieldrules::find(QStringLiteral("txtUserData")));
        QCOMPARE(fieldrules::display(QStringLiteral("txtUserData"), p), QString());
    }

    void tooltips()
    {
        QCOMPARE(fieldrules::tooltip(QStringLiteral("txtLaunchRPM")), QStringLiteral("1000 to 20000 RPM"));
        QCOMPARE(fieldrules::tooltip(QStringLiteral("txtRPMDebounce")), QStringLiteral("0.1 to 9.9 ms"));
        QCOMPARE(fieldrules::tooltip(QStringLiteral("txtTPSZero")), QStringLiteral("0 to 5 V"));
        QCOMPARE(fieldrules::tooltip(QStringLiteral("txtUserData")), QString());
    }
};

QTEST_GUILESS_MAIN(TestFieldRules)
#include "tst_fieldrules.moc"
