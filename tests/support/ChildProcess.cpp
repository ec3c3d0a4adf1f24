#include "support/ChildProcess.h"

#include <csignal>

#include <sys/prctl.h>

ChildProcess::ChildProcess()
    : process(std::make_unique<QProcess>()) {
    // A test killed by its timeout must not leave a display, an editor or a device link behind.
    process->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

ChildProcess::~ChildProcess() {
    stop();
}

void ChildProcess::stop() {
    if (process->state() == QProcess::NotRunning) {
        return;
    }
    process->terminate();
    if (!process->waitForFinished(5000)) {
        process->kill();
        process->waitForFinished(5000);
    }
}
