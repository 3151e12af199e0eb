#pragma once
#include "params/paramset.h"

// Assigns the factory defaults (stored units) and empties the user text. The TPS
// percents are not set here: decoding the encoded defaults derives them.
void assignDefaults(ParameterSet& params);

// The factory configuration as a decoded image: what "load defaults" shows, with
// the TPS percents derived. Every default any window restores comes from here.
const ParameterSet& factoryDefaults();

// What each dialog's Restore Defaults puts back; nothing outside the dialog's own
// parameters changes. The GPO's throttle percents follow from the factory counts
// against the calibration `params` holds now.
void restoreAlarmDefaults(ParameterSet& params);
void restoreGpoDefaults(ParameterSet& params);
void restoreVssAlarmDefaults(ParameterSet& params);

// The whole "load defaults" step on a store: assign, encode (the buffer is not
// cleared first, so reserved gaps keep what they held), decode, mark loaded.
// Cannot fail with the factory values.
void loadDefaults(ParameterStore& store);

// What the caption and the printed report's job call the defaults once loaded; the
// window's caption shows it translated (context "Document").
inline constexpr char kDefaultValuesName[] = QT_TRANSLATE_NOOP("Document", "Default Values");
