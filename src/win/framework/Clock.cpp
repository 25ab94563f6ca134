#include "framework/Clock.h"

#include <mmsystem.h>
#include <windows.h>

uint32_t MillisecondClock() {
    return timeGetTime();
}
