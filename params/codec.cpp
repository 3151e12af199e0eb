#include "params/codec.h"

#include "params/calibration.h"

#include <vector>

QString CodecResult::message() const
{
    if (ok)
        return QString();
    return QStringLiteral("Overflow: %1 at image offset %2 does not fit (value %3). "
                          "The data was left unchanged; correct the value or use another file.")
        .arg(parameter)
        .arg(offset)
        .arg(value);
}

namespace {

CodecResult failure(const char* name, int offset, int value)
{
    CodecResult r;
    r.ok = false;
    r.parameter = QLatin1String(name);
    r.offset = offset;
    r.value = value;
    return r;
}

// One value bound for the image: where it goes, how wide, where it comes from.
struct Field {
    const char* name;
    int offset;
    int width;  // 1 or 2 bytes
    int value;
};

void setBit(uint8_t& flags, int bit, bool on)
{
    if (on)
        flags = static_cast<uint8_t>(flags | (1u << bit));
    else
        flags = static_cast<uint8_t>(flags & ~(1u << bit));
}

void putColor(ImageBuffer& image, int offset, int32_t c)
{
    image.EEPROMBuffer[offset] = static_cast<uint8_t>(c & 255);
    image.EEPROMBuffer[offset + 1] = static_cast<uint8_t>((c & 65535) / 256);
    image.EEPROMBuffer[offset + 2] = static_cast<uint8_t>((c & 16777215) / 65536);
}

int32_t getColor(const ImageBuffer& image, int offset)
{
    const auto& b = image.EEPROMBuffer;
    return b[offset] + 256 * b[offset + 1] + 65536 * b[offset + 2];
}

int word(const ImageBuffer& image, int offset)
{
    return image.EEPROMBuffer[offset] + 256 * image.EEPROMBuffer[offset + 1];
}

}  // namespace

