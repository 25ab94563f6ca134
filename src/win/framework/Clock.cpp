#include "framework/Clock.h"

#include <windows.h>
#include <mmsystem.h>

uint32_t MillisecondClock() { return timeGetTime(); }
