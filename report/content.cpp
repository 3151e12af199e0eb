#include "report/content.h"
