#include "dialogs/QtChannelWindow.h"
#include "main/GridForm.h"
#include "main/QtMainWindow.h"
#include "platform/QtColours.h"
#include "platform/QtGridModel.h"
#include "platform/QtTwips.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <memory>

namespace {
// The platform parts the window does not provide, reduced to what these tests look at.
class NoPort final : public SerialControl {
public:
    void setCommPort(std::int16_t) override {}
    void setSettings(const QString&) override {}
    bool isOpen() const override { return false; }
    std::optional<SerialError> open() override { return std::nullopt; }
    void close() override {}
    void output(const QByteArray&) override {}
    QByteArray input() override { return {}; }
    void waitForInput(std::chrono::microseconds) override {}
    std::optional<SerialError> takeFailure() override { return std::nullopt; }
};

class StoppedClock final : public Clock {
public:
    Time now() override { return {}; }
    void sleepUntil(Time) override {}
};

class NoFiles final : public FileDialog {
public:
    std::optional<QString> showOpen(const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> showSave(const QString&, const QString&) override { return std::nullopt; }
};

class NoAnswers final : public InputBox {
public:
    QString ask(const QString&, const QString&) override { return {}; }
};

class CountedQuestions final : public MessageBox {
public:
    void inform(const QString&) override {}
    bool confirm(const QString&) override {
        ++questions;
        return answer;
    }
    int questions = 0;
    bool answer = false;
};

// Counts the paint events a widget gets.
class PaintCounter final : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};
} // namespace

Q_DECLARE_METATYPE(Colour)

class QtMainWindowTest : public QObject {
    Q_OBJECT

    NoPort port;
    StoppedClock clock;
    NoFiles files;
    NoAnswers inputs;
    CountedQuestions messages;
    std::unique_ptr<QtMainWindow> window;
    std::unique_ptr<GridForm> form;

    template <typename Control> Control* control(const QString& name) {
        return window->centralWidget()->findChild<Control*>(name);
    }

    QRect gridRectFor(const QSize& area) {
        const TwipSize inner = toTwips(area, *window);
        return toPixels(TwipRect{100, 840, inner.width - 200, inner.height - 900}, *window);
    }

private slots:
    void init() {
        messages = CountedQuestions();
        window = std::make_unique<QtMainWindow>();
        form = std::make_unique<GridForm>(GridFormPlatform{window->grid(), port, files, messages, inputs,
                                                           clock, *window, window->channelWindow()});
        window->attach(*form);
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    void cleanup() {
        form.reset();
        window.reset();
    }

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
        QCOMPARE(messages.questions, 1);
        QVERIFY(window->isVisible());
    }

    void exitAnsweredYesEndsTheProgram() {
        messages.answer = true;
        control<QPushButton>(QStringLiteral("ExitBtn"))->click();
        QCOMPARE(messages.questions, 1);
        QVERIFY(!window->isVisible());
    }

    void altVSavesTheSceneOnlyWhileTheButtonShows() {
        auto* save = control<QPushButton>(QStringLiteral("savescenebtn"));
        QTest::keyClick(window.get(), Qt::Key_V, Qt::AltModifier);
        QVERIFY(!save->isDown());
        window->setSaveSceneVisible(true);
        QTest::keyClick(window.get(), Qt::Key_V, Qt::AltModifier);
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
        QCOMPARE(messages.questions, 0);
    }
};

QTEST_MAIN(QtMainWindowTest)
#include "qtmainwindow_test.moc"
