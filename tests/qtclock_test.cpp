#include "platform/QtClock.h"

#include <QTest>

using namespace std::chrono_literals;

class QtClockTest : public QObject {
    Q_OBJECT

private slots:
    void sleepingEndsAtOrAfterTheTime_data() {
        QTest::addColumn<int>("ms");
        QTest::newRow("past") << -5;
        QTest::newRow("now") << 0;
        QTest::newRow("soon") << 20;
    }

    void sleepingEndsAtOrAfterTheTime() {
        QFETCH(int, ms);
        QtClock clock;
        const Clock::Time start = clock.now();
        const Clock::Time until = start + std::chrono::milliseconds(ms);
        clock.sleepUntil(until);
        const Clock::Time end = clock.now();
        QVERIFY(end >= until);
        QVERIFY(end >= start);
    }

    void waitPastGoesBeyondTheSpan() {
        QtClock clock;
        const Clock::Time mark = clock.now();
        waitPast(clock, mark, 50ms);
        QVERIFY(clock.now() - mark > 50ms);
    }
};

QTEST_GUILESS_MAIN(QtClockTest)
#include "qtclock_test.moc"
