#include "qt/QtChannelWindow.h"
#include "qt/QtColours.h"
#include "qt/QtGridModel.h"
#include "qt/QtTwips.h"
#include "support/OfflineWindowRig.h"
#include "support/PaintCounter.h"

#include <QAccessible>
#include <QApplication>
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

    QRect gridRectFor(const QSize& area) {
        const TwipSize inner = toTwips(area, rig->window);
        return toPixels(TwipRect{100, 840, inner.width - 200, inner.height - 900}, rig->window);
    }

private slots:
    void init() {
        rig = std::make_unique<OfflineWindowRig>();
        QVERIFY(rig->showActive());
    }

    void cleanup() { rig.reset(); }

    void statusLineShowsAtOnce_data() {
        QTest::addColumn<Colour>("background");
        QTest::addColumn<QColor>("text"); // none: the desktop's button text
        QTest::newRow("white") << colours::white << QColor(Qt::black);
        QTest::newRow("navy") << Colour{0x800000} << QColor(Qt::white);
        QTest::newRow("button face") << colours::buttonFace << QColor();
    }

    void statusLineShowsAtOnce() {
        QFETCH(Colour, background);
        QFETCH(QColor, text);
        auto* line = rig->control<QLineEdit>(QStringLiteral("Text2"));
        QCOMPARE(line->text(), QStringLiteral("Text2"));
        PaintCounter counter;
        line->installEventFilter(&counter);
        // No event is handled in between: the caller goes straight on into a wait.
        rig->window.showStatus(QStringLiteral("Reading scene 12"), background);
        QCOMPARE(line->text(), QStringLiteral("Reading scene 12"));
        QVERIFY(counter.paints > 0);
        // The desktop turns dark: a fixed colour stays, the button face follows once the window hears.
        QApplication::setPalette(QPalette(QColor(0x30, 0x30, 0x30)));
        QTRY_COMPARE(line->palette().color(QPalette::Base), toQColor(background));
        QCOMPARE(line->palette().color(QPalette::Text),
                 text.isValid() ? text : QApplication::palette().color(QPalette::ButtonText));
        QApplication::setPalette(QPalette());
    }

    void gridFollowsTheClientArea_data() {
        QTest::addColumn<QSize>("windowSize");
        QTest::newRow("large") << QSize(900, 700);
        QTest::newRow("small") << QSize(400, 300);
    }

    void gridFollowsTheClientArea() {
        QFETCH(QSize, windowSize);
        auto* grid = rig->control<QTableView>(QStringLiteral("Grid1"));
        rig->window.resize(windowSize);
        const QSize area = rig->window.centralWidget()->size();
        QCOMPARE(toTwips(area, rig->window), rig->window.innerSize());
        QCOMPARE(grid->geometry(), gridRectFor(area));
    }

    void aMinimisedWindowHasNoClientArea() {
        auto* grid = rig->control<QTableView>(QStringLiteral("Grid1"));
        const QRect before = grid->geometry();
        rig->window.showMinimized();
        QVERIFY(rig->window.isMinimized());
        QCOMPARE(rig->window.innerSize(), TwipSize());
        rig->form.onResize();
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
        QWidget* focused = rig->control<QWidget>(focus);
        focused->setFocus();
        QTest::keyClick(focused, Qt::Key_X, Qt::AltModifier);
        QCOMPARE(rig->messages.shown.size(), 1);
        QVERIFY(rig->window.isVisible());
    }

    void exitAnsweredYesEndsTheProgram() {
        rig->messages.answers << true;
        rig->control<QPushButton>(QStringLiteral("ExitBtn"))->click();
        QCOMPARE(rig->messages.shown.size(), 1);
        QVERIFY(!rig->window.isVisible());
    }

    void altVSavesTheSceneOnlyWhileTheButtonShows() {
        auto* save = rig->control<QPushButton>(QStringLiteral("savescenebtn"));
        QTest::keyClick(&rig->window, Qt::Key_V, Qt::AltModifier);
        QVERIFY(!save->isDown());
        rig->window.setSaveSceneVisible(true);
        QTest::keyClick(&rig->window, Qt::Key_V, Qt::AltModifier);
        QVERIFY(save->isDown());
    }

    void aClickOnTheCurrentSceneOpensTheChannelDialog() {
        rig->form.nrows = 8;
        rig->form.ncols = 3;
        rig->form.layoutGrid();
        rig->form.scene(2);
        QtGridModel& grid = rig->window.grid();
        grid.setRow(5);
        grid.setCol(2);
        grid.setText(QStringLiteral("128"));
        grid.setRow(1);
        grid.setCol(1);
        QCoreApplication::processEvents();

        auto* view = rig->control<QTableView>(QStringLiteral("Grid1"));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(grid.index(4, 1)).center());
        QCOMPARE(grid.row(), 5);
        QCOMPARE(grid.col(), 2);
        QtChannelWindow& channel = rig->window.channelWindow();
        QVERIFY(channel.isVisible());
        QCOMPARE(channel.firstChannelText(), QStringLiteral("5"));
        QCOMPARE(channel.lastChannelText(), QStringLiteral("5"));
        QCOMPARE(channel.valueText(), QStringLiteral("128"));
    }

    void aScreenReaderIsToldWhatEachControlIs_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::newRow("grid") << "Grid1"
                              << "Scene levels";
        QTest::newRow("scene number") << "Text1"
                                      << "Scene number";
        QTest::newRow("status line") << "Text2"
                                     << "Status";
        QTest::newRow("button") << "NextBtn"
                                << "Go to Next Scene";
    }

    void aScreenReaderIsToldWhatEachControlIs() {
        QFETCH(QString, control);
        QFETCH(QString, name);
        QAccessibleInterface* told = QAccessible::queryAccessibleInterface(rig->control<QWidget>(control));
        QVERIFY(told);
        QCOMPARE(told->text(QAccessible::Name), name);
    }

    void aScreenReaderIsToldWhichSceneIsCurrent() {
        rig->form.nrows = 4;
        rig->form.ncols = 3;
        rig->form.layoutGrid();
        rig->form.scene(1);
        rig->form.scene(3);
        QCoreApplication::processEvents();
        QAccessibleInterface* table =
            QAccessible::queryAccessibleInterface(rig->control<QTableView>(QStringLiteral("Grid1")));
        QVERIFY(table && table->tableInterface());
        // The table's first row of children is the corner, then the scenes' column headers.
        QStringList headers;
        for (int column = 1; column <= 3; ++column) {
            QAccessibleInterface* header = table->child(column);
            QCOMPARE(header->role(), QAccessible::ColumnHeader);
            headers << header->text(QAccessible::Name);
        }
        // The name, which a screen reader announces on moving between columns; the visible header
        // stays the number.
        QCOMPARE(headers, QStringList({"1", "2", "Scene 3, current"}));
        QCOMPARE(rig->window.grid().headerData(2, Qt::Horizontal), QVariant(QStringLiteral("3")));
    }

    void closingTheWindowClosesTheChannelDialogWithoutAQuestion() {
        rig->window.channelWindow().showModeless();
        QVERIFY(rig->window.channelWindow().isVisible());
        rig->window.close();
        QVERIFY(!rig->window.channelWindow().isVisible());
        QCOMPARE(rig->messages.shown.size(), 0);
    }
};

QTEST_MAIN(QtMainWindowTest)
#include "qtmainwindow_test.moc"
