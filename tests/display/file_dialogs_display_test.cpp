#include "device/Commands.h"
#include "support/ControllerProcess.h"
#include "support/DisplayRig.h"
#include "support/SceneFiles.h"

#include <QDir>
#include <QFile>
#include <QTest>

using Manager = XSession::Manager;

namespace {
const QString saveTitle = QStringLiteral("File Save");
const QString openTitle = QStringLiteral("File Open");

// The file of the new grid that a start without a controller lays out: 512 channels, all 0.
const QByteArray newGridFile = sceneFileOf(32, 0, 512, 15, [](int, int) { return 0; });

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Files in the folder beside which a name is typed, so that the completion list shows for it.
void placeFiles(const QDir& folder, const QStringList& names) {
    for (const QString& name : names) {
        QVERIFY(writeSceneFile(folder.filePath(name), patternedSceneFile(128, 60)));
    }
}
} // namespace

// Open and Save As by typing, as a user does, with the completion list dropping down under the name.
class FileDialogsDisplayTest : public QObject {
    Q_OBJECT

    // Opens Save As on a new grid and waits for its dialog.
    static std::optional<XSession::WindowId> openSaveAs(DisplayRig& rig) {
        if (!rig.startOffline()) {
            return std::nullopt;
        }
        if (!rig.pressInMain(QStringLiteral("alt+a"))) {
            return std::nullopt;
        }
        return rig.nextWindow(saveTitle);
    }

    // Starts without a controller, then reaches the controller through Change Comms.
    static bool startThenConnect(DisplayRig& rig, const ControllerProcess& controller) {
        if (!rig.startOffline()) {
            return false;
        }
        return rig.pressInMain(QStringLiteral("alt+c")) && rig.answer(QString::number(controller.port())) &&
               rig.answer(QStringLiteral("0"));
    }

    // Opens the file dialog of Open, answering Yes to replacing the grid.
    static std::optional<XSession::WindowId> openOpen(DisplayRig& rig) {
        if (!rig.pressInMain(QStringLiteral("alt+o")) || !rig.answerBox()) {
            return std::nullopt;
        }
        return rig.nextWindow(openTitle);
    }

    // Presses the keys in the file dialog one by one; "Cancel" stands for a click on its button.
    static void leaveFileDialog(DisplayRig& rig, XSession::WindowId dialog, const QString& keys) {
        for (const QString& key : keys.split(QLatin1Char(' '))) {
            if (key != QLatin1String("Cancel")) {
                rig.x.key(key);
                continue;
            }
            // The button sits in the bottom right corner of the dialog as the toolkit lays it out.
            const QRect area = rig.x.geometry(dialog);
            rig.x.click(dialog, {area.width() - 51, area.height() - 23});
        }
    }

private slots:
    void initTestCase() { DMX_REQUIRE_DISPLAY(); }

    void saveAsWritesTheTypedName_data() {
        QTest::addColumn<Manager>("manager");
        QTest::addColumn<QStringList>("beside");
        QTest::addColumn<QString>("typed"); // %1 stands for the working folder
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
        placeFiles(folder, beside);
        const auto dialog = openSaveAs(rig);
        QVERIFY2(dialog, qPrintable(rig.failure()));

        if (allFiles) {
            // From its drop-down list, a pop-up of its own, by keys; then back to the name.
            rig.x.key(QStringLiteral("Tab alt+Down Down Return shift+Tab"));
        }
        rig.x.type(QString(typed).replace(QLatin1String("%1"), folder.path()));
        rig.x.key(QStringLiteral("Return"));
        QVERIFY2(rig.x.waitUntilGone(*dialog), "the file dialog took no more input");
        QCOMPARE(contents(folder.filePath(written)), newGridFile);
        QCOMPARE(rig.exitByMenu(), 0);
    }

    void saveAsLeftByCancelOrEsc_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("leave");
        // Esc or a click elsewhere closes the completion list first, then the dialog.
        QTest::newRow("Esc twice with the completion list shown") << "/"
                                                                  << "Escape Escape";
        QTest::newRow("Esc on a name") << "show"
                                       << "Escape";
        QTest::newRow("Cancel clicked twice with the completion list shown") << "/"
                                                                             << "Cancel Cancel";
        QTest::newRow("Cancel clicked on a name") << "show.txt"
                                                  << "Cancel";
    }

    void saveAsLeftByCancelOrEsc() {
        QFETCH(QString, typed);
        QFETCH(QString, leave);
        DisplayRig rig;
        const auto dialog = openSaveAs(rig);
        QVERIFY2(dialog, qPrintable(rig.failure()));
        rig.x.type(typed);
        leaveFileDialog(rig, *dialog, leave);
        QVERIFY2(rig.x.waitUntilGone(*dialog), "the file dialog took no more input");
        QCOMPARE(QDir(rig.folder.path()).entryList(QDir::Files), QStringList());
        QCOMPARE(rig.exitByMenu(), 0);
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
        rig.x.type(QStringLiteral("show.txt"));
        rig.x.key(QStringLiteral("Return"));
        QVERIFY(rig.nextWindow(saveTitle));
        rig.x.key(answer);
        if (!replaced) {
            QVERIFY(rig.x.waitForFocusOn(*dialog));
            rig.x.key(QStringLiteral("Escape"));
        }
        QVERIFY2(rig.x.waitUntilGone(*dialog), "the file dialog took no more input");
        QCOMPARE(contents(path), replaced ? newGridFile : old);
        QCOMPARE(rig.exitByMenu(), 0);
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

        rig.x.type(QString(typed).replace(QLatin1String("%1"), folder.path()));
        rig.x.key(QStringLiteral("Return"));
        QVERIFY2(rig.x.waitUntilGone(*dialog), "the file dialog took no more input");
        // Every scene of the file goes to the controller.
        QVERIFY(controller.waitFor(command::set_levels, 15, std::chrono::seconds(20)));
        QCOMPARE(rig.exitByMenu(), 0);
        const auto memory = controller.stop();
        QVERIFY(memory);
        QCOMPARE(memory->size(), 15);
        for (int s = 1; s <= 15; ++s) {
            QStringList levels;
            for (const int level : memory->at(s - 1)) {
                levels << QString::number(level);
            }
            QCOMPARE(levels, patternedLevels(512, s));
        }
    }

    void openLeftByCancelOrEsc_data() {
        QTest::addColumn<QString>("leave");
        QTest::newRow("Esc twice with the completion list shown") << "Escape Escape";
        QTest::newRow("Cancel clicked twice with the completion list shown") << "Cancel Cancel";
    }

    void openLeftByCancelOrEsc() {
        QFETCH(QString, leave);
        ControllerProcess controller;
        QVERIFY2(controller.failure().isEmpty(), qPrintable(controller.failure()));
        DisplayRig rig;
        QVERIFY2(startThenConnect(rig, controller), qPrintable(rig.failure()));
        const auto dialog = openOpen(rig);
        QVERIFY(dialog);
        rig.x.type(QStringLiteral("/"));
        leaveFileDialog(rig, *dialog, leave);
        QVERIFY2(rig.x.waitUntilGone(*dialog), "the file dialog took no more input");
        QCOMPARE(rig.exitByMenu(), 0);
        controller.stop();
        // Open asked the controller what it is, and sent nothing after the dialog was left.
        QCOMPARE(controller.commands(), (QList<QByteArray>{"\x0c", "\x06"}));
    }
};

QTEST_GUILESS_MAIN(FileDialogsDisplayTest)
#include "file_dialogs_display_test.moc"
