#include "device/Commands.h"
#include "support/ControllerProcess.h"
#include "support/DisplayRig.h"
#include "support/SceneFiles.h"

#include <QDir>
#include <QTest>

using Manager = XSession::Manager;

namespace {
const QString saveTitle = QStringLiteral("File Save");
const QString openTitle = QStringLiteral("File Open");

// The file of the new grid that a start without a controller lays out: 512 channels, all 0.
const QByteArray newGridFile = sceneFileOf(32, 0, 512, 15, [](int, int) { return 0; });
} // namespace

// Open and Save As by typing, as a user does, with the completion list dropping down under the name.
class FileDialogsDisplayTest : public QObject {
    Q_OBJECT

    // Opens Save As on a new grid and waits for its dialog.
    static std::optional<XSession::WindowId> openSaveAs(DisplayRig& rig) {
        return rig.startOffline() ? rig.openByKeys(QStringLiteral("alt+a"), saveTitle) : std::nullopt;
    }

    // Starts without a controller, then reaches the controller through Change Comms.
    static bool startThenConnect(DisplayRig& rig, const ControllerProcess& controller) {
        if (!rig.startOffline() || !rig.openByKeys(QStringLiteral("alt+c"))) {
            return false;
        }
        rig.enter(QString::number(controller.port()));
        return rig.answer(QStringLiteral("0"));
    }

    // Opens the file dialog of Open, answering Yes to replacing the grid.
    static std::optional<XSession::WindowId> openOpen(DisplayRig& rig) {
        if (!rig.openByKeys(QStringLiteral("alt+o"))) {
            return std::nullopt;
        }
        rig.x.key(QStringLiteral("Return"));
        return rig.nextWindow(openTitle);
    }

    // Presses the keys in the file dialog one by one; "Cancel" stands for a click on its button.
    static bool leaveFileDialog(DisplayRig& rig, XSession::WindowId dialog, const QStringList& steps) {
        for (qsizetype step = 0; step < steps.size(); ++step) {
            // Every step but the last closes the completion list: it is waited for to show, and to go.
            const bool closesList = step + 1 < steps.size();
            if (closesList && !rig.waitForPopup(true)) {
                return false;
            }
            if (steps[step] != QLatin1String("Cancel")) {
                rig.x.key(steps[step]);
            } else {
                // The button sits in the bottom right corner of the dialog as the toolkit lays it out.
                const QRect area = rig.x.geometry(dialog);
                rig.x.click(dialog, {area.width() - 51, area.height() - 23});
            }
            if (closesList && !rig.waitForPopup(false)) {
                return false;
            }
        }
        return true;
    }

private slots:
    void initTestCase() { DMX_REQUIRE_DISPLAY(); }

    void saveAsWritesTheTypedName_data() {
        QTest::addColumn<Manager>("manager");
        QTest::addColumn<QStringList>("beside"); // files that the completion list shows for the name
        QTest::addColumn<QString>("typed");      // %1 stands for the working folder
        QTest::addColumn<bool>("allFiles");
        QTest::addColumn<QString>("written");
        QTest::newRow("full path") << Manager::Openbox << QStringList() << "%1/shows/show.txt" << false
                                   << "shows/show.txt";
        QTest::newRow("full path, no window manager")
            << Manager::None << QStringList() << "%1/shows/show.txt" << false << "shows/show.txt";
        QTest::newRow("name beside a file it begins like gets .txt")
            << Manager::Openbox << QStringList{"demo-scenes.txt"} << "demo" << false << "demo.txt";
        QTest::newRow("name with an extension is kept")
            << Manager::Openbox << QStringList{"demo-scenes.txt"} << "demo.scn" << false << "demo.scn";
        QTest::newRow("All Files chosen: name kept as typed")
            << Manager::Openbox << QStringList{"demo-scenes.txt"} << "demo" << true << "demo";
    }

    void saveAsWritesTheTypedName() {
        QFETCH(Manager, manager);
        QFETCH(QStringList, beside);
        QFETCH(QString, typed);
        QFETCH(bool, allFiles);
        QFETCH(QString, written);
        DisplayRig rig(manager);
        const QDir folder(rig.folder.path());
        QVERIFY(folder.mkdir(QStringLiteral("shows")));
        for (const QString& name : beside) {
            QVERIFY(writeSceneFile(folder.filePath(name), patternedSceneFile(128, 60)));
        }
        const auto dialog = openSaveAs(rig);
        QVERIFY2(dialog, qPrintable(rig.failure()));

        if (allFiles) {
            // From its drop-down list, a pop-up of its own, by keys; then back to the name.
            rig.x.key(QStringLiteral("Tab alt+Down Down Return shift+Tab"));
        }
        rig.enter(QString(typed).replace(QLatin1String("%1"), folder.path()));
        QVERIFY2(rig.x.waitUntilGone(*dialog), "the file dialog took no more input");
        // Once the editor has ended, it has written what it was to write.
        QCOMPARE(rig.exitByMenu(), 0);
        QCOMPARE(fileContents(folder.filePath(written)), newGridFile);
    }

