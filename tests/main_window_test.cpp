#include "support/EditorRig.h"
#include "support/ExpectedTraffic.h"

#include <QTest>

using namespace std::chrono_literals;
using Generation = ControllerModel::Generation;
using Fault = ControllerModel::Fault;

namespace {
QRect rect(const TwipRect& r) {
    return QRect(r.left, r.top, r.width, r.height);
}
} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void badAnswerEndsBeforeAnyTraffic_data() {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("speed");
        QTest::addColumn<QString>("message");
        const QString badPort = QStringLiteral("Invalid comm port");
        const QString badSpeed = QStringLiteral("Invalid speed");
        QTest::newRow("no port") << ""
                                 << "0"
                                 << "Must specify comm port";
        QTest::newRow("port 0") << "0"
                                << "0" << badPort;
        QTest::newRow("port 33") << "33"
                                 << "0" << badPort;
        QTest::newRow("port not a number") << "COM1"
                                           << "0" << badPort;
        QTest::newRow("port beyond 16 bits") << "40000"
                                             << "0" << badPort;
        QTest::newRow("no speed") << "1"
                                  << ""
                                  << "Must specify speed";
        QTest::newRow("speed 2") << "1"
                                 << "2" << badSpeed;
        QTest::newRow("speed -1") << "1"
                                  << "-1" << badSpeed;
        QTest::newRow("speed not a number") << "1"
                                            << "fast" << badSpeed;
        QTest::newRow("speed beyond 16 bits") << "1"
                                              << "70000" << badSpeed;
    }
    void badAnswerEndsBeforeAnyTraffic() {
        QFETCH(QString, port);
        QFETCH(QString, speed);
        QFETCH(QString, message);
        EditorRig rig;
        QVERIFY(!rig.start(port, speed));
        QCOMPARE(rig.messages.shown, QStringList{message});
        QCOMPARE(rig.window.windowShown, 0);
        QCOMPARE(rig.port.openings().size(), 0);
        QCOMPARE(rig.sent(), QList<Bytes>{});
        QCOMPARE(rig.window.statuses, QList<StatusLine>{});
    }

    void acceptedSettings_data() {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("speed");
        QTest::addColumn<std::int16_t>("commport");
        QTest::addColumn<QString>("settings");
        QTest::newRow("1 at 19200") << "1"
                                    << "1" << std::int16_t(1) << "19200,n,8,2";
        QTest::newRow("32 at 9600") << "32"
                                    << "0" << std::int16_t(32) << "9600,n,8,2";
        QTest::newRow("halves round to even") << " 2.5 "
                                              << "0.5" << std::int16_t(2) << "9600,n,8,2";
    }
    void acceptedSettings() {
        QFETCH(QString, port);
        QFETCH(QString, speed);
        QFETCH(std::int16_t, commport);
        QFETCH(QString, settings);
        EditorRig rig;
        QVERIFY(rig.start(port, speed));
        QCOMPARE(rig.inputs.prompts,
                 (QStringList{"Specify comm port number?", "Specify speed - 0: 9600 1:19200"}));
        QCOMPARE(rig.inputs.defaults, (QStringList{"1", "0"}));
        QCOMPARE(rig.port.openings().value(0), (ControllerEmulator::Opening{commport, settings}));
        QCOMPARE(rig.form.commport, commport);
    }

    void startWithoutController_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<Bytes>("reply"); // what another device sends instead of a controller's answer
        QTest::addColumn<QList<Bytes>>("frames");
        QTest::addColumn<bool>("waitsDeadline");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("nothing connected")
            << "silent" << Bytes{} << QList<Bytes>{{6}} << true << QStringList{};
        QTest::newRow("echoing line") << "echo" << Bytes{} << QList<Bytes>{{6}} << true << QStringList{};
        QTest::newRow("port cannot be opened")
            << "unopenable" << Bytes{} << QList<Bytes>{} << false
            << QStringList{"Cannot open comm port 1 (/dev/ttyS0): No such file or directory. No serial "
                           "devices were found. "
                           "Working without a "
                           "controller."};
        const QStringList notAController{
            "What answers on comm port 1 (/dev/ttyUSB0) does not answer as a scene controller: the port "
            "number or the speed may be wrong. Working without a controller."};
        QTest::newRow("one byte") << "other device" << Bytes{2} << QList<Bytes>{{6}} << true
                                  << notAController;
        QTest::newRow("three bytes") << "other device" << Bytes{0, 2, 0} << QList<Bytes>{{6}} << false
                                     << notAController;
        QTest::newRow("a size of 100")
            << "other device" << Bytes{100, 0} << QList<Bytes>{{6}} << false << notAController;
        QTest::newRow("a stream of text")
            << "talking" << Bytes{} << QList<Bytes>{{6}} << false << notAController;
    }
    void startWithoutController() {
        QFETCH(QString, line);
        QFETCH(Bytes, reply);
        QFETCH(QList<Bytes>, frames);
        QFETCH(bool, waitsDeadline);
        QFETCH(QStringList, messages);
        EditorRig rig;
        if (line == "silent") {
            rig.controller.addFault({Fault::Kind::Silent});
        } else if (line == "echo") {
            rig.controller.setEcho(true);
        } else if (line == "other device") {
            // It ignores the command and sends its bytes within the pause after it.
            rig.controller.addFault({Fault::Kind::Silent});
            rig.controller.sendUnsolicited(reply, 20ms);
        } else if (line == "talking") {
            // A GPS receiver: a sentence every 100 ms, whether asked or not.
            rig.controller.addFault({Fault::Kind::Silent});
            const QByteArray sentence(
                "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n");
            for (int i = 0; i < 30; ++i) {
                rig.controller.sendUnsolicited(bytesOf(sentence), i * 100ms);
            }
        } else {
            rig.port.failNextOpen({SerialError::Kind::NoSuchPort, "/dev/ttyS0", "No such file or directory"});
        }
        rig.window.chooserAnswers << std::int16_t(2);
        QVERIFY(rig.start());

        QCOMPARE(rig.sent(), frames);
        QCOMPARE(rig.messages.shown, messages);
        // Only a short reply, or none, waits for the whole reply deadline.
        QCOMPARE(rig.clock.now() > 1050ms, waitsDeadline);
        QVERIFY(!rig.port.isOpen());
        QCOMPARE(rig.window.windowShown, 1);
        QCOMPARE(rig.window.chooserShown, 1);
        // A new grid of 128 channels with Mk1 scene counts, since the generation was never asked.
        QCOMPARE(rig.form.DMX.version, std::int16_t(0));
        QCOMPARE(rig.grid.rows(), 129);
        QCOMPARE(rig.grid.cols(), 61);
        for (int s = 1; s <= 60; ++s) {
            QCOMPARE(rig.columnTexts(s), QStringList(128, QStringLiteral("0")));
        }
        QCOMPARE(rig.paints(), QStringList{"cyan"} + QStringList(59, "white"));
        QCOMPARE(rig.form.nscene, std::int16_t(1));
        QCOMPARE(rig.window.sceneNumber, QStringLiteral("1"));
        // The status line shows nothing before the reset, and Save Scene is never shown.
        QCOMPARE(rig.window.statuses, resetAllStatuses(60));
        QCOMPARE(rig.window.saveSceneVisible, std::nullopt);
    }

    // The start reads the controller's scenes, then selects scene 1 once more.
    void startWithController() {
        EditorRig rig(Generation::Mk2, 128);
        rig.controller.fillWithPattern();
        QVERIFY(rig.start());
        QCOMPARE(rig.sent(), (QList<Bytes>{{6}, {12}, {6}} + readAllFrames(55) + QList<Bytes>{{3, 1}}));
        QCOMPARE(rig.grid.cols(), 56);
        QCOMPARE(rig.columnTexts(55), rig.controllerLevels(55));
        QCOMPARE(rig.paints(), QStringList{"cyan"} + QStringList(54, "white"));
        QVERIFY(rig.port.isOpen());
        QCOMPARE(rig.window.windowShown, 1);
        QCOMPARE(rig.window.chooserShown, 0);
        QCOMPARE(rig.messages.shown, QStringList{});
        QCOMPARE(rig.window.saveSceneVisible, std::optional<bool>(true));
        QVERIFY(shortestSilence(rig.controller) > 50ms);
    }

    void resize_data() {
        QTest::addColumn<TwipSize>("inner");
        QTest::addColumn<QRect>("placement");
        const QRect before(100, 840, 2800, 1100);
        QTest::newRow("larger") << TwipSize{10000, 5000} << QRect(100, 840, 9800, 4100);
        QTest::newRow("minimised") << TwipSize{0, 0} << before;
        QTest::newRow("no height") << TwipSize{5000, 0} << before;
        QTest::newRow("no width") << TwipSize{0, 5000} << before;
        QTest::newRow("just the margins") << TwipSize{200, 900} << QRect(100, 840, 0, 0);
        QTest::newRow("smaller than the margins") << TwipSize{150, 800} << QRect(100, 840, 0, 0);
    }
    void resize() {
        QFETCH(TwipSize, inner);
        QFETCH(QRect, placement);
        EditorRig rig;
        rig.window.inner = {3000, 2000};
        rig.form.onResize();
        rig.window.inner = inner;
        rig.form.onResize();
        QCOMPARE(rect(rig.grid.placement()), placement);
    }

    void exit_data() {
        QTest::addColumn<bool>("fromMenu");
        QTest::addColumn<bool>("yes");
        QTest::newRow("button, yes") << false << true;
        QTest::newRow("menu, yes") << true << true;
        QTest::newRow("button, no") << false << false;
        QTest::newRow("menu, no") << true << false;
    }
    void exit() {
        QFETCH(bool, fromMenu);
        QFETCH(bool, yes);
        EditorRig rig(Generation::Mk2, 512);
        QVERIFY(rig.startPatterned());
        rig.form.onNextBtn();
        rig.forget();
        const auto variables = [&rig] {
            const GridForm& f = rig.form;
            return QList<int>{f.commport, f.speed, f.channels, f.nrows, f.ncols, f.nscene, f.DMX.version};
        };
        const QList<int> before = variables();
        const QStringList paints = rig.paints();
        rig.messages.answers << yes;
        fromMenu ? rig.form.onExitMenu() : rig.form.onExitBtn();

        QCOMPARE(rig.messages.shown, QStringList{"Are you sure you want to quit"});
        QCOMPARE(rig.window.programEnded, yes ? 1 : 0);
        // Nothing is sent and the port is left to the end of the program.
        QCOMPARE(rig.sent(), QList<Bytes>{});
        QVERIFY(rig.port.isOpen());
        QCOMPARE(variables(), before);
        QCOMPARE(rig.paints(), paints);
        QCOMPARE(rig.columnTexts(2), rig.controllerLevels(2));
    }
};

QTEST_GUILESS_MAIN(MainWindowTest)
#include "main_window_test.moc"
