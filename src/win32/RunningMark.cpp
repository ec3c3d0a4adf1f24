#include "win32/RunningMark.h"

#include <windows.h>

// A mutex of the name that another user's editor holds cannot be opened here; the installer then
// sees that one, so the editor runs on without a mark of its own.
RunningMark::RunningMark(const QString& name)
    : mutex(CreateMutexW(nullptr, FALSE, reinterpret_cast<const wchar_t*>(name.utf16()))) {}

RunningMark::~RunningMark() {
    if (mutex != nullptr) {
        CloseHandle(mutex);
    }
}
