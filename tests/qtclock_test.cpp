#include "qt/QtClock.h"

#include <QTest>

// The real clock, which the program's pauses sleep on.
class QtClockTest : public QObject {
    Q_OBJECT
private slots:
    void aPauseIsNeverShort_data() {
        QTest::addColumn<int>("microseconds");
        QTest::newRow("under a millisecond") << 400;
        QTest::newRow("a few milliseconds") << 2500;
        QTest::newRow("send pause") << 50001;
    }

    void aPauseIsNeverShort() {
        QFETCH(int, microseconds);
        QtClock realClock;
        const Clock::Time until = realClock.now() + Clock::Time(microseconds);
        realClock.sleepUntil(until);
        QVERIFY(realClock.now() >= until);
    }
};

QTEST_MAIN(QtClockTest)
#include "qtclock_test.moc"
