#pragma once

#include "platform/LineSettings.h"

#include <QByteArray>
#include <QString>

#include <optional>

#include <termios.h>

// The frame a terminal's settings give its line; nothing for a speed without a number here.
std::optional<LineSettings> lineSettingsOf(const termios& settings);

// A pseudo-terminal pair standing in for a serial device: the program opens the device side by its
// path, the test plays the far end on the controlling side.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool isValid() const { return controller >= 0; }
    // The device node the program opens.
    QString devicePath() const { return path; }

    // The far end sends.
    void send(const QByteArray& bytes);
    // Waits until the device side has count bytes ready to read, at most the given time; the
    // program has not seen them yet.
    bool deviceHolds(int count, int timeoutMs) const;
    // The far end receives up to count bytes, waiting at most the given time for them.
    QByteArray receive(int count, int timeoutMs);
    // The line settings the device side has now.
    termios deviceSettings() const;
    // Unplugs the device: the far end goes away.
    void hangUp();
    // The far end's own descriptor, for a player of the far end that waits on it; -1 once hung up.
    int farEnd() const { return controller; }

private:
    int controller = -1;
    int device = -1;
    QString path;
};
