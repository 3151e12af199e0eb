// The validated fields of the main window and editor dialogs: limits, conversions, cross-field rules.
#include "params/fieldrules.h"
#include "support/testfiles.h"

#include <QtTest>
#include <functional>

namespace {

// Sets (when given a value) and reads the parameters the cases name, so that a case is one row.
using Access = double (*)(ParameterSet&, std::optional<double>);
#define FIELD(name) {QStringLiteral(#name), [](ParameterSet& p, std::optional<double> v) { \
                         return double(v ? (p.name = static_cast<decltype(p.name)>(*v)) : p.name); }}

const QHash<QString, Access>& access()
{
    static const QHash<QString, Access> map = {
        FIELD(ShiftRPM1),    FIELD(ShiftDropRPM),     FIELD(PulsePerRev),      FIELD(VSSFreq),     FIELD(TPSZero),
        FIELD(TPSFullscale), FIELD(RPMDebounce),      FIELD(DataLogInterval),  FIELD(MinLEDPWM),   FIELD(MaxLEDPWM),
        FIELD(GPOMaxRPM),    FIELD(GPOOffTPS),        FIELD(GPOOnTPS),         FIELD(GPODelay),    FIELD(GPOMinVSS),
        FIELD(Alarm1Delay),  FIELD(Alarm2Delay),      FIELD(Alarm1MinRPM),     FIELD(Alarm1MinTPS), FIELD(AlarmVSSMax),
        FIELD(GPOOnTPSPercent), FIELD(GPOOffTPSPercent), FIELD(Alarm1MinTPSPercent),
    };
    return map;
}

QList<QPair<QString, QString>> pairs(const QString& text)
{
    QList<QPair<QString, QString>> list;
    for (const QString& item : text.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        list << qMakePair(item.section(QLatin1Char('='), 0, 0), item.section(QLatin1Char('='), 1));
    return list;
}

// The loaded factory defaults (TPS 44..235, GPO throttle points 89 % and 94 %) with the named parameters set.
ParameterSet defaults(const QString& setup = QString())
{
    ParameterSet p = defaultsStore().params;
    for (const auto& kv : pairs(setup))
        access().value(kv.first)(p, kv.second.toDouble());
    return p;
}

const QString GE = QStringLiteral("Value must be greater than or equal to ");
const QString LE = QStringLiteral("Value must be less than or equal to ");

struct Case { QString field, setup, typed, text, warning, after; bool edited = false; QString said; };
struct Limits { QString field, title, below, min, above, max; };

// ">=1000" and "<=20000" stand for the two warnings; `said` is part of the error or notice about another value.
void row(const char* name, const char* field, const char* setup, const char* typed, const char* text,
         const char* warning, const char* after, bool edited = false, const char* said = "")
{
    const QString w = QLatin1String(warning);
    const QString message = w.startsWith(QLatin1String(">=")) ? GE + w.mid(2) : w.isEmpty() ? w : LE + w.mid(2);
    QTest::newRow(name) << Case{"txt" + QLatin1String(field), setup, typed, text, message, after, edited, said};
}

}  // namespace

Q_DECLARE_METATYPE(Case)
Q_DECLARE_METATYPE(Limits)

