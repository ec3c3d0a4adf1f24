#pragma once

#include <QString>

// Marks that the editor runs, for as long as the mark lives, with a named mutex: the installer and
// the uninstaller look for it and have the editor closed before they touch its files.
class RunningMark {
public:
    explicit RunningMark(const QString& name);
    ~RunningMark();
    RunningMark(const RunningMark&) = delete;
    RunningMark& operator=(const RunningMark&) = delete;

private:
    void* mutex; // the system's handle, or null when the mark could not be made
};
