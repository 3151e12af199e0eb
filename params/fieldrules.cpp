#include "params/fieldrules.h"

#include "params/calibration.h"
#include "params/layout.h"
#include "params/numbers.h"

#include <QList>
#include <cmath>
#include <functional>
#include <optional>

namespace fieldrules {

namespace {

using numbers::format;
using numbers::roundHalfEven;

// How a field turns its clamped value into the parameter set, and back into text.
// `store` writes the parameter(s); `show` gives the field's text from them;
// `followUp` runs after the field's own text has been rewritten (`out.text`), may
// change further parameters and reports other fields' new texts, a notice or an error.
struct Field {
    Rule rule;
    std::function<void(double value, ParameterSet& p, Outcome& out)> store;
    std::function<QString(const ParameterSet& p)> show;
    std::function<void(ParameterSet& p, Outcome& out)> followUp;
    // Where the value is stored: the shown text rounds it, so an untouched text keeps
    // it. Empty for the throttle percents: their percent is shown exactly and the
    // count must follow it.
    std::optional<layout::Member> storedIn;
};

QString whole(int v) { return QString::number(v); }

// Delay ticks of 0.032 s to seconds, shown to the nearest 0.05 s. The opening of a
// dialog works this out in single precision and a validation in double; ticks x 0.64
// never lies half-way between two whole numbers, so both give the same text.
QString delayText(int ticks)
{
    return format(roundHalfEven(ticks * 0.032 * 20.0) / 20.0, QStringLiteral("0.00"));
}

int16_t delayTicks(double seconds) { return static_cast<int16_t>(roundHalfEven(seconds / 0.032)); }

QString volts(int count) { return format(5.0 * count / 255.0, QStringLiteral("0.0")); }

// A throttle percent's count at the current calibration. A count beyond 16 bits is
// an overflow: `out.error` says which GPO field to correct.
void tpsCount(float percent, int16_t& count, const char* gpoField, ParameterSet& p, Outcome& out)
{
    const std::optional<int16_t> c = calibration::PercentToTPSCount(percent, p.TPSZero, p.TPSFullscale);
    if (c) {
        count = *c;
        return;
    }
    out.error = QStringLiteral("Overflow: at this TPS calibration the GPO's %1 point (%2 %) gives no usable TPS "
                               "count. Nothing was changed; correct %1 in Edit > GPO Parameters first.")
                    .arg(QLatin1String(gpoField))
                    .arg(static_cast<double>(percent));
}

// The two GPO throttle points follow the calibration: their percents are what the
// person set, the counts are re-derived whenever the calibration changes. A count
// the image cannot hold is said at once, not first when the image is built.
void rederiveGpoPoints(ParameterSet& p, Outcome& out)
{
    tpsCount(p.GPOOffTPSPercent, p.GPOOffTPS, "TPS Off", p, out);
    tpsCount(p.GPOOnTPSPercent, p.GPOOnTPS, "TPS On", p, out);
    if (!out.error.isEmpty())
        return;
    const struct {
        int16_t count;
        const char* field;
    } points[] = {{p.GPOOffTPS, "TPS Off"}, {p.GPOOnTPS, "TPS On"}};
    for (const auto& point : points) {
        if (point.count >= 0 && point.count <= 255)
            continue;
        out.notice = QStringLiteral("At this TPS calibration the GPO's %1 point is TPS count %2, which the "
                                    "controller cannot store. Correct %1 in Edit > GPO Parameters.")
                         .arg(QLatin1String(point.field))
                         .arg(point.count);
        out.noticeTitle = QStringLiteral("GPO Parameters");
        return;
    }
}

const QString kGE = QStringLiteral("Value must be greater than or equal to ");
const QString kLE = QStringLiteral("Value must be less than or equal to ");

Rule rule(const QString& field, const QString& title, bool wholeRead, double min, const QString& minText,
          double max, const QString& maxText, const QString& unit)
{
    Rule r;
    r.field = field;
    r.title = title;
    r.whole = wholeRead;
    r.minimum = min;
    r.minMessage = kGE + minText;
    r.maximum = max;
    r.maxMessage = kLE + maxText;
    r.unit = unit;
    return r;
}

// A whole-number field that stores its value unchanged in one 16-bit parameter.
Field plain(const Rule& r, int16_t ParameterSet::*member)
{
    Field f;
    f.rule = r;
    f.store = [member](double v, ParameterSet& p, Outcome&) { p.*member = static_cast<int16_t>(v); };
    f.show = [member](const ParameterSet& p) { return whole(p.*member); };
    f.storedIn = member;
    return f;
}

// A minimum/maximum pair: the validated field drags its partner along so that the
// minimum never exceeds the maximum; the partner shows a copy of this field's text.
void pairRule(Field& f, int16_t ParameterSet::*self, int16_t ParameterSet::*partner, const QString& partnerField,
              bool selfIsMinimum)
{
    f.followUp = [=](ParameterSet& p, Outcome& out) {
        const bool crossed = selfIsMinimum ? p.*self > p.*partner : p.*self < p.*partner;
        if (crossed) {
            p.*partner = p.*self;
            out.otherTexts.insert(partnerField, out.text);
        }
    };
}

QList<Field> buildMainWindow()
{
    QList<Field> fields;
    const QString rpmMin = QStringLiteral("1000"), rpmMax = QStringLiteral("20000");

    fields << plain(rule("txtShiftRPM", "Shift RPM", true, 1000, rpmMin, 20000, rpmMax, "RPM"),
                    &ParameterSet::ShiftRPM1);
    int16_t ParameterSet::*shift[] = {&ParameterSet::ShiftRPM1, &ParameterSet::ShiftRPM2, &ParameterSet::ShiftRPM3,
                                      &ParameterSet::ShiftRPM4, &ParameterSet::ShiftRPM5};
    int16_t ParameterSet::*vss[] = {&ParameterSet::ShiftVSS1, &ParameterSet::ShiftVSS2, &ParameterSet::ShiftVSS3,
                                    &ParameterSet::ShiftVSS4, &ParameterSet::ShiftVSS5};
    for (int i = 0; i < 5; ++i)
        fields << plain(rule(QStringLiteral("txtShiftRPM%1").arg(i + 1), "Shift RPM", true, 1000, rpmMin, 20000,
                             rpmMax, "RPM"),
                        shift[i]);
    for (int i = 0; i < 5; ++i)
        fields << plain(rule(QStringLiteral("txtShiftVSS%1").arg(i + 1), "Minimum VSS", true, 0, "zero", 255, "255",
                             "MPH"),
                        vss[i]);
    fields << plain(rule("txtShortShiftRPM", "Short Shift RPM", true, 0, "0", 1000, "1000", "RPM"),
                    &ParameterSet::ShortShiftRPM);
    fields << plain(rule("txtShiftDropRPM", "Shift Drop RPM", true, 250, "250", 1000, "1000", "RPM"),
                    &ParameterSet::ShiftDropRPM);
    fields << plain(rule("txtLaunchRPM", "Launch RPM", true, 1000, rpmMin, 20000, rpmMax, "RPM"),
                    &ParameterSet::LaunchRPM);

    {
        Field f;
        f.rule = rule("txtPulsePerRev", "RPM Pulses Per Revolution", false, 0.5, ".5", 12, "12", "pulses/rev");
        // Half pulses, truncated: 0.5 is the one fraction the controller takes as such.
        f.store = [](double v, ParameterSet& p, Outcome&) {
            p.PulsePerRev = static_cast<int16_t>(v < 1.0 ? 1 : std::floor(v * 2.0));
        };
        f.storedIn = &ParameterSet::PulsePerRev;
        f.show = [](const ParameterSet& p) {
            if (p.PulsePerRev == 1)
                return QStringLiteral("0.5");
            return format(p.PulsePerRev / 2.0, QStringLiteral("#0"));
        };
        fields << f;
    }
    fields << plain(rule("txtVSSFreq", "VSS Frequency", true, 50, "50", 3000, "3000", "Hz"), &ParameterSet::VSSFreq);

    {
        Field f;
        f.rule = rule("txtTPSZero", "TPS Zero", false, 0, "zero", 5.0, "5.0", "V");
        f.store = [](double v, ParameterSet& p, Outcome&) { p.TPSZero = calibration::voltsToCount(v); };
        f.show = [](const ParameterSet& p) { return volts(p.TPSZero); };
        f.storedIn = &ParameterSet::TPSZero;
        f.followUp = [](ParameterSet& p, Outcome& out) {
            if (p.TPSZero > p.TPSFullscale) {
                p.TPSFullscale = p.TPSZero;
                out.otherTexts.insert(QStringLiteral("txtTPSFullscale"), out.text);
            }
            rederiveGpoPoints(p, out);
        };
        fields << f;
    }
    {
        Field f;
        f.rule = rule("txtTPSFullscale", "TPS Fullscale", false, 0, "zero", 5.0, "5.0", "V");
        f.store = [](double v, ParameterSet& p, Outcome&) { p.TPSFullscale = calibration::voltsToCount(v); };
        f.show = [](const ParameterSet& p) { return volts(p.TPSFullscale); };
        f.storedIn = &ParameterSet::TPSFullscale;
        f.followUp = [](ParameterSet& p, Outcome& out) {
            if (p.TPSFullscale < p.TPSZero) {
                p.TPSZero = p.TPSFullscale;
                out.otherTexts.insert(QStringLiteral("txtTPSZero"), out.text);
            }
            rederiveGpoPoints(p, out);
        };
        fields << f;
    }
    {
        Field f;
        f.rule = rule("txtDataLogInterval", "Data Logging Interval", false, 0.1, "0.1", 1, "1", "s");
        f.store = [](double v, ParameterSet& p, Outcome&) {
            p.DataLogInterval = static_cast<int16_t>(roundHalfEven(v / 0.016));
        };
        f.storedIn = &ParameterSet::DataLogInterval;
        // The tick time is held in single precision as the editor refresh has always
        // done; 0.32 x ticks never lies half-way, so double would show the same.
        f.show = [](const ParameterSet& p) {
            const float t = static_cast<float>(0.016 * p.DataLogInterval);
            return format(roundHalfEven(20.0 * t) / 20.0, QStringLiteral("0.00"));
        };
        fields << f;
    }
    {
        Field f;
        f.rule = rule("txtRPMDebounce", "RPM Debounce Time", false, 0.1, ".1", 9.9, "9.9", "ms");
        // Deliberately truncated to whole 0.05 ms steps: the controller counts whole steps.
        f.store = [](double v, ParameterSet& p, Outcome&) { p.RPMDebounce = static_cast<uint8_t>(std::floor(v * 20.0)); };
        f.storedIn = &ParameterSet::RPMDebounce;
        f.show = [](const ParameterSet& p) { return format(p.RPMDebounce / 20.0, QStringLiteral("0.00")); };
        fields << f;
    }
    {
        Field f;
        f.rule = rule("txtMinLEDPWM", "LED PWM", false, 5, "5", 100, "100", "%");
        f.store = [](double v, ParameterSet& p, Outcome&) {
            p.MinLEDPWM = static_cast<uint8_t>(roundHalfEven(v * 255.0 / 100.0));
        };
        f.storedIn = &ParameterSet::MinLEDPWM;
        f.show = [](const ParameterSet& p) { return whole(static_cast<int>(roundHalfEven(p.MinLEDPWM * 100.0 / 255.0))); };
        fields << f;
    }
    {
        Field f;
        f.rule = rule("txtMaxLEDPWM", "LED PWM", false, 10, "10", 100, "100", "%");
        f.store = [](double v, ParameterSet& p, Outcome&) {
            p.MaxLEDPWM = static_cast<uint8_t>(roundHalfEven(v * 255.0 / 100.0));
        };
        f.storedIn = &ParameterSet::MaxLEDPWM;
        f.show = [](const ParameterSet& p) { return whole(static_cast<int>(roundHalfEven(p.MaxLEDPWM * 100.0 / 255.0))); };
        fields << f;
    }
    return fields;
}

struct AlarmMembers {
    int16_t ParameterSet::*delay;
    int16_t ParameterSet::*minRPM;
    int16_t ParameterSet::*minTPS;
    float ParameterSet::*minTPSPercent;
    int16_t ParameterSet::*minVSS;
};

QList<Field> buildAlarm(int n, const AlarmMembers& m)
{
    QList<Field> fields;
    const QString prefix = QStringLiteral("txtAlarm%1").arg(n);
    {
        Field f;
        f.rule = rule(prefix + "Delay", "Alarm Delay", false, 0, "zero", 8.0, "8.0", "s");
        f.store = [m](double v, ParameterSet& p, Outcome&) { p.*m.delay = delayTicks(v); };
        f.storedIn = m.delay;
        f.show = [m](const ParameterSet& p) { return delayText(p.*m.delay); };
        fields << f;
    }
    {
        Field f;
        f.rule = rule(prefix + "MinRPM", "Alarm Minimum RPM", false, 0, "zero", 19900, "19900", "RPM");
        f.store = [m](double v, ParameterSet& p, Outcome&) {
            p.*m.minRPM = static_cast<int16_t>(roundHalfEven(v / 100.0));
        };
        f.storedIn = m.minRPM;
        f.show = [m](const ParameterSet& p) { return format((p.*m.minRPM) * 100.0, QStringLiteral("####0")); };
        fields << f;
    }
    {
        Field f;
        f.rule = rule(prefix + "MinTPS", "Alarm Minimum TPS", true, 0, "0%", 95, "95%", "%");
        // 0 % means "no throttle condition" to the controller: count 0, not TPSZero.
        f.store = [m](double v, ParameterSet& p, Outcome& out) {
            p.*m.minTPSPercent = static_cast<float>(v);
            const std::optional<int16_t> count =
                v == 0 ? int16_t(0) : calibration::PercentToTPSCount(p.*m.minTPSPercent, p.TPSZero, p.TPSFullscale);
            if (count)
                p.*m.minTPS = *count;
            else
                out.error = QStringLiteral("Overflow: this TPS calibration gives no usable TPS count.");
        };
        f.show = [m](const ParameterSet& p) { return format(p.*m.minTPSPercent, QStringLiteral("#0")); };
        fields << f;
    }
    {
        Field f;
        f.rule = rule(prefix + "MinVSS", "Alarm Minimum VSS", true, 0, "zero", 245, "245", "MPH");
        f.store = [m](double v, ParameterSet& p, Outcome&) { p.*m.minVSS = static_cast<int16_t>(roundHalfEven(v)); };
        f.storedIn = m.minVSS;
        f.show = [m](const ParameterSet& p) { return format(p.*m.minVSS, QStringLiteral("##0")); };
        fields << f;
    }
    return fields;
}

QList<Field> buildGpo()
{
    QList<Field> fields;
    {
        Field f;
        f.rule = rule("txtGPOMinRPM", "Minimum RPM", false, 0, "zero", 19900, "19900", "RPM");
        f.store = [](double v, ParameterSet& p, Outcome&) {
            p.GPOMinRPM = static_cast<int16_t>(roundHalfEven(v / 100.0));
        };
        f.storedIn = &ParameterSet::GPOMinRPM;
        f.show = [](const ParameterSet& p) { return whole(p.GPOMinRPM * 100); };
        pairRule(f, &ParameterSet::GPOMinRPM, &ParameterSet::GPOMaxRPM, QStringLiteral("txtGPOMaxRPM"), true);
        fields << f;
    }
    {
        Field f;
        f.rule = rule("txtGPOMaxRPM", "Maximum RPM", false, 1000, "1000", 20000, "20000", "RPM");
        f.store = [](double v, ParameterSet& p, Outcome&) {
            p.GPOMaxRPM = static_cast<int16_t>(roundHalfEven(v / 100.0));
        };
        f.storedIn = &ParameterSet::GPOMaxRPM;
        f.show = [](const ParameterSet& p) { return whole(p.GPOMaxRPM * 100); };
        pairRule(f, &ParameterSet::GPOMaxRPM, &ParameterSet::GPOMinRPM, QStringLiteral("txtGPOMinRPM"), false);
        fields << f;
    }
    {
        Field f;
        f.rule = rule("txtGPOOffTPS", "Off TPS", true, 5, "5%", 95, "95%", "%");
        f.store = [](double v, ParameterSet& p, Outcome& out) {
            p.GPOOffTPSPercent = static_cast<float>(v);
            tpsCount(p.GPOOffTPSPercent, p.GPOOffTPS, "TPS Off", p, out);
        };
        f.show = [](const ParameterSet& p) { return format(p.GPOOffTPSPercent, QStringLiteral("0")); };
        // The on point is never below the off point; compared on the percents.
        f.followUp = [](ParameterSet& p, Outcome& out) {
            if (p.GPOOffTPSPercent > p.GPOOnTPSPercent) {
                p.GPOOnTPSPercent = p.GPOOffTPSPercent;
                tpsCount(p.GPOOnTPSPercent, p.GPOOnTPS, "TPS On", p, out);
                out.otherTexts.insert(QStringLiteral("txtGPOOnTPS"), out.text);
            }
        };
        fields << f;
    }
    {
        Field f;
        f.rule = rule("txtGPOOnTPS", "On TPS", true, 10, "10%", 99, "99%", "%");
        f.store = [](double v, ParameterSet& p, Outcome& out) {
            p.GPOOnTPSPercent = static_cast<float>(v);
            tpsCount(p.GPOOnTPSPercent, p.GPOOnTPS, "TPS On", p, out);
        };
        f.show = [](const ParameterSet& p) { return format(p.GPOOnTPSPercent, QStringLiteral("0")); };
        f.followUp = [](ParameterSet& p, Outcome& out) {
            if (p.GPOOnTPSPercent < p.GPOOffTPSPercent) {
                p.GPOOffTPSPercent = p.GPOOnTPSPercent;
                tpsCount(p.GPOOffTPSPercent, p.GPOOffTPS, "TPS Off", p, out);
                out.otherTexts.insert(QStringLiteral("txtGPOOffTPS"), out.text);
            }
        };
        fields << f;
    }
    {
        Field f = plain(rule("txtGPOMinVSS", "Minimum VSS", true, 0, "zero", 245, "245", "MPH"), &ParameterSet::GPOMinVSS);
        pairRule(f, &ParameterSet::GPOMinVSS, &ParameterSet::GPOMaxVSS, QStringLiteral("txtGPOMaxVSS"), true);
        fields << f;
    }
    {
        Field f = plain(rule("txtGPOMaxVSS", "Maximum VSS", true, 10, "10", 250, "250", "MPH"), &ParameterSet::GPOMaxVSS);
        pairRule(f, &ParameterSet::GPOMaxVSS, &ParameterSet::GPOMinVSS, QStringLiteral("txtGPOMinVSS"), false);
        fields << f;
    }
    {
        Field f;
        f.rule = rule("txtGPODelay", "Delay", false, 0, "zero", 8.0, "8.0", "s");
        f.store = [](double v, ParameterSet& p, Outcome&) { p.GPODelay = delayTicks(v); };
        f.storedIn = &ParameterSet::GPODelay;
        f.show = [](const ParameterSet& p) { return delayText(p.GPODelay); };
        fields << f;
    }
    return fields;
}

QList<Field> buildVssAlarm()
{
    QList<Field> fields;
    {
        Field f = plain(rule("txtAlarmVSSMin", "Minimum VSS", true, 0, "zero", 245, "245", "MPH"),
                        &ParameterSet::AlarmVSSMin);
        pairRule(f, &ParameterSet::AlarmVSSMin, &ParameterSet::AlarmVSSMax, QStringLiteral("txtAlarmVSSMax"), true);
        fields << f;
    }
    {
        Field f = plain(rule("txtAlarmVSSMax", "Maximum VSS", true, 10, "10", 250, "250", "MPH"),
                        &ParameterSet::AlarmVSSMax);
        pairRule(f, &ParameterSet::AlarmVSSMax, &ParameterSet::AlarmVSSMin, QStringLiteral("txtAlarmVSSMin"), false);
        fields << f;
    }
    return fields;
}

const QList<Field>& table()
{
    static const QList<Field> fields = [] {
        QList<Field> all = buildMainWindow();
        all << buildAlarm(1, {&ParameterSet::Alarm1Delay, &ParameterSet::Alarm1MinRPM, &ParameterSet::Alarm1MinTPS,
                              &ParameterSet::Alarm1MinTPSPercent, &ParameterSet::Alarm1MinVSS});
        all << buildAlarm(2, {&ParameterSet::Alarm2Delay, &ParameterSet::Alarm2MinRPM, &ParameterSet::Alarm2MinTPS,
                              &ParameterSet::Alarm2MinTPSPercent, &ParameterSet::Alarm2MinVSS});
        all << buildGpo();
        all << buildVssAlarm();
        return all;
    }();
    return fields;
}

const Field* findField(const QString& name)
{
    for (const Field& f : table())
        if (f.rule.field == name)
            return &f;
    return nullptr;
}

QString limitText(double v) { return QString::number(v, 'g', 10); }

}  // namespace

const Rule* find(const QString& field)
{
    const Field* f = findField(field);
    return f ? &f->rule : nullptr;
}

QStringList fieldNames()
{
    QStringList names;
    for (const Field& f : table())
        names << f.rule.field;
    return names;
}

QString tooltip(const QString& field)
{
    const Rule* r = find(field);
    if (!r)
        return QString();
    QString text = limitText(r->minimum) + QStringLiteral(" to ") + limitText(r->maximum);
    if (!r->unit.isEmpty())
        text += QLatin1Char(' ') + r->unit;
    return text;
}

// Whether the stored value is one the field's own rule could have stored: between
// what its minimum and its maximum store (every conversion grows with the value).
bool storedInRange(const Field& f, const ParameterSet& p)
{
    ParameterSet lowest = p, highest = p;
    Outcome ignored;
    f.store(f.rule.minimum, lowest, ignored);
    f.store(f.rule.maximum, highest, ignored);
    const int v = f.storedIn->get(p);
    return v >= f.storedIn->get(lowest) && v <= f.storedIn->get(highest);
}

Outcome validate(const QString& field, const QString& typed, ParameterSet& params, bool edited)
{
    Outcome out;
    const Field* f = findField(field);
    if (!f) {
        out.text = typed;
        return out;
    }
    const Rule& r = f->rule;
    double v = numbers::readLeadingNumber(typed);
    if (std::isnan(v))
        v = 0;
    if (r.whole)
        v = numbers::wholePart(v);
    if (v < r.minimum) {
        out.warning = r.minMessage;
        out.warningTitle = r.title;
        v = r.minimum;
    } else if (v > r.maximum) {
        out.warning = r.maxMessage;
        out.warningTitle = r.title;
        v = r.maximum;
    }
    // A text the person left alone that only shows what is stored keeps the stored
    // value: the display rounds (44 counts show as 0.9 V, which reads back as 46), and
    // merely passing through a field must not change a downloaded value. A stored
    // value the rule would never store is corrected as if typed.
    const bool keep = !edited && f->storedIn && out.warning.isEmpty() && typed == f->show(params) &&
                      storedInRange(*f, params);
    const ParameterSet before = params;
    if (!keep)
        f->store(v, params, out);
    out.text = f->show(params);
    if (f->followUp && out.error.isEmpty())
        f->followUp(params, out);
    if (!out.error.isEmpty()) {
        params = before;
        out.text = f->show(params);
        out.otherTexts.clear();
        out.notice.clear();
    }
    return out;
}

QString display(const QString& field, const ParameterSet& params)
{
    const Field* f = findField(field);
    return f ? f->show(params) : QString();
}

}  // namespace fieldrules
