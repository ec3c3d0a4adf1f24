#pragma once

// What the benchmarks share: processor time, repeated timing and one way to print a result.

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

inline double processorSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

inline long peakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Medians over the runs of the wall time and of the processor time, and the worst wall time.
struct Timing {
    double wallMs = 0;
    double processorMs = 0;
    double worstWallMs = 0;
};

// Runs prepare() untimed and then the work timed, the given number of times.
template <typename Prepare, typename Work> Timing timeRuns(int runs, Prepare prepare, Work work) {
    std::vector<double> wall;
    std::vector<double> processor;
    for (int i = 0; i < runs; ++i) {
        prepare();
        const double processorBefore = processorSeconds();
        const auto start = std::chrono::steady_clock::now();
        work();
        wall.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        processor.push_back((processorSeconds() - processorBefore) * 1e3);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(processor.begin(), processor.end());
    return {wall[wall.size() / 2], processor[processor.size() / 2], wall.back()};
}

// The results as a Markdown table: what was measured, its timing and its goal.
inline void printTimingHeader() {
    std::printf("| %-44s | %9s | %9s | %10s | %-7s |\n", "work", "wall", "processor", "worst wall", "goal");
    std::printf("|%s|----------:|----------:|-----------:|---------|\n", std::string(46, '-').c_str());
}

inline void printTiming(const std::string& what, const Timing& timing, const char* goal) {
    std::printf("| %-44s | %6.2f ms | %6.2f ms | %7.2f ms | %-7s |\n", what.c_str(), timing.wallMs,
                timing.processorMs, timing.worstWallMs, goal);
}
