#pragma once

#include <cstdint>

// The multimedia timer: milliseconds since the system started, wrapping
// around after about 49 days (compare differences, unsigned).
uint32_t MillisecondClock();
