#include "framework/Clock.h"

// <mmsystem.h> needs the types of <windows.h> first.
#include <windows.h>

#include <mmsystem.h>

uint32_t MillisecondClock() {
    return timeGetTime();
}
