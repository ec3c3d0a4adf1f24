#pragma once

#include "support/FarEnd.h"

#include <QByteArray>

#include <functional>

// The far end played by another program, asked by lines of text: a test that runs where no
// pseudo-terminal can be made writes its requests, one line each, to that program and reads one
// answer line back. Both sides use the same words, which are kept here.
class RemoteFarEnd final : public FarEnd {
public:
    // Sends a request line, without its line end, and gives the answer line.
    using Channel = std::function<QByteArray(const QByteArray& request)>;

    explicit RemoteFarEnd(Channel channel);

    bool renew() override;
    FarEndLine line() override;
    QByteArray receive(int count, Delay timeout) override;
    bool deviceHolds(int count, Delay timeout) override;
    void sendAfter(const QByteArray& bytes, Delay delay) override;
    void hangUpAfter(Delay delay) override;
    void stopOutput() override;
    void resumeOutputAfter(Delay delay) override;

    // What a request line starts with, so that the player tells requests from other output.
    static const QByteArray requestMark;
    // Carries out one request on the far end it plays and gives the answer line.
    static QByteArray answer(FarEnd& farEnd, const QByteArray& request);

private:
    QByteArray ask(const QByteArray& words);

    Channel channel;
};
