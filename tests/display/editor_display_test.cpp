#include "device/Commands.h"
#include "editor/AppTexts.h"
#include "support/ControllerProcess.h"
#include "support/DisplayRig.h"
#include "support/SceneFiles.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace std::chrono_literals;

namespace {
constexpr int scenes = 15; // of a Mk1 controller of 512 channels

// The level the controller program gives every channel with --pattern.
int patternLevel(int channel, int scene) {
    return (scene * 37 + channel) % 256;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool centredOn(const QRect& box, const QRect& on) {
    const QPoint off = box.center() - on.center();
    return off.manhattanLength() < 60;
}
} // namespace

// The start, the chooser, the channel range dialog, Change Comms, the message boxes and the ways
// out of the editor, used as a user uses them.
class EditorDisplayTest : public QObject {
    Q_OBJECT

    // Waits until every scene has been read and the read has ended by making scene 1 current, which
    // the controller hears as the read's last command; the editor takes input again once the pause
    // after that has passed.
    static bool readEnds(ControllerProcess& controller) {
        const bool ended = controller.waitFor(command::read_scene, scenes, 30s) &&
                           controller.waitForLast(QByteArray("\x03\x01"), 5s);
        QTest::qWait(200);
        return ended;
    }

    // Starts the editor and answers its prompts with the controller's port at 9600 baud.
    static bool startOn(DisplayRig& rig, const ControllerProcess& controller) {
        rig.launch();
        return rig.answer(QString::number(controller.port())) && rig.answer(QStringLiteral("0"));
    }

    // Starts on the controller's port and waits until every scene has been read.
    static bool startAndRead(DisplayRig& rig, ControllerProcess& controller) {
        return startOn(rig, controller) && readEnds(controller);
    }

    // Answers the next message box with OK; true when it stood over the main window, as a dialog of
    // the window is placed by the window manager.
    static bool answerBoxOverTheWindow(DisplayRig& rig) {
        const auto box = rig.nextWindow(texts::appTitle);
        const auto main = rig.mainWindow();
        if (!box || !main) {
            return false;
        }
        const bool over =
            rig.x.transientFor(*box) == main && centredOn(rig.x.geometry(*box), rig.x.geometry(*main));
        rig.x.key(QStringLiteral("Return"));
        return over;
    }

    // Saves the grid under the name in the working folder and gives the file's bytes.
    static QByteArray saveAs(DisplayRig& rig, const QString& name) {
        if (!rig.pressInMain(QStringLiteral("alt+a")) || !rig.nextWindow(QStringLiteral("File Save"))) {
            return {};
        }
        rig.x.type(name);
        rig.x.key(QStringLiteral("Return"));
        rig.backToMain();
        return contents(QDir(rig.folder.path()).filePath(name));
    }

private slots:
    void initTestCase() { DMX_REQUIRE_DISPLAY(); }

    void startPromptsReachTheController() {
        ControllerProcess controller({QStringLiteral("--pattern")});
        QVERIFY2(controller.failure().isEmpty(), qPrintable(controller.failure()));
        DisplayRig rig;
        QVERIFY2(startAndRead(rig, controller), qPrintable(rig.failure()));
        QCOMPARE(rig.exitByMenu(), 0);
        controller.stop();
        const QList<QByteArray> commands = controller.commands();
        QCOMPARE(commands.value(0), QByteArray("\x06"));
        // The start ends by making scene 1 current.
        QCOMPARE(commands.constLast(), QByteArray("\x03\x01"));
    }

    void aBadStartAnswerEndsTheProgram_data() {
        QTest::addColumn<QString>("port");  // typed, or Escape to cancel
        QTest::addColumn<QString>("speed"); // empty when the port prompt alone is answered
        QTest::newRow("port cancelled") << "Escape"
                                        << "";
        QTest::newRow("port 33") << "33"
                                 << "";
        QTest::newRow("speed 7") << "1"
                                 << "7";
    }

    void aBadStartAnswerEndsTheProgram() {
        QFETCH(QString, port);
        QFETCH(QString, speed);
        DisplayRig rig;
        rig.launch();
        if (port == QLatin1String("Escape")) {
            QVERIFY2(rig.answerBox(QStringLiteral("Escape")), qPrintable(rig.failure()));
        } else {
            QVERIFY2(rig.answer(port), qPrintable(rig.failure()));
        }
        if (!speed.isEmpty()) {
            QVERIFY(rig.answer(speed));
        }
        // The message, then the program ends of itself.
        QVERIFY(rig.answerBox());
        QCOMPARE(rig.exitCode(), 0);
    }

    void aPortThatCannotBeOpenedIsToldInTheMiddleOfTheScreen() {
        DisplayRig rig;
        rig.launch();
        QVERIFY2(rig.answer(QStringLiteral("32")) && rig.answer(QStringLiteral("0")),
                 qPrintable(rig.failure()));
        const auto box = rig.nextWindow(texts::appTitle);
        QVERIFY(box);
        QVERIFY(centredOn(rig.x.geometry(*box), QRect(0, 0, 1280, 1024)));
        rig.x.key(QStringLiteral("Return"));
        QVERIFY(rig.chooseFirstSize());
        QVERIFY(rig.backToMain());
        QCOMPARE(rig.exitByMenu(), 0);
    }

