#include "params/defaults.h"

#include "params/calibration.h"
#include "params/codec.h"

void assignDefaults(ParameterSet& p)
{
    p.PulsePerRev = 1;
    p.VSSFreq = 150;
    p.DataLogInterval = 6;
    // The encoder sets the switches' bits from the Booleans below; the bits it carries
    // over start clear, whatever the configuration before held.
    p.OptionFlags = 0;
    p.GPOEnable = true;
    p.LogArmed = false;
    p.AlarmVSSEnable = true;
    p.MultiStageShift = true;
    p.VSSGearDetect = true;
    p.TPSZero = 44;
    p.TPSFullscale = 235;
    p.RPMDebounce = 10;
    p.LaunchColor = 255;
    p.ShiftColor = 255;
    p.MaxLEDPWM = 255;
    p.MinLEDPWM = 15;
    p.LaunchRPM = 3000;
    p.ShiftRPM1 = p.ShiftRPM2 = p.ShiftRPM3 = p.ShiftRPM4 = p.ShiftRPM5 = 6000;
    p.ShiftVSS1 = 25;
    p.ShiftVSS2 = 50;
    p.ShiftVSS3 = 75;
    p.ShiftVSS4 = 100;
    p.ShiftVSS5 = 125;
    p.ShortShiftRPM = 500;
    p.ShiftDropRPM = 500;

    p.GPOMinRPM = 60;
    p.GPOMaxRPM = 120;
    p.GPOOffTPS = 214;
    p.GPOOnTPS = 224;
    p.GPOMinVSS = 30;
    p.GPOMaxVSS = 225;
    p.GPODelay = 0;
    p.GPOFlags = 0;
    p.GPOOneShotDelay = false;

    p.AlarmVSSMin = 0;
    p.AlarmVSSMax = 225;
    p.AlarmVSSColor = 65280;

    p.Alarm1Flags = 0;
    p.Alarm1Enable = false;
    p.Alarm1PressurePSI = false;
    p.Alarm1Input = 0;
    p.Alarm1Above = 255;
    p.Alarm1Below = 0;
    p.Alarm1MinTPS = 0;
    p.Alarm1MinRPM = 0;
    p.Alarm1MinVSS = 0;
    p.Alarm1Delay = 0;
    p.Alarm1Color = 65535;

    p.Alarm2Flags = 0;
    p.Alarm2Enable = false;
    p.Alarm2Input = 0;
    p.Alarm2Above = 255;
    p.Alarm2Below = 0;
    p.Alarm2MinTPS = 0;
    p.Alarm2MinRPM = 0;
    p.Alarm2MinVSS = 0;
    p.Alarm2Delay = 0;
    p.Alarm2Color = 65535;

    // Defaults carry no user text: the window, the parameters and the image agree.
    p.UserData.clear();
}

const ParameterSet& factoryDefaults()
{
    static const ParameterSet factory = [] {
        ParameterSet p;
        ImageBuffer image;
        assignDefaults(p);
        UpdateEEPROM(p, image);
        UpdateParams(image, p);
        return p;
    }();
    return factory;
}

void restoreAlarmDefaults(ParameterSet& p)
{
    const ParameterSet& f = factoryDefaults();
    p.Alarm1Enable = f.Alarm1Enable;
    p.Alarm1Color = f.Alarm1Color;
    p.Alarm1Input = f.Alarm1Input;
    // Deliberately not the factory value: the factory flag byte is 0, which decodes as
    // In-Hg, while the dialog's own default unit is psi. Making the two agree would
    // change either the factory image or what Restore Defaults gives.
    p.Alarm1PressurePSI = true;
    p.Alarm1Above = f.Alarm1Above;
    p.Alarm1Below = f.Alarm1Below;
    p.Alarm1MinTPS = f.Alarm1MinTPS;
    p.Alarm1MinTPSPercent = f.Alarm1MinTPSPercent;
    p.Alarm1MinRPM = f.Alarm1MinRPM;
    p.Alarm1MinVSS = f.Alarm1MinVSS;
    p.Alarm1Delay = f.Alarm1Delay;

    p.Alarm2Enable = f.Alarm2Enable;
    p.Alarm2Color = f.Alarm2Color;
    p.Alarm2Input = f.Alarm2Input;
    p.Alarm2Above = f.Alarm2Above;
    p.Alarm2Below = f.Alarm2Below;
    p.Alarm2MinTPS = f.Alarm2MinTPS;
    p.Alarm2MinTPSPercent = f.Alarm2MinTPSPercent;
    p.Alarm2MinRPM = f.Alarm2MinRPM;
    p.Alarm2MinVSS = f.Alarm2MinVSS;
    p.Alarm2Delay = f.Alarm2Delay;
}

void restoreGpoDefaults(ParameterSet& p)
{
    const ParameterSet& f = factoryDefaults();
    p.GPOEnable = f.GPOEnable;
    p.GPOOneShotDelay = f.GPOOneShotDelay;
    p.GPOMinRPM = f.GPOMinRPM;
    p.GPOMaxRPM = f.GPOMaxRPM;
    p.GPOOffTPS = f.GPOOffTPS;
    p.GPOOnTPS = f.GPOOnTPS;
    p.GPOMinVSS = f.GPOMinVSS;
    p.GPOMaxVSS = f.GPOMaxVSS;
    p.GPODelay = f.GPODelay;
    // The counts are restored; the percents shown follow from the calibration the
    // main window holds now, not the factory one.
    p.GPOOffTPSPercent = calibration::TPSCountToPercent(p.GPOOffTPS, p.TPSZero, p.TPSFullscale);
    p.GPOOnTPSPercent = calibration::TPSCountToPercent(p.GPOOnTPS, p.TPSZero, p.TPSFullscale);
}

void restoreVssAlarmDefaults(ParameterSet& p)
{
    const ParameterSet& f = factoryDefaults();
    p.AlarmVSSEnable = f.AlarmVSSEnable;
    p.AlarmVSSColor = f.AlarmVSSColor;
    p.AlarmVSSMin = f.AlarmVSSMin;
    p.AlarmVSSMax = f.AlarmVSSMax;
}

void loadDefaults(ParameterStore& store)
{
    assignDefaults(store.params);
    // The factory values always fit, so neither step can fail.
    UpdateEEPROM(store.params, store.image);
    UpdateParams(store.image, store.params);
    store.image.BufferEmpty = false;
    store.DataSourceName = QLatin1String(kDefaultValuesName);
}
