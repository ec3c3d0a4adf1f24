#pragma once

#include <chrono>
#include <ctime>

// The processor time this process has taken so far, all its threads together.
inline std::chrono::nanoseconds processCpuTime() {
    timespec taken{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &taken);
    return std::chrono::seconds(taken.tv_sec) + std::chrono::nanoseconds(taken.tv_nsec);
}