CodecResult UpdateEEPROM(ParameterSet& p, ImageBuffer& image)
{
    // The GPO needs the general purpose input, which multi-stage mode without gear
    // detection takes for itself: the parameter itself is switched off, not just the image.
    const bool gpoEnable = (p.MultiStageShift && !p.VSSGearDetect) ? false : p.GPOEnable;

    const std::vector<Field> fields = {
        {"PulsePerRev", 16, 1, p.PulsePerRev},
        {"VSSFreq", 17, 2, p.VSSFreq},
        {"DataLogInterval", 19, 1, p.DataLogInterval},
        {"TPSZero", 21, 1, p.TPSZero},
        {"TPSFullscale", 22, 1, p.TPSFullscale},
        {"LaunchRPM", 32, 2, p.LaunchRPM},
        {"ShiftRPM1", 34, 2, p.ShiftRPM1},
        {"ShiftRPM2", 36, 2, p.ShiftRPM2},
        {"ShiftRPM3", 38, 2, p.ShiftRPM3},
        {"ShiftRPM4", 40, 2, p.ShiftRPM4},
        {"ShiftRPM5", 42, 2, p.ShiftRPM5},
        {"ShiftVSS1", 44, 1, p.ShiftVSS1},
        {"ShiftVSS2", 45, 1, p.ShiftVSS2},
        {"ShiftVSS3", 46, 1, p.ShiftVSS3},
        {"ShiftVSS4", 47, 1, p.ShiftVSS4},
        {"ShiftVSS5", 48, 1, p.ShiftVSS5},
        {"ShortShiftRPM", 49, 2, p.ShortShiftRPM},
        {"ShiftDropRPM", 51, 2, p.ShiftDropRPM},
        {"GPOMinRPM", 64, 1, p.GPOMinRPM},
        {"GPOMaxRPM", 65, 1, p.GPOMaxRPM},
        {"GPOOffTPS", 66, 1, p.GPOOffTPS},
        {"GPOOnTPS", 67, 1, p.GPOOnTPS},
        {"GPOMinVSS", 68, 1, p.GPOMinVSS},
        {"GPOMaxVSS", 69, 1, p.GPOMaxVSS},
        {"GPODelay", 70, 1, p.GPODelay},
        {"AlarmVSSMin", 80, 1, p.AlarmVSSMin},
        {"AlarmVSSMax", 81, 1, p.AlarmVSSMax},
        {"Alarm1Above", 98, 1, p.Alarm1Above},
        {"Alarm1Below", 99, 1, p.Alarm1Below},
        {"Alarm1MinTPS", 100, 1, p.Alarm1MinTPS},
        {"Alarm1MinRPM", 101, 1, p.Alarm1MinRPM},
        {"Alarm1MinVSS", 102, 1, p.Alarm1MinVSS},
        {"Alarm1Delay", 103, 1, p.Alarm1Delay},
        {"Alarm2Above", 114, 1, p.Alarm2Above},
        {"Alarm2Below", 115, 1, p.Alarm2Below},
        {"Alarm2MinTPS", 116, 1, p.Alarm2MinTPS},
        {"Alarm2MinRPM", 117, 1, p.Alarm2MinRPM},
        {"Alarm2MinVSS", 118, 1, p.Alarm2MinVSS},
        {"Alarm2Delay", 119, 1, p.Alarm2Delay},
    };

    // Check everything before writing anything: a value that does not fit must not
    // leave a half-written image behind.
    for (const Field& f : fields) {
        const int max = f.width == 1 ? 255 : 32767;
        if (f.value < 0 || f.value > max)
            return failure(f.name, f.offset, f.value);
    }

    p.GPOEnable = gpoEnable;
    setBit(p.OptionFlags, 0, p.GPOEnable);
    setBit(p.OptionFlags, 1, p.LogArmed);
    setBit(p.OptionFlags, 2, p.AlarmVSSEnable);
    setBit(p.OptionFlags, 3, p.MultiStageShift);
    setBit(p.OptionFlags, 4, p.VSSGearDetect);
    setBit(p.GPOFlags, 0, p.GPOOneShotDelay);
    // The alarm flag bytes carry nothing over: they are rebuilt from scratch.
    p.Alarm1Flags = static_cast<uint8_t>((p.Alarm1Enable ? 1 : 0) | (p.Alarm1PressurePSI ? 2 : 0));
    p.Alarm2Flags = static_cast<uint8_t>(p.Alarm2Enable ? 1 : 0);

    auto& b = image.EEPROMBuffer;
    for (const Field& f : fields) {
        b[f.offset] = static_cast<uint8_t>(f.value & 255);
        if (f.width == 2)
            b[f.offset + 1] = static_cast<uint8_t>(f.value / 256);
    }
    b[20] = p.OptionFlags;
    b[23] = p.RPMDebounce;
    putColor(image, 24, p.LaunchColor);
    putColor(image, 27, p.ShiftColor);
    b[30] = p.MaxLEDPWM;
    b[31] = p.MinLEDPWM;
    b[71] = p.GPOFlags;
    putColor(image, 82, p.AlarmVSSColor);
    b[96] = p.Alarm1Flags;
    b[97] = p.Alarm1Input;
    putColor(image, 104, p.Alarm1Color);
    b[112] = p.Alarm2Flags;
    b[113] = p.Alarm2Input;
    putColor(image, 120, p.Alarm2Color);

    // The user text: one byte per character, padded with spaces, the first 32 kept.
    // The window only lets printable ASCII in; anything else becomes '?' rather than
    // a byte the controller would show as garbage.
    const QByteArray text = p.UserData.toLatin1();
    for (int i = 0; i < kUserDataLength; ++i)
        b[kUserDataFirst + i] = i < text.size() ? static_cast<uint8_t>(text[i]) : 32;
    return {};
}

namespace {
const struct {
    const char* name;
    int offset;
} kWords[] = {
    {"VSSFreq", 17},       {"LaunchRPM", 32},     {"ShiftRPM1", 34}, {"ShiftRPM2", 36}, {"ShiftRPM3", 38},
    {"ShiftRPM4", 40},     {"ShiftRPM5", 42},     {"ShortShiftRPM", 49}, {"ShiftDropRPM", 51},
};
}  // namespace

CodecResult checkImage(const ImageBuffer& image)
{
    for (const auto& w : kWords) {
        const int high = image.EEPROMBuffer[w.offset + 1];
        if (high >= 128)
            return failure(w.name, w.offset, word(image, w.offset));
    }
    return {};
}