    void aMessageDuringReadDataShowsOverTheWindowAndTheReadGoesOn() {
        // Scene 2 never answers: "Comms error", and its column stays empty.
        ControllerProcess controller(
            {QStringLiteral("--pattern"), QStringLiteral("--fault"), QStringLiteral("silent:4:2")});
        QVERIFY2(controller.failure().isEmpty(), qPrintable(controller.failure()));
        DisplayRig rig;
        QVERIFY2(startOn(rig, controller), qPrintable(rig.failure()));
        QVERIFY(answerBoxOverTheWindow(rig));
        QVERIFY(readEnds(controller));

        const QByteArray read = sceneFileOf(controller.port(), 0, 512, scenes, [](int channel, int scene) {
            return scene == 2 ? 0 : patternLevel(channel, scene);
        });
        QCOMPARE(saveAs(rig, QStringLiteral("read.txt")), read);
        QCOMPARE(rig.exitByMenu(), 0);
    }

    void aDeviceThatIsNoControllerIsToldOverTheWindow() {
        // A receiver that talks on its own, unasked.
        ControllerProcess talker(
            {QStringLiteral("--chatter"), QStringLiteral("$GPGGA,123519,4807.038,N,*47")});
        QVERIFY2(talker.failure().isEmpty(), qPrintable(talker.failure()));
        DisplayRig rig;
        QVERIFY2(startOn(rig, talker), qPrintable(rig.failure()));
        QVERIFY(answerBoxOverTheWindow(rig));
        // The road without a controller: the port closed, so the new grid is not sent.
        QVERIFY(rig.chooseFirstSize());
        QCOMPARE(rig.exitByMenu(), 0);
        talker.stop();
        QCOMPARE(talker.commands(), QList<QByteArray>{"\x06"});
    }

    void theChooserTakesItsKeys() {
        DisplayRig rig;
        rig.launch();
        QVERIFY2(rig.answerStart(32, 0), qPrintable(rig.failure()));
        QVERIFY(rig.nextWindow(QStringLiteral("Select Channels per Scene")));
        rig.x.key(QStringLiteral("Down Tab space"));
        QCOMPARE(saveAs(rig, QStringLiteral("new.txt")),
                 sceneFileOf(32, 0, 256, 30, [](int, int) { return 0; }));
        QCOMPARE(rig.exitByMenu(), 0);
    }

    void changeCommsThenTheChannelRangeByAClickAndKeys() {
        ControllerProcess controller;
        QVERIFY2(controller.failure().isEmpty(), qPrintable(controller.failure()));
        DisplayRig rig;
        QVERIFY2(rig.startOffline(), qPrintable(rig.failure()));
        QVERIFY(rig.pressInMain(QStringLiteral("alt+c")));
        const auto prompt = rig.nextWindow(texts::appTitle);
        QVERIFY(prompt);
        QCOMPARE(rig.x.transientFor(*prompt), rig.mainWindow());
        rig.x.type(QString::number(controller.port()));
        rig.x.key(QStringLiteral("Return"));
        QVERIFY(rig.answer(QStringLiteral("0")));
        QVERIFY(rig.backToMain());

        rig.x.click(*rig.mainWindow(), DisplayRig::cellCentre(3, 1));
        const auto dialog = rig.nextWindow(QStringLiteral("Set Channel"));
        QVERIFY(dialog);
        // Channel 3, then Enter applies and moves on to 4; then 5 to 10 with Alt+E, which closes.
        rig.x.key(QStringLiteral("ctrl+a"));
        rig.x.type(QStringLiteral("200"));
        rig.x.key(QStringLiteral("Return Return alt+l ctrl+a"));
        rig.x.type(QStringLiteral("10"));
        rig.x.key(QStringLiteral("alt+e"));
        QVERIFY(rig.x.waitUntilGone(*dialog));
        QVERIFY(controller.waitFor(command::set_levels, 3, 5s));
        QCOMPARE(rig.exitByMenu(), 0);

        const auto memory = controller.stop();
        QVERIFY(memory);
        QList<int> expected(512, 0);
        for (int channel = 3; channel <= 10; ++channel) {
            expected[channel - 1] = 200;
        }
        QCOMPARE(memory->value(0), expected);
        QCOMPARE(memory->value(1), QList<int>(512, 0));
    }

    void closingTheWindowDuringReadDataEndsOnceTheReadIsDone() {
        ControllerProcess controller({QStringLiteral("--pattern")});
        QVERIFY2(controller.failure().isEmpty(), qPrintable(controller.failure()));
        DisplayRig rig;
        QVERIFY2(startOn(rig, controller), qPrintable(rig.failure()));
        QVERIFY(controller.waitFor(command::read_scene, 3, 10s));
        // The window manager's own close, as its title bar button asks for it.
        QVERIFY(rig.pressInMain(QStringLiteral("alt+F4")));
        QVERIFY(controller.waitFor(command::read_scene, scenes, 30s));
        QCOMPARE(rig.exitCode(), 0);
        controller.stop();
        QCOMPARE(controller.commands().constLast(), QByteArray("\x03\x01"));
    }

    void exitAsksFirst_data() {
        QTest::addColumn<bool>("byButton");
        QTest::newRow("menu by keys") << false;
        QTest::newRow("button by a click") << true;
    }

    void exitAsksFirst() {
        QFETCH(bool, byButton);
        DisplayRig rig;
        QVERIFY2(rig.startOffline(), qPrintable(rig.failure()));
        const auto askExit = [&] {
            if (byButton) {
                // The Exit button's middle, below the menu bar.
                rig.x.click(*rig.mainWindow(), {528, 48});
            } else {
                rig.x.key(QStringLiteral("alt+x"));
            }
        };
        askExit();
        QVERIFY(rig.answerBox(QStringLiteral("Escape"))); // No
        QVERIFY(rig.backToMain());
        QTest::qWait(300);
        QCOMPARE(rig.editor->state(), QProcess::Running);
        askExit();
        QVERIFY(rig.answerBox()); // Yes
        QCOMPARE(rig.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(EditorDisplayTest)
#include "editor_display_test.moc"
