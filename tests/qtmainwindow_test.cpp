#include "dialogs/QtChannelWindow.h"
#include "platform/QtColours.h"
#include "platform/QtGridModel.h"
#include "platform/QtTwips.h"
#include "support/OfflineWindowRig.h"
#include "support/PaintCounter.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(Colour)

class QtMainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<OfflineWindowRig> rig;
    QtMainWindow* window = nullptr;
    GridForm* form = nullptr;
    ScriptedMessageBox* messages = nullptr;

    template <typename Control> Control* control(const QString& name) { return rig->control<Control>(name); }

    QRect gridRectFor(const QSize& area) {
        const TwipSize inner = toTwips(area, *window);
        return toPixels(TwipRect{100, 840, inner.width - 200, inner.height - 900}, *window);
    }

private slots:
    void init() {
        rig = std::make_unique<OfflineWindowRig>();
        window = &rig->editor.window;
        form = &rig->editor.form;
        messages = &rig->messages;
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

    void cleanup() { rig.reset(); }

    void statusLineShowsAtOnce_data() {
        QTest::addColumn<Colour>("background");
        QTest::newRow("white") << colours::white;
        QTest::newRow("button face") << colours::buttonFace;
    }

    void statusLineShowsAtOnce() {
        QFETCH(Colour, background);
        auto* line = control<QLineEdit>(QStringLiteral("Text2"));
        QCOMPARE(line->text(), QStringLiteral("Text2"));
        PaintCounter counter;
        line->installEventFilter(&counter);
        // No event is handled in between: the caller goes straight on into a wait.
        window->showStatus(QStringLiteral("Reading scene 12"), background);
        QCOMPARE(line->text(), QStringLiteral("Reading scene 12"));
        QCOMPARE(line->palette().color(QPalette::Base), toQColor(background));
        QVERIFY(counter.paints > 0);
    }

    void gridFollowsTheClientArea_data() {
        QTest::addColumn<QSize>("windowSize");
        QTest::newRow("large") << QSize(900, 700);
        QTest::newRow("small") << QSize(400, 300);
    }

    void gridFollowsTheClientArea() {
        QFETCH(QSize, windowSize);
        auto* grid = control<QTableView>(QStringLiteral("Grid1"));
        window->resize(windowSize);
        const QSize area = window->centralWidget()->size();
        QCOMPARE(toTwips(area, *window), window->innerSize());
        QCOMPARE(grid->geometry(), gridRectFor(area));
    }

    void aMinimisedWindowHasNoClientArea() {
        auto* grid = control<QTableView>(QStringLiteral("Grid1"));
        const QRect before = grid->geometry();
        window->showMinimized();
        QVERIFY(window->isMinimized());
        QCOMPARE(window->innerSize(), TwipSize());
        form->onResize();
        QCOMPARE(grid->geometry(), before);
    }

    void altXAsksTheExitQuestionOnce_data() {
        QTest::addColumn<QString>("focus");
        QTest::newRow("grid") << "Grid1";
        QTest::newRow("scene number") << "Text1";
        QTest::newRow("exit button") << "ExitBtn";
    }

    void altXAsksTheExitQuestionOnce() {
        QFETCH(QString, focus);
        QWidget* focused = control<QWidget>(focus);
        focused->setFocus();
        QTest::keyClick(focused, Qt::Key_X, Qt::AltModifier);
        QCOMPARE(messages->shown.size(), 1);
        QVERIFY(window->isVisible());
    }

    void exitAnsweredYesEndsTheProgram() {
        messages->answers << true;
        control<QPushButton>(QStringLiteral("ExitBtn"))->click();
        QCOMPARE(messages->shown.size(), 1);
        QVERIFY(!window->isVisible());
    }

    void altVSavesTheSceneOnlyWhileTheButtonShows() {
        auto* save = control<QPushButton>(QStringLiteral("savescenebtn"));
        QTest::keyClick(window, Qt::Key_V, Qt::AltModifier);
        QVERIFY(!save->isDown());
        window->setSaveSceneVisible(true);
        QTest::keyClick(window, Qt::Key_V, Qt::AltModifier);
        QVERIFY(save->isDown());
    }

    void aClickOnTheCurrentSceneOpensTheChannelDialog() {
        form->nrows = 8;
        form->ncols = 3;
        form->layoutGrid();
        form->scene(2);
        QtGridModel& grid = window->grid();
        grid.setRow(5);
        grid.setCol(2);
        grid.setText(QStringLiteral("128"));
        grid.setRow(1);
        grid.setCol(1);
        QCoreApplication::processEvents();

        auto* view = control<QTableView>(QStringLiteral("Grid1"));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(grid.index(4, 1)).center());
        QCOMPARE(grid.row(), 5);
        QCOMPARE(grid.col(), 2);
        QtChannelWindow& channel = window->channelWindow();
        QVERIFY(channel.isVisible());
        QCOMPARE(channel.firstChannelText(), QStringLiteral("5"));
        QCOMPARE(channel.lastChannelText(), QStringLiteral("5"));
        QCOMPARE(channel.valueText(), QStringLiteral("128"));
    }

    void closingTheWindowClosesTheChannelDialogWithoutAQuestion() {
        window->channelWindow().showModeless();
        QVERIFY(window->channelWindow().isVisible());
        window->close();
        QVERIFY(!window->channelWindow().isVisible());
        QCOMPARE(messages->shown.size(), 0);
    }
};

QTEST_MAIN(QtMainWindowTest)
#include "qtmainwindow_test.moc"
