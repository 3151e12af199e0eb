#include "report/content.h"

#include "params/calibration.h"
#include "params/layout.h"
#include "params/numbers.h"
#include "params/units.h"

#include <QCoreApplication>
#include <algorithm>

namespace report {

namespace {

// The sheet's words: the window prints and compares in the person's language; the
// command-line tool, which installs no translator, keeps these words.
struct Say {
    Q_DECLARE_TR_FUNCTIONS(report)
};

using numbers::format;
using numbers::roundHalfEven;

enum class Shape { Blank, Heading, Ident, Parameter };

// One line of a page before layout; lines that show a parameter carry its entry.
struct Item {
    Shape shape = Shape::Blank;
    QString heading;
    Entry entry;  // empty name: no parameter on this line
};

QList<int> span(int first, int count)
{
    QList<int> list;
    for (int i = 0; i < count; ++i)
        list << first + i;
    return list;
}

// The image bytes a stored parameter takes.
QList<int> offsetsOf(const QString& stored)
{
    const layout::Field* f = layout::field(stored.toLatin1().constData());
    return f ? span(f->offset, f->width()) : QList<int>();
}

// Collects a page's lines; every parameter line is filed under the last heading.
class Sheet {
public:
    void heading(const QString& text)
    {
        m_section = text;
        Item i;
        i.shape = Shape::Heading;
        i.heading = text;
        m_items << i;
    }
    void blank() { m_items << Item{}; }

    // A number printed by `pattern`; its value is the number the text shows, so the
    // two can never disagree. `stored` names the parameter the bytes belong to when
    // the line shows a derived value (a throttle percent for its count).
    void number(const QString& name, const QString& label, const QString& unit, double v, const char* pattern,
                const QString& stored = QString())
    {
        Entry e = entry(name, label, unit, stored);
        e.text = e.shown = format(v, QLatin1String(pattern));
        e.value = QLocale::c().toDouble(e.text);
        add(e);
    }
    void colour(const QString& name, const QString& label, int32_t rgb)
    {
        Entry e = entry(name, label, QStringLiteral("RGB"));
        const uint32_t c = static_cast<uint32_t>(rgb) & 0xFFFFFFu;
        e.value = QVariantList{int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)};
        e.text = e.shown = colorText(rgb);
        add(e);
    }
    // A Boolean printed as a line of its own. The key names the flag byte and the
    // Boolean, the bits are the Boolean's bit of that byte.
    void toggle(const QString& flags, const QString& boolean, const QString& label, bool on, const QString& whenOn,
                const QString& whenOff, const QString& shownOn = Say::tr("Enabled"),
                const QString& shownOff = Say::tr("Disabled"))
    {
        Entry e = entry(flags + QLatin1Char('.') + boolean, label, QString(), flags);
        // Every switch line names a bit of the layout (tst_report checks the bits).
        e.bits = layout::flagBit(boolean.toLatin1().constData())->mask;
        e.value = on;
        e.text = on ? whenOn : whenOff;
        e.shown = on ? shownOn : shownOff;
        e.wholeLine = true;
        add(e);
    }
    // An alarm's input type, printed as a line of its own.
    void input(const QString& name, const QString& label, const QString& line, const QString& type)
    {
        Entry e = entry(name, label, QString());
        e.value = e.shown = type;
        e.text = line;
        e.wholeLine = true;
        add(e);
    }
    void userText(const QString& text)
    {
        Entry e = entry(QStringLiteral("UserData"), Say::tr("User Data"), QString());
        e.offsets = span(kUserDataFirst, kUserDataLength);
        // As decoded: blanks the text starts with are part of it; the padding at its
        // end is not worth a difference of its own.
        e.value = e.text = text;
        QString unpadded = text;
        while (unpadded.endsWith(QLatin1Char(' ')))
            unpadded.chop(1);
        e.shown = QLatin1Char('"') + unpadded + QLatin1Char('"');
        Item i;
        i.shape = Shape::Ident;
        i.entry = e;
        m_items << i;
    }