class TestFieldRules : public QObject {
    Q_OBJECT
private slots:
    // field, parameters set first, typed -> shown text, warning, stored values and other fields' texts.
    void validate_data()
    {
        QTest::addColumn<Case>("c");
        row("shift floored", "ShiftRPM", "", "6500.9", "6500", "", "ShiftRPM1=6500");
        row("floored, then clamped", "ShiftDropRPM", "", "249.9", "250", ">=250", "ShiftDropRPM=250");
        // Pulses per revolution: half pulses, truncated; 0.5 the only fraction shown.
        row("ppr 0.7", "PulsePerRev", "", "0.7", "0.5", "", "PulsePerRev=1");
        row("ppr 1.9 truncates", "PulsePerRev", "", "1.9", "2", "", "PulsePerRev=3");
        // Debounce in 0.05 ms, logging ticks of 0.016 s shown to 0.05 s; LED in 255ths, halves to even.
        row("debounce 0.14", "RPMDebounce", "", "0.14", "0.10", "", "RPMDebounce=2");
        row("log 1 to even", "DataLogInterval", "", "1", "1.00", "", "DataLogInterval=62");
        row("max led 30", "MaxLEDPWM", "", "30", "30", "", "MaxLEDPWM=76");
        // TPS calibration: volts to counts, order kept, GPO points re-derived, a shown value kept if in range.
        row("tps zero retyped", "TPSZero", "", "0.90", "0.9", "", "TPSZero=46");
        row("tps zero as shown, gpo re-derived", "TPSZero", "GPOOffTPS=215;GPOOffTPSPercent=90", "0.9", "0.9", "",
            "TPSZero=44;GPOOffTPS=216");
        row("out of range as shown", "VSSFreq", "VSSFreq=10", "10", "50", ">=50", "VSSFreq=50");
        // A stored value the rule would never store is corrected, even where it shows in range.
        row("log 64 shown 1.00", "DataLogInterval", "DataLogInterval=64", "1.00", "1.00", "", "DataLogInterval=62");
        row("min led 12 shown 5", "MinLEDPWM", "MinLEDPWM=12", "5", "5", "", "MinLEDPWM=13");
        row("ppr typed as shown", "PulsePerRev", "PulsePerRev=3", "2", "2", "", "PulsePerRev=4", true);
        row("zero drags full", "TPSZero", "TPSFullscale=230", "4.8", "4.8", "",
            "TPSZero=245;TPSFullscale=245;GPOOffTPS=245;GPOOnTPS=245;txtTPSFullscale=4.8");
        row("alarm counts stay", "TPSFullscale", "Alarm1MinTPS=140;Alarm1MinTPSPercent=50", "3", "3.0", "",
            "Alarm1MinTPS=140;TPSFullscale=153");
        // Re-derived GPO throttle points: beyond 16 bits an error that changes nothing, beyond a byte a notice.
        row("gpo count beyond 16 bits", "TPSFullscale", "TPSZero=2;TPSFullscale=1;GPOOffTPSPercent=-25300", "5.0",
            "0.0", "", "TPSFullscale=1;GPOOffTPS=214", false, "Overflow: at this TPS calibration the GPO's TPS Off point");
        row("gpo count below 0", "TPSZero", "GPOOffTPSPercent=-50", "0.9", "0.9", "", "GPOOffTPS=-52", false,
            "TPS Off point is TPS count -52, which the controller cannot store. Correct TPS Off in Edit > GPO Parameters");
        row("gpo count above 255", "TPSFullscale", "GPOOnTPSPercent=150", "4.6", "4.6", "", "GPOOnTPS=330", false,
            "TPS On point is TPS count 330");
        row("gpo counts 0 and 255 fit", "TPSFullscale", "TPSZero=0;GPOOffTPSPercent=0;GPOOnTPSPercent=100", "5", "5.0",
            "", "GPOOffTPS=0;GPOOnTPS=255");
        // Alarms dialog: delays in ticks of 0.032 s, RPM in hundreds, throttle percents to counts.
        row("alarm delay 0.08", "Alarm1Delay", "", "0.08", "0.05", "", "Alarm1Delay=2");
        row("alarm rpm 250", "Alarm1MinRPM", "", "250", "200", "", "Alarm1MinRPM=2");
        row("alarm rpm 350", "Alarm1MinRPM", "", "350", "400", "", "Alarm1MinRPM=4");
        row("alarm tps 95.9", "Alarm1MinTPS", "", "95.9", "95", "", "Alarm1MinTPSPercent=95;Alarm1MinTPS=225");
        row("alarm tps 0 is none", "Alarm1MinTPS", "Alarm1MinTPS=99", "0", "0", "", "Alarm1MinTPS=0");
        // GPO and VSS alarm dialogs: the min/max pairs and the throttle pair drag each other; equal passes.
        row("min rpm drags max", "GPOMinRPM", "GPOMaxRPM=120", "15000", "15000", "", "txtGPOMaxRPM=15000");
        row("off 97 drags on", "GPOOffTPS", "GPOOnTPSPercent=90", "97", "95", "<=95%",
            "GPOOnTPS=225;GPOOffTPS=225;txtGPOOnTPS=95");
        row("max vss drags min", "GPOMaxVSS", "GPOMinVSS=30", "abc", "10", ">=10", "txtGPOMinVSS=10");
        row("vss equal passes", "AlarmVSSMin", "AlarmVSSMax=225", "225", "225", "", "AlarmVSSMax=225");
        row("upper end equal passes", "GPOMaxVSS", "GPOMinVSS=30", "30", "30", "", "GPOMinVSS=30");
    }
    void validate()
    {
        QFETCH(Case, c);
        ParameterSet p = defaults(c.setup);
        const fieldrules::Outcome out = fieldrules::validate(c.field, c.typed, p, c.edited);
        QCOMPARE(out.text + '|' + out.warning, c.text + '|' + c.warning);
        const QString said = out.error + out.notice;
        QVERIFY2(c.said.isEmpty() ? said.isEmpty() : said.contains(c.said), qPrintable(said));
        QCOMPARE(fieldrules::display(c.field, p), c.text);  // what the field shows is the stored value
        QMap<QString, QString> others;
        for (const auto& [name, value] : pairs(c.after)) {
            const bool text = name.startsWith(QLatin1String("txt"));  // a partner's text, and what it stores
            if (text)
                others.insert(name, value);
            QCOMPARE(text ? fieldrules::display(name, p) : QString::number(access().value(name)(p, {})), value);
        }
        QCOMPARE(out.otherTexts, others);
    }

