#include "support/RemoteFarEnd.h"

#include <QList>

#include <utility>

namespace {

const QByteArray yes = QByteArrayLiteral("yes");
const QByteArray no = QByteArrayLiteral("no");

QByteArray truth(bool value) {
    return value ? yes : no;
}

FarEnd::Delay delayOf(const QByteArray& field) {
    return FarEnd::Delay(field.toLongLong());
}

// "9600 n 8 2 raw": the line's settings text in words (the speed "-" when it has no number), then
// raw or cooked.
QByteArray lineWords(const FarEndLine& line) {
    if (!line.line) {
        return QByteArrayLiteral("- - - - ") + (line.raw ? "raw" : "cooked");
    }
    static const char parities[] = {'n', 'e', 'o', 'm', 's'};
    static const char* const stops[] = {"1", "1.5", "2"};
    return QByteArray::number(line.line->baud) + ' ' + parities[static_cast<int>(line.line->parity)] + ' ' +
           QByteArray::number(line.line->dataBits) + ' ' + stops[static_cast<int>(line.line->stopBits)] +
           ' ' + (line.raw ? "raw" : "cooked");
}

FarEndLine lineOf(const QByteArray& words) {
    const QList<QByteArray> fields = words.split(' ');
    FarEndLine line;
    line.raw = fields.value(4) == "raw";
    if (fields.value(0) != "-") {
        line.line = parseLineSettings(QString::fromLatin1(fields.mid(0, 4).join(',')));
    }
    return line;
}

} // namespace

const QByteArray RemoteFarEnd::requestMark = QByteArrayLiteral("@far-end ");

RemoteFarEnd::RemoteFarEnd(Channel link)
    : channel(std::move(link)) {}

QByteArray RemoteFarEnd::ask(const QByteArray& words) {
    return channel(requestMark + words);
}

bool RemoteFarEnd::renew() {
    return ask("renew") == yes;
}

FarEndLine RemoteFarEnd::line() {
    return lineOf(ask("line"));
}

QByteArray RemoteFarEnd::receive(int count, Delay timeout) {
    return QByteArray::fromHex(
        ask("receive " + QByteArray::number(count) + ' ' + QByteArray::number(timeout.count())));
}

bool RemoteFarEnd::deviceHolds(int count, Delay timeout) {
    return ask("holds " + QByteArray::number(count) + ' ' + QByteArray::number(timeout.count())) == yes;
}

void RemoteFarEnd::sendAfter(const QByteArray& bytes, Delay delay) {
    ask("send " + QByteArray::number(delay.count()) + ' ' + bytes.toHex());
}

void RemoteFarEnd::hangUpAfter(Delay delay) {
    ask("hangup " + QByteArray::number(delay.count()));
}

void RemoteFarEnd::stopOutput() {
    ask("stop");
}

void RemoteFarEnd::resumeOutputAfter(Delay delay) {
    ask("resume " + QByteArray::number(delay.count()));
}

QByteArray RemoteFarEnd::answer(FarEnd& farEnd, const QByteArray& request) {
    const QList<QByteArray> fields = request.mid(requestMark.size()).trimmed().split(' ');
    const QByteArray& verb = fields.value(0);
    if (verb == "renew") {
        return truth(farEnd.renew());
    }
    if (verb == "line") {
        return lineWords(farEnd.line());
    }
    if (verb == "receive") {
        return farEnd.receive(fields.value(1).toInt(), delayOf(fields.value(2))).toHex();
    }
    if (verb == "holds") {
        return truth(farEnd.deviceHolds(fields.value(1).toInt(), delayOf(fields.value(2))));
    }
    if (verb == "send") {
        farEnd.sendAfter(QByteArray::fromHex(fields.value(2)), delayOf(fields.value(1)));
    } else if (verb == "hangup") {
        farEnd.hangUpAfter(delayOf(fields.value(1)));
    } else if (verb == "stop") {
        farEnd.stopOutput();
    } else if (verb == "resume") {
        farEnd.resumeOutputAfter(delayOf(fields.value(1)));
    } else {
        return QByteArrayLiteral("unknown request: ") + request;
    }
    return yes;
}
