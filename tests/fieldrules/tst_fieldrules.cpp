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

#define FIELD(name)                                                                      \
    {                                                                                    \
        QStringLiteral(#name), Access {                                                  \
            [](const ParameterSet& p) { return double(p.name); },                        \
                [](ParameterSet& p, double v) { p.name = static_cast<decltype(p.name)>(v); } \
        }                                                                                \
    }

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
    for (const QString& item : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int eq = item.indexOf(QLatin1Char('='));
        list << qMakePair(item.left(eq), item.mid(eq + 1));
    }
    return list;
}

// The factory defaults as the editor holds them after loading: TPS 44..235, GPO
// throttle points 89 % and 94 %.
ParameterSet defaults()
{
    ParameterStore store;
    loadDefaults(store);
    return store.params;
}

const QString GE = QStringLiteral("Value must be greater than or equal to ");
const QString LE = QStringLiteral("Value must be less than or equal to ");

}  // namespace

class TestFieldRules : public QObject {
    Q_OBJECT
private slots:
    void validate_data();
    void validate();
    void limits_data();
    void limits();
    void display_data();
    void display();
    void unchangedTextKeepsStoredValue_data();
    void unchangedTextKeepsStoredValue();
    void unknownFieldChangesNothing();
    void tooltips();
};

// field, parameters set first, typed text -> shown text, warning, title, stored values,
// other fields rewritten.
void TestFieldRules::validate_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("others");

    // Main window: reading, whole fields floored, clamping.
    QTest::newRow("empty launch") << "txtLaunchRPM" << "" << "" << "1000" << GE + "1000" << "Launch RPM"
                                  << "LaunchRPM=1000" << "";
    QTest::newRow("gear 3 too high") << "txtShiftRPM3" << "" << "99999" << "20000" << LE + "20000" << "Shift RPM"
                                     << "ShiftRPM3=20000" << "";
    QTest::newRow("shift floored") << "txtShiftRPM" << "" << "6500.9" << "6500" << "" << "" << "ShiftRPM1=6500" << "";
    QTest::newRow("gear 1 is ShiftRPM1") << "txtShiftRPM1" << "" << "7000" << "7000" << "" << "" << "ShiftRPM1=7000"
                                         << "";
    QTest::newRow("negative speed") << "txtShiftVSS2" << "" << "-3" << "0" << GE + "zero" << "Minimum VSS"
                                    << "ShiftVSS2=0" << "";
    QTest::newRow("trailing words") << "txtLaunchRPM" << "" << "4000 rpm" << "4000" << "" << "" << "LaunchRPM=4000"
                                    << "";
    QTest::newRow("text as zero, silent") << "txtShortShiftRPM" << "" << "abc" << "0" << "" << ""
                                          << "ShortShiftRPM=0" << "";
    QTest::newRow("shift drop minimum") << "txtShiftDropRPM" << "" << "249.9" << "250" << GE + "250"
                                        << "Shift Drop RPM" << "ShiftDropRPM=250" << "";
    QTest::newRow("vss freq floored below") << "txtVSSFreq" << "" << "49.9" << "50" << GE + "50" << "VSS Frequency"
                                            << "VSSFreq=50" << "";

    // Pulses per revolution: half pulses, truncated; 0.5 the only fraction shown.
    QTest::newRow("ppr 0.7") << "txtPulsePerRev" << "" << "0.7" << "0.5" << "" << "" << "PulsePerRev=1" << "";
    QTest::newRow("ppr 1") << "txtPulsePerRev" << "" << "1" << "1" << "" << "" << "PulsePerRev=2" << "";
    QTest::newRow("ppr 1.5") << "txtPulsePerRev" << "" << "1.5" << "2" << "" << "" << "PulsePerRev=3" << "";
    QTest::newRow("ppr 2.5") << "txtPulsePerRev" << "" << "2.5" << "3" << "" << "" << "PulsePerRev=5" << "";
    QTest::newRow("ppr 1.9 truncates") << "txtPulsePerRev" << "" << "1.9" << "2" << "" << "" << "PulsePerRev=3" << "";
    QTest::newRow("ppr 12") << "txtPulsePerRev" << "" << "12" << "12" << "" << "" << "PulsePerRev=24" << "";
    QTest::newRow("ppr 0") << "txtPulsePerRev" << "" << "0" << "0.5" << GE + ".5" << "RPM Pulses Per Revolution"
                           << "PulsePerRev=1" << "";

    // Debounce: truncated to 0.05 ms steps.
    QTest::newRow("debounce 0.12") << "txtRPMDebounce" << "" << "0.12" << "0.10" << "" << "" << "RPMDebounce=2" << "";
    QTest::newRow("debounce 0.75") << "txtRPMDebounce" << "" << "0.75" << "0.75" << "" << "" << "RPMDebounce=15" << "";
    QTest::newRow("debounce 0.35") << "txtRPMDebounce" << "" << "0.35" << "0.35" << "" << "" << "RPMDebounce=7" << "";
    QTest::newRow("debounce 9.9") << "txtRPMDebounce" << "" << "9.9" << "9.90" << "" << "" << "RPMDebounce=198" << "";
    QTest::newRow("debounce 0") << "txtRPMDebounce" << "" << "0" << "0.10" << GE + ".1" << "RPM Debounce Time"
                                << "RPMDebounce=2" << "";

    // Logging interval: ticks of 0.016 s, shown to the nearest 0.05 s.
    QTest::newRow("log 0.1") << "txtDataLogInterval" << "" << "0.1" << "0.10" << "" << "" << "DataLogInterval=6" << "";
    QTest::newRow("log 1 to even") << "txtDataLogInterval" << "" << "1" << "1.00" << "" << ""
                                   << "DataLogInterval=62" << "";
    QTest::newRow("log 0.55") << "txtDataLogInterval" << "" << "0.55" << "0.55" << "" << ""
                              << "DataLogInterval=34" << "";
    QTest::newRow("log 0.05") << "txtDataLogInterval" << "" << "0.05" << "0.10" << GE + "0.1"
                              << "Data Logging Interval" << "DataLogInterval=6" << "";

    // LED brightness: percent of 255, halves to even.
    QTest::newRow("max led 10") << "txtMaxLEDPWM" << "" << "10" << "10" << "" << "" << "MaxLEDPWM=26" << "";
    QTest::newRow("max led 30") << "txtMaxLEDPWM" << "" << "30" << "30" << "" << "" << "MaxLEDPWM=76" << "";
    QTest::newRow("max led 100") << "txtMaxLEDPWM" << "" << "100" << "100" << "" << "" << "MaxLEDPWM=255" << "";
    QTest::newRow("min led 5") << "txtMinLEDPWM" << "" << "5" << "5" << "" << "" << "MinLEDPWM=13" << "";

    // TPS calibration: volts to counts, order kept, GPO points re-derived.
    QTest::newRow("tps zero 0.5") << "txtTPSZero" << "" << "0.5" << "0.5" << "" << "" << "TPSZero=26" << "";
    QTest::newRow("tps full 4.5") << "txtTPSFullscale" << "" << "4.5" << "4.5" << "" << "" << "TPSFullscale=230" << "";
    QTest::newRow("tps full 5") << "txtTPSFullscale" << "" << "5" << "5.0" << "" << "" << "TPSFullscale=255" << "";
    QTest::newRow("tps zero as shown keeps count") << "txtTPSZero" << "" << "0.9" << "0.9" << "" << ""
                                                   << "TPSZero=44;GPOOffTPS=214" << "";
    QTest::newRow("tps zero retyped") << "txtTPSZero" << "" << "0.90" << "0.9" << "" << "" << "TPSZero=46" << "";
    QTest::newRow("tps shown, gpo re-derived") << "txtTPSZero" << "GPOOffTPS=215;GPOOffTPSPercent=90" << "0.9"
                                               << "0.9" << "" << "" << "TPSZero=44;GPOOffTPS=216" << "";
    QTest::newRow("out of range as shown") << "txtVSSFreq" << "VSSFreq=10" << "10" << "50" << GE + "50"
                                           << "VSS Frequency" << "VSSFreq=50" << "";
    QTest::newRow("tps zero text silent") << "txtTPSZero" << "" << "x" << "0.0" << "" << "" << "TPSZero=0" << "";
    QTest::newRow("tps zero drags fullscale")
        << "txtTPSZero" << "TPSFullscale=230" << "4.8" << "4.8" << "" << ""
        << "TPSZero=245;TPSFullscale=245;GPOOffTPS=245;GPOOnTPS=245" << "txtTPSFullscale=4.8";
    QTest::newRow("tps fullscale drags zero")
        << "txtTPSFullscale" << "TPSZero=200" << "1" << "1.0" << "" << ""
        << "TPSZero=51;TPSFullscale=51;GPOOffTPS=51;GPOOnTPS=51" << "txtTPSZero=1.0";
    QTest::newRow("tps equal accepted") << "txtTPSZero" << "TPSFullscale=230" << "4.5" << "4.5" << "" << ""
                                        << "TPSZero=230;TPSFullscale=230" << "";
    QTest::newRow("gpo off point from zero field")
        << "txtTPSZero" << "TPSZero=26;TPSFullscale=230;GPOOffTPSPercent=90" << "0.5" << "0.5" << "" << ""
        << "GPOOffTPS=210" << "";
    QTest::newRow("gpo off point from fullscale field")
        << "txtTPSFullscale" << "TPSZero=26;TPSFullscale=230;GPOOffTPSPercent=90" << "4.5" << "4.5" << "" << ""
        << "GPOOffTPS=210" << "";
    QTest::newRow("alarm counts stay") << "txtTPSFullscale" << "Alarm1MinTPS=140;Alarm1MinTPSPercent=50" << "3"
                                       << "3.0" << "" << "" << "Alarm1MinTPS=140;TPSFullscale=153" << "";

    // Alarms dialog.
    QTest::newRow("alarm delay 9") << "txtAlarm1Delay" << "" << "9" << "8.00" << LE + "8.0" << "Alarm Delay"
                                   << "Alarm1Delay=250" << "";
    QTest::newRow("alarm delay 1") << "txtAlarm1Delay" << "" << "1" << "1.00" << "" << "" << "Alarm1Delay=31" << "";
    QTest::newRow("alarm delay 0.1") << "txtAlarm1Delay" << "" << "0.1" << "0.10" << "" << "" << "Alarm1Delay=3" << "";
    QTest::newRow("alarm delay 0.08 to even") << "txtAlarm1Delay" << "" << "0.08" << "0.05" << "" << ""
                                              << "Alarm1Delay=2" << "";
    QTest::newRow("alarm delay 0.016") << "txtAlarm1Delay" << "" << "0.016" << "0.00" << "" << "" << "Alarm1Delay=0"
                                       << "";
    QTest::newRow("alarm delay text") << "txtAlarm2Delay" << "" << "abc" << "0.00" << "" << "" << "Alarm2Delay=0" << "";
    QTest::newRow("alarm delay negative") << "txtAlarm2Delay" << "" << "-1" << "0.00" << GE + "zero" << "Alarm Delay"
                                          << "Alarm2Delay=0" << "";
    QTest::newRow("alarm rpm -5") << "txtAlarm2MinRPM" << "" << "-5" << "0" << GE + "zero" << "Alarm Minimum RPM"
                                  << "Alarm2MinRPM=0" << "";
    QTest::newRow("alarm rpm 250") << "txtAlarm1MinRPM" << "" << "250" << "200" << "" << "" << "Alarm1MinRPM=2" << "";
    QTest::newRow("alarm rpm 150") << "txtAlarm1MinRPM" << "" << "150" << "200" << "" << "" << "Alarm1MinRPM=2" << "";
    QTest::newRow("alarm rpm 350") << "txtAlarm1MinRPM" << "" << "350" << "400" << "" << "" << "Alarm1MinRPM=4" << "";
    QTest::newRow("alarm rpm 19900") << "txtAlarm1MinRPM" << "" << "19900" << "19900" << "" << ""
                                     << "Alarm1MinRPM=199" << "";
    QTest::newRow("alarm tps 95.9") << "txtAlarm1MinTPS" << "" << "95.9" << "95" << "" << ""
                                    << "Alarm1MinTPSPercent=95;Alarm1MinTPS=225" << "";
    QTest::newRow("alarm tps 96") << "txtAlarm1MinTPS" << "" << "96" << "95" << LE + "95%" << "Alarm Minimum TPS"
                                  << "Alarm1MinTPSPercent=95" << "";
    QTest::newRow("alarm tps -1") << "txtAlarm2MinTPS" << "" << "-1" << "0" << GE + "0%" << "Alarm Minimum TPS"
                                  << "Alarm2MinTPSPercent=0;Alarm2MinTPS=0" << "";
    QTest::newRow("alarm tps 50 to even") << "txtAlarm1MinTPS" << "" << "50" << "50" << "" << ""
                                          << "Alarm1MinTPS=140" << "";
    QTest::newRow("alarm tps 1") << "txtAlarm2MinTPS" << "" << "1" << "1" << "" << "" << "Alarm2MinTPS=46" << "";
    QTest::newRow("alarm tps 0 is no condition") << "txtAlarm1MinTPS" << "Alarm1MinTPS=99" << "0" << "0" << "" << ""
                                                 << "Alarm1MinTPS=0;Alarm1MinTPSPercent=0" << "";
    QTest::newRow("alarm tps flat calibration") << "txtAlarm1MinTPS" << "TPSZero=100;TPSFullscale=100" << "40" << "40"
                                                << "" << "" << "Alarm1MinTPS=100" << "";
    QTest::newRow("alarm vss 245") << "txtAlarm1MinVSS" << "" << "245" << "245" << "" << "" << "Alarm1MinVSS=245" << "";
    QTest::newRow("alarm vss floor") << "txtAlarm2MinVSS" << "" << "60.9" << "60" << "" << "" << "Alarm2MinVSS=60" << "";

    // GPO dialog.
    QTest::newRow("gpo min rpm 6050") << "txtGPOMinRPM" << "" << "6050" << "6000" << "" << "" << "GPOMinRPM=60" << "";
    QTest::newRow("gpo min rpm 6150") << "txtGPOMinRPM" << "" << "6150" << "6200" << "" << "" << "GPOMinRPM=62" << "";
    QTest::newRow("gpo min rpm 19999") << "txtGPOMinRPM" << "GPOMaxRPM=200" << "19999" << "19900" << LE + "19900"
                                       << "Minimum RPM" << "GPOMinRPM=199;GPOMaxRPM=200" << "";
    QTest::newRow("gpo min drags max") << "txtGPOMinRPM" << "GPOMaxRPM=120" << "15000" << "15000" << "" << ""
                                       << "GPOMinRPM=150;GPOMaxRPM=150" << "txtGPOMaxRPM=15000";
    QTest::newRow("gpo max drags min") << "txtGPOMaxRPM" << "GPOMinRPM=60" << "900" << "1000" << GE + "1000"
                                       << "Maximum RPM" << "GPOMaxRPM=10;GPOMinRPM=10" << "txtGPOMinRPM=1000";
    QTest::newRow("gpo off 97 drags on") << "txtGPOOffTPS" << "GPOOnTPSPercent=90" << "97" << "95" << LE + "95%"
                                         << "Off TPS" << "GPOOffTPSPercent=95;GPOOnTPSPercent=95;GPOOnTPS=225;GPOOffTPS=225"
                                         << "txtGPOOnTPS=95";
    QTest::newRow("gpo on 3.9") << "txtGPOOnTPS" << "GPOOffTPSPercent=5" << "3.9" << "10" << GE + "10%" << "On TPS"
                                << "GPOOnTPSPercent=10;GPOOffTPSPercent=5" << "";
    QTest::newRow("gpo on drags off") << "txtGPOOnTPS" << "" << "50" << "50" << "" << ""
                                      << "GPOOnTPSPercent=50;GPOOffTPSPercent=50;GPOOffTPS=140;GPOOnTPS=140"
                                      << "txtGPOOffTPS=50";
    QTest::newRow("gpo min vss drags max") << "txtGPOMinVSS" << "GPOMaxVSS=100" << "200" << "200" << "" << ""
                                           << "GPOMinVSS=200;GPOMaxVSS=200" << "txtGPOMaxVSS=200";
    QTest::newRow("gpo max vss drags min") << "txtGPOMaxVSS" << "GPOMinVSS=30" << "abc" << "10" << GE + "10"
                                           << "Maximum VSS" << "GPOMaxVSS=10;GPOMinVSS=10" << "txtGPOMinVSS=10";
    QTest::newRow("gpo delay 8") << "txtGPODelay" << "" << "8" << "8.00" << "" << "" << "GPODelay=250" << "";
    QTest::newRow("gpo delay 0.05") << "txtGPODelay" << "" << "0.05" << "0.05" << "" << "" << "GPODelay=2" << "";
    QTest::newRow("gpo delay 9") << "txtGPODelay" << "" << "9" << "8.00" << LE + "8.0" << "Delay" << "GPODelay=250"
                                 << "";

    // VSS alarm dialog: the pair rule.
    QTest::newRow("vss min 250") << "txtAlarmVSSMin" << "AlarmVSSMax=225" << "250" << "245" << LE + "245"
                                 << "Minimum VSS" << "AlarmVSSMin=245;AlarmVSSMax=245" << "txtAlarmVSSMax=245";
    QTest::newRow("vss max 5") << "txtAlarmVSSMax" << "AlarmVSSMin=30" << "5" << "10" << GE + "10" << "Maximum VSS"
                               << "AlarmVSSMax=10;AlarmVSSMin=10" << "txtAlarmVSSMin=10";
    QTest::newRow("vss min 99.9") << "txtAlarmVSSMin" << "" << "99.9" << "99" << "" << "" << "AlarmVSSMin=99" << "";
    QTest::newRow("vss min text") << "txtAlarmVSSMin" << "" << "" << "0" << "" << "" << "AlarmVSSMin=0" << "";
    QTest::newRow("vss equal passes") << "txtAlarmVSSMin" << "AlarmVSSMax=225" << "225" << "225" << "" << ""
                                      << "AlarmVSSMin=225;AlarmVSSMax=225" << "";
}

