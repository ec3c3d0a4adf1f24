#include "support/EditorRig.h"

#include <QTest>

using namespace std::chrono_literals;

namespace {
// A grid of 4 channels by 10 scenes that no scene has been current in yet.
void layOutSmallGrid(EditorRig& rig, bool portOpen) {
    rig.form.nrows = 4;
    rig.form.ncols = 10;
    rig.form.layoutGrid();
    if (portOpen) {
        rig.form.DMX.openport(1, 0);
    }
}
} // namespace

class SceneGridTest : public QObject {
    Q_OBJECT
private slots:
    void layout_data() {
        QTest::addColumn<std::int16_t>("channels");
        QTest::addColumn<std::int16_t>("scenes");
        QTest::newRow("512 x 13") << std::int16_t(512) << std::int16_t(13);
        QTest::newRow("128 x 60") << std::int16_t(128) << std::int16_t(60);
    }
    void layout() {
        QFETCH(std::int16_t, channels);
        QFETCH(std::int16_t, scenes);
        EditorRig rig;
        rig.grid.setRow(1);
        rig.grid.setCol(1);
        rig.grid.setText(QStringLiteral("42"));
        rig.form.nrows = channels;
        rig.form.ncols = scenes;
        rig.form.layoutGrid();

        QCOMPARE(rig.grid.rows(), channels + 1);
        QCOMPARE(rig.grid.cols(), scenes + 1);
        QCOMPARE(rig.grid.cellText(0, 0), QString());
        for (int s = 0; s <= scenes; ++s) {
            QCOMPARE(rig.grid.cellText(0, s), s == 0 ? QString() : QString::number(s));
            QCOMPARE(rig.grid.colWidth(s), std::optional<int>(500));
        }
        QCOMPARE(rig.columnTexts(0).first(), QStringLiteral("1"));
        QCOMPARE(rig.columnTexts(0).last(), QString::number(channels));
        // Data cells are the caller's business: what was there stays.
        QCOMPARE(rig.grid.cellText(1, 1), QStringLiteral("42"));
        QCOMPARE(rig.grid.cellText(2, 1), QString());
    }

    void scene_data() {
        QTest::addColumn<bool>("portOpen");
        QTest::addColumn<QList<int>>("scenes");
        QTest::addColumn<QStringList>("paints");
        QTest::addColumn<QList<Bytes>>("frames");
        const QString u = QStringLiteral("unset");
        QTest::newRow("first scene paints only its column")
            << true << QList<int>{1} << QStringList{"cyan", u, u, u, u, u, u, u, u, u}
            << QList<Bytes>{{3, 1}};
        QTest::newRow("4 to 9") << true << QList<int>{4, 9}
                                << QStringList{u, u, u, "white", u, u, u, u, "cyan", u}
                                << QList<Bytes>{{3, 4}, {3, 9}};
        QTest::newRow("same scene again")
            << true << QList<int>{2, 2} << QStringList{u, "cyan", u, u, u, u, u, u, u, u}
            << QList<Bytes>{{3, 2}, {3, 2}};
        QTest::newRow("port closed: grid only")
            << false << QList<int>{4, 9} << QStringList{u, u, u, "white", u, u, u, u, "cyan", u}
            << QList<Bytes>{};
    }
    void scene() {
        QFETCH(bool, portOpen);
        QFETCH(QList<int>, scenes);
        QFETCH(QStringList, paints);
        QFETCH(QList<Bytes>, frames);
        EditorRig rig;
        layOutSmallGrid(rig, portOpen);
        for (const int n : scenes) {
            rig.form.scene(static_cast<std::int16_t>(n));
        }
        QCOMPARE(rig.paints(), paints);
        QCOMPARE(rig.sent(), frames);
        QCOMPARE(int(rig.form.nscene), scenes.last());
        QCOMPARE(rig.window.sceneNumber, QString::number(scenes.last()));
        QCOMPARE(rig.messages.shown, QStringList{});
    }

    void staleBytesNeverReachALaterRead() {
        EditorRig rig;
        layOutSmallGrid(rig, true);
        const Clock::Time mark = rig.clock.now();
        rig.controller.sendUnsolicited({9, 9}, mark);
        rig.controller.sendUnsolicited({8}, mark + 30ms); // during the pause after select_scene
        rig.controller.sendUnsolicited({7}, mark + 200ms);
        rig.form.scene(2);
        rig.clock.sleepUntil(mark + 300ms);
        std::array<std::int16_t, 4> buffer{-1, -1, -1, -1};
        std::int16_t n = 0;
        rig.form.DMX.readbytes(buffer, n);
        QCOMPARE(Bytes(buffer.begin(), buffer.begin() + n), Bytes{7});
    }

    void portLostWhileIdle() {
        EditorRig rig;
        QVERIFY(rig.startPatterned());
        rig.port.loseDevice({SerialError::Kind::DeviceLost, "/dev/ttyUSB0", "unplugged"});
        rig.form.onNextBtn();
        rig.form.onNextBtn();
        QCOMPARE(rig.messages.shown,
                 QStringList{"The serial port (/dev/ttyUSB0) stopped working: unplugged. The port "
                             "has been closed; the grid is kept."});
        QVERIFY(!rig.port.isOpen());
        QCOMPARE(rig.sent(), QList<Bytes>{});
        QCOMPARE(rig.form.nscene, std::int16_t(3));
        QCOMPARE(rig.paints(), (QStringList{"white", "white", "cyan"} + QStringList(12, "white")));
        for (int s = 1; s <= 15; ++s) {
            QCOMPARE(rig.columnTexts(s), rig.controllerLevels(s));
        }
    }
};

QTEST_GUILESS_MAIN(SceneGridTest)
#include "scene_grid_test.moc"
