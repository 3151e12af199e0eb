#include "params/fieldrules.h"
