#include "support/EditorRig.h"
#include "support/ExpectedTraffic.h"

#include <QTest>

using namespace std::chrono_literals;
using Generation = ControllerModel::Generation;
using Fault = ControllerModel::Fault;

namespace {
QString notSaved() {
    return QStringLiteral("Scene not saved - the controller did not answer");
}
} // namespace

class SceneCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void selectScene_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("scene");
        QTest::addColumn<QList<Bytes>>("frames");
        QTest::addColumn<QStringList>("messages");
        const QStringList invalid{"Invalid Scene number"};
        QTest::newRow("last scene") << "60" << 60 << QList<Bytes>{{3, 60}} << QStringList{};
        QTest::newRow("spaces around") << " 7 " << 7 << QList<Bytes>{{3, 7}} << QStringList{};
        QTest::newRow("half to even") << "6.5" << 6 << QList<Bytes>{{3, 6}} << QStringList{};
        QTest::newRow("0") << "0" << 1 << QList<Bytes>{} << invalid;
        QTest::newRow("negative") << "-3" << 1 << QList<Bytes>{} << invalid;
        QTest::newRow("one past the last") << "61" << 1 << QList<Bytes>{} << invalid;
        QTest::newRow("not a number") << "abc" << 1 << QList<Bytes>{} << invalid;
        QTest::newRow("beyond 16 bits") << "99999" << 1 << QList<Bytes>{} << invalid;
    }
    void selectScene() {
        QFETCH(QString, typed);
        QFETCH(int, scene);
        QFETCH(QList<Bytes>, frames);
        QFETCH(QStringList, messages);
        EditorRig rig(Generation::Mk1, 128);
        QVERIFY(rig.startPatterned());
        rig.window.sceneNumber = typed;
        rig.form.onSetBtn();
        QCOMPARE(rig.sent(), frames);
        QCOMPARE(rig.messages.shown, messages);
        QCOMPARE(int(rig.form.nscene), scene);
        // A refused number stays in the box as typed.
        QCOMPARE(rig.window.sceneNumber, messages.isEmpty() ? QString::number(scene) : typed);
    }

    void nextScene_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::newRow("59 to 60") << 59 << 60;
        QTest::newRow("last to first") << 60 << 1;
        QTest::newRow("none to first") << 0 << 1;
    }
    void nextScene() {
        QFETCH(int, from);
        QFETCH(int, to);
        EditorRig rig(Generation::Mk1, 128);
        QVERIFY(rig.startPatterned());
        if (from > 0) {
            rig.form.scene(static_cast<std::int16_t>(from));
        } else {
            rig.form.nscene = 0;
        }
        rig.forget();
        rig.window.sceneNumber = QStringLiteral("5"); // not read
        rig.form.onNextBtn();
        QCOMPARE(rig.sent(), (QList<Bytes>{{3, to}}));
        QCOMPARE(int(rig.form.nscene), to);
    }

    void saveScene_data() {
        QTest::addColumn<Generation>("generation");
        QTest::addColumn<QList<Fault>>("faults");
        QTest::addColumn<bool>("portOpen");
        QTest::addColumn<QList<Bytes>>("frames");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("saved");
        QTest::newRow("Mk2 answers") << Generation::Mk2 << QList<Fault>{} << true << QList<Bytes>{{7}}
                                     << QStringList{} << true;
        QTest::newRow("Mk2 silent") << Generation::Mk2 << QList{Fault{Fault::Kind::Silent, 7}} << true
                                    << QList<Bytes>{{7}} << QStringList{notSaved()} << true;
        QTest::newRow("Mk2 answers too late") << Generation::Mk2 << QList{Fault{Fault::Kind::Late, 7}} << true
                                              << QList<Bytes>{{7}} << QStringList{notSaved()} << true;
        QTest::newRow("Mk2, port closed") << Generation::Mk2 << QList<Fault>{} << false << QList<Bytes>{}
                                          << QStringList{"Scene not saved - port not open"} << false;
        QTest::newRow("Mk1 does nothing")
            << Generation::Mk1 << QList<Fault>{} << true << QList<Bytes>{} << QStringList{} << false;
    }
    void saveScene() {
        QFETCH(Generation, generation);
        QFETCH(QList<Fault>, faults);
        QFETCH(bool, portOpen);
        QFETCH(QList<Bytes>, frames);
        QFETCH(QStringList, messages);
        QFETCH(bool, saved);
        EditorRig rig(generation, 512);
        QVERIFY(rig.startPatterned());
        for (const Fault& fault : faults) {
            rig.controller.addFault(fault);
        }
        if (!portOpen) {
            rig.port.close();
        }
        rig.form.onSaveSceneBtn();
        QCOMPARE(rig.sent(), frames);
        QCOMPARE(rig.messages.shown, messages);
        QCOMPARE(rig.controllerNow().isSaved(1), saved);
        const bool confirmed = !frames.isEmpty() && messages.isEmpty();
        const QList<StatusLine> shown{{"Scene Saved", colours::white}, {QString(), colours::buttonFace}};
        QCOMPARE(rig.window.statuses, confirmed ? shown : QList<StatusLine>{});
        if (confirmed) {
            QVERIFY(rig.window.statusTimes[1] - rig.window.statusTimes[0] > 500ms);
        }
    }

    void resetThisScene_data() {
        QTest::addColumn<Generation>("generation");
        QTest::addColumn<std::int16_t>("version"); // as the program knows it
        QTest::addColumn<int>("current");
        QTest::addColumn<QList<Bytes>>("frames");
        QTest::newRow("Mk1: zeros for 512 channels")
            << Generation::Mk1 << std::int16_t(1) << 3 << QList<Bytes>{Bytes{1, 0, 1} + Bytes(512, 0)};
        QTest::newRow("Mk2: clear") << Generation::Mk2 << std::int16_t(2) << 3 << QList<Bytes>{{10}};
        QTest::newRow("generation unknown: clear")
            << Generation::Mk2 << std::int16_t(0) << 3 << QList<Bytes>{{10}};
        QTest::newRow("no current scene") << Generation::Mk2 << std::int16_t(2) << 0 << QList<Bytes>{};
    }
    void resetThisScene() {
        QFETCH(Generation, generation);
        QFETCH(std::int16_t, version);
        QFETCH(int, current);
        QFETCH(QList<Bytes>, frames);
        EditorRig rig(generation, 512);
        QVERIFY(rig.startPatterned());
        rig.form.DMX.version = version;
        rig.form.scene(3);
        rig.form.nscene = static_cast<std::int16_t>(current);
        rig.forget();
        rig.form.onSceneResetMenu();
        QCOMPARE(rig.sent(), frames);
        const QStringList zeros(512, QStringLiteral("0"));
        // Grid and controller agree: scene 3 is all zero when it was current, untouched otherwise.
        for (int s = 2; s <= 4; ++s) {
            QCOMPARE(rig.columnTexts(s), rig.controllerLevels(s));
        }
        QCOMPARE(rig.columnTexts(3) == zeros, current == 3);
        QCOMPARE(rig.messages.shown, QStringList{});
    }

    void resetAllScenes_data() {
        QTest::addColumn<Generation>("generation");
        QTest::addColumn<int>("scenes");
        QTest::newRow("Mk1, 128 channels") << Generation::Mk1 << 60;
        QTest::newRow("Mk2, 128 channels") << Generation::Mk2 << 55;
    }
    void resetAllScenes() {
        QFETCH(Generation, generation);
        QFETCH(int, scenes);
        EditorRig rig(generation, 128);
        QVERIFY(rig.startPatterned());
        rig.form.scene(40);
        rig.forget();
        rig.form.onAllResetMenu();
        QCOMPARE(rig.sent(), resetAllFrames(generation == Generation::Mk1, 128, scenes));
        QCOMPARE(rig.window.statuses, resetAllStatuses(scenes));
        QCOMPARE(rig.paints(), QStringList{"cyan"} + QStringList(scenes - 1, "white"));
        const QStringList zeros(128, QStringLiteral("0"));
        for (int s = 1; s <= scenes; ++s) {
            QCOMPARE(rig.columnTexts(s), zeros);
            QCOMPARE(rig.controllerLevels(s), zeros);
        }
        QCOMPARE(rig.form.nscene, std::int16_t(1));
        QCOMPARE(rig.controllerNow().currentScene(), 1);
        QVERIFY(shortestSilence(rig.controller) > 50ms);
    }
};

QTEST_GUILESS_MAIN(SceneCommandsTest)
#include "scene_commands_test.moc"