    const QList<Item>& items() const { return m_items; }
    void setSection(const QString& section) { m_section = section; }

private:
    Entry entry(const QString& name, const QString& label, const QString& unit, const QString& stored = QString())
    {
        Entry e;
        e.name = name;
        e.section = m_section;
        e.label = label;
        e.unit = unit;
        e.offsets = offsetsOf(stored.isEmpty() ? name : stored);
        return e;
    }
    void add(const Entry& e)
    {
        Item i;
        i.shape = Shape::Parameter;
        i.entry = e;
        m_items << i;
    }

    QList<Item> m_items;
    QString m_section;
};

const char* const kRpm = "####0";
const char* const kMph = "##0";
const QString kUnitRpm = QStringLiteral("RPM");
const QString kUnitMph = QStringLiteral("MPH");
const QString kUnitVolts = QStringLiteral("volts");
const QString kUnitSeconds = QStringLiteral("sec");
const QString kUnitPercent = QStringLiteral("%");
QString general() { return Say::tr("Scale Factors and General Setup"); }

// Seconds of a delay or interval to the nearest 0.05 s.
double tickSeconds(double tick, int ticks) { return calibration::shownSeconds(ticks, tick); }

// Threshold volts rounded to one decimal (half to even), then printed.
double thresholdVolts(int count) { return roundHalfEven(calibration::countToVolts(count) * 10.0) / 10.0; }

double percentOfPwm(int pwm) { return units::pwmToPercent(pwm); }

// The user text sits above the first heading on paper, and in the general frame
// of the window.
void userDataItem(Sheet& page, const ParameterSet& p)
{
    page.setSection(general());
    page.userText(p.UserData);
}

void page1Items(Sheet& page, const ParameterSet& p)
{
    page.heading(general());
    page.number("PulsePerRev", Say::tr("RPM Pulses/Rev"), Say::tr("pulses/rev"), p.PulsePerRev / units::kHalfPulsesPerPulse, "0.0");
    page.number("RPMDebounce", Say::tr("RPM Debounce Time"), "ms", p.RPMDebounce / units::kDebounceStepsPerMs, "0.00");
    page.number("VSSFreq", Say::tr("VSS Frequency (Hz) at 60 MPH"), "Hz", p.VSSFreq, "###0");
    page.number("TPSZero", Say::tr("Zero TPS (volts)"), kUnitVolts, calibration::countToVolts(p.TPSZero), "0.#");
    page.number("TPSFullscale", Say::tr("100% TPS (volts)"), kUnitVolts, calibration::countToVolts(p.TPSFullscale), "0.#");
    page.number("DataLogInterval", Say::tr("Data Logging Interval (sec)"), kUnitSeconds, tickSeconds(units::kLogTickSeconds, p.DataLogInterval),
                "0.00");
    page.toggle("OptionFlags", "LogArmed", Say::tr("Data Logging Only When Armed"), p.LogArmed, Say::tr("Data Logging Only When Armed"),
                Say::tr("Continuous Data Logging Enabled"));
    page.number("MinLEDPWM", Say::tr("Minimum LED Brightness"), kUnitPercent, percentOfPwm(p.MinLEDPWM), "##0");
    page.number("MaxLEDPWM", Say::tr("Maximum LED Brightness"), kUnitPercent, percentOfPwm(p.MaxLEDPWM), "##0");
    page.blank();

    page.heading(Say::tr("Shift Light Setup"));
    page.toggle("OptionFlags", "MultiStageShift", Say::tr("Multi-Stage Shift Light"), p.MultiStageShift,
                Say::tr("Multi-Stage Shift Light Enabled"), Say::tr("Multi-Stage Shift Light Disabled"));
    page.toggle("OptionFlags", "VSSGearDetect", Say::tr("VSS Based Gear Detection"), p.VSSGearDetect,
                Say::tr("VSS Based Gear Detection Enabled"), Say::tr("VSS Based Gear Detection Disabled"));
    page.colour("LaunchColor", Say::tr("Launch Light Color (RGB)"), p.LaunchColor);
    page.colour("ShiftColor", Say::tr("Shift Light Color (RGB)"), p.ShiftColor);
    page.number("LaunchRPM", Say::tr("Launch RPM"), kUnitRpm, p.LaunchRPM, kRpm);
    const int16_t shift[] = {p.ShiftRPM1, p.ShiftRPM2, p.ShiftRPM3, p.ShiftRPM4, p.ShiftRPM5};
    for (int g = 0; g < 5; ++g)
        page.number(QStringLiteral("ShiftRPM%1").arg(g + 1), Say::tr("Gear %1 Shift RPM").arg(g + 1), kUnitRpm,
                    shift[g], kRpm);
    page.number("ShortShiftRPM", Say::tr("Short Shift Window (RPM)"), kUnitRpm, p.ShortShiftRPM, kRpm);
    page.number("ShiftDropRPM", Say::tr("Minimum Shift Drop (RPM)"), kUnitRpm, p.ShiftDropRPM, kRpm);
    const int16_t vss[] = {p.ShiftVSS1, p.ShiftVSS2, p.ShiftVSS3, p.ShiftVSS4, p.ShiftVSS5};
    for (int g = 0; g < 5; ++g)
        page.number(QStringLiteral("ShiftVSS%1").arg(g + 1), Say::tr("Gear %1 Minimum VSS (MPH)").arg(g + 1),
                    kUnitMph, vss[g], kMph);
    page.blank();

    page.heading(Say::tr("GPO Parameters"));
    page.toggle("OptionFlags", "GPOEnable", Say::tr("GPO Enable"), p.GPOEnable, Say::tr("GPO Enabled"), Say::tr("GPO Disabled"));
    page.number("GPOMinRPM", Say::tr("GPO Minimum RPM"), kUnitRpm, p.GPOMinRPM * units::kRpmPerStep, kRpm);
    page.number("GPOMaxRPM", Say::tr("GPO Maximum RPM"), kUnitRpm, p.GPOMaxRPM * units::kRpmPerStep, kRpm);
    // The percents as last derived; the report does not recompute them from the counts.
    page.number("GPOOffTPSPercent", Say::tr("GPO TPS Off (%)"), kUnitPercent, p.GPOOffTPSPercent, kMph, "GPOOffTPS");
    page.number("GPOOnTPSPercent", Say::tr("GPO TPS On (%)"), kUnitPercent, p.GPOOnTPSPercent, kMph, "GPOOnTPS");
    page.number("GPOMinVSS", Say::tr("GPO Minimum VSS (MPH)"), kUnitMph, p.GPOMinVSS, kMph);
    page.number("GPOMaxVSS", Say::tr("GPO Maximum VSS (MPH)"), kUnitMph, p.GPOMaxVSS, kMph);
    page.number("GPODelay", Say::tr("GPO Delay (sec)"), kUnitSeconds, tickSeconds(units::kDelayTickSeconds, p.GPODelay), "0.00");
    page.toggle("GPOFlags", "GPOOneShotDelay", Say::tr("GPO One-Shot Delay"), p.GPOOneShotDelay, Say::tr("GPO One-Shot Delay Enabled"),
                Say::tr("GPO One-Shot Delay Disabled"));
    page.blank();

    page.heading(Say::tr("VSS (Speed) Alarm Parameters"));
    page.toggle("OptionFlags", "AlarmVSSEnable", Say::tr("VSS Alarm Enable"), p.AlarmVSSEnable, Say::tr("VSS Alarm Enabled"),
                Say::tr("VSS Alarm Disabled"));
    page.colour("AlarmVSSColor", Say::tr("VSS Alarm Color (RGB)"), p.AlarmVSSColor);
    page.number("AlarmVSSMin", Say::tr("Alarm Minimum VSS (MPH)"), kUnitMph, p.AlarmVSSMin, kMph);
    page.number("AlarmVSSMax", Say::tr("Alarm Maximum VSS (MPH)"), kUnitMph, p.AlarmVSSMax, kMph);
}

struct AlarmView {
    int n;
    bool enable;
    int32_t color;
    uint8_t input;
    int16_t above, below;
    float minTPSPercent;
    int16_t minRPM, minVSS, delay;
};

void alarmItems(Sheet& page, const AlarmView& a, const ParameterSet& p)
{
    // Each line is a whole text of its own with the alarm's number in it: a translation
    // orders its words freely.
    const auto say = [&a](const char* text) { return QCoreApplication::translate("report", text).arg(a.n); };
    const QString var = QStringLiteral("Alarm%1").arg(a.n);
    page.heading(say(QT_TRANSLATE_NOOP("report", "Alarm %1 Parameters")));
    page.toggle(var + "Flags", var + "Enable", say(QT_TRANSLATE_NOOP("report", "Alarm %1 Enable")), a.enable,
                say(QT_TRANSLATE_NOOP("report", "Alarm %1 Enabled")),
                say(QT_TRANSLATE_NOOP("report", "Alarm %1 Disabled")));
    page.colour(var + "Color", say(QT_TRANSLATE_NOOP("report", "Alarm %1 Color (RGB)")), a.color);
    // Alarm 1 reads any input number past the MAP 2 bar sensor as the 3 bar one;
    // alarm 2 knows two inputs and reads any but 0 as AFR.
    static const char* const names[] = {QT_TRANSLATE_NOOP("report", "Analog 0-5V"), "AFR", "MAP 1 bar", "MAP 2 bar",
                                        "MAP 3 bar"};
    const int input = a.n == 1 ? std::min<int>(a.input, 4) : (a.input == 0 ? 0 : 1);
    // The input's value keeps the name files and the command line know; the line is translated.
    page.input(var + "Input", say(QT_TRANSLATE_NOOP("report", "Alarm %1 Input")),
               say(QT_TRANSLATE_NOOP("report", "Alarm %1 %2 Input"))
                   .arg(QCoreApplication::translate("report", names[input])),
               QLatin1String(names[input]));
    if (a.n == 1)
        page.toggle("Alarm1Flags", "Alarm1PressurePSI", Say::tr("Alarm 1 MAP Units"), p.Alarm1PressurePSI,
                    Say::tr("Alarm 1 psi MAP units"), Say::tr("Alarm 1 In-HG MAP units"), "psi", "In-HG");
    page.number(var + "Above", say(QT_TRANSLATE_NOOP("report", "Alarm %1 Above Value (volts)")), kUnitVolts,
                thresholdVolts(a.above), "0.0");
    page.number(var + "Below", say(QT_TRANSLATE_NOOP("report", "Alarm %1 Below Value (volts)")), kUnitVolts,
                thresholdVolts(a.below), "0.0");
    page.number(var + "MinTPSPercent", say(QT_TRANSLATE_NOOP("report", "Alarm %1 Minimum TPS (%)")), kUnitPercent,
                a.minTPSPercent, "##0", var + "MinTPS");
    page.number(var + "MinRPM", say(QT_TRANSLATE_NOOP("report", "Alarm %1 Minimum RPM")), kUnitRpm,
                a.minRPM * units::kRpmPerStep, kRpm);
    page.number(var + "MinVSS", say(QT_TRANSLATE_NOOP("report", "Alarm %1 Minimum VSS (MPH)")), kUnitMph, a.minVSS,
                kMph);
    page.number(var + "Delay", say(QT_TRANSLATE_NOOP("report", "Alarm %1 Delay (sec)")), kUnitSeconds,
                tickSeconds(units::kDelayTickSeconds, a.delay), "0.00");
}

void page2Items(Sheet& page, const ParameterSet& p)
{
    alarmItems(page,
               {1, p.Alarm1Enable, p.Alarm1Color, p.Alarm1Input, p.Alarm1Above, p.Alarm1Below, p.Alarm1MinTPSPercent,
                p.Alarm1MinRPM, p.Alarm1MinVSS, p.Alarm1Delay},
               p);
    page.blank();
    alarmItems(page,
               {2, p.Alarm2Enable, p.Alarm2Color, p.Alarm2Input, p.Alarm2Above, p.Alarm2Below, p.Alarm2MinTPSPercent,
                p.Alarm2MinRPM, p.Alarm2MinVSS, p.Alarm2Delay},
               p);
}

Line layout(const Item& item)
{
    switch (item.shape) {
    case Shape::Blank:
        return {};
    case Shape::Heading:
        return {{kLabelColumn, item.heading}};
    case Shape::Ident:
        return {{kLabelColumn, item.entry.label + QLatin1Char(':')}, {kIdentColumn, item.entry.text}};
    case Shape::Parameter:
        if (item.entry.wholeLine)
            return {{kLabelColumn, item.entry.text}};
        return {{kLabelColumn, item.entry.label + QLatin1Char(':')}, {kValueColumn, item.entry.text}};
    }
    return {};
}

Line headingLine(const Header& header) { return {{kLabelColumn, headingText(header)}}; }

}  // namespace

