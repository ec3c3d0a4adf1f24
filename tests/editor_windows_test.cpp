#include "editor/AppTexts.h"
#include "qt/QtChannelWindow.h"
#include "qt/QtDialogOwner.h"
#include "qt/QtEditor.h"
#include "qt/QtFileDialog.h"
#include "qt/QtMessageBox.h"
#include "support/EditorRig.h"
#include "support/ExpectedTraffic.h"
#include "support/ModalDialogDriver.h"
#include "support/SceneFiles.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using Generation = ControllerModel::Generation;

namespace {
// The program's real windows and dialogs around the main window's logic, with the controller
// emulated in process on a fake clock; only the start prompts are scripted.
struct WindowRig : InProcessLine {
    QtDialogOwner owner;
    QtFileDialog files{owner};
    QtMessageBox messages{texts::appTitle, owner};
    ScriptedInputBox inputs;
    QtEditor editor{port, files, messages, inputs, clock};
    QtMainWindow& window = editor.window;

    // The boxes belong to the main window, as in the program.
    WindowRig()
        : InProcessLine(Generation::Mk1, 512) {
        owner.setWindow(&window);
    }
    GridForm& form = editor.form;

    QStringList column(int s) { return columnTexts(window.grid(), s); }
    QStringList controllerLevels(int s) { return sceneLevels(controller, clock.now(), s); }
};

// Notes the next message box's title and text, and closes it with the given button.
void answerBox(QStringList& seen, QMessageBox::StandardButton button = QMessageBox::Ok,
               std::function<void()> then = {}) {
    whenModalShows([&seen, button, then](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        seen << (box ? box->windowTitle() + QStringLiteral(": ") + box->text() : dialog->objectName());
        if (then) {
            then();
        }
        if (box) {
            box->button(button)->click();
        }
    });
}

// Types a file name into the next file dialog and accepts it with the Enter key.
void typeFileName(const QString& name) {
    whenModalShows([name](QWidget* dialog) {
        auto* edit = childOf<QLineEdit>(dialog, QStringLiteral("fileNameEdit"));
        QVERIFY(edit);
        QTest::keyClicks(edit, name);
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(!dialog->isVisible());
    });
}
} // namespace

class EditorWindowsTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    std::unique_ptr<WindowRig> rig;

    void pressKeys(const QStringList& keys) {
        // A window manager gives the focus back once a dialog has closed; the offscreen platform has none.
        rig->window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&rig->window));
        // The first key opens a menu entry by its access key; a second one chooses in its drop-down.
        QTest::keyClick(&rig->window, QKeySequence(keys[0])[0].key(), Qt::AltModifier);
        if (keys.size() > 1) {
            QWidget* dropDown = QApplication::activePopupWidget();
            QVERIFY(dropDown);
            QTest::keyClick(dropDown, QKeySequence(keys[1])[0].key());
        }
    }

