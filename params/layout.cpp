#include "params/layout.h"

namespace layout {

int Member::get(const ParameterSet& p) const
{
    if (m_i16)
        return p.*m_i16;
    if (m_u8)
        return p.*m_u8;
    return p.*m_i32;
}

void Member::set(ParameterSet& p, int value) const
{
    if (m_i16)
        p.*m_i16 = static_cast<int16_t>(value);
    else if (m_u8)
        p.*m_u8 = static_cast<uint8_t>(value);
    else
        p.*m_i32 = value;
}

int Field::width() const
{
    switch (encoding) {
    case Encoding::Word:
        return 2;
    case Encoding::Colour:
        return 3;
    default:
        return 1;
    }
}

namespace {
using P = ParameterSet;
using E = Encoding;
}  // namespace

const std::vector<Field>& fields()
{
    static const std::vector<Field> table = {
        {"PulsePerRev", 16, E::Byte, &P::PulsePerRev},
        {"VSSFreq", 17, E::Word, &P::VSSFreq},
        {"DataLogInterval", 19, E::Byte, &P::DataLogInterval},
        {"OptionFlags", 20, E::Flags, &P::OptionFlags},
        {"TPSZero", 21, E::Byte, &P::TPSZero},
        {"TPSFullscale", 22, E::Byte, &P::TPSFullscale},
        {"RPMDebounce", 23, E::Copied, &P::RPMDebounce},
        {"LaunchColor", 24, E::Colour, &P::LaunchColor},
        {"ShiftColor", 27, E::Colour, &P::ShiftColor},
        {"MaxLEDPWM", 30, E::Copied, &P::MaxLEDPWM},
        {"MinLEDPWM", 31, E::Copied, &P::MinLEDPWM},
        {"LaunchRPM", 32, E::Word, &P::LaunchRPM},
        {"ShiftRPM1", 34, E::Word, &P::ShiftRPM1},
        {"ShiftRPM2", 36, E::Word, &P::ShiftRPM2},
        {"ShiftRPM3", 38, E::Word, &P::ShiftRPM3},
        {"ShiftRPM4", 40, E::Word, &P::ShiftRPM4},
        {"ShiftRPM5", 42, E::Word, &P::ShiftRPM5},
        {"ShiftVSS1", 44, E::Byte, &P::ShiftVSS1},
        {"ShiftVSS2", 45, E::Byte, &P::ShiftVSS2},
        {"ShiftVSS3", 46, E::Byte, &P::ShiftVSS3},
        {"ShiftVSS4", 47, E::Byte, &P::ShiftVSS4},
        {"ShiftVSS5", 48, E::Byte, &P::ShiftVSS5},
        {"ShortShiftRPM", 49, E::Word, &P::ShortShiftRPM},
        {"ShiftDropRPM", 51, E::Word, &P::ShiftDropRPM},
        {"GPOMinRPM", 64, E::Byte, &P::GPOMinRPM},
        {"GPOMaxRPM", 65, E::Byte, &P::GPOMaxRPM},
        {"GPOOffTPS", 66, E::Byte, &P::GPOOffTPS},
        {"GPOOnTPS", 67, E::Byte, &P::GPOOnTPS},
        {"GPOMinVSS", 68, E::Byte, &P::GPOMinVSS},
        {"GPOMaxVSS", 69, E::Byte, &P::GPOMaxVSS},
        {"GPODelay", 70, E::Byte, &P::GPODelay},
        {"GPOFlags", 71, E::Flags, &P::GPOFlags},
        {"AlarmVSSMin", 80, E::Byte, &P::AlarmVSSMin},
        {"AlarmVSSMax", 81, E::Byte, &P::AlarmVSSMax},
        {"AlarmVSSColor", 82, E::Colour, &P::AlarmVSSColor},
        {"Alarm1Flags", 96, E::FreshFlags, &P::Alarm1Flags},
        {"Alarm1Input", 97, E::Copied, &P::Alarm1Input},
        {"Alarm1Above", 98, E::Byte, &P::Alarm1Above},
        {"Alarm1Below", 99, E::Byte, &P::Alarm1Below},
        {"Alarm1MinTPS", 100, E::Byte, &P::Alarm1MinTPS},
        {"Alarm1MinRPM", 101, E::Byte, &P::Alarm1MinRPM},
        {"Alarm1MinVSS", 102, E::Byte, &P::Alarm1MinVSS},
        {"Alarm1Delay", 103, E::Byte, &P::Alarm1Delay},
        {"Alarm1Color", 104, E::Colour, &P::Alarm1Color},
        {"Alarm2Flags", 112, E::FreshFlags, &P::Alarm2Flags},
        {"Alarm2Input", 113, E::Copied, &P::Alarm2Input},
        {"Alarm2Above", 114, E::Byte, &P::Alarm2Above},
        {"Alarm2Below", 115, E::Byte, &P::Alarm2Below},
        {"Alarm2MinTPS", 116, E::Byte, &P::Alarm2MinTPS},
        {"Alarm2MinRPM", 117, E::Byte, &P::Alarm2MinRPM},
        {"Alarm2MinVSS", 118, E::Byte, &P::Alarm2MinVSS},
        {"Alarm2Delay", 119, E::Byte, &P::Alarm2Delay},
        {"Alarm2Color", 120, E::Colour, &P::Alarm2Color},
    };
    return table;
}

const std::vector<FlagBit>& flagBits()
{
    static const std::vector<FlagBit> table = {
        {"GPOEnable", &P::OptionFlags, bits::GPOEnable, &P::GPOEnable},
        {"LogArmed", &P::OptionFlags, bits::LogArmed, &P::LogArmed},
        {"AlarmVSSEnable", &P::OptionFlags, bits::AlarmVSSEnable, &P::AlarmVSSEnable},
        {"MultiStageShift", &P::OptionFlags, bits::MultiStageShift, &P::MultiStageShift},
        {"VSSGearDetect", &P::OptionFlags, bits::VSSGearDetect, &P::VSSGearDetect},
        {"GPOOneShotDelay", &P::GPOFlags, bits::GPOOneShotDelay, &P::GPOOneShotDelay},
        {"Alarm1Enable", &P::Alarm1Flags, bits::AlarmEnable, &P::Alarm1Enable},
        {"Alarm1PressurePSI", &P::Alarm1Flags, bits::Alarm1PressurePSI, &P::Alarm1PressurePSI},
        {"Alarm2Enable", &P::Alarm2Flags, bits::AlarmEnable, &P::Alarm2Enable},
    };
    return table;
}

const Field* field(const char* name)
{
    for (const Field& f : fields())
        if (qstrcmp(f.name, name) == 0)
            return &f;
    return nullptr;
}

const FlagBit* flagBit(const char* name)
{
    for (const FlagBit& b : flagBits())
        if (qstrcmp(b.name, name) == 0)
            return &b;
    return nullptr;
}

QString nameAt(int offset)
{
    if (offset >= kUserDataFirst && offset < kUserDataFirst + kUserDataLength)
        return QStringLiteral("UserData");
    for (const Field& f : fields())
        if (offset >= f.offset && offset < f.offset + f.width())
            return QLatin1String(f.name);
    return QStringLiteral("reserved");
}

}  // namespace layout