QString headingText(const Header& header)
{
    // The general date format: short date and long time. Qt's long time carries the
    // time zone, which the printed sheet never had.
    QString timeFormat = header.locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    timeFormat = timeFormat.trimmed();
    const QString when = header.locale.toString(header.printedAt.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                         header.locale.toString(header.printedAt.time(), timeFormat);
    return Say::tr("%1 Controller Data Printed: %2").arg(header.companyName, when);
}

QString colorText(int32_t rgb)
{
    const uint32_t c = static_cast<uint32_t>(rgb) & 0xFFFFFFu;
    return QStringLiteral("%1, %2, %3").arg(c & 0xFF).arg((c >> 8) & 0xFF).arg((c >> 16) & 0xFF);
}

Page page1(const ParameterSet& params, const Header& header)
{
    Page page;
    page << headingLine(header);
    page << Line{};
    if (!header.comment.isEmpty())
        page << Line{{kLabelColumn, Say::tr("Comment: %1").arg(header.comment)}};
    page << Line{};
    page << Line{{kLabelColumn, Say::tr("Firmware ID:")}, {kIdentColumn, header.firmwareID}};
    page << Line{};
    Sheet items;
    userDataItem(items, params);
    items.blank();
    page1Items(items, params);
    for (const Item& item : items.items())
        page << layout(item);
    return page;
}

Page page2(const ParameterSet& params, const Header& header)
{
    Page page;
    page << headingLine(header);
    page << Line{};
    Sheet items;
    page2Items(items, params);
    for (const Item& item : items.items())
        page << layout(item);
    return page;
}

QList<Page> pages(const ParameterSet& params, const Header& header)
{
    return {page1(params, header), page2(params, header)};
}

QString toPlainText(const Line& line)
{
    QString text;
    for (const Piece& piece : line) {
        const int start = qMax(piece.column - 1, 0);
        if (text.size() < start)
            text += QString(start - text.size(), QLatin1Char(' '));
        else if (!text.isEmpty())
            text += QLatin1Char(' ');  // a text running into the next column keeps a gap
        text += piece.text;
    }
    // Blanks at the end of a line carry nothing on paper; a terminal shows them as noise.
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

QString toPlainText(const QList<Page>& pageList)
{
    QStringList out;
    for (int i = 0; i < pageList.size(); ++i) {
        if (i > 0)
            out << QString();
        for (const Line& line : pageList[i])
            out << toPlainText(line);
    }
    return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QList<Entry> entries(const ParameterSet& params)
{
    Sheet items;
    userDataItem(items, params);
    page1Items(items, params);
    page2Items(items, params);
    QList<Entry> list;
    for (const Item& item : items.items())
        if (!item.entry.name.isEmpty())
            list << item.entry;
    return list;
}

}  // namespace report
