#include "support/FakeMainWindowView.h"

#include <QTest>

char* toString(const StatusLine& line) {
    return QTest::toString(QStringLiteral("\"%1\" on %2").arg(line.text).arg(line.background, 0, 16));
}

void FakeMainWindowView::showStatus(const QString& text, Colour background) {
    statuses.push_back({text, background});
    statusTimes.push_back(time.now());
}

std::optional<std::int16_t> FakeMainWindowView::chooseChannels() {
    ++chooserShown;
    return chooserAnswers.isEmpty() ? std::nullopt : chooserAnswers.takeFirst();
}
