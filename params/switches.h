#pragma once
// What the shift light switches imply for each other. The codec, the main window's
// switches and the GPO editor all ask here, so each rule lives in one place.
#include "params/paramset.h"

// Multi-stage shifting without gear detection reads the general purpose input for
// the gear, so the GPO cannot be used: turns GPOEnable off in that case.
void applyGpoInputRule(ParameterSet& params);

// Whether the GPO editor may open: not while the input is taken as above.
bool gpoEditorMayOpen(const ParameterSet& params);

// Brings the switches to a state the editor can show: the GPO rule above, and
// single-stage mode has no gear detection. A decoded image ends this way, and so
// does a change of the multi-stage switch (set MultiStageShift, then call this).
void applySwitchRules(ParameterSet& params);

// The multi-stage switch: sets MultiStageShift and applies the rules above. Leaving
// multi-stage mode unticks gear detection, and unticking gear detection turns the
// GPO off, as the gear-detection box does by hand. (A decoded image keeps its GPO:
// nobody switched anything there.)
void switchMultiStage(ParameterSet& params, bool on);