void TestFieldRules::validate()
{
    QFETCH(QString, field);
    QFETCH(QString, setup);
    QFETCH(QString, typed);
    QFETCH(QString, text);
    QFETCH(QString, warning);
    QFETCH(QString, title);
    QFETCH(QString, stored);
    QFETCH(QString, others);

    ParameterSet p = defaults();
    for (const auto& kv : pairs(setup)) {
        QVERIFY2(access().contains(kv.first), qPrintable(kv.first));
        access()[kv.first].set(p, kv.second.toDouble());
    }
    const fieldrules::Outcome out = fieldrules::validate(field, typed, p);
    QCOMPARE(out.text, text);
    QCOMPARE(out.warning, warning);
    QCOMPARE(out.warningTitle, title);
    for (const auto& kv : pairs(stored)) {
        QVERIFY2(access().contains(kv.first), qPrintable(kv.first));
        QCOMPARE(access()[kv.first].get(p), kv.second.toDouble());
    }
    QMap<QString, QString> expectedOthers;
    for (const auto& kv : pairs(others))
        expectedOthers.insert(kv.first, kv.second);
    QCOMPARE(out.otherTexts, expectedOthers);
    // What the field shows is what display() gives for the stored value.
    QCOMPARE(fieldrules::display(field, p), text);
}

