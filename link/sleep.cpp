#include "link/sleep.h"

#include <QtGlobal>
#include <algorithm>
#include <thread>

#ifdef Q_OS_WIN
#include <windows.h>
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif
#endif

namespace linksleep {

#ifdef Q_OS_WIN
// MinGW's sleep (nanosleep) sleeps whole milliseconds and returns at once for
// less, so the last fraction of every 2 ms pause would spin a core. A
// high-resolution timer (Windows 10 1803 and later) sleeps that fraction; where
// there is none, Sleep rounds it up to the next tick.
void sleepFor(std::chrono::nanoseconds d)
{
    if (d <= std::chrono::nanoseconds::zero())
        return;
    static thread_local const HANDLE timer =
        CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    if (timer) {
        LARGE_INTEGER due;
        due.QuadPart = -std::max<LONGLONG>(1, d.count() / 100);  // relative, in 100 ns
        if (SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE) && WaitForSingleObject(timer, INFINITE) == WAIT_OBJECT_0)
            return;
    }
    Sleep(DWORD((d.count() + 999999) / 1000000));
}
#else
void sleepFor(std::chrono::nanoseconds d) { std::this_thread::sleep_for(d); }
#endif

}  // namespace linksleep
