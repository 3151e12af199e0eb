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
    // The single-stage light ignores the gear: the switch reads off there. The GPO
    // stays as it is: decoding reports what the block holds.
    if (!p.MultiStageShift)
        p.VSSGearDetect = false;
}

void switchMultiStage(ParameterSet& p, bool on)
{
    const bool gearDetectWasOn = p.VSSGearDetect;
    p.MultiStageShift = on;
    applyGpoInputRule(p);  // the encode the handler runs first
    applySwitchRules(p);   // then the refresh
    if (gearDetectWasOn && !p.VSSGearDetect)
        p.GPOEnable = false;
}
