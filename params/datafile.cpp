#include "params/datafile.h"
