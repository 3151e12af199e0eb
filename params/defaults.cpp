#include "params/defaults.h"
