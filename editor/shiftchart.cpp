#include "editor/shiftchart.h"

#include "editor/colorvalue.h"

#include <QCoreApplication>
#include <QPainter>
#include <algorithm>

namespace {

constexpr int kGears = 5;
// A bar takes this share of its gear's slot; the rest is the gap between bars.
constexpr double kBarShare = 0.6;

}  // namespace

ShiftChartLayout shiftChartLayout(const ParameterSet& p, const QRectF& plot)
{
    const int shift[kGears] = {p.ShiftRPM1, p.ShiftRPM2, p.ShiftRPM3, p.ShiftRPM4, p.ShiftRPM5};
    const int speed[kGears] = {p.ShiftVSS1, p.ShiftVSS2, p.ShiftVSS3, p.ShiftVSS4, p.ShiftVSS5};

    ShiftChartLayout out;
    const int highest = std::max(int(p.LaunchRPM), *std::max_element(std::begin(shift), std::end(shift)));
    // Few enough grid lines to label them all in a small chart.
    const int step = highest < 8000 ? 1000 : highest < 16000 ? 2000 : 5000;
    out.topRPM = (std::max(highest, 0) / step + 1) * step;
    const auto y = [&](int rpm) {
        return plot.bottom() - plot.height() * std::clamp(rpm, 0, out.topRPM) / out.topRPM;
    };

    for (int rpm = 0; rpm <= out.topRPM; rpm += step)
        out.grid.append({y(rpm), QString::number(rpm)});

    const double slot = plot.width() / kGears;
    const double width = slot * kBarShare;
    for (int g = 0; g < kGears; ++g) {
        const double left = plot.left() + slot * g + (slot - width) / 2;
        ShiftChartLayout::Bar bar;
        bar.rect = QRectF(QPointF(left, y(shift[g])), QPointF(left + width, plot.bottom()));
        bar.rpm = shift[g];
        bar.gear = QString::number(g + 1);
        // Without gear detection the controller does not use the speeds, and the
        // table does not show them either.
        if (p.VSSGearDetect)
            bar.speed = QCoreApplication::translate("ShiftChart", "%1 MPH").arg(speed[g]);
        out.bars.append(bar);
    }
    out.launchY = y(p.LaunchRPM);
    out.launchRPM = p.LaunchRPM;
    return out;
}

QString shiftChartDescription(const ShiftChartLayout& chart)
{
    QStringList parts;
    for (const ShiftChartLayout::Bar& bar : chart.bars) {
        const QString rpm = QCoreApplication::translate("ShiftChart", "Gear %1: %2 RPM").arg(bar.gear).arg(bar.rpm);
        //: A gear's shift point and its minimum speed: "Gear 1: 6500 RPM, 30 MPH".
        parts << (bar.speed.isEmpty() ? rpm : QCoreApplication::translate("ShiftChart", "%1, %2").arg(rpm, bar.speed));
    }
    parts << QCoreApplication::translate("ShiftChart", "Launch: %1 RPM").arg(chart.launchRPM);
    return parts.join(QLatin1String("; "));
}

ShiftChart::ShiftChart(const ParameterSet& params, QWidget* parent) : QWidget(parent), m_params(params)
{
    setObjectName(QStringLiteral("shiftChart"));
    setToolTip(tr("Shift RPM per gear; the line is the launch RPM"));
    setAccessibleName(tr("Shift points"));
    refresh();
}

void ShiftChart::refresh()
{
    setAccessibleDescription(shiftChartDescription(shiftChartLayout(m_params, rect())));
    update();
}

QSize ShiftChart::sizeHint() const
{
    const QFontMetrics fm = fontMetrics();
    // Each gear's slot holds its speed with a little room on both sides.
    return {fm.horizontalAdvance(QStringLiteral("20000 ")) + 5 * fm.horizontalAdvance(QStringLiteral(" 255 MPH ")),
            fm.height() * 12};
}

QSize ShiftChart::minimumSizeHint() const
{
    const QFontMetrics fm = fontMetrics();
    // The speeds still fit side by side, and the grid keeps room between its labels.
    return {fm.horizontalAdvance(QStringLiteral("20000 ")) + 5 * fm.horizontalAdvance(QStringLiteral("255 MPH ")),
            fm.height() * 8};
}

void ShiftChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm = fontMetrics();
    const int labelWidth = fm.horizontalAdvance(QStringLiteral("20000 "));
    const int textLines = m_params.VSSGearDetect ? 2 : 1;
    const QRectF plot = QRectF(rect()).adjusted(labelWidth, fm.height() / 2.0, -4, -fm.height() * textLines - 4);
    const ShiftChartLayout chart = shiftChartLayout(m_params, plot);

    painter.fillRect(rect(), palette().base());
    const QColor text = palette().color(QPalette::Text);
    QColor gridColor = text;
    gridColor.setAlpha(50);
    for (const ShiftChartLayout::Grid& line : chart.grid) {
        painter.setPen(gridColor);
        painter.drawLine(QPointF(plot.left(), line.y), QPointF(plot.right(), line.y));
        painter.setPen(text);
        painter.drawText(QRectF(0, line.y - fm.height() / 2.0, labelWidth - 4, fm.height()),
                         Qt::AlignRight | Qt::AlignVCenter, line.label);
    }

    // Bars in the shift light's colour with a dark edge, so a black or white light
    // still shows its bars on the chart's background.
    painter.setBrush(colorFromValue(uint32_t(m_params.ShiftColor)));
    painter.setPen(QPen(text, 1));
    for (const ShiftChartLayout::Bar& bar : chart.bars) {
        painter.drawRect(bar.rect);
        const double slot = plot.width() / kGears;
        const QRectF under(bar.rect.center().x() - slot / 2, plot.bottom() + 2, slot, fm.height());
        painter.drawText(under, Qt::AlignCenter, bar.gear);
        if (!bar.speed.isEmpty())
            painter.drawText(under.translated(0, fm.height()), Qt::AlignCenter, bar.speed);
    }

    // The launch line in the launch light's colour over a dark one, for the same reason.
    const QLineF launch(plot.left(), chart.launchY, plot.right(), chart.launchY);
    painter.setPen(QPen(text, 4));
    painter.drawLine(launch);
    painter.setPen(QPen(colorFromValue(uint32_t(m_params.LaunchColor)), 2));
    painter.drawLine(launch);
    // On a patch of the background, so the bars under it do not hide it.
    //: The caption on the chart's launch RPM line.
    const QString caption = tr("Launch");
    QRectF label(0, 0, fm.horizontalAdvance(caption) + 4, fm.height());
    label.moveBottomRight(QPointF(plot.right(), chart.launchY - 3));
    painter.fillRect(label, palette().base());
    painter.setPen(text);
    painter.drawText(label, Qt::AlignCenter, caption);
}
