#include "device/Commands.h"
#include "editor/AppTexts.h"
#include "support/ControllerProcess.h"
#include "support/DisplayRig.h"
#include "support/SceneFiles.h"

#include <QDir>
#include <QTest>

using namespace std::chrono_literals;

namespace {
constexpr int scenes = 15; // of a Mk1 controller of 512 channels

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
    // the controller hears as the read's last command.
    static bool readEnds(ControllerProcess& controller) {
        return controller.waitFor(command::read_scene, scenes, 30s) &&
               controller.waitForLast(QByteArray("\x03\x01"), 5s);
    }

    // Starts the editor and answers its prompts with the controller's port at 9600 baud.
    static bool startOn(DisplayRig& rig, const ControllerProcess& controller) {
        rig.launch();
        return rig.answer(QString::number(controller.port())) && rig.answer(QStringLiteral("0"));
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

    // Saves the grid under the name, then ends the editor, which has written the file once it has
    // ended; gives the file's bytes.
    static QByteArray saveAsAndExit(DisplayRig& rig, const QString& name) {
        if (!rig.openByKeys(QStringLiteral("alt+a"), QStringLiteral("File Save"))) {
            return {};
        }
        rig.enter(name);
        return rig.exitByMenu() == 0 ? fileContents(QDir(rig.folder.path()).filePath(name)) : QByteArray();
    }

private slots:
    void initTestCase() { DMX_REQUIRE_DISPLAY(); }

    void startPromptsReachTheController() {
        ControllerProcess controller({QStringLiteral("--pattern")});
        QVERIFY2(controller.failure().isEmpty(), qPrintable(controller.failure()));
        DisplayRig rig;
        QVERIFY2(startOn(rig, controller) && readEnds(controller), qPrintable(rig.failure()));
        QCOMPARE(rig.exitByMenu(), 0);
        controller.stop();
        const QList<QByteArray> commands = controller.commands();
        QCOMPARE(commands.value(0), QByteArray("\x06"));
        // The start ends by making scene 1 current.
        QCOMPARE(commands.constLast(), QByteArray("\x03\x01"));
    }

    void aBadStartAnswerEndsTheProgram_data() {
        QTest::addColumn<QStringList>("answers"); // to the port prompt, then the speed; Escape cancels
        QTest::newRow("port cancelled") << QStringList{"Escape"};
        QTest::newRow("port 33") << QStringList{"33"};
        QTest::newRow("speed 7") << QStringList{"1", "7"};
    }

    void aBadStartAnswerEndsTheProgram() {
        QFETCH(QStringList, answers);
        DisplayRig rig;
        rig.launch();
        for (const QString& answer : answers) {
            QVERIFY2(answer == QLatin1String("Escape") ? rig.answerBox(answer) : rig.answer(answer),
                     qPrintable(rig.failure()));
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

        // The levels the controller program gives every channel with --pattern.
        const QByteArray read = sceneFileOf(controller.port(), 0, 512, scenes, [](int channel, int scene) {
            return scene == 2 ? 0 : (scene * 37 + channel) % 256;
        });
        QCOMPARE(saveAsAndExit(rig, QStringLiteral("read.txt")), read);
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
        QCOMPARE(saveAsAndExit(rig, QStringLiteral("new.txt")),
                 sceneFileOf(32, 0, 256, 30, [](int, int) { return 0; }));
    }

    void changeCommsThenTheChannelRangeByAClickAndKeys() {
        ControllerProcess controller;
        QVERIFY2(controller.failure().isEmpty(), qPrintable(controller.failure()));
        DisplayRig rig;
        QVERIFY2(rig.startOffline(), qPrintable(rig.failure()));
        const auto prompt = rig.openByKeys(QStringLiteral("alt+c"));
        QVERIFY(prompt);
        QCOMPARE(rig.x.transientFor(*prompt), rig.mainWindow());
        rig.enter(QString::number(controller.port()));
        QVERIFY(rig.answer(QStringLiteral("0")));

        const auto dialog = rig.openByClick(DisplayRig::cellCentre(3, 1), QStringLiteral("Set Channel"));
        QVERIFY(dialog);
        // Channels 3 to 9, then Enter applies and moves on to 10; Alt+E sets 10 and closes.
        rig.x.key(QStringLiteral("alt+l"));
        rig.x.typeOver(QStringLiteral("9"));
        rig.x.key(QStringLiteral("alt+v"));
        rig.enter(QStringLiteral("200"));
        QVERIFY(controller.waitFor(command::set_levels, 1, 5s));
        QVERIFY(rig.closeByKeys(QStringLiteral("alt+e"), *dialog));
        QVERIFY(controller.waitFor(command::set_levels, 2, 5s));
        QCOMPARE(rig.exitByMenu(), 0);

        const auto memory = controller.stop();
        QVERIFY(memory);
        QCOMPARE(memory->value(0), QStringList(2, "0") + QStringList(8, "200") + QStringList(502, "0"));
        QCOMPARE(memory->value(1), QStringList(512, "0"));
    }

    void closingTheWindowDuringReadDataEndsOnceTheReadIsDone() {
        ControllerProcess controller({QStringLiteral("--pattern")});
        QVERIFY2(controller.failure().isEmpty(), qPrintable(controller.failure()));
        DisplayRig rig;
        QVERIFY2(startOn(rig, controller), qPrintable(rig.failure()));
        QVERIFY(controller.waitFor(command::read_scene, 3, 10s));
        // The window manager's own close, as its title bar button asks for it.
        QVERIFY(rig.backToMain());
        rig.x.key(QStringLiteral("alt+F4"));
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
        // The Exit button's middle, below the menu bar.
        const auto askExit = [&] {
            return byButton ? rig.openByClick({528, 48}, texts::appTitle)
                            : rig.openByKeys(QStringLiteral("alt+x"));
        };
        QVERIFY(askExit());
        rig.x.key(QStringLiteral("Escape")); // No
        // The question comes again, so the editor still runs and takes input.
        QVERIFY(askExit());
        rig.x.key(QStringLiteral("Return")); // Yes
        QCOMPARE(rig.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(EditorDisplayTest)
#include "editor_display_test.moc"
