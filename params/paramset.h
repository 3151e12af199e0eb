#pragma once
// The controller's configuration while the program runs, in the units the
// controller stores (ticks, ADC counts, RPM/100, PWM duty). Editors convert on
// entry and display; the codec only splits values into bytes.
#include <QString>
#include <array>
#include <cstdint>

struct ParameterSet {
    // Main window
    int16_t PulsePerRev = 0;      // half pulses per revolution: 1 = 0.5, 24 = 12
    int16_t VSSFreq = 0;          // Hz at 60 MPH
    int16_t DataLogInterval = 0;  // data logger ticks (units.h)
    uint8_t OptionFlags = 0;      // image of the five switches; bits 5-7 carried over
    int16_t TPSZero = 0;          // ADC count
    int16_t TPSFullscale = 0;     // ADC count
    uint8_t RPMDebounce = 0;      // debounce steps (units.h)
    int32_t LaunchColor = 0;      // RGB, red in the low byte
    int32_t ShiftColor = 0;
    uint8_t MaxLEDPWM = 0;
    uint8_t MinLEDPWM = 0;
    int16_t LaunchRPM = 0;
    int16_t ShiftRPM1 = 0;
    int16_t ShiftRPM2 = 0;
    int16_t ShiftRPM3 = 0;
    int16_t ShiftRPM4 = 0;
    int16_t ShiftRPM5 = 0;
    int16_t ShiftVSS1 = 0;
    int16_t ShiftVSS2 = 0;
    int16_t ShiftVSS3 = 0;
    int16_t ShiftVSS4 = 0;
    int16_t ShiftVSS5 = 0;
    int16_t ShortShiftRPM = 0;
    int16_t ShiftDropRPM = 0;
    bool LogArmed = false;
    bool MultiStageShift = false;
    bool VSSGearDetect = false;
    QString UserData;

    // GPO
    bool GPOEnable = false;
    int16_t GPOMinRPM = 0;   // hundreds of RPM
    int16_t GPOMaxRPM = 0;   // hundreds of RPM
    int16_t GPOOffTPS = 0;   // ADC count
    int16_t GPOOnTPS = 0;    // ADC count
    int16_t GPOMinVSS = 0;
    int16_t GPOMaxVSS = 0;
    int16_t GPODelay = 0;    // delay ticks (units.h)
    uint8_t GPOFlags = 0;    // bit 0 one-shot; bits 1-7 carried over
    bool GPOOneShotDelay = false;
    float GPOOffTPSPercent = 0;  // not stored; derived from the count
    float GPOOnTPSPercent = 0;

    // VSS alarm
    bool AlarmVSSEnable = false;
    int16_t AlarmVSSMin = 0;
    int16_t AlarmVSSMax = 0;
    int32_t AlarmVSSColor = 0;

    // User-defined alarms
    uint8_t Alarm1Flags = 0;
    bool Alarm1Enable = false;
    bool Alarm1PressurePSI = false;
    uint8_t Alarm1Input = 0;
    int16_t Alarm1Above = 0;
    int16_t Alarm1Below = 0;
    int16_t Alarm1MinTPS = 0;
    float Alarm1MinTPSPercent = 0;
    int16_t Alarm1MinRPM = 0;   // hundreds of RPM
    int16_t Alarm1MinVSS = 0;
    int16_t Alarm1Delay = 0;    // delay ticks (units.h)
    int32_t Alarm1Color = 0;

    uint8_t Alarm2Flags = 0;
    bool Alarm2Enable = false;
    uint8_t Alarm2Input = 0;
    int16_t Alarm2Above = 0;
    int16_t Alarm2Below = 0;
    int16_t Alarm2MinTPS = 0;
    float Alarm2MinTPSPercent = 0;
    int16_t Alarm2MinRPM = 0;
    int16_t Alarm2MinVSS = 0;
    int16_t Alarm2Delay = 0;
    int32_t Alarm2Color = 0;

    bool operator==(const ParameterSet&) const = default;
};

// The controller's EEPROM as the program holds it; index = EEPROM address.
// Only addresses 16 to 159 hold the configuration.
constexpr int kImageSize = 512;
constexpr int kConfigFirst = 16;
constexpr int kConfigLast = 159;
constexpr int kConfigSize = kConfigLast - kConfigFirst + 1;  // 144
constexpr int kUserDataFirst = 128;
constexpr int kUserDataLength = 32;

struct ImageBuffer {
    std::array<uint8_t, kImageSize> EEPROMBuffer{};
    bool BufferEmpty = true;

    void ClearEEPROMBuffer();
    // The configuration block, offsets 16 to 159, as a file or the wire carries it.
    QByteArray configBlock() const;
    void setConfigBlock(const QByteArray& block);  // block holds at least 144 bytes
};

// Everything the windows share: one instance, owned by the application.
struct ParameterStore {
    ParameterSet params;
    ImageBuffer image;
    QString MainCaption;
    QString DataSourceName;
};
