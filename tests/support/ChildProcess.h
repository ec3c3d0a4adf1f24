#pragma once

#include <QProcess>

#include <memory>

// A program the tests start, which ends with the test: it is told to end when the test process
// goes away however that happens, and it is stopped when the test lets go of it.
class ChildProcess {
public:
    ChildProcess();
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    QProcess& operator*() { return *process; }
    QProcess* operator->() { return process.get(); }
    const QProcess* operator->() const { return process.get(); }

    // Asks the program to end, and kills it when it does not within a few seconds.
    void stop();

private:
    std::unique_ptr<QProcess> process;
};
