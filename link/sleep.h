#pragma once
// A sleep that keeps its length below a millisecond as well, for the pauses of
// the link and the emulated line.
#include <chrono>

namespace linksleep {
void sleepFor(std::chrono::nanoseconds d);
}
