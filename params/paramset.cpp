#include "params/paramset.h"

#include <QByteArray>
#include <tuple>

namespace {
auto tied(const ParameterSet& p)
{
    return std::tie(p.PulsePerRev, p.VSSFreq, p.DataLogInterval, p.OptionFlags, p.TPSZero, p.TPSFullscale,
                    p.RPMDebounce, p.LaunchColor, p.ShiftColor, p.MaxLEDPWM, p.MinLEDPWM, p.LaunchRPM,
                    p.ShiftRPM1, p.ShiftRPM2, p.ShiftRPM3, p.ShiftRPM4, p.ShiftRPM5, p.ShiftVSS1, p.ShiftVSS2,
                    p.ShiftVSS3, p.ShiftVSS4, p.ShiftVSS5, p.ShortShiftRPM, p.ShiftDropRPM, p.LogArmed,
                    p.MultiStageShift, p.VSSGearDetect, p.UserData, p.GPOEnable, p.GPOMinRPM, p.GPOMaxRPM,
                    p.GPOOffTPS, p.GPOOnTPS, p.GPOMinVSS, p.GPOMaxVSS, p.GPODelay, p.GPOFlags, p.GPOOneShotDelay,
                    p.GPOOffTPSPercent, p.GPOOnTPSPercent, p.AlarmVSSEnable, p.AlarmVSSMin, p.AlarmVSSMax,
                    p.AlarmVSSColor, p.Alarm1Flags, p.Alarm1Enable, p.Alarm1PressurePSI, p.Alarm1Input,
                    p.Alarm1Above, p.Alarm1Below, p.Alarm1MinTPS, p.Alarm1MinTPSPercent, p.Alarm1MinRPM,
                    p.Alarm1MinVSS, p.Alarm1Delay, p.Alarm1Color, p.Alarm2Flags, p.Alarm2Enable, p.Alarm2Input,
                    p.Alarm2Above, p.Alarm2Below, p.Alarm2MinTPS, p.Alarm2MinTPSPercent, p.Alarm2MinRPM,
                    p.Alarm2MinVSS, p.Alarm2Delay, p.Alarm2Color);
}
}  // namespace

bool ParameterSet::operator==(const ParameterSet& o) const { return tied(*this) == tied(o); }

void ImageBuffer::ClearEEPROMBuffer()
{
    EEPROMBuffer.fill(0);
    BufferEmpty = true;
}

QByteArray ImageBuffer::configBlock() const
{
    return QByteArray(reinterpret_cast<const char*>(EEPROMBuffer.data()) + kConfigFirst, kConfigSize);
}

void ImageBuffer::setConfigBlock(const QByteArray& block)
{
    for (int i = 0; i < kConfigSize && i < block.size(); ++i)
        EEPROMBuffer[kConfigFirst + i] = static_cast<uint8_t>(block[i]);
}
