#include "params/fieldrules.h"

#include "params/calibration.h"
#include "params/layout.h"
#include "params/numbers.h"
#include "params/units.h"

#include <QCoreApplication>
#include <cmath>
#include <optional>
#include <vector>

namespace fieldrules {

namespace {

using numbers::format;
using numbers::roundHalfEven;
using P = ParameterSet;

// The rules' texts: the window shows them translated; the command-line tool, which
// installs no translator, as they are written here.
struct Say {
    Q_DECLARE_TR_FUNCTIONS(fieldrules)
};

// A text of the table below: a title, a limit's name, a unit.
QString said(const char* source) { return QCoreApplication::translate("fieldrules", source); }

// How a field's value becomes its stored parameter, and the parameter its text.
enum class Kind {
    Whole,          // stored as read
    Hundreds,       // RPM in hundreds, rounded
    LogTicks,       // seconds in data logger ticks, rounded; shown to the nearest 0.05 s
    DelayTicks,     // seconds in delay ticks, likewise
    Volts,          // TPS volts as an ADC count, rounded
    Pwm,            // percent of the full PWM duty, rounded; shown as a whole percent
    Debounce,       // milliseconds in 0.05 ms steps, truncated: the controller counts whole steps
    HalfPulses,     // pulses per revolution in half pulses, truncated
    AlarmThrottle,  // an alarm's throttle percent as typed, and its TPS count
    GpoThrottle,    // a GPO throttle point: its percent as typed, and its TPS count
};

// What may be typed, and the limits as the warnings name them ("zero", ".5", "95%").
struct Limits {
    bool whole;  // the floor of the number; otherwise as typed
    double minimum;
    const char* minimumNamed;
    double maximum;
    const char* maximumNamed;
    const char* unit;
};

// The lower and upper end of a minimum/maximum pair: validating one end drags the
// other along, so that the minimum never exceeds the maximum.
enum class End { None, Lower, Upper };

struct Row {
    const char* field;
    const char* title;
    Limits limits;
    Kind kind;
    layout::Member stored;                  // for the throttle fields, the TPS count
    float P::*percent = nullptr;            // the throttle fields' percent, shown as typed
    End end = End::None;
    const char* partner = nullptr;          // the pair's other end
    void (*extra)(P&, Outcome&) = nullptr;  // runs after the pair rule
};

void rederiveGpoPoints(P& p, Outcome& out);

constexpr Limits kRpm{true, 1000, "1000", 20000, "20000", QT_TRANSLATE_NOOP("fieldrules", "RPM")};
constexpr Limits kGearVss{true, 0, QT_TRANSLATE_NOOP("fieldrules", "zero"), 255, "255", "MPH"};
constexpr Limits kVolts{false, 0, QT_TRANSLATE_NOOP("fieldrules", "zero"), 5.0, "5.0", "V"};
constexpr Limits kDelay{false, 0, QT_TRANSLATE_NOOP("fieldrules", "zero"), 8.0, "8.0", "s"};
constexpr Limits kMinRpm{
    false, 0, QT_TRANSLATE_NOOP("fieldrules", "zero"), 19900, "19900", QT_TRANSLATE_NOOP("fieldrules", "RPM")};
constexpr Limits kMinTps{true, 0, "0%", 95, "95%", "%"};
constexpr Limits kMinVss{true, 0, QT_TRANSLATE_NOOP("fieldrules", "zero"), 245, "245", "MPH"};
constexpr Limits kMaxVss{true, 10, "10", 250, "250", "MPH"};
using K = Kind;
using E = End;

// Main window first, then the alarms, GPO and VSS alarm dialogs.
constexpr Row kRows[] = {
    {"txtShiftRPM", QT_TRANSLATE_NOOP("fieldrules", "Shift RPM"), kRpm, K::Whole, &P::ShiftRPM1},
    {"txtShiftRPM1", QT_TRANSLATE_NOOP("fieldrules", "Shift RPM"), kRpm, K::Whole, &P::ShiftRPM1},
    {"txtShiftRPM2", QT_TRANSLATE_NOOP("fieldrules", "Shift RPM"), kRpm, K::Whole, &P::ShiftRPM2},
    {"txtShiftRPM3", QT_TRANSLATE_NOOP("fieldrules", "Shift RPM"), kRpm, K::Whole, &P::ShiftRPM3},
    {"txtShiftRPM4", QT_TRANSLATE_NOOP("fieldrules", "Shift RPM"), kRpm, K::Whole, &P::ShiftRPM4},
    {"txtShiftRPM5", QT_TRANSLATE_NOOP("fieldrules", "Shift RPM"), kRpm, K::Whole, &P::ShiftRPM5},
    {"txtShiftVSS1", QT_TRANSLATE_NOOP("fieldrules", "Minimum VSS"), kGearVss, K::Whole, &P::ShiftVSS1},
    {"txtShiftVSS2", QT_TRANSLATE_NOOP("fieldrules", "Minimum VSS"), kGearVss, K::Whole, &P::ShiftVSS2},
    {"txtShiftVSS3", QT_TRANSLATE_NOOP("fieldrules", "Minimum VSS"), kGearVss, K::Whole, &P::ShiftVSS3},
    {"txtShiftVSS4", QT_TRANSLATE_NOOP("fieldrules", "Minimum VSS"), kGearVss, K::Whole, &P::ShiftVSS4},
    {"txtShiftVSS5", QT_TRANSLATE_NOOP("fieldrules", "Minimum VSS"), kGearVss, K::Whole, &P::ShiftVSS5},
    {"txtShortShiftRPM", QT_TRANSLATE_NOOP("fieldrules", "Short Shift RPM"),
     {true, 0, "0", 1000, "1000", QT_TRANSLATE_NOOP("fieldrules", "RPM")}, K::Whole, &P::ShortShiftRPM},
    {"txtShiftDropRPM", QT_TRANSLATE_NOOP("fieldrules", "Shift Drop RPM"),
     {true, 250, "250", 1000, "1000", QT_TRANSLATE_NOOP("fieldrules", "RPM")}, K::Whole, &P::ShiftDropRPM},
    {"txtLaunchRPM", QT_TRANSLATE_NOOP("fieldrules", "Launch RPM"), kRpm, K::Whole, &P::LaunchRPM},
    {"txtPulsePerRev", QT_TRANSLATE_NOOP("fieldrules", "RPM Pulses Per Revolution"),
     {false, 0.5, ".5", 12, "12", QT_TRANSLATE_NOOP("fieldrules", "pulses/rev")}, K::HalfPulses,
     &P::PulsePerRev},
    {"txtVSSFreq", QT_TRANSLATE_NOOP("fieldrules", "VSS Frequency"),
     {true, 50, "50", 3000, "3000", "Hz"}, K::Whole, &P::VSSFreq},
    {"txtTPSZero", QT_TRANSLATE_NOOP("fieldrules", "TPS Zero"),
     kVolts, K::Volts, &P::TPSZero, nullptr, E::Lower, "txtTPSFullscale", rederiveGpoPoints},
    {"txtTPSFullscale", QT_TRANSLATE_NOOP("fieldrules", "TPS Fullscale"),
     kVolts, K::Volts, &P::TPSFullscale, nullptr, E::Upper, "txtTPSZero",
     rederiveGpoPoints},
    {"txtDataLogInterval", QT_TRANSLATE_NOOP("fieldrules", "Data Logging Interval"),
     {false, 0.1, "0.1", 1, "1", "s"}, K::LogTicks, &P::DataLogInterval},
    {"txtRPMDebounce", QT_TRANSLATE_NOOP("fieldrules", "RPM Debounce Time"),
     {false, 0.1, ".1", 9.9, "9.9", "ms"}, K::Debounce, &P::RPMDebounce},
    {"txtMinLEDPWM", QT_TRANSLATE_NOOP("fieldrules", "LED PWM"),
     {false, 5, "5", 100, "100", "%"}, K::Pwm, &P::MinLEDPWM},
    {"txtMaxLEDPWM", QT_TRANSLATE_NOOP("fieldrules", "LED PWM"),
     {false, 10, "10", 100, "100", "%"}, K::Pwm, &P::MaxLEDPWM},

    {"txtAlarm1Delay", QT_TRANSLATE_NOOP("fieldrules", "Alarm Delay"), kDelay, K::DelayTicks, &P::Alarm1Delay},
    {"txtAlarm1MinRPM", QT_TRANSLATE_NOOP("fieldrules", "Alarm Minimum RPM"), kMinRpm, K::Hundreds, &P::Alarm1MinRPM},
    {"txtAlarm1MinTPS", QT_TRANSLATE_NOOP("fieldrules", "Alarm Minimum TPS"),
     kMinTps, K::AlarmThrottle, &P::Alarm1MinTPS, &P::Alarm1MinTPSPercent},
    {"txtAlarm1MinVSS", QT_TRANSLATE_NOOP("fieldrules", "Alarm Minimum VSS"), kMinVss, K::Whole, &P::Alarm1MinVSS},
    {"txtAlarm2Delay", QT_TRANSLATE_NOOP("fieldrules", "Alarm Delay"), kDelay, K::DelayTicks, &P::Alarm2Delay},
    {"txtAlarm2MinRPM", QT_TRANSLATE_NOOP("fieldrules", "Alarm Minimum RPM"), kMinRpm, K::Hundreds, &P::Alarm2MinRPM},
    {"txtAlarm2MinTPS", QT_TRANSLATE_NOOP("fieldrules", "Alarm Minimum TPS"),
     kMinTps, K::AlarmThrottle, &P::Alarm2MinTPS, &P::Alarm2MinTPSPercent},
    {"txtAlarm2MinVSS", QT_TRANSLATE_NOOP("fieldrules", "Alarm Minimum VSS"), kMinVss, K::Whole, &P::Alarm2MinVSS},

    {"txtGPOMinRPM", QT_TRANSLATE_NOOP("fieldrules", "Minimum RPM"),
     kMinRpm, K::Hundreds, &P::GPOMinRPM, nullptr, E::Lower, "txtGPOMaxRPM"},
    {"txtGPOMaxRPM", QT_TRANSLATE_NOOP("fieldrules", "Maximum RPM"),
     {false, 1000, "1000", 20000, "20000", QT_TRANSLATE_NOOP("fieldrules", "RPM")}, K::Hundreds, &P::GPOMaxRPM, nullptr,
     E::Upper, "txtGPOMinRPM"},
    // The on point is never below the off point; compared on the percents.
    {"txtGPOOffTPS", QT_TRANSLATE_NOOP("fieldrules", "Off TPS"),
     {true, 5, "5%", 95, "95%", "%"}, K::GpoThrottle, &P::GPOOffTPS, &P::GPOOffTPSPercent,
     E::Lower, "txtGPOOnTPS"},
    {"txtGPOOnTPS", QT_TRANSLATE_NOOP("fieldrules", "On TPS"),
     {true, 10, "10%", 99, "99%", "%"}, K::GpoThrottle, &P::GPOOnTPS, &P::GPOOnTPSPercent,
     E::Upper, "txtGPOOffTPS"},
    {"txtGPOMinVSS", QT_TRANSLATE_NOOP("fieldrules", "Minimum VSS"),
     kMinVss, K::Whole, &P::GPOMinVSS, nullptr, E::Lower, "txtGPOMaxVSS"},
    {"txtGPOMaxVSS", QT_TRANSLATE_NOOP("fieldrules", "Maximum VSS"),
     kMaxVss, K::Whole, &P::GPOMaxVSS, nullptr, E::Upper, "txtGPOMinVSS"},
    {"txtGPODelay", QT_TRANSLATE_NOOP("fieldrules", "Delay"), kDelay, K::DelayTicks, &P::GPODelay},

    {"txtAlarmVSSMin", QT_TRANSLATE_NOOP("fieldrules", "Minimum VSS"),
     kMinVss, K::Whole, &P::AlarmVSSMin, nullptr, E::Lower, "txtAlarmVSSMax"},
    {"txtAlarmVSSMax", QT_TRANSLATE_NOOP("fieldrules", "Maximum VSS"),
     kMaxVss, K::Whole, &P::AlarmVSSMax, nullptr, E::Upper, "txtAlarmVSSMin"},
};

const Row* findRow(const QString& name)
{
    for (const Row& r : kRows)
        if (name == QLatin1String(r.field))
            return &r;
    return nullptr;
}

// Which GPO point a throttle row is, as the messages name it.
QString pointName(const Row& r)
{
    return r.percent == &P::GPOOffTPSPercent ? Say::tr("TPS Off") : Say::tr("TPS On");
}

// A GPO point's count from its percent at the current calibration. A count beyond
// 16 bits is an overflow: `out.error` says which GPO field to correct.
void deriveCount(const Row& r, P& p, Outcome& out)
{
    const std::optional<int16_t> c = calibration::PercentToTPSCount(p.*r.percent, p.TPSZero, p.TPSFullscale);
    if (c) {
        r.stored.set(p, *c);
        return;
    }
    out.error = Say::tr("Overflow: at this TPS calibration the GPO's %1 point (%2 %) gives no usable TPS "
                        "count. Nothing was changed; correct %1 in Edit > GPO Parameters first.")
                    .arg(pointName(r))
                    .arg(static_cast<double>(p.*r.percent));
}

// The two GPO throttle points follow the calibration: their percents are what the
// person set, the counts are re-derived whenever the calibration changes. A count
// the image cannot hold is said at once, not first when the image is built.
void rederiveGpoPoints(P& p, Outcome& out)
{
    const Row* points[] = {findRow(QStringLiteral("txtGPOOffTPS")), findRow(QStringLiteral("txtGPOOnTPS"))};
    for (const Row* point : points)
        deriveCount(*point, p, out);
    if (!out.error.isEmpty())
        return;
    for (const Row* point : points) {
        const int count = point->stored.get(p);
        if (count >= 0 && count <= units::kFullScaleCount)
            continue;
        out.notice = Say::tr("At this TPS calibration the GPO's %1 point is TPS count %2, which the "
                             "controller cannot store. Correct %1 in Edit > GPO Parameters.")
                         .arg(pointName(*point))
                         .arg(count);
        out.noticeTitle = Say::tr("GPO Parameters");
        return;
    }
}

void store(const Row& r, double v, P& p, Outcome& out)
{
    const auto set = [&](double stored) { r.stored.set(p, static_cast<int>(stored)); };
    switch (r.kind) {
    case K::Whole:
        return set(v);
    case K::Hundreds:
        return set(roundHalfEven(v / units::kRpmPerStep));
    case K::LogTicks:
        return set(roundHalfEven(v / units::kLogTickSeconds));
    case K::DelayTicks:
        return set(roundHalfEven(v / units::kDelayTickSeconds));
    case K::Volts:
        return set(calibration::voltsToCount(v));
    case K::Pwm:
        return set(roundHalfEven(units::percentToPwm(v)));
    case K::Debounce:
        return set(std::floor(v * units::kDebounceStepsPerMs));
    case K::HalfPulses:
        // Up to a whole pulse is one half pulse: 0.5 is the one fraction the controller takes.
        return set(v < 1.0 ? 1 : std::floor(v * units::kHalfPulsesPerPulse));
    case K::AlarmThrottle: {
        p.*r.percent = static_cast<float>(v);
        // 0 % means "no throttle condition" to the controller: count 0, not TPSZero.
        const std::optional<int16_t> count =
            v == 0 ? int16_t(0) : calibration::PercentToTPSCount(p.*r.percent, p.TPSZero, p.TPSFullscale);
        if (count)
            r.stored.set(p, *count);
        else
            out.error = Say::tr("Overflow: this TPS calibration gives no usable TPS count.");
        return;
    }
    case K::GpoThrottle:
        p.*r.percent = static_cast<float>(v);
        return deriveCount(r, p, out);
    }
}

QString show(const Row& r, const P& p)
{
    const int v = r.stored.get(p);
    // Ticks x 0.32 s and x 0.64 s never lie half-way between two twentieths, so the
    // single precision the editor refresh computes the interval in shows the same.
    const auto seconds = [v](double tick) {
        return format(calibration::shownSeconds(v, tick), QStringLiteral("0.00"));
    };
    switch (r.kind) {
    case K::Whole:
        return QString::number(v);
    case K::Hundreds:
        return QString::number(v * units::kRpmPerStep);
    case K::LogTicks:
        return seconds(units::kLogTickSeconds);
    case K::DelayTicks:
        return seconds(units::kDelayTickSeconds);
    case K::Volts:
        return format(calibration::countToVolts(v), QStringLiteral("0.0"));
    case K::Pwm:
        return QString::number(static_cast<int>(roundHalfEven(units::pwmToPercent(v))));
    case K::Debounce:
        return format(v / units::kDebounceStepsPerMs, QStringLiteral("0.00"));
    case K::HalfPulses:
        return v == 1 ? QStringLiteral("0.5") : format(v / units::kHalfPulsesPerPulse, QStringLiteral("#0"));
    case K::AlarmThrottle:
    case K::GpoThrottle:
        return format(p.*r.percent, QStringLiteral("0"));
    }
    return QString();
}

// The pair rule: when the validated end has crossed the other, the other takes its
// value and shows a copy of its text.
void keepOrder(const Row& r, P& p, Outcome& out)
{
    const Row& other = *findRow(QString::fromLatin1(r.partner));
    const auto value = [&p](const Row& end) { return end.percent ? double(p.*end.percent) : end.stored.get(p); };
    const bool crossed = r.end == End::Lower ? value(r) > value(other) : value(r) < value(other);
    if (!crossed)
        return;
    if (other.percent) {
        p.*other.percent = p.*r.percent;
        deriveCount(other, p, out);
    } else {
        other.stored.set(p, r.stored.get(p));
    }
    out.otherTexts.insert(QLatin1String(other.field), out.text);
}

const std::vector<Rule>& rules()
{
    static const std::vector<Rule> list = [] {
        std::vector<Rule> all;
        for (const Row& r : kRows) {
            const Limits& l = r.limits;
            all.push_back({QLatin1String(r.field), QLatin1String(r.title), l.whole, l.minimum, l.maximum,
                           QLatin1String(l.unit)});
        }
        return all;
    }();
    return list;
}

const Rule& ruleOf(const Row& r) { return rules()[static_cast<size_t>(&r - kRows)]; }

// Whether the stored value is one the field's own rule could have stored: between
// what its minimum and its maximum store (every conversion grows with the value).
bool storedInRange(const Row& r, const P& p)
{
    P lowest = p, highest = p;
    Outcome ignored;
    store(r, r.limits.minimum, lowest, ignored);
    store(r, r.limits.maximum, highest, ignored);
    const int v = r.stored.get(p);
    return v >= r.stored.get(lowest) && v <= r.stored.get(highest);
}

QString limitText(double v) { return QString::number(v, 'g', 10); }

}  // namespace

const Rule* find(const QString& field)
{
    const Row* r = findRow(field);
    return r ? &ruleOf(*r) : nullptr;
}

QStringList fieldNames()
{
    QStringList names;
    for (const Row& r : kRows)
        names << QLatin1String(r.field);
    return names;
}

QString tooltip(const QString& field)
{
    const Rule* r = find(field);
    if (!r)
        return QString();
    //: A field's tooltip, its range: "1000 to 20000".
    QString text = Say::tr("%1 to %2").arg(limitText(r->minimum), limitText(r->maximum));
    if (!r->unit.isEmpty())
        text += QLatin1Char(' ') + said(r->unit.toLatin1().constData());
    return text;
}

Outcome validate(const QString& field, const QString& typed, ParameterSet& params, bool edited)
{
    Outcome out;
    const Row* row = findRow(field);
    if (!row) {
        out.text = typed;
        return out;
    }
    const Rule& r = ruleOf(*row);
    // "1,2" would read as 1 and "6,500" as 6: neither is what was meant, and the
    // field would show the wrong number as if all were well.
    if (numbers::stopsAtDecimalComma(typed)) {
        out.warning = Say::tr("\"%1\" was not taken: type a decimal point, not a comma (1.5), and no thousands "
                              "separator (6500). The field keeps its value.")
                          .arg(typed.trimmed());
        out.warningTitle = said(row->title);
        out.text = show(*row, params);
        return out;
    }
    double v = numbers::readLeadingNumber(typed);
    if (std::isnan(v))
        v = 0;
    if (r.whole)
        v = numbers::wholePart(v);
    if (v < r.minimum) {
        out.warning = Say::tr("Value must be greater than or equal to %1").arg(said(row->limits.minimumNamed));
        out.warningTitle = said(row->title);
        v = r.minimum;
    } else if (v > r.maximum) {
        out.warning = Say::tr("Value must be less than or equal to %1").arg(said(row->limits.maximumNamed));
        out.warningTitle = said(row->title);
        v = r.maximum;
    }
    // A text the person left alone that only shows what is stored keeps the stored
    // value: the display rounds (44 counts show as 0.9 V, which reads back as 46), and
    // merely passing through a field must not change a downloaded value. A stored
    // value the rule would never store is corrected as if typed. The throttle
    // percents are shown exactly, and their count must follow them.
    const bool keep = !edited && !row->percent && out.warning.isEmpty() && typed == show(*row, params) &&
                      storedInRange(*row, params);
    const ParameterSet before = params;
    if (!keep)
        store(*row, v, params, out);
    out.text = show(*row, params);
    if (out.error.isEmpty() && row->partner)
        keepOrder(*row, params, out);
    if (out.error.isEmpty() && row->extra)
        row->extra(params, out);
    if (!out.error.isEmpty()) {
        params = before;
        out.text = show(*row, params);
        out.otherTexts.clear();
        out.notice.clear();
    }
    return out;
}

QString display(const QString& field, const ParameterSet& params)
{
    const Row* row = findRow(field);
    return row ? show(*row, params) : QString();
}

}  // namespace fieldrules