    void saveAsLeftByCancelOrEsc_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("leave");
        // Esc or a click elsewhere closes the completion list first, then the dialog.
        QTest::newRow("Esc twice with the completion list shown") << "/" << QStringList{"Escape", "Escape"};
        QTest::newRow("Esc on a name") << "show" << QStringList{"Escape"};
        QTest::newRow("Cancel clicked twice with the completion list shown")
            << "/" << QStringList{"Cancel", "Cancel"};
        QTest::newRow("Cancel clicked on a name") << "show.txt" << QStringList{"Cancel"};
    }

    void saveAsLeftByCancelOrEsc() {
        QFETCH(QString, typed);
        QFETCH(QStringList, leave);
        DisplayRig rig;
        const auto dialog = openSaveAs(rig);
        QVERIFY2(dialog, qPrintable(rig.failure()));
        rig.x.typeOver(typed);
        QVERIFY(leaveFileDialog(rig, *dialog, leave));
        QVERIFY2(rig.x.waitUntilGone(*dialog), "the file dialog took no more input");
        QCOMPARE(rig.exitByMenu(), 0);
        QCOMPARE(QDir(rig.folder.path()).entryList(QDir::Files), QStringList());
    }

    void saveAsAsksBeforeReplacing_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("Yes replaces the file") << "alt+y" << true;
        QTest::newRow("No keeps it; the dialog stays") << "alt+n" << false;
    }

    void saveAsAsksBeforeReplacing() {
        QFETCH(QString, answer);
        QFETCH(bool, replaced);
        DisplayRig rig;
        const QString path = QDir(rig.folder.path()).filePath(QStringLiteral("show.txt"));
        const QByteArray old = patternedSceneFile(128, 60);
        QVERIFY(writeSceneFile(path, old));
        const auto dialog = openSaveAs(rig);
        QVERIFY2(dialog, qPrintable(rig.failure()));
        rig.enter(QStringLiteral("show.txt"));
        const auto box = rig.nextWindow(saveTitle);
        QVERIFY(box && rig.closeByKeys(answer, *box));
        if (!replaced) {
            QVERIFY2(rig.x.waitForFocusOn(*dialog, DisplayRig::windowLimit),
                     "the file dialog did not get the focus back");
            rig.x.key(QStringLiteral("Escape"));
        }
        QVERIFY2(rig.x.waitUntilGone(*dialog), "the file dialog took no more input");
        QCOMPARE(rig.exitByMenu(), 0);
        QCOMPARE(fileContents(path), replaced ? newGridFile : old);
    }

    void openLoadsTheTypedName_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("full path") << "%1/shows/show.txt";
        QTest::newRow("name relative to the folder") << "shows/show.txt";
    }

    void openLoadsTheTypedName() {
        QFETCH(QString, typed);
        ControllerProcess controller;
        QVERIFY2(controller.failure().isEmpty(), qPrintable(controller.failure()));
        DisplayRig rig;
        const QDir folder(rig.folder.path());
        QVERIFY(folder.mkdir(QStringLiteral("shows")));
        QVERIFY(
            writeSceneFile(folder.filePath(QStringLiteral("shows/show.txt")), patternedSceneFile(512, 15)));
        QVERIFY2(startThenConnect(rig, controller), qPrintable(rig.failure()));
        const auto dialog = openOpen(rig);
        QVERIFY(dialog);

        rig.enter(QString(typed).replace(QLatin1String("%1"), folder.path()));
        QVERIFY2(rig.x.waitUntilGone(*dialog), "the file dialog took no more input");
        // Every scene of the file goes to the controller: 11 s of wire and pauses at 9600 baud, so
        // the bound leaves a loaded machine room.
        QVERIFY(controller.waitFor(command::set_levels, 15, std::chrono::seconds(60)));
        QCOMPARE(rig.exitByMenu(), 0);
        const auto memory = controller.stop();
        QVERIFY(memory);
        QCOMPARE(memory->size(), 15);
        for (int s = 1; s <= 15; ++s) {
            QCOMPARE(memory->at(s - 1), patternedLevels(512, s));
        }
    }

    void openLeftByCancelOrEsc_data() {
        QTest::addColumn<QStringList>("leave");
        QTest::newRow("Esc twice with the completion list shown") << QStringList{"Escape", "Escape"};
        QTest::newRow("Cancel clicked twice with the completion list shown")
            << QStringList{"Cancel", "Cancel"};
    }

    void openLeftByCancelOrEsc() {
        QFETCH(QStringList, leave);
        ControllerProcess controller;
        QVERIFY2(controller.failure().isEmpty(), qPrintable(controller.failure()));
        DisplayRig rig;
        QVERIFY2(startThenConnect(rig, controller), qPrintable(rig.failure()));
        const auto dialog = openOpen(rig);
        QVERIFY(dialog);
        rig.x.typeOver(QStringLiteral("/"));
        QVERIFY(leaveFileDialog(rig, *dialog, leave));
        QVERIFY2(rig.x.waitUntilGone(*dialog), "the file dialog took no more input");
        QCOMPARE(rig.exitByMenu(), 0);
        controller.stop();
        // Open asked the controller what it is, and sent nothing after the dialog was left.
        QCOMPARE(controller.commands(), (QList<QByteArray>{"\x0c", "\x06"}));
    }
};

QTEST_GUILESS_MAIN(FileDialogsDisplayTest)
#include "file_dialogs_display_test.moc"