CodecResult UpdateParams(const ImageBuffer& image, ParameterSet& out)
{
    if (CodecResult r = checkImage(image); !r)
        return r;

    const auto& b = image.EEPROMBuffer;
    auto w = [&](int offset) { return static_cast<int16_t>(word(image, offset)); };
    ParameterSet p = out;

    p.PulsePerRev = b[16];
    p.VSSFreq = w(17);
    p.DataLogInterval = b[19];
    p.OptionFlags = b[20];
    p.GPOEnable = p.OptionFlags & 1;
    p.LogArmed = p.OptionFlags & 2;
    p.AlarmVSSEnable = p.OptionFlags & 4;
    p.MultiStageShift = p.OptionFlags & 8;
    p.VSSGearDetect = p.OptionFlags & 16;

    p.TPSZero = b[21];
    p.TPSFullscale = b[22];
    p.RPMDebounce = b[23];
    p.LaunchColor = getColor(image, 24);
    p.ShiftColor = getColor(image, 27);
    p.MaxLEDPWM = b[30];
    p.MinLEDPWM = b[31];
    p.LaunchRPM = w(32);
    p.ShiftRPM1 = w(34);
    p.ShiftRPM2 = w(36);
    p.ShiftRPM3 = w(38);
    p.ShiftRPM4 = w(40);
    p.ShiftRPM5 = w(42);
    p.ShiftVSS1 = b[44];
    p.ShiftVSS2 = b[45];
    p.ShiftVSS3 = b[46];
    p.ShiftVSS4 = b[47];
    p.ShiftVSS5 = b[48];
    p.ShortShiftRPM = w(49);
    p.ShiftDropRPM = w(51);

    p.GPOMinRPM = b[64];
    p.GPOMaxRPM = b[65];
    p.GPOOffTPS = b[66];
    p.GPOOnTPS = b[67];
    p.GPOMinVSS = b[68];
    p.GPOMaxVSS = b[69];
    p.GPODelay = b[70];
    p.GPOFlags = b[71];
    p.GPOOneShotDelay = p.GPOFlags & 1;

    p.AlarmVSSMin = b[80];
    p.AlarmVSSMax = b[81];
    p.AlarmVSSColor = getColor(image, 82);

    p.Alarm1Flags = b[96];
    p.Alarm1Enable = p.Alarm1Flags & 1;
    p.Alarm1PressurePSI = p.Alarm1Flags & 2;
    p.Alarm1Input = b[97];
    p.Alarm1Above = b[98];
    p.Alarm1Below = b[99];
    p.Alarm1MinTPS = b[100];
    p.Alarm1MinRPM = b[101];
    p.Alarm1MinVSS = b[102];
    p.Alarm1Delay = b[103];
    p.Alarm1Color = getColor(image, 104);

    p.Alarm2Flags = b[112];
    p.Alarm2Enable = p.Alarm2Flags & 1;
    p.Alarm2Input = b[113];
    p.Alarm2Above = b[114];
    p.Alarm2Below = b[115];
    p.Alarm2MinTPS = b[116];
    p.Alarm2MinRPM = b[117];
    p.Alarm2MinVSS = b[118];
    p.Alarm2Delay = b[119];
    p.Alarm2Color = getColor(image, 120);

    // Unprintable bytes are dropped, not replaced.
    p.UserData.clear();
    for (int i = 0; i < kUserDataLength; ++i) {
        const uint8_t c = b[kUserDataFirst + i];
        if (c >= 32 && c <= 126)
            p.UserData += QLatin1Char(static_cast<char>(c));
    }

    if (p.TPSFullscale == p.TPSZero) {
        p.GPOOffTPSPercent = p.GPOOnTPSPercent = p.Alarm1MinTPSPercent = p.Alarm2MinTPSPercent = 0;
    } else {
        using calibration::TPSCountToPercent;
        p.GPOOffTPSPercent = TPSCountToPercent(p.GPOOffTPS, p.TPSZero, p.TPSFullscale);
        p.GPOOnTPSPercent = TPSCountToPercent(p.GPOOnTPS, p.TPSZero, p.TPSFullscale);
        // The alarms' minimum throttle never shows below 0 %: a count of 0 means no condition.
        p.Alarm1MinTPSPercent = std::max(0.0f, TPSCountToPercent(p.Alarm1MinTPS, p.TPSZero, p.TPSFullscale));
        p.Alarm2MinTPSPercent = std::max(0.0f, TPSCountToPercent(p.Alarm2MinTPS, p.TPSZero, p.TPSFullscale));
    }

    // What the editor shows follows from the image alone. Single-stage mode has no
    // gear detection; switching it off also takes the GPO down with it. Multi-stage
    // mode without gear detection needs the general purpose input, so no GPO.
    if (!p.MultiStageShift) {
        if (p.VSSGearDetect)
            p.GPOEnable = false;
        p.VSSGearDetect = false;
    } else if (!p.VSSGearDetect) {
        p.GPOEnable = false;
    }

    out = p;
    return {};
}
