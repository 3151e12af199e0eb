#include "report/content.h"

#include "params/calibration.h"
#include "params/codec.h"
#include "params/layout.h"
#include "params/numbers.h"
#include "params/units.h"

namespace report {

namespace {

using numbers::format;
using numbers::roundHalfEven;

enum class Shape { Blank, Heading, Switch, Ident, Parameter };

// One line of a page before layout; lines that show a parameter carry its entry.
struct Item {
    Shape shape = Shape::Blank;
    Entry entry;  // heading: entry.value holds the text
};

QList<int> span(int first, int count)
{
    QList<int> list;
    for (int i = 0; i < count; ++i)
        list << first + i;
    return list;
}

Item blank() { return Item{}; }

Item heading(const QString& text)
{
    Item i;
    i.shape = Shape::Heading;
    i.entry.value = text;
    return i;
}

// The image bytes a stored parameter takes.
QList<int> offsetsOf(const QString& stored)
{
    const layout::Field* f = layout::field(stored.toLatin1().constData());
    return f ? span(f->offset, f->width()) : QList<int>();
}

// A switch's line, named "<flag byte>.<Boolean>" after the bit it shows.
Item switchLine(const QString& flagsName, const QString& bitName, bool on, const QString& whenOn,
                const QString& whenOff)
{
    Item i;
    i.shape = Shape::Switch;
    i.entry.name = flagsName + QLatin1Char('.') + bitName;
    i.entry.value = on ? whenOn : whenOff;
    i.entry.offsets = offsetsOf(flagsName);
    const layout::FlagBit* bit = layout::flagBit(bitName.toLatin1().constData());
    i.entry.bits = bit ? bit->mask : 0;
    return i;
}

// `stored` names the parameter the bytes belong to when the report shows a derived
// value (a throttle percent for its count).
Item parameter(const QString& name, const QString& label, const QString& value, const QString& stored = QString())
{
    Item i;
    i.shape = Shape::Parameter;
    i.entry.name = name;
    i.entry.label = label;
    i.entry.value = value;
    i.entry.offsets = offsetsOf(stored.isEmpty() ? name : stored);
    return i;
}

// Seconds of a delay or interval to the nearest 0.05 s.
QString ticksText(double tickSeconds, int ticks)
{
    return format(calibration::shownSeconds(ticks, tickSeconds), QStringLiteral("0.00"));
}

// Threshold volts rounded to one decimal (half to even), then printed.
QString thresholdVolts(int count)
{
    return format(roundHalfEven(calibration::countToVolts(count) * 10.0) / 10.0, QStringLiteral("0.0"));
}

QString percentOfPwm(int pwm) { return format(units::pwmToPercent(pwm), QStringLiteral("##0")); }

QList<Item> page1Items(const ParameterSet& p)
{
    const QString rpm = QStringLiteral("####0"), mph = QStringLiteral("##0");
    QList<Item> items;
    items << heading(QStringLiteral("Scale Factors and General Setup"));
    items << parameter("PulsePerRev", "RPM Pulses/Rev:", format(p.PulsePerRev / units::kHalfPulsesPerPulse, "0.0"));
    items << parameter("RPMDebounce", "RPM Debounce Time:", format(p.RPMDebounce / units::kDebounceStepsPerMs, "0.00"));
    items << parameter("VSSFreq", "VSS Frequency (Hz) at 60 MPH:", format(p.VSSFreq, "###0"));
    items << parameter("TPSZero", "Zero TPS (volts):", format(calibration::countToVolts(p.TPSZero), "0.#"));
    items << parameter("TPSFullscale", "100% TPS (volts):", format(calibration::countToVolts(p.TPSFullscale), "0.#"));
    items << parameter("DataLogInterval", "Data Logging Interval (sec):",
                       ticksText(units::kLogTickSeconds, p.DataLogInterval));
    items << switchLine("OptionFlags", "LogArmed", p.LogArmed, "Data Logging Only When Armed",
                        "Continuous Data Logging Enabled");
    items << parameter("MinLEDPWM", "Minimum LED Brightness:", percentOfPwm(p.MinLEDPWM));
    items << parameter("MaxLEDPWM", "Maximum LED Brightness:", percentOfPwm(p.MaxLEDPWM));
    items << blank();

    items << heading(QStringLiteral("Shift Light Setup"));
    items << switchLine("OptionFlags", "MultiStageShift", p.MultiStageShift, "Multi-Stage Shift Light Enabled",
                        "Multi-Stage Shift Light Disabled");
    items << switchLine("OptionFlags", "VSSGearDetect", p.VSSGearDetect, "VSS Based Gear Detection Enabled",
                        "VSS Based Gear Detection Disabled");
    items << parameter("LaunchColor", "Launch Light Color (RGB):", colorText(p.LaunchColor));
    items << parameter("ShiftColor", "Shift Light Color (RGB):", colorText(p.ShiftColor));
    items << parameter("LaunchRPM", "Launch RPM:", format(p.LaunchRPM, rpm));
    const int16_t shift[] = {p.ShiftRPM1, p.ShiftRPM2, p.ShiftRPM3, p.ShiftRPM4, p.ShiftRPM5};
    for (int g = 0; g < 5; ++g)
        items << parameter(QStringLiteral("ShiftRPM%1").arg(g + 1), QStringLiteral("Gear %1 Shift RPM:").arg(g + 1),
                           format(shift[g], rpm));
    items << parameter("ShortShiftRPM", "Short Shift Window (RPM):", format(p.ShortShiftRPM, rpm));
    items << parameter("ShiftDropRPM", "Minimum Shift Drop (RPM):", format(p.ShiftDropRPM, rpm));
    const int16_t vss[] = {p.ShiftVSS1, p.ShiftVSS2, p.ShiftVSS3, p.ShiftVSS4, p.ShiftVSS5};
    for (int g = 0; g < 5; ++g)
        items << parameter(QStringLiteral("ShiftVSS%1").arg(g + 1),
                           QStringLiteral("Gear %1 Minimum VSS (MPH):").arg(g + 1), format(vss[g], mph));
    items << blank();

    items << heading(QStringLiteral("GPO Parameters"));
    items << switchLine("OptionFlags", "GPOEnable", p.GPOEnable, "GPO Enabled", "GPO Disabled");
    items << parameter("GPOMinRPM", "GPO Minimum RPM:", format(p.GPOMinRPM * units::kRpmPerStep, rpm));
    items << parameter("GPOMaxRPM", "GPO Maximum RPM:", format(p.GPOMaxRPM * units::kRpmPerStep, rpm));
    // The percents as last derived; the report does not recompute them from the counts.
    items << parameter("GPOOffTPSPercent", "GPO TPS Off (%):", format(p.GPOOffTPSPercent, mph), "GPOOffTPS");
    items << parameter("GPOOnTPSPercent", "GPO TPS On (%):", format(p.GPOOnTPSPercent, mph), "GPOOnTPS");
    items << parameter("GPOMinVSS", "GPO Minimum VSS (MPH):", format(p.GPOMinVSS, mph));
    items << parameter("GPOMaxVSS", "GPO Maximum VSS (MPH):", format(p.GPOMaxVSS, mph));
    items << parameter("GPODelay", "GPO Delay (sec):", ticksText(units::kDelayTickSeconds, p.GPODelay));
    items << switchLine("GPOFlags", "GPOOneShotDelay", p.GPOOneShotDelay, "GPO One-Shot Delay Enabled",
                        "GPO One-Shot Delay Disabled");
    items << blank();

    items << heading(QStringLiteral("VSS (Speed) Alarm Parameters"));
    items << switchLine("OptionFlags", "AlarmVSSEnable", p.AlarmVSSEnable, "VSS Alarm Enabled", "VSS Alarm Disabled");
    items << parameter("AlarmVSSColor", "VSS Alarm Color (RGB):", colorText(p.AlarmVSSColor));
    items << parameter("AlarmVSSMin", "Alarm Minimum VSS (MPH):", format(p.AlarmVSSMin, mph));
    items << parameter("AlarmVSSMax", "Alarm Maximum VSS (MPH):", format(p.AlarmVSSMax, mph));
    return items;
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

QList<Item> alarmItems(const AlarmView& a, const ParameterSet& p)
{
    const QString pre = QStringLiteral("Alarm %1 ").arg(a.n);
    const QString var = QStringLiteral("Alarm%1").arg(a.n);
    QList<Item> items;
    items << heading(pre + "Parameters");
    items << switchLine(var + "Flags", var + "Enable", a.enable, pre + "Enabled", pre + "Disabled");
    items << parameter(var + "Color", pre + "Color (RGB):", colorText(a.color));
    Item input;
    input.shape = Shape::Switch;
    input.entry.name = var + "Input";
    input.entry.offsets = offsetsOf(input.entry.name);
    if (a.n == 1) {
        static const char* const names[] = {"Analog 0-5V", "AFR", "MAP 1 bar", "MAP 2 bar"};
        input.entry.value = pre + (a.input < 4 ? names[a.input] : "MAP 3 bar") + " Input";
    } else {
        input.entry.value = pre + (a.input == 0 ? "Analog 0-5V" : "AFR") + " Input";
    }
    items << input;
    if (a.n == 1)
        items << switchLine("Alarm1Flags", "Alarm1PressurePSI", p.Alarm1PressurePSI, "Alarm 1 psi MAP units",
                            "Alarm 1 In-HG MAP units");
    items << parameter(var + "Above", pre + "Above Value (volts):", thresholdVolts(a.above));
    items << parameter(var + "Below", pre + "Below Value (volts):", thresholdVolts(a.below));
    items << parameter(var + "MinTPSPercent", pre + "Minimum TPS (%):", format(a.minTPSPercent, "##0"), var + "MinTPS");
    items << parameter(var + "MinRPM", pre + "Minimum RPM:", format(a.minRPM * units::kRpmPerStep, "####0"));
    items << parameter(var + "MinVSS", pre + "Minimum VSS (MPH):", format(a.minVSS, "##0"));
    items << parameter(var + "Delay", pre + "Delay (sec):", ticksText(units::kDelayTickSeconds, a.delay));
    return items;
}

QList<Item> page2Items(const ParameterSet& p)
{
    QList<Item> items;
    items << alarmItems({1, p.Alarm1Enable, p.Alarm1Color, p.Alarm1Input, p.Alarm1Above, p.Alarm1Below,
                         p.Alarm1MinTPSPercent, p.Alarm1MinRPM, p.Alarm1MinVSS, p.Alarm1Delay},
                        p);
    items << blank();
    items << alarmItems({2, p.Alarm2Enable, p.Alarm2Color, p.Alarm2Input, p.Alarm2Above, p.Alarm2Below,
                         p.Alarm2MinTPSPercent, p.Alarm2MinRPM, p.Alarm2MinVSS, p.Alarm2Delay},
                        p);
    return items;
}

Line layout(const Item& item)
{
    switch (item.shape) {
    case Shape::Blank:
        return {};
    case Shape::Heading:
    case Shape::Switch:
        return {{kLabelColumn, item.entry.value}};
    case Shape::Ident:
        return {{kLabelColumn, item.entry.label}, {kIdentColumn, item.entry.value}};
    case Shape::Parameter:
        return {{kLabelColumn, item.entry.label}, {kValueColumn, item.entry.value}};
    }
    return {};
}

Line headingLine(const Header& header) { return {{kLabelColumn, headingText(header)}}; }

Item userData(const ParameterSet& p)
{
    Item i;
    i.shape = Shape::Ident;
    i.entry.name = QStringLiteral("UserData");
    i.entry.label = QStringLiteral("User Data:");
    i.entry.value = p.UserData;
    i.entry.offsets = span(kUserDataFirst, kUserDataLength);
    return i;
}

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
    return header.companyName + QStringLiteral(" Controller Data Printed: ") + when;
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
        page << Line{{kLabelColumn, QStringLiteral("Comment: ") + header.comment}};
    page << Line{};
    page << Line{{kLabelColumn, QStringLiteral("Firmware ID:")}, {kIdentColumn, header.firmwareID}};
    page << Line{};
    // Printed as the window shows the text, whichever path prints it.
    Item text = userData(params);
    text.entry.value = shownUserText(text.entry.value);
    page << layout(text);
    page << Line{};
    for (const Item& item : page1Items(params))
        page << layout(item);
    return page;
}

Page page2(const ParameterSet& params, const Header& header)
{
    Page page;
    page << headingLine(header);
    page << Line{};
    for (const Item& item : page2Items(params))
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
    QList<Entry> list;
    list << userData(params).entry;
    const QList<Item> items = page1Items(params) + page2Items(params);
    for (const Item& item : items)
        if (!item.entry.name.isEmpty())
            list << item.entry;
    return list;
}

}  // namespace report