// Every field's two limits: the exact message, the shared title, and the limit stored.
void TestFieldRules::limits_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("below");
    QTest::addColumn<QString>("minMessage");
    QTest::addColumn<QString>("above");
    QTest::addColumn<QString>("maxMessage");

    auto row = [](const char* field, const char* title, const char* below, const QString& minMsg, const char* above,
                  const QString& maxMsg) {
        QTest::newRow(field) << field << title << below << minMsg << above << maxMsg;
    };
    row("txtShiftRPM", "Shift RPM", "999", GE + "1000", "20001", LE + "20000");
    for (int g = 1; g <= 5; ++g) {
        const QByteArray rpm = "txtShiftRPM" + QByteArray::number(g);
        const QByteArray vss = "txtShiftVSS" + QByteArray::number(g);
        QTest::newRow(rpm) << QString(rpm) << "Shift RPM" << "999" << GE + "1000" << "20001" << LE + "20000";
        QTest::newRow(vss) << QString(vss) << "Minimum VSS" << "-1" << GE + "zero" << "256" << LE + "255";
    }
    row("txtShortShiftRPM", "Short Shift RPM", "-1", GE + "0", "1001", LE + "1000");
    row("txtShiftDropRPM", "Shift Drop RPM", "249", GE + "250", "1001", LE + "1000");
    row("txtLaunchRPM", "Launch RPM", "999", GE + "1000", "20001", LE + "20000");
    row("txtPulsePerRev", "RPM Pulses Per Revolution", "0.49", GE + ".5", "12.01", LE + "12");
    row("txtVSSFreq", "VSS Frequency", "49", GE + "50", "3001", LE + "3000");
    row("txtTPSZero", "TPS Zero", "-0.01", GE + "zero", "5.01", LE + "5.0");
    row("txtTPSFullscale", "TPS Fullscale", "-0.01", GE + "zero", "5.01", LE + "5.0");
    row("txtDataLogInterval", "Data Logging Interval", "0.09", GE + "0.1", "1.01", LE + "1");
    row("txtRPMDebounce", "RPM Debounce Time", "0.09", GE + ".1", "9.91", LE + "9.9");
    row("txtMinLEDPWM", "LED PWM", "4.9", GE + "5", "100.1", LE + "100");
    row("txtMaxLEDPWM", "LED PWM", "9.9", GE + "10", "100.1", LE + "100");
    for (const char* n : {"1", "2"}) {
        const QString a = QStringLiteral("txtAlarm") + n;
        QTest::newRow(qPrintable(a + "Delay")) << a + "Delay" << "Alarm Delay" << "-0.01" << GE + "zero" << "8.01"
                                               << LE + "8.0";
        QTest::newRow(qPrintable(a + "MinRPM")) << a + "MinRPM" << "Alarm Minimum RPM" << "-0.5" << GE + "zero"
                                                << "19900.5" << LE + "19900";
        QTest::newRow(qPrintable(a + "MinTPS")) << a + "MinTPS" << "Alarm Minimum TPS" << "-0.5" << GE + "0%" << "96"
                                                << LE + "95%";
        QTest::newRow(qPrintable(a + "MinVSS")) << a + "MinVSS" << "Alarm Minimum VSS" << "-0.5" << GE + "zero"
                                                << "246" << LE + "245";
    }
    row("txtGPOMinRPM", "Minimum RPM", "-0.01", GE + "zero", "19900.01", LE + "19900");
    row("txtGPOMaxRPM", "Maximum RPM", "999.9", GE + "1000", "20000.1", LE + "20000");
    row("txtGPOOffTPS", "Off TPS", "4.99", GE + "5%", "96", LE + "95%");
    row("txtGPOOnTPS", "On TPS", "9.99", GE + "10%", "100", LE + "99%");
    row("txtGPOMinVSS", "Minimum VSS", "-0.01", GE + "zero", "246", LE + "245");
    row("txtGPOMaxVSS", "Maximum VSS", "9.99", GE + "10", "251", LE + "250");
    row("txtGPODelay", "Delay", "-0.01", GE + "zero", "8.01", LE + "8.0");
    row("txtAlarmVSSMin", "Minimum VSS", "-0.01", GE + "zero", "246", LE + "245");
    row("txtAlarmVSSMax", "Maximum VSS", "9.99", GE + "10", "251", LE + "250");
}

