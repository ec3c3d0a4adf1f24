#pragma once

// Runs this benchmark program again as a child, for figures that must come from a fresh process,
// such as its peak resident memory.

#include <QCoreApplication>
#include <QProcess>

#include <cstdio>
#include <cstdlib>

// What the child printed; a child that fails ends the benchmark.
inline QByteArray childOutput(const QStringList& arguments) {
    QProcess process;
    process.start(QCoreApplication::applicationFilePath(), arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0) {
        std::fprintf(stderr, "the child process failed\n");
        std::exit(1);
    }
    return process.readAllStandardOutput();
}
