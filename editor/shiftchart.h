#pragma once
// The multi-stage shift points as a picture: one bar per gear from 0 to its shift
// RPM, the launch RPM as a line across, each gear's minimum speed under its bar.
// A gear typed wrong (6500 as 65000 clamped to 20000, 6500 as 650) stands out at a
// glance. What to draw is worked out by shiftChartLayout, apart from the painting,
// so it can be checked without a screen.
#include "params/paramset.h"

#include <QList>
#include <QRectF>
#include <QString>
#include <QWidget>

struct ShiftChartLayout {
    struct Bar {
        QRectF rect;    // from the bottom of the plot up to the shift RPM
        int rpm = 0;    // the shift RPM as stored, also where the scale holds the bar
        QString gear;   // "1" ... "5", under the bar
        QString speed;  // "30 MPH" under the gear; empty without gear detection
    };
    struct Grid {
        double y;
        QString label;  // the RPM, at the left of the line
    };
    int topRPM = 0;   // the RPM at the top of the plot
    QList<Bar> bars;  // gear 1 first
    QList<Grid> grid; // from the bottom up, 0 included
    double launchY = 0;
    int launchRPM = 0;
};

// The chart of `p` in `plot`: a scale in whole steps of 1000, 2000 or 5000 RPM with
// a step of headroom above the highest of the shift and launch points, five bars
// spread evenly, and values outside the scale held at its ends.
ShiftChartLayout shiftChartLayout(const ParameterSet& p, const QRectF& plot);

// The chart in words, gear by gear, for a screen reader: "Gear 1: 6500 RPM, 30 MPH; ...;
// Launch: 4000 RPM".
QString shiftChartDescription(const ShiftChartLayout& chart);

// Paints the chart of the parameters it is given; it reads them at every paint.
class ShiftChart : public QWidget {
    Q_OBJECT
public:
    explicit ShiftChart(const ParameterSet& params, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // After a change of the parameters: paints again and tells a screen reader.
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ParameterSet& m_params;
};
