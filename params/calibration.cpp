#include "params/calibration.h"
