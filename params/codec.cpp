#include "params/codec.h"
