#include "support/EditorRig.h"
#include "support/ExpectedTraffic.h"

#include <QTest>

using namespace std::chrono_literals;
using Generation = ControllerModel::Generation;

namespace {
const QString overwrite = QStringLiteral("Data already exists - overwrite?");
}

class NewGridTest : public QObject {
    Q_OBJECT
private slots:
    void answeredNo() {
        EditorRig rig(Generation::Mk2, 256);
        QVERIFY(rig.startPatterned());
        rig.form.onNextBtn();
        rig.forget();
        const QList<int> before{rig.form.channels, rig.form.nrows, rig.form.ncols, rig.form.nscene};
        const QStringList paints = rig.paints();
        rig.messages.answers << false;
        rig.form.onNewMenu();
        QCOMPARE(rig.messages.shown, QStringList{overwrite});
        QCOMPARE(rig.sent(), QList<Bytes>{});
        QCOMPARE(rig.window.chooserShown, 0);
        QCOMPARE((QList<int>{rig.form.channels, rig.form.nrows, rig.form.ncols, rig.form.nscene}), before);
        QCOMPARE(rig.paints(), paints);
        QCOMPARE(rig.columnTexts(27), rig.controllerLevels(27));
    }

    void newGrid_data() {
        QTest::addColumn<Generation>("generation");
        QTest::addColumn<int>("controllerChannels");
        QTest::addColumn<bool>("online");
        QTest::addColumn<int>("chosen"); // -1: the chooser is closed through its frame
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("scenes");
        QTest::addColumn<QList<Bytes>>("frames");
        QTest::newRow("Mk2, 256 chosen") << Generation::Mk2 << 512 << true << 1 << 256 << 27
                                         << QList<Bytes>{{12}, {6}, {2, 1}} + resetAllFrames(false, 256, 27);
        QTest::newRow("Mk1, 128 chosen") << Generation::Mk1 << 512 << true << 2 << 128 << 60
                                         << QList<Bytes>{{12}, {6}, {2, 2}} + resetAllFrames(true, 128, 60);
        QTest::newRow("Mk1, from 128 to 512")
            << Generation::Mk1 << 128 << true << 0 << 512 << 15
            << QList<Bytes>{{12}, {6}, {2, 0}} + resetAllFrames(true, 512, 15);
        QTest::newRow("closed chooser keeps 128, port closed")
            << Generation::Mk1 << 512 << false << -1 << 128 << 60 << QList<Bytes>{};
    }
    void newGrid() {
        QFETCH(Generation, generation);
        QFETCH(int, controllerChannels);
        QFETCH(bool, online);
        QFETCH(int, chosen);
        QFETCH(int, channels);
        QFETCH(int, scenes);
        QFETCH(QList<Bytes>, frames);
        EditorRig rig(generation, controllerChannels);
        rig.controller.fillWithPattern();
        if (online) {
            QVERIFY(rig.start());
            rig.form.scene(static_cast<std::int16_t>(rig.form.ncols));
        } else {
            rig.window.chooserAnswers << std::int16_t(2);
            QVERIFY(rig.startOffline());
        }
        rig.forget();
        rig.window.chooserShown = 0;
        rig.messages.answers << true;
        if (chosen >= 0) {
            rig.window.chooserAnswers << static_cast<std::int16_t>(chosen);
        }
        rig.form.onNewMenu();

        QCOMPARE(rig.messages.shown, QStringList{overwrite});
        QCOMPARE(rig.window.chooserShown, 1);
        QCOMPARE(rig.sent(), frames);
        QCOMPARE(rig.grid.rows(), channels + 1);
        QCOMPARE(rig.grid.cols(), scenes + 1);
        const QStringList zeros(channels, QStringLiteral("0"));
        for (int s = 1; s <= scenes; ++s) {
            QCOMPARE(rig.columnTexts(s), zeros);
        }
        QCOMPARE(rig.paints(), QStringList{"cyan"} + QStringList(scenes - 1, "white"));
        QCOMPARE(rig.form.nscene, std::int16_t(1));
        if (online) {
            QCOMPARE(rig.controllerNow().channelsPerScene(), channels);
            QCOMPARE(rig.controllerLevels(scenes), zeros);
            QVERIFY(shortestSilence(rig.controller) > 50ms);
        }
    }
};

QTEST_GUILESS_MAIN(NewGridTest)
#include "new_grid_test.moc"
