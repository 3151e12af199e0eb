#pragma once
// What the shift light switches imply for each other. The codec, the main window's
// switches and the GPO editor all ask here, so each rule lives in one place.
#include "params/paramset.h"

// Multi-stage shifting without gear detection reads the general purpose input for
// the gear, so the GPO cannot be used: turns GPOEnable off in that case. The
// encoder applies it, so the controller is never programmed with both.
void applyGpoInputRule(ParameterSet& params);

// Whether the GPO editor may open: not while the input is taken as above.
bool gpoEditorMayOpen(const ParameterSet& params);

// What the editor refresh does to the switches after a decode: single-stage mode
// has no gear detection. The GPO is left as stored; a block that holds it on in
// multi-stage mode without gear detection reads as on, and the next encode turns
// it off.
void applySwitchRules(ParameterSet& params);

// The multi-stage switch: sets MultiStageShift, then does what its handler does by
// encoding and decoding again: the GPO rule above, and leaving multi-stage mode
// unticks gear detection, which turns the GPO off as unticking the box by hand does.
void switchMultiStage(ParameterSet& params, bool on);
