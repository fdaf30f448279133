// Time for the benchmark: the performance counter for whole batches and the
// processor's time-stamp counter, cheap enough to read around every single
// call into a material (the performance counter costs a system call under
// Wine).
#pragma once

#include <windows.h>
#include <intrin.h>

inline long long Ticks()
{
    return static_cast<long long>(__rdtsc());
}

// Seconds of the performance counter since an arbitrary start.
double Seconds();
// Nanoseconds per time-stamp tick, measured once against the performance counter.
double NanosecondsPerTick();
