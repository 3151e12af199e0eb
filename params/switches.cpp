#include "params/switches.h"

namespace {
bool gpoInputTaken(const ParameterSet& p) { return p.MultiStageShift && !p.VSSGearDetect; }
}  // namespace

void applyGpoInputRule(ParameterSet& p)
{
    if (gpoInputTaken(p))
        p.GPOEnable = false;
}

bool gpoEditorMayOpen(const ParameterSet& p) { return !gpoInputTaken(p); }

void applySwitchRules(ParameterSet& p)
{
    applyGpoInputRule(p);
    // The single-stage light ignores the gear: the switch reads off there. The GPO
    // stays as it is, since the input is free in that mode.
    if (!p.MultiStageShift)
        p.VSSGearDetect = false;
}

void switchMultiStage(ParameterSet& p, bool on)
{
    const bool gearDetectWasOn = p.VSSGearDetect;
    p.MultiStageShift = on;
    applySwitchRules(p);
    if (gearDetectWasOn && !p.VSSGearDetect)
        p.GPOEnable = false;
}
