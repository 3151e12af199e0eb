#pragma once
// Conversions between user units and the controller's stored units that more than
// one editor needs: the TPS calibration and the user alarm value scaling.
#include <cstdint>
#include <optional>

namespace calibration {

// Throttle percent to TPS count against the current calibration. The span is a
// 16-bit difference, the rest single precision, then rounded half to even. Empty
// when the span or the count does not fit a 16-bit signed number.
std::optional<int16_t> PercentToTPSCount(float percent, int16_t tpsZero, int16_t tpsFullscale);

// TPS count to throttle percent, rounded half to even; 0 when the span is 0.
// Not clamped: a count below zero throttle gives a negative percent.
float TPSCountToPercent(int16_t count, int16_t tpsZero, int16_t tpsFullscale);

// ADC count (0-255 for 0-5 V) to volts and back; the count is rounded half to even.
double countToVolts(int count);
int16_t voltsToCount(double volts);

// A tick count as seconds to the nearest 0.05 s, as every delay and interval shows.
double shownSeconds(int ticks, double tickSeconds);

// Alarm input types.
enum AlarmInput : uint8_t { InputAnalog = 0, InputWidebandAFR = 1, InputMAP1Bar = 2, InputMAP2Bar = 3, InputMAP3Bar = 4 };

// A threshold count in the engineering unit of the alarm's input: volts for the
// plain input, air/fuel ratio for wide-band, pressure (psi or In-Hg) for MAP.
float Alarm1Val(int16_t count, uint8_t alarm1Input, bool alarm1PressurePSI);
// Alarm 2 has no MAP inputs: any code but wide-band gives volts.
float Alarm2Val(int16_t count, uint8_t alarm2Input);

// The unit label beside an alarm's engineering value ("" for the plain input).
const char* alarmUnitLabel(uint8_t input, bool pressurePSI);

}  // namespace calibration
