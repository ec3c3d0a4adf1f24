// Measures what a reply wait costs while nothing answers: readbytes over the real serial port on a
// pseudo-terminal whose far end stays silent, so every wait runs to its one-second deadline.
// Usage: replywait_bench [waits]

#include "Measure.h"
#include "device/Dmx.h"
#include "qt/QtClock.h"
#include "qt/QtSerialControl.h"
#include "qt/QtSerialDevices.h"
#include "support/PseudoTerminal.h"

#include <QCoreApplication>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int waits = argc > 1 ? std::atoi(argv[1]) : 5;

    PseudoTerminal line;
    QtSerialControl comm([path = line.devicePath()](std::int16_t) -> std::optional<QString> { return path; },
                         qtSerialDeviceFacts());
    QtClock clock;
    Dmx dmx(comm, clock);
    if (!line.isValid() || dmx.openport(1, 0)) {
        std::fprintf(stderr, "cannot open a pseudo-terminal\n");
        return 1;
    }

    std::array<std::int16_t, 8> buffer{};
    const double cpuBefore = processorSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    for (int i = 0; i < waits; ++i) {
        std::int16_t n = 2;
        dmx.readbytes(buffer, n);
    }
    const double cpu = processorSeconds() - cpuBefore;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
    std::printf("%d unanswered waits: %.3f s wall, %.3f ms processor time in all, %.3f ms per wait\n", waits,
                wall, cpu * 1e3, cpu * 1e3 / waits);
    return 0;
}