    // Every field's two limits: the exact message, the shared title, and the limit stored.
    void limits_data()
    {
        QTest::addColumn<Limits>("c");
        // below and above: one step past each limit; min and max: the limits as the messages name them
        auto row = [](const QString& field, const char* title, const char* below, const char* min,
                      const char* above, const char* max) {
            QTest::newRow(qPrintable(field)) << Limits{field, title, below, min, above, max};
        };
        for (const char* g : {"", "1", "2", "3", "4", "5"})
            row(QStringLiteral("txtShiftRPM") + g, "Shift RPM", "999", "1000", "20001", "20000");
        for (const char* g : {"1", "2", "3", "4", "5"})
            row(QStringLiteral("txtShiftVSS") + g, "Minimum VSS", "-1", "zero", "256", "255");
        row("txtShortShiftRPM", "Short Shift RPM", "-1", "0", "1001", "1000");
        row("txtShiftDropRPM", "Shift Drop RPM", "249", "250", "1001", "1000");
        row("txtPulsePerRev", "RPM Pulses Per Revolution", "0.49", ".5", "12.01", "12");
        row("txtVSSFreq", "VSS Frequency", "49", "50", "3001", "3000");
        row("txtTPSZero", "TPS Zero", "-0.01", "zero", "5.01", "5.0");
        row("txtDataLogInterval", "Data Logging Interval", "0.09", "0.1", "1.01", "1");
        row("txtRPMDebounce", "RPM Debounce Time", "0.09", ".1", "9.91", "9.9");
        row("txtMinLEDPWM", "LED PWM", "4.9", "5", "100.1", "100");
        row("txtMaxLEDPWM", "LED PWM", "9.9", "10", "100.1", "100");
        row("txtAlarm1Delay", "Alarm Delay", "-0.01", "zero", "8.01", "8.0");
        row("txtAlarm1MinRPM", "Alarm Minimum RPM", "-0.5", "zero", "19900.5", "19900");
        row("txtAlarm2MinTPS", "Alarm Minimum TPS", "-0.5", "0%", "96", "95%");
        row("txtAlarm2MinVSS", "Alarm Minimum VSS", "-0.5", "zero", "246", "245");
        row("txtGPOMaxRPM", "Maximum RPM", "999.9", "1000", "20000.1", "20000");
        row("txtGPOOffTPS", "Off TPS", "4.99", "5%", "96", "95%");
        row("txtGPOOnTPS", "On TPS", "9.99", "10%", "100", "99%");
        row("txtGPOMaxVSS", "Maximum VSS", "9.99", "10", "251", "250");
    }
    void limits()
    {
        QFETCH(Limits, c);
        // The limit typed as its message names it: "zero" is 0, "95%" is 95.
        const auto typedLimit = [](QString named) {
            return named == QLatin1String("zero") ? QStringLiteral("0") : named.remove(QLatin1Char('%'));
        };
        for (const auto& [typed, message, limit] : {std::tuple(c.below, GE + c.min, typedLimit(c.min)),
                                                    std::tuple(c.above, LE + c.max, typedLimit(c.max))}) {
            ParameterSet p = defaults(), atLimit = defaults();
            const fieldrules::Outcome out = fieldrules::validate(c.field, typed, p);
            QCOMPARE(out.warningTitle + ": " + out.warning, c.title + ": " + message);
            QCOMPARE(fieldrules::validate(c.field, limit, atLimit, true).warning, QString());
            QCOMPARE(out.text, fieldrules::display(c.field, atLimit));
            QVERIFY(p == atLimit);
        }
        // Whole-number fields floor a fraction above the maximum silently; the others clamp it with a warning.
        static const QRegularExpression whole(QStringLiteral(
            "^txt(ShiftRPM\\d?|ShiftVSS\\d|ShortShiftRPM|ShiftDropRPM|LaunchRPM|VSSFreq|Alarm\\dMin(TPS|VSS)|"
            "GPO(Off|On)TPS|GPO(Min|Max)VSS|AlarmVSS(Min|Max))$"));
        ParameterSet p = defaults();
        const QString fraction = QString::number(typedLimit(c.max).toDouble() + 0.9);
        QCOMPARE(fieldrules::validate(c.field, fraction, p).warning.isEmpty(), whole.match(c.field).hasMatch());
    }

