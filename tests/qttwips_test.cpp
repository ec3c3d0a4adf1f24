#include "platform/QtTwips.h"

#include <QTest>

class QtTwipsTest : public QObject {
    Q_OBJECT

private slots:
    void convertsThroughTheResolution_data() {
        QTest::addColumn<double>("dpi");
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("pixels");
        QTest::newRow("96 dpi exact") << 96.0 << 11190 << 746;
        QTest::newRow("96 dpi rounds up") << 96.0 << 100 << 7;
        QTest::newRow("96 dpi rounds down") << 96.0 << 1095 << 73;
        QTest::newRow("120 dpi") << 120.0 << 1440 << 120;
        QTest::newRow("144 dpi") << 144.0 << 375 << 38;
        QTest::newRow("negative") << 96.0 << -150 << -10;
    }

    void convertsThroughTheResolution() {
        QFETCH(double, dpi);
        QFETCH(int, twips);
        QFETCH(int, pixels);
        QCOMPARE(twipsToPixels(twips, dpi), pixels);
        // Back again within half a pixel's worth.
        QVERIFY(std::abs(pixelsToTwips(pixels, dpi) - twips) <= std::lround(twipsPerInch / dpi / 2));
    }
};

QTEST_GUILESS_MAIN(QtTwipsTest)
#include "qttwips_test.moc"
