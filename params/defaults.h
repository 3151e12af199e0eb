#pragma once
#include "params/paramset.h"

// Assigns the factory defaults (stored units) and empties the user text. The TPS
// percents are not set here: decoding the encoded defaults derives them.
void assignDefaults(ParameterSet& params);

// The whole "load defaults" step on a store: assign, encode (the buffer is not
// cleared first, so reserved gaps keep what they held), decode, mark loaded.
// Cannot fail with the factory values.
void loadDefaults(ParameterStore& store);
