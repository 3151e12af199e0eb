#include "params/numbers.h"