    // Leaving a field unchanged keeps what it held: 44 counts show 0.9 V (reads as 46), 7 ticks 0.10 s (6).
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

    // "6,500" would read as 6: every field refuses it, says so and keeps its value, partners and follow-ups.
    void decimalCommaRefused()
    {
        for (const QString& field : fieldrules::fieldNames()) {
            ParameterSet p = defaults("TPSZero=40;GPOOffTPSPercent=50");
            const ParameterSet before = p;
            const fieldrules::Outcome out = fieldrules::validate(field, QStringLiteral(" 6,500 "), p, true);
            QCOMPARE(out.warning, QStringLiteral("\"6,500\" was not taken: type a decimal point, not a comma (1.5), "
                                                 "and no thousands separator (6500). The field keeps its value."));
            QCOMPARE(out.text, fieldrules::display(field, before));
            QVERIFY2(p == before && out.otherTexts.isEmpty() && out.notice.isEmpty(), qPrintable(field));
        }
    }

    // Stored values outside a field's range are shown as they are.
    void displayOutOfRange()
    {
        for (const auto& [field, setup, text] :
             {std::tuple("txtPulsePerRev", "PulsePerRev=0", "0"), {"txtGPOOffTPS", "GPOOffTPSPercent=-4", "-4"}})
            QCOMPARE(fieldrules::display(QLatin1String(field), defaults(QLatin1String(setup))), QLatin1String(text));
    }
};

QTEST_GUILESS_MAIN(TestFieldRules)
#include "tst_fieldrules.moc"
