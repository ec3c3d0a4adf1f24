#pragma once

#include "support/FarEnd.h"
#include "support/PseudoTerminal.h"

#include <QString>

#include <functional>
#include <memory>
#include <thread>

// The far end played here, on a pseudo-terminal whose device node the program opens. With a link
// path, that path always leads to the current line's node, as a port name leads to a device.
class PtyFarEnd final : public FarEnd {
public:
    explicit PtyFarEnd(QString link = {});
    ~PtyFarEnd() override;
    PtyFarEnd(const PtyFarEnd&) = delete;
    PtyFarEnd& operator=(const PtyFarEnd&) = delete;

    // The device node of the current line; empty when there is none.
    QString devicePath() const;

    bool renew() override;
    FarEndLine line() override;
    QByteArray receive(int count, Delay timeout) override;
    bool deviceHolds(int count, Delay timeout) override;
    void sendAfter(const QByteArray& bytes, Delay delay) override;
    void hangUpAfter(Delay delay) override;
    void stopOutput() override;
    void resumeOutputAfter(Delay delay) override;

private:
    // Waits until the action asked for last has happened.
    void settle();
    void later(Delay delay, std::function<void()> action);
    // Stops or restarts what the program writes, as a device's flow control would.
    void flow(int action);

    QString linkPath;
    std::unique_ptr<PseudoTerminal> pty;
    int deviceSide = -1; // a descriptor of the program's side, for the line's flow
    std::thread pending;
};