void TestFieldRules::limits()
{
    QFETCH(QString, field);
    QFETCH(QString, title);
    QFETCH(QString, below);
    QFETCH(QString, minMessage);
    QFETCH(QString, above);
    QFETCH(QString, maxMessage);

    const fieldrules::Rule* rule = fieldrules::find(field);
    QVERIFY(rule);
    ParameterSet p = defaults();
    fieldrules::Outcome out = fieldrules::validate(field, below, p);
    QCOMPARE(out.warning, minMessage);
    QCOMPARE(out.warningTitle, title);
    ParameterSet atMin = defaults();
    QCOMPARE(fieldrules::validate(field, QString::number(rule->minimum), atMin).warning, QString());
    QCOMPARE(out.text, fieldrules::display(field, atMin));

    p = defaults();
    out = fieldrules::validate(field, above, p);
    QCOMPARE(out.warning, maxMessage);
    QCOMPARE(out.warningTitle, title);
    ParameterSet atMax = defaults();
    QCOMPARE(fieldrules::validate(field, QString::number(rule->maximum), atMax).warning, QString());
    QCOMPARE(out.text, fieldrules::display(field, atMax));
}

void TestFieldRules::display_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("text");

    // The defaults as the editor shows them.
    QTest::newRow("defaults ppr") << "txtPulsePerRev" << "" << "0.5";
    QTest::newRow("defaults vss freq") << "txtVSSFreq" << "" << "150";
    QTest::newRow("defaults tps zero") << "txtTPSZero" << "" << "0.9";
    QTest::newRow("defaults tps full") << "txtTPSFullscale" << "" << "4.6";
    QTest::newRow("defaults debounce") << "txtRPMDebounce" << "" << "0.50";
    QTest::newRow("defaults log") << "txtDataLogInterval" << "" << "0.10";
    QTest::newRow("defaults max led") << "txtMaxLEDPWM" << "" << "100";
    QTest::newRow("defaults min led") << "txtMinLEDPWM" << "" << "6";
    QTest::newRow("defaults shift") << "txtShiftRPM" << "" << "6000";
    QTest::newRow("defaults gpo off") << "txtGPOOffTPS" << "" << "89";
    QTest::newRow("defaults gpo on") << "txtGPOOnTPS" << "" << "94";
    QTest::newRow("defaults gpo max rpm") << "txtGPOMaxRPM" << "" << "12000";
    QTest::newRow("defaults gpo delay") << "txtGPODelay" << "" << "0.00";
    QTest::newRow("defaults vss max") << "txtAlarmVSSMax" << "" << "225";
    // Edges of the stored ranges.
    QTest::newRow("ppr zero") << "txtPulsePerRev" << "PulsePerRev=0" << "0";
    QTest::newRow("ppr 3 rounds up") << "txtPulsePerRev" << "PulsePerRev=3" << "2";
    QTest::newRow("ppr 24") << "txtPulsePerRev" << "PulsePerRev=24" << "12";
    QTest::newRow("tps zero count 0") << "txtTPSZero" << "TPSZero=0" << "0.0";
    QTest::newRow("log 0") << "txtDataLogInterval" << "DataLogInterval=0" << "0.00";
    QTest::newRow("log 62") << "txtDataLogInterval" << "DataLogInterval=62" << "1.00";
    QTest::newRow("negative gpo percent") << "txtGPOOffTPS" << "GPOOffTPSPercent=-4" << "-4";
    QTest::newRow("alarm rpm steps") << "txtAlarm2MinRPM" << "Alarm2MinRPM=199" << "19900";
    QTest::newRow("alarm delay 0.992 s") << "txtAlarm1Delay" << "Alarm1Delay=31" << "1.00";
}

