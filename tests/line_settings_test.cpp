#include "platform/LineSettings.h"

#include <QTest>

#include <optional>

Q_DECLARE_METATYPE(std::optional<LineSettings>)

class LineSettingsTest : public QObject {
    Q_OBJECT

private slots:
    // Both serial lines, the toolkit's and the Windows one, open with what this gives.
    void readsTheFrameOfTheLine_data() {
        using Parity = LineSettings::Parity;
        using StopBits = LineSettings::StopBits;
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<LineSettings>>("line");
        QTest::newRow("slow") << "9600,n,8,2"
                              << std::optional(LineSettings{9600, Parity::None, 8, StopBits::Two});
        QTest::newRow("fast") << "19200,n,8,2"
                              << std::optional(LineSettings{19200, Parity::None, 8, StopBits::Two});
        QTest::newRow("spaces, capitals")
            << " 4800 , E , 7 , 1.5 "
            << std::optional(LineSettings{4800, Parity::Even, 7, StopBits::OneAndHalf});
        QTest::newRow("odd, one stop")
            << "1200,o,5,1" << std::optional(LineSettings{1200, Parity::Odd, 5, StopBits::One});
        QTest::newRow("mark") << "300,m,6,2"
                              << std::optional(LineSettings{300, Parity::Mark, 6, StopBits::Two});
        QTest::newRow("space") << "300,s,8,1"
                               << std::optional(LineSettings{300, Parity::Space, 8, StopBits::One});
        QTest::newRow("three parts") << "9600,n,8" << std::optional<LineSettings>();
        QTest::newRow("no speed") << ",n,8,2" << std::optional<LineSettings>();
        QTest::newRow("speed 0") << "0,n,8,2" << std::optional<LineSettings>();
        QTest::newRow("unknown parity") << "9600,x,8,2" << std::optional<LineSettings>();
        QTest::newRow("9 data bits") << "9600,n,9,2" << std::optional<LineSettings>();
        QTest::newRow("4 data bits") << "9600,n,4,2" << std::optional<LineSettings>();
        QTest::newRow("3 stop bits") << "9600,n,8,3" << std::optional<LineSettings>();
    }

    void readsTheFrameOfTheLine() {
        QFETCH(QString, text);
        QFETCH(std::optional<LineSettings>, line);
        QCOMPARE(parseLineSettings(text), line);
    }

    // Every byte is a start bit, its data bits, a parity bit unless there is none, and its stops.
    void wireTimeCountsEveryBit_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<qint64>("microseconds");
        QTest::newRow("the longest command at 9600") << "9600,n,8,2" << qint64(515) << qint64(590'105);
        QTest::newRow("one byte at 9600, rounded up") << "9600,n,8,2" << qint64(1) << qint64(1'146);
        QTest::newRow("the longest command at 19200") << "19200,n,8,2" << qint64(515) << qint64(295'053);
        QTest::newRow("parity and one and a half stops") << "4800,e,7,1.5" << qint64(2) << qint64(4'375);
        QTest::newRow("nothing") << "9600,n,8,2" << qint64(0) << qint64(0);
    }
    void wireTimeCountsEveryBit() {
        QFETCH(QString, text);
        QFETCH(qint64, bytes);
        QFETCH(qint64, microseconds);
        QCOMPARE(wireTime(*parseLineSettings(text), bytes).count(), microseconds);
    }
};

QTEST_APPLESS_MAIN(LineSettingsTest)
#include "line_settings_test.moc"
