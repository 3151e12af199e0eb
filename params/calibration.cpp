#include "params/calibration.h"

#include "params/numbers.h"
#include "params/units.h"

namespace calibration {

std::optional<int16_t> PercentToTPSCount(float percent, int16_t tpsZero, int16_t tpsFullscale)
{
    const int span = tpsFullscale - tpsZero;
    if (span < INT16_MIN || span > INT16_MAX)
        return std::nullopt;
    // The fraction, product and sum stay single precision, as the controller works the
    // count out: in double, 70 % of a 0 to 45 span is 31.4999... and rounds to 31, not 32.
    const float fraction = percent / 100.0f;
    const float product = fraction * static_cast<float>(span);
    const float sum = product + static_cast<float>(tpsZero);
    const double count = numbers::roundHalfEven(sum);
    if (!(count >= INT16_MIN && count <= INT16_MAX))
        return std::nullopt;
    return static_cast<int16_t>(count);
}

float TPSCountToPercent(int16_t count, int16_t tpsZero, int16_t tpsFullscale)
{
    if (tpsFullscale == tpsZero)
        return 0.0f;
    const int16_t delta = static_cast<int16_t>((count - tpsZero) * 100);
    const int16_t span = static_cast<int16_t>(tpsFullscale - tpsZero);
    return static_cast<float>(numbers::roundHalfEven(static_cast<double>(delta) / span));
}

double countToVolts(int count) { return count * units::kFullScaleVolts / units::kFullScaleCount; }

int16_t voltsToCount(double volts)
{
    return static_cast<int16_t>(numbers::roundHalfEven(volts * units::kFullScaleCount / units::kFullScaleVolts));
}

double shownSeconds(int ticks, double tickSeconds)
{
    return numbers::roundHalfEven(ticks * tickSeconds * 20.0) / 20.0;
}

namespace {
struct MapLine {
    float psiSlope, psiOffset, inHgSlope, inHgOffset;
};
// Pressure = slope x volts + offset for the 1, 2 and 3 bar sensors.
constexpr MapLine kMapLines[3] = {
    {2.739f, 1.499f, 5.577f, 3.051f},
    {5.802f, 1.16f, 11.81f, 2.362f},
    {9.122f, 0.161f, 18.57f, 0.3278f},
};

// The engineering values are worked out from single-precision volts, as the MAP
// constants above are single precision; the tenths shown come out the same in double.
float volts(int16_t count) { return static_cast<float>(countToVolts(count)); }
}  // namespace

float Alarm1Val(int16_t count, uint8_t alarm1Input, bool alarm1PressurePSI)
{
    const float v = volts(count);
    if (alarm1Input == InputWidebandAFR)
        return static_cast<float>(static_cast<double>(v) + v + 10.0);
    if (alarm1Input >= InputMAP1Bar && alarm1Input <= InputMAP3Bar) {
        const MapLine& line = kMapLines[alarm1Input - InputMAP1Bar];
        const float slope = alarm1PressurePSI ? line.psiSlope : line.inHgSlope;
        const float offset = alarm1PressurePSI ? line.psiOffset : line.inHgOffset;
        return slope * v + offset;
    }
    return v;
}

float Alarm2Val(int16_t count, uint8_t alarm2Input)
{
    const float v = volts(count);
    if (alarm2Input == InputWidebandAFR)
        return static_cast<float>(static_cast<double>(v) + v + 10.0);
    return v;
}

const char* alarmUnitLabel(uint8_t input, bool pressurePSI)
{
    if (input == InputWidebandAFR)
        return "AFR";
    if (input >= InputMAP1Bar && input <= InputMAP3Bar)
        return pressurePSI ? "psi" : "In-Hg";
    return "";
}

}  // namespace calibration
