#include "params/defaults.h"

#include "params/codec.h"

void assignDefaults(ParameterSet& p)
{
    p.PulsePerRev = 1;
    p.VSSFreq = 150;
    p.DataLogInterval = 6;
    p.OptionFlags = 29;
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

void loadDefaults(ParameterStore& store)
{
    assignDefaults(store.params);
    // The factory values always fit, so neither step can fail.
    UpdateEEPROM(store.params, store.image);
    UpdateParams(store.image, store.params);
    store.image.BufferEmpty = false;
    store.DataSourceName = QStringLiteral("Default Values");
}
