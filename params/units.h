#pragma once
// The controller's stored units. Each scale is named here once; the field rules, the
// TPS calibration, the alarm scaling and the report read it from here. Rounding is
// left to the caller: a field floors or rounds half to even, a report line rounds as
// it prints.

namespace units {

// The controller's timers: the data logger counts 16 ms ticks, the alarm and GPO
// delays 32 ms ticks.
inline constexpr double kLogTickSeconds = 0.016;
inline constexpr double kDelayTickSeconds = 0.032;

// The ADC reads 0 to 5 V as counts 0 to 255.
inline constexpr int kFullScaleCount = 255;
inline constexpr double kFullScaleVolts = 5.0;

// RPM debounce is counted in steps of 0.05 ms.
inline constexpr double kDebounceStepsPerMs = 20.0;

// LED brightness is a PWM duty of 0 to 255 for 0 to 100 %.
inline constexpr int kFullPwm = 255;

// The GPO and alarm RPM thresholds are stored in hundreds of RPM.
inline constexpr int kRpmPerStep = 100;

// Pulses per revolution are stored in half pulses.
inline constexpr double kHalfPulsesPerPulse = 2.0;

// Multiplied first, then divided: (percent x 255) / 100 gives a different double from
// percent / 100 x 255 for 1 %, 0.9 % and many more, and these feed rounding ties.
constexpr double pwmToPercent(int pwm) { return pwm * 100.0 / kFullPwm; }
constexpr double percentToPwm(double percent) { return percent * kFullPwm / 100.0; }

}  // namespace units
