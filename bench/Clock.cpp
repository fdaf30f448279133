#include "Clock.h"

double Seconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double NanosecondsPerTick()
{
    static const double value = [] {
        const double start = Seconds();
        const long long ticks = Ticks();
        while (Seconds() - start < 0.1) {
        }
        return (Seconds() - start) * 1e9 / static_cast<double>(Ticks() - ticks);
    }();
    return value;
}