private slots:
    void initTestCase() {
        QVERIFY(folder.isValid());
        // The file dialogs start in the working folder and keep their history in the settings.
        QDir::setCurrent(folder.path());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    }

    void init() {
        rig = std::make_unique<WindowRig>();
        rig->controller.fillWithPattern();
        rig->inputs.answers << QStringLiteral("1") << QStringLiteral("0");
        QVERIFY(rig->editor.start());
        QVERIFY(QTest::qWaitForWindowActive(&rig->window));
        rig->controller.clearLog();
    }

    void cleanup() { rig.reset(); }

    void menusAnswerTheirAccessKeys_data() {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QList<Bytes>>("frames");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QStringList>("scene2");
        const QStringList zeros(512, QStringLiteral("0"));
        QTest::newRow("Read Data, a reply cut short")
            << QStringList{"R"} << QList<Bytes>{{12}, {6}} + readAllFrames(15)
            << QStringList{"DMX Vantor Control Programme: Comms error"} << QStringList(512, QString());
        QTest::newRow("Reset, This Scene")
            << QStringList{"T", "T"} << QList<Bytes>{Bytes{1, 0, 1} + Bytes(512, 0)} << QStringList{}
            << QStringList{};
        QTest::newRow("Reset, All Scenes")
            << QStringList{"T", "A"} << resetAllFrames(true, 512, 15) << QStringList{} << zeros;
    }
    void menusAnswerTheirAccessKeys() {
        QFETCH(QStringList, keys);
        QFETCH(QList<Bytes>, frames);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, scene2);
        const QStringList before = rig->column(2);
        rig->controller.addFault({ControllerModel::Fault::Kind::Short, 4, 2});
        QStringList seen;
        if (!boxes.isEmpty()) {
            answerBox(seen);
        }

        pressKeys(keys);

        QCOMPARE(framesOf(rig->controller), frames);
        QCOMPARE(seen, boxes);
        QCOMPARE(rig->column(2), scene2.isEmpty() ? before : scene2);
        QCOMPARE(rig->column(1), rig->controllerLevels(1));
    }

    void newAsksThenBuildsTheChosenGrid() {
        QStringList seen;
        answerBox(seen, QMessageBox::Yes, [] {
            whenModalShows([](QWidget* chooser) {
                childOf<QRadioButton>(chooser, QStringLiteral("Option2"))->click();
                childOf<QPushButton>(chooser, QStringLiteral("Command1"))->click();
            });
        });

        pressKeys({"N"});

        QCOMPARE(seen, QStringList{"DMX Vantor Control Programme: Data already exists - overwrite?"});
        QCOMPARE(rig->window.grid().rows(), 257);
        QCOMPARE(rig->window.grid().cols(), 31);
        QCOMPARE(framesOf(rig->controller),
                 (QList<Bytes>{{12}, {6}, {2, 1}} + resetAllFrames(true, 256, 30)));
        QCOMPARE(rig->column(30), QStringList(256, "0"));
    }

    void theChannelDialogSetsLevelsFromTheKeyboard() {
        QtGridModel& grid = rig->window.grid();
        auto* view = rig->window.findChild<QTableView*>(QStringLiteral("Grid1"));
        QCoreApplication::processEvents();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(grid.index(4, 0)).center());

        QtChannelWindow& dialog = rig->window.channelWindow();
        QTRY_VERIFY(dialog.isActiveWindow());
        QCOMPARE((QStringList{dialog.firstChannelText(), dialog.lastChannelText(), dialog.valueText()}),
                 (QStringList{"5", "5", QString::number(37 + 5)}));
        auto* value = dialog.findChild<QLineEdit*>(QStringLiteral("Text3"));
        QCOMPARE(QApplication::focusWidget(), value);
        // The level typed replaces the one shown; each Enter sets a channel and moves on.
        QTest::keyClicks(value, QStringLiteral("77"));
        QTest::keyClick(value, Qt::Key_Return);
        QTest::keyClick(value, Qt::Key_Return);
        QCOMPARE((QStringList{dialog.firstChannelText(), dialog.lastChannelText(), dialog.valueText()}),
                 (QStringList{"7", "7", "77"}));
        QStringList seen;
        answerBox(seen);
        QTest::keyClicks(value, QStringLiteral("256"));
        QTest::keyClick(value, Qt::Key_Return);
        QCOMPARE(seen, QStringList{"DMX Vantor Control Programme: Invalid value"});
        QVERIFY(dialog.isVisible());
        QTest::keyClick(value, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());

        QCOMPARE(framesOf(rig->controller), (QList<Bytes>{{1, 0, 5, 77}, {1, 0, 6, 77}}));
        QCOMPARE(rig->column(1).mid(3, 4), (QStringList{"41", "77", "77", "44"}));
        QCOMPARE(rig->column(1), rig->controllerLevels(1));
        QCOMPARE(grid.data(grid.index(5, 0), Qt::BackgroundRole), QVariant(QColor(Qt::cyan)));
    }

    void fileDialogsSaveAndOpenTypedNames() {
        typeFileName(QStringLiteral("scenes.txt"));
        pressKeys({"A"});
        const QByteArray saved = fileContents(QStringLiteral("scenes.txt"));
        QVERIFY(saved.startsWith("1,0,512,15,,,,,,,,,,,,\r\n38,75,112,"));
        QCOMPARE(saved.count('\n'), 513);
        const QStringList scene2 = rig->column(2);
        pressKeys({"T", "A"});
        QCOMPARE(rig->column(2), QStringList(512, "0"));

        QStringList seen;
        answerBox(seen, QMessageBox::Yes, [] { typeFileName(QStringLiteral("scenes.txt")); });
        pressKeys({"O"});

        QCOMPARE(seen, QStringList{"DMX Vantor Control Programme: Data already exists - overwrite?"});
        QCOMPARE(rig->column(2), scene2);
        QCOMPARE(rig->controllerLevels(2), scene2);
        QCOMPARE(rig->form.nscene, std::int16_t(1));
    }
};

QTEST_MAIN(EditorWindowsTest)
#include "editor_windows_test.moc"
