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

// Processor time, user and system, of the calling thread alone: the other threads of the process,
// such as an emulator's, are left out.
inline double threadProcessorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

inline long peakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The middle value; the upper of the two middle ones for an even count.
inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
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
    return {median(wall), median(processor), *std::max_element(wall.begin(), wall.end())};
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