void TestFieldRules::display()
{
    QFETCH(QString, field);
    QFETCH(QString, setup);
    QFETCH(QString, text);
    ParameterSet p = defaults();
    for (const auto& kv : pairs(setup))
        access()[kv.first].set(p, kv.second.toDouble());
    QCOMPARE(fieldrules::display(field, p), text);
}

// Leaving a field without changing it keeps what it held, also where the display
// cannot name the stored value exactly: 44 counts show 0.9 V, which reads as 46;
// 7 ticks show 0.10 s, which reads as 6; one delay tick shows 0.05 s, read as 2.
void TestFieldRules::unchangedTextKeepsStoredValue_data()
{
    QTest::addColumn<bool>("lossy");
    QTest::newRow("defaults") << false;
    QTest::newRow("values the display rounds") << true;
}

void TestFieldRules::unchangedTextKeepsStoredValue()
{
    QFETCH(bool, lossy);
    const QStringList names = fieldrules::fieldNames();
    QCOMPARE(names.size(), 22 + 8 + 7 + 2);
    for (const QString& field : names) {
        ParameterSet p = defaults();
        if (lossy) {
            p.DataLogInterval = 7;
            p.MinLEDPWM = 14;
            p.GPODelay = 1;
            p.Alarm1Delay = 1;
            p.Alarm2Delay = 9;
        }
        const ParameterSet before = p;
        const fieldrules::Outcome out = fieldrules::validate(field, fieldrules::display(field, p), p);
        QVERIFY2(out.warning.isEmpty(), qPrintable(field));
        QVERIFY2(out.otherTexts.isEmpty(), qPrintable(field));
        QVERIFY2(p == before, qPrintable(field));
    }
}

void TestFieldRules::unknownFieldChangesNothing()
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

void TestFieldRules::tooltips()
{
    QCOMPARE(fieldrules::tooltip(QStringLiteral("txtLaunchRPM")), QStringLiteral("1000 to 20000 RPM"));
    QCOMPARE(fieldrules::tooltip(QStringLiteral("txtRPMDebounce")), QStringLiteral("0.1 to 9.9 ms"));
    QCOMPARE(fieldrules::tooltip(QStringLiteral("txtTPSZero")), QStringLiteral("0 to 5 V"));
    QCOMPARE(fieldrules::tooltip(QStringLiteral("nothing")), QString());
}

QTEST_GUILESS_MAIN(TestFieldRules)
#include "tst_fieldrules.moc"
